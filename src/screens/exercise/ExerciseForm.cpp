// SPDX-License-Identifier: GPL-3.0-or-later
// The exercise form's handlers: start-up, level choice, dealing, tiles, judging, printing and
// leaving.
#include "ExerciseForm.h"

#include "Announcer.h"
#include "Appearance.h"
#include "Clips.h"
#include "FormPrinter.h"
#include "GameContext.h"
#include "GameTexts.h"
#include "ImageBox.h"
#include "ItalianWords.h"
#include "LevelTable.h"
#include "PictureOptionButton.h"
#include "ProblemDealer.h"
#include "WindowPlacement.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>
#include <tuple>

namespace {
// For the child's grown-up, when the page did not reach the printer.
QString whyNotPrinted(FormPrinter::Outcome outcome)
{
    return outcome == FormPrinter::Outcome::NoPrinter ? GameTexts::NoPrinter
                                                      : GameTexts::PrintFailed;
}

// Shown in place of a puzzle picture that cannot be read.
const QColor MissingPicture{0xFF, 0xF8, 0xDC};
} // namespace

ExerciseForm::ExerciseForm(GameContext &context, QWidget *parent) : GameForm(context, parent)
{
    setupLayout();
    connectHandlers();
    for (int level = 1; level <= LevelTable::LevelCount; ++level)
        if (!context.setup.offersLevel(level))
            Appearance::markNotOffered(levelButtons[std::size_t(level - 1)]);
}

ExerciseForm::~ExerciseForm() = default;

void ExerciseForm::prepare()
{
    loadedOperation = context.choice.operation;
    WindowPlacement::keepOnTop(this);
    Announcer::followFocus(this);
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    setVerdictSize(18);
    showFace(neutralFace);
    keypad->setEnabled(false);
    puzzleFrame->setEnabled(false);
    if (loadedOperation) {
        const GameTexts::OperationTitles &t = GameTexts::Titles[operationIndex(*loadedOperation)];
        titleLabel->setText(t.title);
        operationLabel->setText(t.label);
        // The title on screen stays the game's. A screen reader hears the operation after it:
        // the two forms share title, size and place, and Orca takes one for the other.
        setAccessibleName(QStringLiteral("%1, %2").arg(windowTitle(), t.title));
    }
    if (context.preferences.showHints)
        tell(GameTexts::LevelHint);
}

void ExerciseForm::chooseLevel(int level)
{
    if (!context.setup.offersLevel(level))
        return;
    // A level clicked while this one's sound started has been dealt already, and its button is
    // the one shown selected: dealing this one now would not match it.
    if (!playClipForLatestChoice(Clips::Blip, levelChoices))
        return;
    [[maybe_unused]] const bool known = LevelTable::apply(context.choice, level);
    Q_ASSERT(known);
    showFace(neutralFace);
    printButton->setEnabled(true);
    puzzleFrame->setEnabled(true);
    showAllTiles();
    verdictLine->announce(QString());
    dealPuzzle();
}

void ExerciseForm::showAllTiles()
{
    for (TileButton *tile : tiles) {
        tile->setVisible(true);
        tile->setOpen(false);
    }
}

void ExerciseForm::dealPuzzle()
{
    if (!roundInPlay.deal(context.choice, context.random))
        return;
    const Deal &deal = roundInPlay.currentDeal();
    for (std::size_t i = 0; i < tiles.size(); ++i)
        tiles[i]->setText(deal.tiles[i].caption);
    if (deal.wholePartOnly)
        answerNote->setText(*deal.wholePartOnly ? GameTexts::WholePartOnly : QString());

    // A missing or unreadable picture must not end the game: the tiles are dealt, so show a
    // plain fill (never the previous picture) and say which file it was. The fill stays until
    // the picture comes, which may be later, after another deal that it no longer belongs to.
    puzzlePicture->setPlain(MissingPicture);
    const int dealt = roundInPlay.dealCount();
    context.pictures->request(
        deal.pictureNumber, this, [this, dealt](const QImage &picture, const QString &problem) {
            if (roundInPlay.dealCount() != dealt)
                return;
            if (picture.isNull())
                std::fprintf(stderr, "Vortani Puzzle: cannot load the puzzle picture %s\n",
                             qPrintable(problem));
            else
                puzzlePicture->setPixmap(QPixmap::fromImage(picture));
        });

    if (context.preferences.showHints)
        tell(GameTexts::TileHint);
    tiles[0]->setFocus(Qt::OtherFocusReason);
}

void ExerciseForm::openTile(int tile)
{
    // An answer confirmed while the sound started may have solved this very tile: the round
    // refuses to open it again, so that it is not counted twice.
    if (!playClipAndRunWaitingInput(Clips::Click) || !roundInPlay.open(tile))
        return;
    keypad->setEnabled(true);
    answerBox->clear();
    for (std::size_t i = 0; i < tiles.size(); ++i)
        tiles[i]->setOpen(int(i) == tile);
    // Read aloud, the problem comes first: it is what the child has to work out.
    const QString problem = problemInWords(tile);
    if (context.preferences.showHints) {
        verdictLine->announce(GameTexts::TypingHint);
        sayAloud(problem + QStringLiteral(". ") + GameTexts::TypingHint);
    } else {
        sayAloud(problem);
    }
}

void ExerciseForm::judgeAnswer()
{
    const std::optional<int> tile = roundInPlay.openTile();
    if (!tile)
        return; // the keypad is closed: nothing to judge
    context.preferences.showHints = false;
    setVerdictSize(28);
    const int deal = roundInPlay.dealCount();
    const Round::Verdict verdict = *roundInPlay.judge(answerBox->text());
    if (verdict == Round::Verdict::Wrong) {
        showWrong();
        // Nothing follows the sound.
        std::ignore = playClipAndRunWaitingInput(Clips::Oops);
        return;
    }
    showSolved(*tile);
    if (!playClipAndRunWaitingInput(Clips::Chime))
        return;
    // A level chosen while the chime started has dealt a new puzzle, which is not finished.
    if (verdict == Round::Verdict::Finished && roundInPlay.dealCount() == deal)
        finishPuzzle();
}

void ExerciseForm::showSolved(int tile)
{
    context.random.reseedFromClock();
    const int k = context.random.index(int(GameTexts::Praise.size()));
    tell(GameTexts::Praise[std::size_t(k)]);
    answerBox->clear();
    keepFocusPastSolved(tile);
    tiles[std::size_t(tile)]->setOpen(false);
    tiles[std::size_t(tile)]->setVisible(false);
    keypad->setEnabled(false);
    showFace(smilingFace);
}

void ExerciseForm::showWrong()
{
    tell(GameTexts::WrongAnswer);
    answerBox->clear();
    showFace(sadFace);
    answerBox->setFocus(Qt::OtherFocusReason);
}

void ExerciseForm::finishPuzzle()
{
    tell(GameTexts::Finished);
    // The first three levels show unselected; the last keeps its look, as it always has.
    for (int i = 0; i < 3; ++i)
        levelButtons[std::size_t(i)]->clearSelection();
    showFace(laughingFace);
    // Nothing follows the fanfare.
    std::ignore = playClipAndRunWaitingInput(Clips::Fanfare);
}

void ExerciseForm::keepFocusPastSolved(int tile)
{
    // A focus left on a hidden tile or in a closed keypad would be on nothing at all.
    const QWidget *focus = focusWidget();
    if (focus != tiles[std::size_t(tile)] && !keypad->isAncestorOf(focus))
        return;
    if (const std::optional<int> next = roundInPlay.nextUnsolvedAfter(tile)) {
        tiles[std::size_t(*next)]->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The puzzle is finished: a new one starts with a level, the one chosen for this one.
    PictureOptionButton *level = nullptr;
    for (PictureOptionButton *button : levelButtons)
        if (button->isChecked() || (!level && button->isEnabled()))
            level = button;
    level->setFocus(Qt::OtherFocusReason);
}

void ExerciseForm::printScreen()
{
    const FormPrinter::Outcome outcome = FormPrinter::print(grab().toImage(), windowTitle());
    if (outcome == FormPrinter::Outcome::Printed)
        return;
    const QString problem = whyNotPrinted(outcome);
    // Not modal to the application and not waited for: the game goes on behind the message.
    auto *message =
        new QMessageBox(QMessageBox::Information, windowTitle(), problem, QMessageBox::Ok, this);
    message->setObjectName(QStringLiteral("printMessage"));
    message->setAttribute(Qt::WA_DeleteOnClose);
    // The form stays above other windows; its message must not end up beneath it.
    message->setWindowFlag(Qt::WindowStaysOnTopHint);
    message->open();
    announceWhenActive(message, problem);
    sayAloud(problem);
}

void ExerciseForm::leave()
{
    // Before the sound: another operation chosen while it starts opens its screen at once,
    // replacing this one, and that screen must greet the child with its hint.
    context.preferences.showHints = true;
    if (!playClipAndRunWaitingInput(Clips::Click))
        return;
    unload();
    Q_EMIT leaving();
}

void ExerciseForm::closeEvent(QCloseEvent *event)
{
    // Closed through its frame, the form goes as it does with its exit button, without the
    // sound; a handler waiting inside a clip stops when it resumes.
    event->accept();
    if (isUnloading())
        return;
    unload();
    Q_EMIT leaving();
}

void ExerciseForm::unload()
{
    beginUnloading();
    hide();
    // Deferred: a handler of this form may still be waiting inside a clip further down the
    // stack, and resumes on a live object that knows it is unloading.
    deleteLater();
}

void ExerciseForm::tell(const QString &text)
{
    verdictLine->announce(text);
    sayAloud(text);
}

QString ExerciseForm::problemInWords(int tile) const
{
    const Problem &p = roundInPlay.problem(tile);
    return loadedOperation ? ItalianWords::problem(*loadedOperation, p.left, p.right) : QString();
}

void ExerciseForm::showFace(ImageBox *face)
{
    for (ImageBox *f : {neutralFace, smilingFace, laughingFace, sadFace})
        f->setVisible(f == face);
}

void ExerciseForm::setVerdictSize(qreal points)
{
    QFont f = verdictLine->font();
    f.setPointSizeF(points);
    verdictLine->setFont(f);
}
