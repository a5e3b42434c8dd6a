// SPDX-License-Identifier: GPL-3.0-or-later
// How the start form looks when it is loaded.
#include "frmSplash.h"

#include "Appearance.h"
#include "ImageBox.h"
#include "Resources.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {
const QString Arial = QStringLiteral("Arial");

QPushButton *operationButton(QWidget *parent, const QString &name, const QPoint &at,
                             QStringView face, const QString &spoken)
{
    // The picture is the whole face of the button.
    auto *b = Appearance::place(new QPushButton(parent), name, QRect(at, QSize(165, 29)));
    b->setIcon(Resources::picture(u"controls", face));
    b->setIconSize(b->size());
    b->setCursor(Resources::handCursor());
    b->setMouseTracking(true);
    b->setAccessibleName(spoken);
    return b;
}
} // namespace

void frmSplash::setupLayout()
{
    Appearance::setUpForm(this, QStringLiteral("Vortani Puzzle"));
    setObjectName(QStringLiteral("frmSplash"));

    Frame2 = Appearance::frame(this, QStringLiteral("Frame2"), {68, 72, 493, 285});
    Frame1 = Appearance::frame(Frame2, QStringLiteral("Frame1"), {8, 8, 476, 270});
    // The product name is drawn as the banner, which lies above it and covers all but its top.
    lblProductName =
        Appearance::label(Frame1, QStringLiteral("lblProductName"), {112, 12, 238, 51},
                          QStringLiteral("Vortani Puzzle"),
                          Appearance::font(QStringLiteral("Comic Sans MS"), 27.75, true),
                          QColor(0x00, 0x00, 0xFF), Qt::AlignLeft | Qt::AlignTop);
    lblVersion = Appearance::label(Frame1, QStringLiteral("lblVersion"), {392, 12, 75, 14},
                                   QStringLiteral("Versione"), Appearance::font(Arial, 8.25, true),
                                   Qt::black, Qt::AlignRight | Qt::AlignTop);
    imgLogo =
        Appearance::place(new ImageBox(Frame1), QStringLiteral("imgLogo"), {64, 68, 121, 159});
    imgLogo->setPicture(Resources::picture(u"controls", u"logo"));
    imgLogo->setAccessibleName(QStringLiteral("Una scatola di giochi"));
    // A staircase, each button 20 pixels right of and 36 below the one before.
    cmdAdd = operationButton(Frame1, QStringLiteral("cmdAdd"), {212, 76}, u"op_addizione",
                             QStringLiteral("Addizione"));
    cmdSott = operationButton(Frame1, QStringLiteral("cmdSott"), {232, 112}, u"op_sottrazione",
                              QStringLiteral("Sottrazione"));
    cmdMolt = operationButton(Frame1, QStringLiteral("cmdMolt"), {252, 148}, u"op_moltiplicazione",
                              QStringLiteral("Moltiplicazione"));
    cmdDiv = operationButton(Frame1, QStringLiteral("cmdDiv"), {272, 184}, u"op_divisione",
                             QStringLiteral("Divisione"));
    cmdEsci = operationButton(Frame1, QStringLiteral("cmdEsci"), {292, 220}, u"op_esci",
                              QStringLiteral("Esci"));
    Label1 = Appearance::label(Frame1, QStringLiteral("Label1"), {8, 232, 241, 17},
                               QStringLiteral("Sito web .......... vortani.example.org"),
                               Appearance::font(Arial, 8.25, true), Qt::black,
                               Qt::AlignLeft | Qt::AlignTop);
    Label2 = Appearance::label(Frame1, QStringLiteral("Label2"), {8, 248, 237, 17},
                               QStringLiteral("E-mail ............ vortani@example.org"),
                               Appearance::font(Arial, 8.25, true), Qt::black,
                               Qt::AlignLeft | Qt::AlignTop);

    Picture1 =
        Appearance::place(new ImageBox(this), QStringLiteral("Picture1"), {140, 96, 311, 47});
    Picture1->setPicture(Resources::picture(u"controls", u"banner"));
    Picture1->setBackground(Appearance::FormBackground);
    Picture1->setAccessibleName(QStringLiteral("Vortani Puzzle"));

    // The sound switch: a toggle button, up with the loudspeaker while the sound is on.
    const QIcon speaker = Resources::switchPicture(u"controls", u"speaker_on", u"speaker_off");
    Check1 = Appearance::place(new QPushButton(this), QStringLiteral("Check1"), {272, 388, 85, 37});
    Check1->setCheckable(true);
    Check1->setIcon(speaker);
    Check1->setIconSize({32, 32});
    Check1->setCursor(Resources::handCursor());
    Appearance::setColour(Check1, QPalette::Button, Appearance::FormBackground);
    // Screen readers take a checkable button for a check box: named for what checking it
    // does, it reads "Suoni spenti, checked" exactly while the sound is off.
    Check1->setAccessibleName(QStringLiteral("Suoni spenti"));

    setTabOrder(cmdEsci, cmdDiv);
    setTabOrder(cmdDiv, cmdMolt);
    setTabOrder(cmdMolt, cmdSott);
    setTabOrder(cmdSott, cmdAdd);
    setTabOrder(cmdAdd, Check1);
    cmdEsci->setFocus();
}
