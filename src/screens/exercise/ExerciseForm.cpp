// SPDX-License-Identifier: GPL-3.0-or-later
// The exercise form's handlers: start-up, level choice, dealing, tiles, judging, printing and
// leaving.
#include "ExerciseForm.h"

#include "Announcer.h"
#include "AnswerParser.h"
#include "Clips.h"
#include "FormPrinter.h"
#include "GameContext.h"
#include "ImageBox.h"
#include "LevelTable.h"
#include "PictureOptionButton.h"
#include "ProblemDealer.h"
#include "WindowPlacement.h"

#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>
#include <tuple>

namespace {
// One is drawn for every right answer; the draw takes the list's length.
const QString PraiseTexts[] = {
    QStringLiteral("Bravissimo."),
    QStringLiteral("Molto bravo."),
    QStringLiteral("Dai che vai forte."),
    QStringLiteral("Molto bene."),
    QStringLiteral("Continua così."),
    QStringLiteral("Sei proprio bravo."),
    QStringLiteral("Uaoo!"),
};

struct Titles
{
    QString title;
    QString operation;
};

Titles titlesOf(Operation operation)
{
    switch (operation) {
    case Operation::Addition:
        return {QStringLiteral("Addizione"), QStringLiteral("Somma =")};
    case Operation::Subtraction:
        return {QStringLiteral("Sottrazione"), QStringLiteral("Differenza =")};
    case Operation::Multiplication:
        return {QStringLiteral("Moltiplicazione"), QStringLiteral("Prodotto =")};
    case Operation::Division:
        return {QStringLiteral("Divisione"), QStringLiteral("Quoziente =")};
    }
    return {};
}

// The note under the answer box when only the whole part of the quotient counts.
const QString WholePartOnly = QStringLiteral("solo parte intera");

// For the child's grown-up, when the page did not reach the printer.
QString whyNotPrinted(FormPrinter::Outcome outcome)
{
    if (outcome == FormPrinter::Outcome::NoPrinter)
        return QStringLiteral("Non c'è nessuna stampante pronta: la pagina non è stata stampata.");
    return QStringLiteral("La stampa non è riuscita. Controlla la stampante e riprova.");
}

// Shown in place of a puzzle picture that cannot be read.
const QColor MissingPicture{0xFF, 0xF8, 0xDC};
} // namespace

ExerciseForm::ExerciseForm(GameContext &context, QWidget *parent) : GameForm(context, parent)
{
    setupLayout();
    connectHandlers();
}

ExerciseForm::~ExerciseForm() = default;

void ExerciseForm::prepare()
{
    ExerciseSettings &s = context.settings;
    loadedOperation = s.operation;
    WindowPlacement::keepOnTop(this);
    Announcer::followFocus(this);
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    s.solvedCount = 0;
    setVerdictSize(18);
    showFace(neutralFace);
    keypad->setEnabled(false);
    puzzleFrame->setEnabled(false);
    if (loadedOperation) {
        const Titles t = titlesOf(*loadedOperation);
        titleLabel->setText(t.title);
        operationLabel->setText(t.operation);
        // The title on screen stays the game's. A screen reader hears the operation after it:
        // the two forms share title, size and place, and Orca takes one for the other.
        setAccessibleName(QStringLiteral("%1, %2").arg(windowTitle(), t.title));
    }
    if (s.showHints)
        verdictLine->announce(QStringLiteral("Scegli il livello."));
}

void ExerciseForm::chooseLevel(int level)
{
    ExerciseSettings &s = context.settings;
    const int choice = ++levelChoices;
    // A level clicked while this one's sound started has been dealt already, and its button is
    // the one shown selected: dealing this one now would not match it.
    if (!playClip(Clips::Blip) || choice != levelChoices)
        return;
    [[maybe_unused]] const bool known = LevelTable::apply(s, level);
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
    ExerciseSettings &s = context.settings;
    const std::optional<Deal> deal = ProblemDealer::deal(s, context.random);
    if (!deal)
        return;
    for (std::size_t i = 0; i < tiles.size(); ++i)
        tiles[i]->setText(deal->tiles[i].caption);
    if (deal->wholePartOnly)
        answerNote->setText(*deal->wholePartOnly ? WholePartOnly : QString());

    // A missing or unreadable picture must not end the game: the tiles are dealt, so show a
    // plain fill (never the previous picture) and say which file it was.
    const QString file = ProblemDealer::pictureFileName(deal->pictureNumber);
    QImageReader reader(file);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        std::fprintf(stderr, "Vortani Puzzle: cannot load the puzzle picture %s: %s\n",
                     qPrintable(QDir::current().absoluteFilePath(file)),
                     qPrintable(reader.errorString()));
        puzzlePicture->setPlain(MissingPicture);
    } else {
        puzzlePicture->setPixmap(QPixmap::fromImage(picture));
    }

    if (s.showHints)
        verdictLine->announce(
            QStringLiteral("Scegli l'operazione cliccando su una tessera del puzzle."));
    tiles[0]->setFocus(Qt::OtherFocusReason);
}

void ExerciseForm::openTile(int tile)
{
    ExerciseSettings &s = context.settings;
    // An answer confirmed while the sound started may have solved this very tile: it must not be
    // opened again and counted twice.
    if (!playClip(Clips::Click) || !tiles[std::size_t(tile)]->isVisible())
        return;
    keypad->setEnabled(true);
    answerBox->clear();
    if (s.currentTile >= 0 && s.currentTile < ExerciseSettings::TileCount)
        tiles[std::size_t(s.currentTile)]->setOpen(false);
    s.currentTile = tile;
    tiles[std::size_t(tile)]->setOpen(true);
    if (s.showHints)
        verdictLine->announce(QStringLiteral("Scrivi il risultato utilizzando il tastierino "
                                             "numerico. Conferma premendo il tasto OK."));
}

void ExerciseForm::judgeAnswer()
{
    ExerciseSettings &s = context.settings;
    s.showHints = false;
    setVerdictSize(28);
    const double answer = AnswerParser::leadingNumber(answerBox->text());
    const int tile = s.currentTile;
    if (tile < 0 || tile >= ExerciseSettings::TileCount)
        return; // never happens in play: currentTile only holds tile indexes
    if (answer == double(s.results[std::size_t(tile)])) {
        ++s.solvedCount;
        context.random.reseedFromClock();
        const int k = context.random.index(int(std::size(PraiseTexts)));
        verdictLine->announce(PraiseTexts[k]);
        answerBox->clear();
        keepFocusPastSolved(tile);
        tiles[std::size_t(tile)]->setOpen(false);
        tiles[std::size_t(tile)]->setVisible(false);
        keypad->setEnabled(false);
        showFace(smilingFace);
        if (!playClip(Clips::Chime))
            return;
    } else {
        verdictLine->announce(QStringLiteral("Ops! hai sbagliato. Riprova."));
        answerBox->clear();
        showFace(sadFace);
        answerBox->setFocus(Qt::OtherFocusReason);
        if (!playClip(Clips::Oops))
            return;
    }
    if (s.solvedCount == ExerciseSettings::TileCount)
        finishPuzzle();
}

void ExerciseForm::finishPuzzle()
{
    verdictLine->announce(QStringLiteral("Hai finito. Guarda che bel disegno"));
    // The first three levels show unselected; the last keeps its look, as it always has.
    for (int i = 0; i < 3; ++i)
        levelButtons[std::size_t(i)]->clearSelection();
    showFace(laughingFace);
    context.settings.solvedCount = 0;
    // Nothing follows the fanfare.
    std::ignore = playClip(Clips::Fanfare);
}

void ExerciseForm::keepFocusPastSolved(int tile)
{
    // A focus left on a hidden tile or in a closed keypad would be on nothing at all.
    const QWidget *focus = focusWidget();
    if (focus != tiles[std::size_t(tile)] && !keypad->isAncestorOf(focus))
        return;
    for (int step = 1; step < ExerciseSettings::TileCount; ++step) {
        TileButton *next = tiles[std::size_t((tile + step) % ExerciseSettings::TileCount)];
        if (next->isVisible()) {
            next->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    // The puzzle is finished: a new one starts with a level, the one chosen for this one.
    PictureOptionButton *level = levelButtons[0];
    for (PictureOptionButton *button : levelButtons)
        if (button->isChecked())
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
}

void ExerciseForm::leave()
{
    // Before the sound: another operation chosen while it starts opens its screen at once,
    // replacing this one, and that screen must greet the child with its hint.
    context.settings.showHints = true;
    if (!playClip(Clips::Click))
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
