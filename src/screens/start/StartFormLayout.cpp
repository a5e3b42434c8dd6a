// SPDX-License-Identifier: GPL-3.0-or-later
// How the start form looks when it is loaded.
#include "StartForm.h"

#include "Appearance.h"
#include "ImageBox.h"
#include "Resources.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <array>

namespace {
const QString Arial = QStringLiteral("Arial");

// The menu's buttons, a staircase, each 20 pixels right of and 36 below the one before: the
// operations in the order of Operations, then the exit.
struct MenuButton
{
    QStringView picture;
    QString spoken;
};
const std::array<MenuButton, Operations.size()> OperationButtons{{
    {u"op_addizione", QStringLiteral("Addizione")},
    {u"op_sottrazione", QStringLiteral("Sottrazione")},
    {u"op_moltiplicazione", QStringLiteral("Moltiplicazione")},
    {u"op_divisione", QStringLiteral("Divisione")},
}};
const MenuButton ExitButton{u"op_esci", QStringLiteral("Esci")};

QPushButton *menuButton(QWidget *parent, const QString &name, int step, const MenuButton &spec)
{
    // The picture is the whole face of the button.
    const QRect rect(212 + 20 * step, 76 + 36 * step, 165, 29);
    auto *b = Appearance::place(new QPushButton(parent), name, rect);
    b->setIcon(Resources::picture(u"controls", spec.picture));
    b->setIconSize(b->size());
    b->setCursor(Resources::handCursor());
    b->setMouseTracking(true);
    b->setAccessibleName(spec.spoken);
    return b;
}

QLabel *contactLabel(QWidget *parent, const QString &name, const QRect &rect, const QString &text)
{
    return Appearance::label(parent, name, rect, text, Appearance::font(Arial, 8.25, true),
                             Qt::black, Qt::AlignLeft | Qt::AlignTop);
}
} // namespace

void StartForm::setupLayout()
{
    Appearance::setUpForm(this, QStringLiteral("Vortani Puzzle"));
    setObjectName(QStringLiteral("startForm"));

    outerFrame = Appearance::frame(this, QStringLiteral("outerFrame"), {68, 72, 493, 285});
    menuFrame = Appearance::frame(outerFrame, QStringLiteral("menuFrame"), {8, 8, 476, 270});
    // The product name is drawn as the banner, which lies above it and covers all but its top.
    productName = Appearance::label(menuFrame, QStringLiteral("productName"), {112, 12, 238, 51},
                                    QStringLiteral("Vortani Puzzle"),
                                    Appearance::font(QStringLiteral("Comic Sans MS"), 27.75, true),
                                    QColor(0x00, 0x00, 0xFF), Qt::AlignLeft | Qt::AlignTop);
    versionLabel = Appearance::label(
        menuFrame, QStringLiteral("versionLabel"), {392, 12, 75, 14}, QStringLiteral("Versione"),
        Appearance::font(Arial, 8.25, true), Qt::black, Qt::AlignRight | Qt::AlignTop);
    logo = Appearance::place(new ImageBox(menuFrame), QStringLiteral("logo"), {64, 68, 121, 159});
    logo->setPicture(Resources::picture(u"controls", u"logo"));
    logo->setAccessibleName(QStringLiteral("Una scatola di giochi"));
    for (std::size_t i = 0; i < OperationButtons.size(); ++i)
        operationButtons[i] = menuButton(menuFrame, QStringLiteral("operationButton_%1").arg(i),
                                         int(i), OperationButtons[i]);
    exitButton = menuButton(menuFrame, QStringLiteral("exitButton"), int(OperationButtons.size()),
                            ExitButton);
    websiteLabel = contactLabel(menuFrame, QStringLiteral("websiteLabel"), {8, 232, 241, 17},
                                QStringLiteral("Sito web .......... vortani.example.org"));
    emailLabel = contactLabel(menuFrame, QStringLiteral("emailLabel"), {8, 248, 237, 17},
                              QStringLiteral("E-mail ............ vortani@example.org"));

    banner = Appearance::place(new ImageBox(this), QStringLiteral("banner"), {140, 96, 311, 47});
    banner->setPicture(Resources::picture(u"controls", u"banner"));
    banner->setBackground(Appearance::FormBackground);
    banner->setAccessibleName(QStringLiteral("Vortani Puzzle"));

    // The sound switch: a toggle button, up with the loudspeaker while the sound is on.
    const QIcon speaker = Resources::switchPicture(u"controls", u"speaker_on", u"speaker_off");
    soundSwitch =
        Appearance::place(new QPushButton(this), QStringLiteral("soundSwitch"), {272, 388, 85, 37});
    soundSwitch->setCheckable(true);
    soundSwitch->setIcon(speaker);
    soundSwitch->setIconSize({32, 32});
    soundSwitch->setCursor(Resources::handCursor());
    Appearance::setColour(soundSwitch, QPalette::Button, Appearance::FormBackground);
    // Screen readers take a checkable button for a check box: named for what checking it
    // does, it reads "Suoni spenti, checked" exactly while the sound is off.
    soundSwitch->setAccessibleName(QStringLiteral("Suoni spenti"));

    // Up the staircase from the exit, then the sound switch.
    QWidget *previous = exitButton;
    for (auto b = operationButtons.rbegin(); b != operationButtons.rend(); ++b) {
        setTabOrder(previous, *b);
        previous = *b;
    }
    setTabOrder(previous, soundSwitch);
    exitButton->setFocus();
}
