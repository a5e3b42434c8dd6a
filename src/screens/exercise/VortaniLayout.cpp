// SPDX-License-Identifier: GPL-3.0-or-later
// How the exercise form looks when it is loaded: every control, where it sits and how it reads.
#include "Vortani.h"

#include "Appearance.h"
#include "ImageBox.h"
#include "PictureOptionButton.h"
#include "PressButton.h"
#include "Resources.h"
#include "TileButton.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
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

ImageBox *facePicture(QWidget *parent, const QString &name, const QString &picture,
                      const QString &spoken)
{
    auto *f = Appearance::place(new ImageBox(parent), name, QRect(36, 324, 52, 52));
    f->setPicture(Resources::picture(u"faces", picture));
    f->setAccessibleName(spoken);
    return f;
}
} // namespace

void Vortani::setupLayout()
{
    Appearance::setUpForm(this, QStringLiteral("Vortani Puzzle"));
    setObjectName(QStringLiteral("Vortani"));
    const QColor face = Appearance::buttonFace();

    // Title strip. The title starts four pixels above the form; its top is cut off.
    lblTitolo = Appearance::label(this, QStringLiteral("lblTitolo"), {136, -4, 333, 61},
                                  QStringLiteral("Label1"), Appearance::font(ComicSans, 36, true),
                                  QColor(0x00, 0x00, 0xFF), Qt::AlignHCenter | Qt::AlignTop);
    imgBambino =
        Appearance::place(new ImageBox(this), QStringLiteral("imgBambino"), {16, 28, 92, 64});
    imgBambino->setPicture(Resources::picture(u"controls", u"bambino"));
    imgBambino->setAccessibleName(QStringLiteral("Un bambino alla scrivania"));
    Label1 =
        Appearance::label(this, QStringLiteral("Label1"), {496, 0, 141, 61},
                          QStringLiteral("I disegni sono stati gentilmente concessi da: "
                                         "vortani.example.org"),
                          Appearance::font(ComicSans, 9), Qt::white, Qt::AlignLeft | Qt::AlignTop);
    cmdStampa = pictureButton(this, QStringLiteral("cmdStampa"), {516, 60, 85, 37},
                              Resources::picture(u"icons", u"stampa"), {32, 32}, face);
    cmdStampa->setToolTip(QStringLiteral("Stampa l'intero schermo"));
    cmdStampa->setAccessibleName(QStringLiteral("Stampa"));
    cmdStampa->setEnabled(false);

    // Level choice.
    Frame3 = captionedFrame(this, QStringLiteral("Frame3"), {4, 128, 109, 153},
                            QStringLiteral("Livello"), 9.75);
    const auto option = [this](const QString &name, const QRect &rect, QStringView word,
                               const QColor &background) {
        const QString picture = QStringLiteral("level_%1").arg(word);
        auto *o = Appearance::place(
            new PictureOptionButton(
                Resources::picture(u"controls", picture),
                Resources::picture(u"controls", picture + QStringLiteral("_sel")), Frame3),
            name, rect);
        Appearance::setColour(o, QPalette::Button, background);
        Appearance::setColour(o, QPalette::Window, background);
        o->setCursor(Resources::handCursor());
        o->setAccessibleName(word.at(0).toUpper() + word.mid(1).toString());
        return o;
    };
    Option1 = option(QStringLiteral("Option1"), {12, 20, 85, 21}, u"basso", LightGrey);
    Option2 = option(QStringLiteral("Option2"), {12, 52, 85, 21}, u"medio", LightGrey);
    Option3 = option(QStringLiteral("Option3"), {12, 84, 85, 21}, u"alto", LightGrey);
    Option4 = option(QStringLiteral("Option4"), {12, 116, 85, 25}, u"esagerato", face);

    // The puzzle: the picture first, so that the tiles lie above it.
    Frame2 = captionedFrame(this, QStringLiteral("Frame2"), {120, 56, 369, 293},
                            QStringLiteral("Puzzle"), 9.75);
    imgPuzzle =
        Appearance::place(new ImageBox(Frame2), QStringLiteral("imgPuzzle"), {8, 20, 353, 265});
    imgPuzzle->setAccessibleName(QStringLiteral("Disegno nascosto"));
    for (int i = 0; i < ExerciseSettings::TileCount; ++i) {
        // An 88-pixel pitch for 89-pixel tiles: neighbours overlap by one pixel, so that no
        // strip of frame shows between them and together they cover the picture exactly.
        const QRect rect(8 + 88 * (i % TileColumns), 20 + 88 * (i / TileColumns), 89, 89);
        auto *tile = Appearance::place(new TileButton(i + 1, Frame2),
                                       QStringLiteral("cmdOper_%1").arg(i), rect);
        Appearance::setColour(tile, QPalette::Button, face);
        tile->setCursor(Resources::handCursor());
        tile->setMouseTracking(true);
        tile->setFont(Appearance::font(ComicSans, 12));
        cmdOper[std::size_t(i)] = tile;
    }

    // The keypad, laid out like a calculator's.
    Frame1 = captionedFrame(this, QStringLiteral("Frame1"), {496, 104, 129, 221},
                            QStringLiteral("Tastierino numerico"), 9);
    const auto key = [this, face](const QString &name, const QRect &rect, QStringView picture,
                                  const QString &spoken) {
        auto *b = pictureButton<PressButton>(
            Frame1, name, rect, Resources::picture(u"controls", picture), rect.size(), face);
        b->setAccessibleName(spoken);
        return b;
    };
    Cmd_7 = key(QStringLiteral("Cmd_7"), {8, 20, 33, 33}, u"key_7", QStringLiteral("7"));
    Cmd_8 = key(QStringLiteral("Cmd_8"), {48, 20, 33, 33}, u"key_8", QStringLiteral("8"));
    Cmd_9 = key(QStringLiteral("Cmd_9"), {88, 20, 33, 33}, u"key_9", QStringLiteral("9"));
    Cmd_4 = key(QStringLiteral("Cmd_4"), {8, 60, 33, 33}, u"key_4", QStringLiteral("4"));
    Cmd_5 = key(QStringLiteral("Cmd_5"), {48, 60, 33, 33}, u"key_5", QStringLiteral("5"));
    Cmd_6 = key(QStringLiteral("Cmd_6"), {88, 60, 33, 33}, u"key_6", QStringLiteral("6"));
    Cmd_1 = key(QStringLiteral("Cmd_1"), {8, 100, 33, 33}, u"key_1", QStringLiteral("1"));
    Cmd_2 = key(QStringLiteral("Cmd_2"), {48, 100, 33, 33}, u"key_2", QStringLiteral("2"));
    Cmd_3 = key(QStringLiteral("Cmd_3"), {88, 100, 33, 33}, u"key_3", QStringLiteral("3"));
    Cmd_0 = key(QStringLiteral("Cmd_0"), {8, 140, 33, 33}, u"key_0", QStringLiteral("0"));
    CmdBack =
        key(QStringLiteral("CmdBack"), {48, 140, 73, 33}, u"key_back", QStringLiteral("Cancella"));
    CmdBack->setToolTip(QStringLiteral("Cancella l'ultima cifra immessa"));
    cmdOK = key(QStringLiteral("cmdOK"), {8, 180, 113, 33}, u"key_ok", QStringLiteral("OK"));
    cmdOK->setToolTip(QStringLiteral("Conferma il risultato"));

    // The answer strip. The four faces share one place; Form_Load decides which one shows.
    Image1 = facePicture(this, QStringLiteral("Image1"), QStringLiteral("face_neutral"),
                         QStringLiteral("faccina seria"));
    Image2 = facePicture(this, QStringLiteral("Image2"), QStringLiteral("face_smile"),
                         QStringLiteral("faccina sorridente"));
    Image3 = facePicture(this, QStringLiteral("Image3"), QStringLiteral("face_laugh"),
                         QStringLiteral("faccina che ride"));
    Image4 = facePicture(this, QStringLiteral("Image4"), QStringLiteral("face_sad"),
                         QStringLiteral("faccina triste"));
    // Right-aligned: the text ends three pixels left of the answer box.
    lblOperazione = Appearance::label(
        this, QStringLiteral("lblOperazione"), {136, 352, 217, 37}, QStringLiteral("Operazione"),
        Appearance::font(Arial, 26.25, true, true), Magenta, Qt::AlignRight | Qt::AlignTop);
    txtRisultato =
        Appearance::place(new QLineEdit(this), QStringLiteral("txtRisultato"), {356, 356, 73, 29});
    txtRisultato->setFont(Appearance::font(Arial, 15.75, true));
    Appearance::setColour(txtRisultato, QPalette::Text, QColor(0xFF, 0x00, 0x00));
    Appearance::setColour(txtRisultato, QPalette::Base, Qt::white);
    txtRisultato->setAlignment(Qt::AlignRight);
    txtRisultato->setAccessibleName(QStringLiteral("Risultato"));
    Label2 = Appearance::label(this, QStringLiteral("Label2"), {428, 356, 73, 33}, QString(),
                               Appearance::font(Arial, 9.75, true), Magenta,
                               Qt::AlignHCenter | Qt::AlignTop);
    cmdEsci = pictureButton(this, QStringLiteral("cmdEsci"), {520, 340, 85, 37},
                            Resources::picture(u"icons", u"esci"), {32, 32}, LightGrey);
    cmdEsci->setToolTip(QStringLiteral("Ritorna al menù principale"));
    cmdEsci->setAccessibleName(QStringLiteral("Esci"));
    lblGiudizio = new MessageLabel(this);
    Appearance::dressLabel(lblGiudizio, QStringLiteral("lblGiudizio"), {12, 392, 609, 57},
                           QStringLiteral("lblGiudizio"), Appearance::font(Arial, 27.75, true),
                           QColor(0xFF, 0xFF, 0x00), Qt::AlignHCenter | Qt::AlignTop);

    // Labels and pictures never cover a control that can be clicked.
    for (QWidget *w :
         std::initializer_list<QWidget *>{lblTitolo, imgBambino, Label1, Image1, Image2, Image3,
                                          Image4, lblOperazione, Label2, lblGiudizio})
        w->lower();

    setupTabOrder();
    cmdEsci->setFocus();
}

void Vortani::setupTabOrder()
{
    // In increasing tab position; labels, frames and pictures never take the focus.
    QList<QWidget *> order{cmdEsci, txtRisultato, CmdBack, Cmd_0, Cmd_9, Cmd_8, Cmd_7,
                           Cmd_6,   Cmd_5,        Cmd_4,   Cmd_3, Cmd_2, Cmd_1, cmdOK};
    for (auto tile = cmdOper.rbegin(); tile != cmdOper.rend(); ++tile)
        order << *tile;
    order << Option1 << Option2 << Option3 << cmdStampa << Option4;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}
