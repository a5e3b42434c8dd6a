// SPDX-License-Identifier: GPL-3.0-or-later
// The exercise form's handlers: start-up, level choice, dealing, tiles, keypad and judging.
#include "Vortani.h"

#include "Accessibility.h"
#include "AnswerParser.h"
#include "Appearance.h"
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
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>

#include <cstdio>

namespace {
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

const Titles TitleTable[] = {
    {QStringLiteral("Addizione"), QStringLiteral("Somma =")},
    {QStringLiteral("Sottrazione"), QStringLiteral("Differenza =")},
    {QStringLiteral("Moltiplicazione"), QStringLiteral("Prodotto =")},
    {QStringLiteral("Divisione"), QStringLiteral("Quoziente =")},
};

// Shown in place of a puzzle picture that cannot be read.
const QColor MissingPicture{0xFF, 0xF8, 0xDC};
} // namespace

Vortani::Vortani(GameContext &context, QWidget *parent) : QWidget(parent), context(context)
{
    setupLayout();
    connectHandlers();
}

Vortani::~Vortani() = default;

void Vortani::connectHandlers()
{
    connect(Option1, &QAbstractButton::clicked, this, &Vortani::Option1_Click);
    connect(Option2, &QAbstractButton::clicked, this, &Vortani::Option2_Click);
    connect(Option3, &QAbstractButton::clicked, this, &Vortani::Option3_Click);
    connect(Option4, &QAbstractButton::clicked, this, &Vortani::Option4_Click);
    for (int i = 0; i < TileCount; ++i)
        connect(cmdOper[std::size_t(i)], &QPushButton::clicked, this,
                [this, i] { cmdOper_Click(qint16(i)); });
    connect(cmdStampa, &QPushButton::clicked, this, &Vortani::cmdStampa_Click);
    connect(cmdEsci, &QPushButton::clicked, this, &Vortani::cmdEsci_Click);

    // The keypad and OK act on the press of any mouse button and have no click handler;
    // every push button takes the focus as the pointer passes over it.
    for (QPushButton *b : findChildren<QPushButton *>())
        b->installEventFilter(this);
    txtRisultato->installEventFilter(this);
}

bool Vortani::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtRisultato) {
        // Seen before the box clears its selection on losing the focus.
        if (event->type() == QEvent::FocusOut)
            answerSelection = {txtRisultato->text(), txtRisultato->selectionStart(),
                               int(txtRisultato->selectedText().size())};
        // For a child without a mouse: Enter in the open answer box confirms, as OK does.
        const auto *key =
            event->type() == QEvent::KeyPress ? static_cast<QKeyEvent *>(event) : nullptr;
        if (key && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            Frame1->isEnabled()) {
            cmdOK_MouseDown();
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    // Digits typed on the keyboard while a tile or a key has the focus go to the open answer
    // box, so that the physical keyboard works as well as the keypad.
    if (event->type() == QEvent::KeyPress && Frame1->isEnabled() &&
        qobject_cast<QPushButton *>(watched) && watched != cmdEsci && watched != cmdStampa) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool digit = key->text().size() == 1 && key->text().at(0).isDigit() &&
                           key->text().at(0).unicode() < 128;
        if (digit || key->key() == Qt::Key_Backspace) {
            txtRisultato->setFocus(Qt::OtherFocusReason);
            QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text());
            QCoreApplication::sendEvent(txtRisultato, &copy);
            return true;
        }
    }
    auto *button = qobject_cast<QPushButton *>(watched);
    // Filters see events before the widget does, also when it is disabled or hidden: those
    // must stay inert.
    if (!button || !button->isEnabled() || !button->isVisible())
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::MouseMove) {
        button->setFocus(Qt::MouseFocusReason);
    } else if (event->type() == QEvent::MouseButtonPress) {
        using Handler = void (Vortani::*)();
        static const std::pair<QPushButton * Vortani::*, Handler> pressHandlers[] = {
            {&Vortani::Cmd_0, &Vortani::Cmd_0_MouseDown},
            {&Vortani::Cmd_1, &Vortani::Cmd_1_MouseDown},
            {&Vortani::Cmd_2, &Vortani::Cmd_2_MouseDown},
            {&Vortani::Cmd_3, &Vortani::Cmd_3_MouseDown},
            {&Vortani::Cmd_4, &Vortani::Cmd_4_MouseDown},
            {&Vortani::Cmd_5, &Vortani::Cmd_5_MouseDown},
            {&Vortani::Cmd_6, &Vortani::Cmd_6_MouseDown},
            {&Vortani::Cmd_7, &Vortani::Cmd_7_MouseDown},
            {&Vortani::Cmd_8, &Vortani::Cmd_8_MouseDown},
            {&Vortani::Cmd_9, &Vortani::Cmd_9_MouseDown},
            {&Vortani::CmdBack, &Vortani::CmdBack_MouseDown},
            {&Vortani::cmdOK, &Vortani::cmdOK_MouseDown},
        };
        for (const auto &[member, handler] : pressHandlers) {
            if (this->*member == button) {
                (this->*handler)();
                break;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Vortani::Form_Load()
{
    ExerciseSettings &s = context.settings;
    loadedOperation = s.Operation;
    SetTopmost(this);
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    s.SolvedCount = 0;
    setGiudizioSize(18);
    showFace(Image1);
    Frame1->setEnabled(false);
    Frame2->setEnabled(false);
    if (s.Operation >= 1 && s.Operation <= 4) {
        const Titles &t = TitleTable[s.Operation - 1];
        lblTitolo->setText(t.title);
        lblOperazione->setText(t.operation);
    }
    if (s.ShowHints == 1)
        Accessibility::announce(lblGiudizio, QStringLiteral("Scegli il livello."));
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
        context.PlayClip(102);
        // A level clicked while this one's sound started has been dealt already, and its
        // option is the one shown selected: dealing this one now would not match it.
        if (isUnloading() || choice != levelChoices)
            return;
    }
    s.Level = qint16(level);
    showFace(Image1);
    cmdStampa->setEnabled(true);
    Frame2->setEnabled(true);
    ResetTiles();
    Accessibility::announce(lblGiudizio, QString());
    const LevelBounds bounds = *LevelTable::bounds(level);
    s.FirstMax = bounds.FirstMax;
    s.FirstMin = bounds.FirstMin;
    s.SecondMax = bounds.SecondMax;
    s.SecondMin = bounds.SecondMin;
    casuale();
}

void Vortani::ResetTiles()
{
    for (QPushButton *tile : cmdOper) {
        tile->setVisible(true);
        Appearance::setColour(tile, QPalette::Button, Appearance::buttonFace());
    }
}

void Vortani::casuale()
{
    ExerciseSettings &s = context.settings;
    const std::optional<Deal> deal = ProblemDealer::deal(s, context.random);
    if (!deal)
        return;
    for (int i = 0; i < TileCount; ++i)
        cmdOper[std::size_t(i)]->setText(deal->tiles[std::size_t(i)].caption);
    if (deal->label2)
        Label2->setText(*deal->label2);

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
        Accessibility::announce(
            lblGiudizio,
            QStringLiteral("Scegli l'operazione cliccando su una tessera del puzzle."));
    cmdOper[0]->setFocus(Qt::OtherFocusReason);
}

void Vortani::cmdOper_Click(qint16 index)
{
    ExerciseSettings &s = context.settings;
    if (s.SoundMuted == 0) {
        context.PlayClip(105);
        // An answer confirmed while the sound started may have solved this very tile: it must
        // not be opened again and counted twice.
        if (isUnloading() || !cmdOper[std::size_t(index)]->isVisible())
            return;
    }
    Frame1->setEnabled(true);
    txtRisultato->clear();
    if (s.CurrentTile >= 0 && s.CurrentTile < TileCount)
        Appearance::setColour(cmdOper[std::size_t(s.CurrentTile)], QPalette::Button,
                              Appearance::buttonFace());
    s.CurrentTile = index;
    Appearance::setColour(cmdOper[std::size_t(index)], QPalette::Button, Appearance::SelectedTile);
    if (s.ShowHints == 1)
        Accessibility::announce(lblGiudizio,
                                QStringLiteral("Scrivi il risultato utilizzando il tastierino "
                                               "numerico. Conferma premendo il tasto OK."));
}

void Vortani::typeKey(int key, const QString &text)
{
    txtRisultato->setFocus(Qt::OtherFocusReason);
    if (answerSelection.start >= 0 && answerSelection.text == txtRisultato->text() &&
        !txtRisultato->hasSelectedText())
        txtRisultato->setSelection(answerSelection.start, answerSelection.length);
    answerSelection = {};
    // Delivered through the event queue, as a key typed on the keyboard would be: it lands at
    // the caret and replaces a selection.
    QCoreApplication::postEvent(txtRisultato,
                                new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
    QCoreApplication::postEvent(txtRisultato,
                                new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
    if (context.settings.SoundMuted == 0)
        context.PlayClip(102);
}

void Vortani::Cmd_0_MouseDown()
{
    typeKey(Qt::Key_0, QStringLiteral("0"));
}

void Vortani::Cmd_1_MouseDown()
{
    typeKey(Qt::Key_1, QStringLiteral("1"));
}

void Vortani::Cmd_2_MouseDown()
{
    typeKey(Qt::Key_2, QStringLiteral("2"));
}

void Vortani::Cmd_3_MouseDown()
{
    typeKey(Qt::Key_3, QStringLiteral("3"));
}

void Vortani::Cmd_4_MouseDown()
{
    typeKey(Qt::Key_4, QStringLiteral("4"));
}

void Vortani::Cmd_5_MouseDown()
{
    typeKey(Qt::Key_5, QStringLiteral("5"));
}

void Vortani::Cmd_6_MouseDown()
{
    typeKey(Qt::Key_6, QStringLiteral("6"));
}

void Vortani::Cmd_7_MouseDown()
{
    typeKey(Qt::Key_7, QStringLiteral("7"));
}

void Vortani::Cmd_8_MouseDown()
{
    typeKey(Qt::Key_8, QStringLiteral("8"));
}

void Vortani::Cmd_9_MouseDown()
{
    typeKey(Qt::Key_9, QStringLiteral("9"));
}

void Vortani::CmdBack_MouseDown()
{
    typeKey(Qt::Key_Backspace, QStringLiteral("\b"));
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
        const int k = int(context.random.next() * 7);
        Accessibility::announce(lblGiudizio, PraiseTexts[qBound(0, k, 6)]);
        txtRisultato->clear();
        if (tile < TileCount)
            cmdOper[std::size_t(tile)]->setVisible(false);
        Frame1->setEnabled(false);
        showFace(Image2);
        if (s.SoundMuted == 0) {
            context.PlayClip(104);
            if (isUnloading())
                return;
        }
    } else {
        Accessibility::announce(lblGiudizio, QStringLiteral("Ops! hai sbagliato. Riprova."));
        txtRisultato->clear();
        showFace(Image4);
        txtRisultato->setFocus(Qt::OtherFocusReason);
        if (s.SoundMuted == 0) {
            context.PlayClip(103);
            if (isUnloading())
                return;
        }
    }
    if (s.SolvedCount == 12) {
        Accessibility::announce(lblGiudizio, QStringLiteral("Hai finito. Guarda che bel disegno"));
        Option1->clearSelection();
        Option2->clearSelection();
        Option3->clearSelection();
        showFace(Image3);
        s.SolvedCount = 0;
        if (s.SoundMuted == 0)
            context.PlayClip(101);
    }
}

void Vortani::cmdStampa_Click()
{
    const QString problem = FormPrinter::print(grab().toImage(), windowTitle());
    if (problem.isEmpty())
        return;
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
    if (s.SoundMuted == 0) {
        context.PlayClip(105);
        if (isUnloading())
            return;
    }
    s.ShowHints = 1;
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
