// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ChoiceCounter.h"
#include "GameForm.h"
#include "LevelTable.h"
#include "MessageLabel.h"
#include "Operation.h"
#include "PressButton.h"
#include "Round.h"
#include "TileButton.h"
#include "TileGrid.h"

#include <array>
#include <optional>

class ImageBox;
class PictureOptionButton;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The exercise screen: twelve problem tiles over a hidden picture, a keypad and a verdict line.
// The controls are public, as on a designer form, so that the tests reach them by name; each
// one's objectName is its member name, with the index for a row ("tile_0" .. "tile_11").
class ExerciseForm : public GameForm
{
    Q_OBJECT
public:
    static constexpr int DigitCount = 10;

    explicit ExerciseForm(GameContext &context, QWidget *parent = nullptr);
    ~ExerciseForm() override;

    // Puts a freshly built form into the waiting state of a new game.
    void prepare();

    // Level 1..LevelTable::LevelCount, as its button does.
    void chooseLevel(int level);
    // Deals twelve problems onto the tiles and lays a new picture beneath them.
    void dealPuzzle();
    // Every tile visible again, in the button-face colour.
    void showAllTiles();
    // Opens the keypad for the tile's problem.
    void openTile(int tile);
    // The keypad's keys: a digit, and the key that erases the last one.
    void typeDigit(int digit);
    void eraseDigit();
    // Judges the typed answer against the open tile.
    void judgeAnswer();
    void printScreen();
    // Back to the start screen.
    void leave();

    // Discards the form, deferred; the start screen does it when another operation is chosen.
    void unload();
    // The operation the form was loaded for.
    std::optional<Operation> operation() const { return loadedOperation; }
    // The puzzle as it is played, which the controls show.
    const Round &round() const { return roundInPlay; }

    // Title strip
    QLabel *titleLabel = nullptr;
    ImageBox *childPicture = nullptr;
    QLabel *creditsLabel = nullptr;
    QPushButton *printButton = nullptr;
    // Level choice
    QGroupBox *levelFrame = nullptr;
    std::array<PictureOptionButton *, LevelTable::LevelCount> levelButtons{};
    // Puzzle
    QGroupBox *puzzleFrame = nullptr;
    std::array<TileButton *, TileGrid::Count> tiles{};
    ImageBox *puzzlePicture = nullptr;
    // Keypad
    QGroupBox *keypad = nullptr;
    std::array<PressButton *, DigitCount> digitKeys{};
    PressButton *eraseKey = nullptr;
    PressButton *okKey = nullptr;
    // Answer strip: the four faces share one place, one shows at a time.
    ImageBox *neutralFace = nullptr;
    ImageBox *smilingFace = nullptr;
    ImageBox *laughingFace = nullptr;
    ImageBox *sadFace = nullptr;
    QLabel *operationLabel = nullptr;
    QLineEdit *answerBox = nullptr;
    QLabel *answerNote = nullptr;
    QPushButton *exitButton = nullptr;
    MessageLabel *verdictLine = nullptr;

Q_SIGNALS:
    // The child asked to go back to the start screen; the form is being unloaded.
    void leaving();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // In ExerciseFormLayout.cpp.
    void setupLayout();
    void setupTitleStrip();
    void setupLevelChoice();
    void setupPuzzle();
    void setupKeypad();
    void setupAnswerStrip();
    void setupTabOrder();
    // In ExerciseFormInput.cpp, with eventFilter and the keypad's keys.
    void connectHandlers();
    bool filterAnswerBox(QEvent *event);
    bool routeToAnswerBox(QObject *watched, QEvent *event);
    bool moveByArrow(QObject *watched, QEvent *event);
    void typeKey(int key, const QString &text);
    // Moves the focus from a tile to the nearest tile still showing that lies that many columns
    // and rows on, in the grid as it looks; nowhere at the grid's edge.
    void moveAmongTiles(int from, int columns, int rows);

    // Before the solved tile goes and the keypad closes: a focus on either moves to the next
    // tile still showing, or to the level when none is left.
    void keepFocusPastSolved(int tile);
    void showSolved(int tile);
    void showWrong();
    void finishPuzzle();
    void showFace(ImageBox *face);
    // Shows a text on the verdict line, and reads it aloud when the class reads aloud.
    void tell(const QString &text);
    QString problemInWords(int tile) const;
    void setVerdictSize(qreal points);

    std::optional<Operation> loadedOperation;
    Round roundInPlay;
    ChoiceCounter levelChoices;
    // The answer box forgets its selection when a keypad key takes the focus; the key puts it
    // back so that a digit replaces the selected text, as typing would.
    struct Selection
    {
        QString text;
        int start = -1;
        int length = 0;
    } answerSelection;
};
