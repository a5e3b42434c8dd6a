// SPDX-License-Identifier: GPL-3.0-or-later
// How the exercise form looks when it is loaded: every control, where it sits and how it reads.
#include "ExerciseForm.h"

#include "Appearance.h"
#include "FormGeometry.h"
#include "GameTexts.h"
#include "ImageBox.h"
#include "PictureOptionButton.h"
#include "PressButton.h"
#include "Resources.h"
#include "TileButton.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <array>

namespace {
namespace Place = FormGeometry::Exercise;
static_assert(Place::tile.size() == TileGrid::Count);
static_assert(Place::levelButton.size() == LevelTable::LevelCount);
static_assert(Place::digitKey.size() == ExerciseForm::DigitCount);

const QString ComicSans = QStringLiteral("Comic Sans MS");
const QString Arial = QStringLiteral("Arial");
const QColor FrameCaption{0x00, 0x00, 0x80};
const QColor Magenta{0xC0, 0x00, 0xC0};
const QColor LightGrey{0xC0, 0xC0, 0xC0};

// The exercise form's frames are closed and opened during play and keep their look closed.
QGroupBox *captionedFrame(QWidget *parent, const QString &name, const QRect &rect,
                          const QString &caption, qreal points)
{
    auto *f = Appearance::frame(parent, name, rect, caption);
    f->setFont(Appearance::font(ComicSans, points));
    Appearance::setColour(f, QPalette::WindowText, FrameCaption);
    Appearance::keepLookWhenDisabled(f);
    return f;
}

template <typename Button = QPushButton>
Button *pictureButton(QWidget *parent, const QString &name, const QRect &rect, const QIcon &picture,
                      const QSize &pictureSize, const QColor &background)
{
    auto *b = Appearance::place(new Button(parent), name, rect);
    b->setIcon(picture);
    b->setIconSize(pictureSize);
    Appearance::setColour(b, QPalette::Button, background);
    b->setCursor(Resources::handCursor());
    b->setMouseTracking(true);
    return b;
}

// The keypad's keys: digit keys by digit, then the erase and OK keys.
struct KeySpec
{
    QStringView picture;
    QString spoken;
    QString tip;
};
const std::array<KeySpec, ExerciseForm::DigitCount> DigitKeys{{
    {u"key_0", QStringLiteral("0"), {}},
    {u"key_1", QStringLiteral("1"), {}},
    {u"key_2", QStringLiteral("2"), {}},
    {u"key_3", QStringLiteral("3"), {}},
    {u"key_4", QStringLiteral("4"), {}},
    {u"key_5", QStringLiteral("5"), {}},
    {u"key_6", QStringLiteral("6"), {}},
    {u"key_7", QStringLiteral("7"), {}},
    {u"key_8", QStringLiteral("8"), {}},
    {u"key_9", QStringLiteral("9"), {}},
}};
const KeySpec EraseKey{u"key_back", QStringLiteral("Cancella"),
                       QStringLiteral("Cancella l'ultima cifra immessa")};
const KeySpec OkKey{u"key_ok", QStringLiteral("OK"), QStringLiteral("Conferma il risultato")};

// The level buttons, top to bottom; the last one keeps the button face.
struct LevelSpec
{
    QStringView word;
    bool buttonFace;
};
const std::array<LevelSpec, LevelTable::LevelCount> LevelButtons{{
    {u"basso", false},
    {u"medio", false},
    {u"alto", false},
    {u"esagerato", true},
}};

ImageBox *facePicture(QWidget *parent, const QString &name, QStringView picture,
                      const QString &spoken)
{
    auto *f = Appearance::place(new ImageBox(parent), name, Place::facePlace);
    f->setPicture(Resources::picture(u"faces", picture));
    f->setAccessibleName(spoken);
    return f;
}
} // namespace

void ExerciseForm::setupLayout()
{
    Appearance::setUpForm(this, GameTexts::WindowTitle);
    setObjectName(QStringLiteral("exerciseForm"));
    setupTitleStrip();
    setupLevelChoice();
    setupPuzzle();
    setupKeypad();
    setupAnswerStrip();

    // Labels and pictures never cover a control that can be clicked.
    for (QWidget *w : std::initializer_list<QWidget *>{
             titleLabel, childPicture, creditsLabel, neutralFace, smilingFace, laughingFace,
             sadFace, operationLabel, answerNote, verdictLine})
        w->lower();

    setupTabOrder();
    exitButton->setFocus();
}

void ExerciseForm::setupTitleStrip()
{
    titleLabel = Appearance::label(this, QStringLiteral("titleLabel"), Place::titleLabel, QString(),
                                   Appearance::font(ComicSans, 36, true), QColor(0x00, 0x00, 0xFF),
                                   Qt::AlignHCenter | Qt::AlignTop);
    childPicture =
        Appearance::place(new ImageBox(this), QStringLiteral("childPicture"), Place::childPicture);
    childPicture->setPicture(Resources::picture(u"controls", u"bambino"));
    childPicture->setAccessibleName(QStringLiteral("Un bambino alla scrivania"));
    creditsLabel =
        Appearance::label(this, QStringLiteral("creditsLabel"), Place::creditsLabel,
                          QStringLiteral("I disegni sono stati gentilmente concessi da: "
                                         "vortani.example.org"),
                          Appearance::font(ComicSans, 9), Qt::white, Qt::AlignLeft | Qt::AlignTop);
    printButton =
        pictureButton(this, QStringLiteral("printButton"), Place::printButton,
                      Resources::picture(u"icons", u"stampa"), {32, 32}, Appearance::buttonFace());
    printButton->setToolTip(QStringLiteral("Stampa l'intero schermo"));
    printButton->setAccessibleName(QStringLiteral("Stampa"));
    printButton->setEnabled(false);
}

void ExerciseForm::setupLevelChoice()
{
    levelFrame = captionedFrame(this, QStringLiteral("levelFrame"), Place::levelFrame,
                                QStringLiteral("Livello"), 9.75);
    for (std::size_t i = 0; i < LevelButtons.size(); ++i) {
        const LevelSpec &spec = LevelButtons[i];
        const QString picture = QStringLiteral("level_%1").arg(spec.word);
        auto *b = Appearance::place(
            new PictureOptionButton(
                Resources::picture(u"controls", picture),
                Resources::picture(u"controls", picture + QStringLiteral("_sel")), levelFrame),
            QStringLiteral("levelButton_%1").arg(i), Place::levelButton[i]);
        const QColor background = spec.buttonFace ? Appearance::buttonFace() : LightGrey;
        Appearance::setColour(b, QPalette::Button, background);
        Appearance::setColour(b, QPalette::Window, background);
        b->setCursor(Resources::handCursor());
        b->setAccessibleName(spec.word.at(0).toUpper() + spec.word.mid(1).toString());
        levelButtons[i] = b;
    }
}

void ExerciseForm::setupPuzzle()
{
    // The picture first, so that the tiles lie above it.
    puzzleFrame = captionedFrame(this, QStringLiteral("puzzleFrame"), Place::puzzleFrame,
                                 QStringLiteral("Puzzle"), 9.75);
    puzzlePicture = Appearance::place(new ImageBox(puzzleFrame), QStringLiteral("puzzlePicture"),
                                      Place::puzzlePicture);
    puzzlePicture->setAccessibleName(QStringLiteral("Disegno nascosto"));
    for (int i = 0; i < TileGrid::Count; ++i) {
        auto *tile =
            Appearance::place(new TileButton(i + 1, puzzleFrame), QStringLiteral("tile_%1").arg(i),
                              Place::tile[std::size_t(i)]);
        Appearance::setColour(tile, QPalette::Button, Appearance::buttonFace());
        tile->setCursor(Resources::handCursor());
        tile->setMouseTracking(true);
        tile->setFont(Appearance::font(ComicSans, 12));
        tiles[std::size_t(i)] = tile;
    }
}

void ExerciseForm::setupKeypad()
{
    keypad = captionedFrame(this, QStringLiteral("keypad"), Place::keypad,
                            QStringLiteral("Tastierino numerico"), 9);
    const auto key = [this](const QString &name, const QRect &rect, const KeySpec &spec) {
        auto *b = pictureButton<PressButton>(keypad, name, rect,
                                             Resources::picture(u"controls", spec.picture),
                                             rect.size(), Appearance::buttonFace());
        b->setAccessibleName(spec.spoken);
        if (!spec.tip.isEmpty())
            b->setToolTip(spec.tip);
        return b;
    };
    for (std::size_t digit = 0; digit < DigitKeys.size(); ++digit)
        digitKeys[digit] =
            key(QStringLiteral("digitKey_%1").arg(digit), Place::digitKey[digit], DigitKeys[digit]);
    eraseKey = key(QStringLiteral("eraseKey"), Place::eraseKey, EraseKey);
    okKey = key(QStringLiteral("okKey"), Place::okKey, OkKey);
}

void ExerciseForm::setupAnswerStrip()
{
    // prepare() decides which face shows.
    neutralFace = facePicture(this, QStringLiteral("neutralFace"), u"face_neutral",
                              QStringLiteral("faccina seria"));
    smilingFace = facePicture(this, QStringLiteral("smilingFace"), u"face_smile",
                              QStringLiteral("faccina sorridente"));
    laughingFace = facePicture(this, QStringLiteral("laughingFace"), u"face_laugh",
                               QStringLiteral("faccina che ride"));
    sadFace =
        facePicture(this, QStringLiteral("sadFace"), u"face_sad", QStringLiteral("faccina triste"));
    operationLabel = Appearance::label(
        this, QStringLiteral("operationLabel"), Place::operationLabel, QStringLiteral("Operazione"),
        Appearance::font(Arial, 26.25, true, true), Magenta, Qt::AlignRight | Qt::AlignTop);
    answerBox =
        Appearance::place(new QLineEdit(this), QStringLiteral("answerBox"), Place::answerBox);
    answerBox->setFont(Appearance::font(Arial, 15.75, true));
    Appearance::setColour(answerBox, QPalette::Text, QColor(0xFF, 0x00, 0x00));
    Appearance::setColour(answerBox, QPalette::Base, Qt::white);
    answerBox->setAlignment(Qt::AlignRight);
    answerBox->setAccessibleName(QStringLiteral("Risultato"));
    answerNote = Appearance::label(this, QStringLiteral("answerNote"), Place::answerNote, QString(),
                                   Appearance::font(Arial, 9.75, true), Magenta,
                                   Qt::AlignHCenter | Qt::AlignTop);
    exitButton = pictureButton(this, QStringLiteral("exitButton"), Place::exitButton,
                               Resources::picture(u"icons", u"esci"), {32, 32}, LightGrey);
    exitButton->setToolTip(QStringLiteral("Ritorna al menù principale"));
    exitButton->setAccessibleName(QStringLiteral("Esci"));
    verdictLine = new MessageLabel(this);
    Appearance::dressLabel(verdictLine, QStringLiteral("verdictLine"), Place::verdictLine,
                           QString(), Appearance::font(Arial, 27.75, true),
                           QColor(0xFF, 0xFF, 0x00), Qt::AlignHCenter | Qt::AlignTop);
}

void ExerciseForm::setupTabOrder()
{
    // In increasing tab position; labels, frames and pictures never take the focus.
    QList<QWidget *> order{exitButton, answerBox, eraseKey};
    for (int digit : {0, 9, 8, 7, 6, 5, 4, 3, 2, 1})
        order << digitKeys[std::size_t(digit)];
    order << okKey;
    for (auto tile = tiles.rbegin(); tile != tiles.rend(); ++tile)
        order << *tile;
    order << levelButtons[0] << levelButtons[1] << levelButtons[2] << printButton
          << levelButtons[3];
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}
