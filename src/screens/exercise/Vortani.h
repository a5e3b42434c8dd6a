// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ExerciseSettings.h"
#include "MessageLabel.h"
#include "Operation.h"
#include "PressButton.h"
#include "TileButton.h"

#include <QWidget>

#include <array>
#include <optional>

struct GameContext;
class ImageBox;
class PictureOptionButton;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The exercise screen: twelve problem tiles over a hidden picture, a keypad and a verdict line.
// The controls are public, as on a designer form, so that the tests reach them by name; each
// one's objectName is its member name ("cmdOper_0" .. "cmdOper_11" for the tiles).
class Vortani : public QWidget
{
    Q_OBJECT
public:
    // The tiles lie in a grid of this many columns, numbered row by row.
    static constexpr int TileColumns = 4;

    explicit Vortani(GameContext &context, QWidget *parent = nullptr);
    ~Vortani() override;

    // Puts a freshly built form into the waiting state of a new game.
    void Form_Load();

    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();

    // Deals twelve problems onto the tiles and lays a new picture beneath them.
    void casuale();
    // Every tile visible again, in the button-face colour.
    void ResetTiles();

    void cmdOper_Click(qint16 index);

    void Cmd_0_MouseDown();
    void Cmd_1_MouseDown();
    void Cmd_2_MouseDown();
    void Cmd_3_MouseDown();
    void Cmd_4_MouseDown();
    void Cmd_5_MouseDown();
    void Cmd_6_MouseDown();
    void Cmd_7_MouseDown();
    void Cmd_8_MouseDown();
    void Cmd_9_MouseDown();
    void CmdBack_MouseDown();

    // Judges the typed answer against the selected tile.
    void cmdOK_MouseDown();

    void cmdStampa_Click();
    void cmdEsci_Click();

    // True once the form is being unloaded: a handler resumed after a clip stops there, and
    // the start screen builds a fresh form for the next visit.
    bool isUnloading() const { return unloadRequested; }
    // Discards the form, deferred; the start screen does it when another operation is chosen.
    void unload();
    // The operation the form was loaded for.
    std::optional<Operation> operation() const { return loadedOperation; }

    // Title strip
    QLabel *lblTitolo = nullptr;
    ImageBox *imgBambino = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *cmdStampa = nullptr;
    // Level choice
    QGroupBox *Frame3 = nullptr;
    PictureOptionButton *Option1 = nullptr;
    PictureOptionButton *Option2 = nullptr;
    PictureOptionButton *Option3 = nullptr;
    PictureOptionButton *Option4 = nullptr;
    // Puzzle
    QGroupBox *Frame2 = nullptr;
    std::array<TileButton *, ExerciseSettings::TileCount> cmdOper{};
    ImageBox *imgPuzzle = nullptr;
    // Keypad
    QGroupBox *Frame1 = nullptr;
    PressButton *Cmd_0 = nullptr;
    PressButton *Cmd_1 = nullptr;
    PressButton *Cmd_2 = nullptr;
    PressButton *Cmd_3 = nullptr;
    PressButton *Cmd_4 = nullptr;
    PressButton *Cmd_5 = nullptr;
    PressButton *Cmd_6 = nullptr;
    PressButton *Cmd_7 = nullptr;
    PressButton *Cmd_8 = nullptr;
    PressButton *Cmd_9 = nullptr;
    PressButton *CmdBack = nullptr;
    PressButton *cmdOK = nullptr;
    // Answer strip
    ImageBox *Image1 = nullptr;
    ImageBox *Image2 = nullptr;
    ImageBox *Image3 = nullptr;
    ImageBox *Image4 = nullptr;
    QLabel *lblOperazione = nullptr;
    QLineEdit *txtRisultato = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *cmdEsci = nullptr;
    MessageLabel *lblGiudizio = nullptr;

Q_SIGNALS:
    // The child asked to go back to the start screen; the form is being unloaded.
    void leaving();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // In VortaniLayout.cpp.
    void setupLayout();
    void setupTabOrder();
    // In VortaniInput.cpp, with eventFilter and the keypad handlers.
    void connectHandlers();
    void typeKey(int key, const QString &text);
    // Moves the focus from a tile to the nearest tile still showing that lies that many columns
    // and rows on, in the grid as it looks; nowhere at the grid's edge.
    void moveAmongTiles(int from, int columns, int rows);

    void levelChosen(int level);
    // Before the solved tile goes and the keypad closes: a focus on either moves to the next
    // tile still showing, or to the level when none is left.
    void keepFocusPastSolved(int tile);
    void showFace(ImageBox *face);
    void setGiudizioSize(qreal points);

    GameContext &context;
    bool unloadRequested = false;
    std::optional<Operation> loadedOperation;
    // Counts level choices, so that a handler resumed after its sound knows whether another
    // choice ran in between.
    int levelChoices = 0;
    // The answer box forgets its selection when a keypad key takes the focus; the key puts it
    // back so that a digit replaces the selected text, as typing would.
    struct Selection
    {
        QString text;
        int start = -1;
        int length = 0;
    } answerSelection;
};
