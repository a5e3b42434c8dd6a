// SPDX-License-Identifier: GPL-3.0-or-later
// The exercise form's handlers: start-up, level choice, dealing, tiles, judging, printing and
// leaving.
#include "Vortani.h"

#include "AnswerParser.h"
#include "Clips.h"
#include "FormPrinter.h"
#include "GameContext.h"
#include "ImageBox.h"
#include "LevelTable.h"
#include "PictureOptionButton.h"
#include "ProblemDealer.h"
#include "SetTopmost.h"

#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>

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

Vortani::Vortani(GameContext &context, QWidget *parent) : QWidget(parent), context(context)
{
    setupLayout();
    connectHandlers();
}

Vortani::~Vortani() = default;

void Vortani::Form_Load()
{
    ExerciseSettings &s = context.settings;
    loadedOperation = operationFromCode(s.Operation);
    SetTopmost(this);
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    s.SolvedCount = 0;
    setGiudizioSize(18);
    showFace(Image1);
    Frame1->setEnabled(false);
    Frame2->setEnabled(false);
    if (loadedOperation) {
        const Titles t = titlesOf(*loadedOperation);
        lblTitolo->setText(t.title);
        lblOperazione->setText(t.operation);
        // The title on screen stays the game's. A screen reader hears the operation after it:
        // the two forms share title, size and place, and Orca takes one for the other.
        setAccessibleName(QStringLiteral("%1, %2").arg(windowTitle(), t.title));
    }
    if (s.ShowHints == 1)
        lblGiudizio->announce(QStringLiteral("Scegli il livello."));
}

void Vortani::Option1_Click()
{
    levelChosen(1);
}

void Vortani::Option2_Click()
{
    levelChosen(2);
}

void Vortani::Option3_Click()
{
    levelChosen(3);
}

void Vortani::Option4_Click()
{
    levelChosen(4);
}

void Vortani::levelChosen(int level)
{
    ExerciseSettings &s = context.settings;
    const int choice = ++levelChoices;
    if (s.SoundMuted == 0) {
        context.PlayClip(Clips::Blip);
        // A level clicked while this one's sound started has been dealt already, and its
        // option is the one shown selected: dealing this one now would not match it.
        if (isUnloading() || choice != levelChoices)
            return;
    }
    [[maybe_unused]] const bool known = LevelTable::apply(s, level);
    Q_ASSERT(known);
    showFace(Image1);
    cmdStampa->setEnabled(true);
    Frame2->setEnabled(true);
    ResetTiles();
    lblGiudizio->announce(QString());
    casuale();
}

void Vortani::ResetTiles()
{
    for (TileButton *tile : cmdOper) {
        tile->setVisible(true);
        tile->setOpen(false);
    }
}

void Vortani::casuale()
{
    ExerciseSettings &s = context.settings;
    const std::optional<Deal> deal = ProblemDealer::deal(s, context.random);
    if (!deal)
        return;
    for (std::size_t i = 0; i < cmdOper.size(); ++i)
        cmdOper[i]->setText(deal->tiles[i].caption);
    if (deal->wholePartOnly)
        Label2->setText(*deal->wholePartOnly ? WholePartOnly : QString());

    // A missing or unreadable picture must not end the game: the tiles are dealt, so show a
    // plain fill (never the previous picture) and say which file it was.
    const QString file = ProblemDealer::pictureFileName(deal->pictureNumber);
    QImageReader reader(file);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        std::fprintf(stderr, "Vortani Puzzle: cannot load the puzzle picture %s: %s\n",
                     qPrintable(QDir::current().absoluteFilePath(file)),
                     qPrintable(reader.errorString()));
        imgPuzzle->setPlain(MissingPicture);
    } else {
        imgPuzzle->setPixmap(QPixmap::fromImage(picture));
    }

    if (s.ShowHints == 1)
        lblGiudizio->announce(
            QStringLiteral("Scegli l'operazione cliccando su una tessera del puzzle."));
    cmdOper[0]->setFocus(Qt::OtherFocusReason);
}

void Vortani::cmdOper_Click(qint16 index)
{
    ExerciseSettings &s = context.settings;
    if (s.SoundMuted == 0) {
        context.PlayClip(Clips::Click);
        // An answer confirmed while the sound started may have solved this very tile: it must
        // not be opened again and counted twice.
        if (isUnloading() || !cmdOper[std::size_t(index)]->isVisible())
            return;
    }
    Frame1->setEnabled(true);
    txtRisultato->clear();
    if (s.CurrentTile >= 0 && s.CurrentTile < ExerciseSettings::TileCount)
        cmdOper[std::size_t(s.CurrentTile)]->setOpen(false);
    s.CurrentTile = index;
    cmdOper[std::size_t(index)]->setOpen(true);
    if (s.ShowHints == 1)
        lblGiudizio->announce(QStringLiteral("Scrivi il risultato utilizzando il tastierino "
                                             "numerico. Conferma premendo il tasto OK."));
}

void Vortani::cmdOK_MouseDown()
{
    ExerciseSettings &s = context.settings;
    s.ShowHints = 0;
    setGiudizioSize(28);
    const double answer = AnswerParser::leadingNumber(txtRisultato->text());
    const int tile = s.CurrentTile;
    if (tile < 0 || tile >= ExerciseSettings::ResultTableSize)
        return; // never happens in play: CurrentTile only holds tile indexes
    if (answer == double(s.ResultTable[std::size_t(tile)])) {
        ++s.SolvedCount;
        context.random.reseedFromClock();
        const int k = context.random.index(int(std::size(PraiseTexts)));
        lblGiudizio->announce(PraiseTexts[k]);
        txtRisultato->clear();
        if (tile < ExerciseSettings::TileCount) {
            keepFocusPastSolved(tile);
            cmdOper[std::size_t(tile)]->setOpen(false);
            cmdOper[std::size_t(tile)]->setVisible(false);
        }
        Frame1->setEnabled(false);
        showFace(Image2);
        if (s.SoundMuted == 0) {
            context.PlayClip(Clips::Chime);
            if (isUnloading())
                return;
        }
    } else {
        lblGiudizio->announce(QStringLiteral("Ops! hai sbagliato. Riprova."));
        txtRisultato->clear();
        showFace(Image4);
        txtRisultato->setFocus(Qt::OtherFocusReason);
        if (s.SoundMuted == 0) {
            context.PlayClip(Clips::Oops);
            if (isUnloading())
                return;
        }
    }
    if (s.SolvedCount == ExerciseSettings::TileCount) {
        lblGiudizio->announce(QStringLiteral("Hai finito. Guarda che bel disegno"));
        Option1->clearSelection();
        Option2->clearSelection();
        Option3->clearSelection();
        showFace(Image3);
        s.SolvedCount = 0;
        if (s.SoundMuted == 0)
            context.PlayClip(Clips::Fanfare);
    }
}

void Vortani::keepFocusPastSolved(int tile)
{
    // A focus left on a hidden tile or in a closed keypad would be on nothing at all.
    const QWidget *focus = focusWidget();
    if (focus != cmdOper[std::size_t(tile)] && !Frame1->isAncestorOf(focus))
        return;
    for (int step = 1; step < ExerciseSettings::TileCount; ++step) {
        TileButton *next = cmdOper[std::size_t((tile + step) % ExerciseSettings::TileCount)];
        if (next->isVisible()) {
            next->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    // The puzzle is finished: a new one starts with a level, the one chosen for this one.
    PictureOptionButton *level = Option1;
    for (PictureOptionButton *option : {Option2, Option3, Option4})
        if (option->isChecked())
            level = option;
    level->setFocus(Qt::OtherFocusReason);
}

void Vortani::cmdStampa_Click()
{
    const FormPrinter::Outcome outcome = FormPrinter::print(grab().toImage(), windowTitle());
    if (outcome == FormPrinter::Outcome::Printed)
        return;
    const QString problem = whyNotPrinted(outcome);
    // Not modal to the application and not waited for: the game goes on behind the message.
    auto *message =
        new QMessageBox(QMessageBox::Information, windowTitle(), problem, QMessageBox::Ok, this);
    message->setObjectName(QStringLiteral("msgStampa"));
    message->setAttribute(Qt::WA_DeleteOnClose);
    // The form stays above other windows; its message must not end up beneath it.
    message->setWindowFlag(Qt::WindowStaysOnTopHint);
    message->open();
}

void Vortani::cmdEsci_Click()
{
    ExerciseSettings &s = context.settings;
    // Before the sound: another operation chosen while it starts opens its screen at once,
    // replacing this one, and that screen must greet the child with its hint.
    s.ShowHints = 1;
    if (s.SoundMuted == 0) {
        context.PlayClip(Clips::Click);
        if (isUnloading())
            return;
    }
    unload();
    Q_EMIT leaving();
}

void Vortani::unload()
{
    unloadRequested = true;
    hide();
    // Deferred: a handler of this form may still be waiting inside a clip further down the
    // stack, and resumes on a live object that knows it is unloading.
    deleteLater();
}

void Vortani::showFace(ImageBox *face)
{
    for (ImageBox *f : {Image1, Image2, Image3, Image4})
        f->setVisible(f == face);
}

void Vortani::setGiudizioSize(qreal points)
{
    QFont f = lblGiudizio->font();
    f.setPointSizeF(points);
    lblGiudizio->setFont(f);
}
