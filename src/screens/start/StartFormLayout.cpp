// SPDX-License-Identifier: GPL-3.0-or-later
// How the start form looks when it is loaded.
#include "StartForm.h"

#include "Appearance.h"
#include "FormGeometry.h"
#include "GameTexts.h"
#include "ImageBox.h"
#include "Resources.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <array>

namespace {
namespace Place = FormGeometry::Start;
static_assert(Place::operationButton.size() == Operations.size());

const QString Arial = QStringLiteral("Arial");

// The menu's buttons: the operations in the order of Operations, then the exit.
const std::array<QStringView, Operations.size()> OperationPictures{
    u"op_addizione", u"op_sottrazione", u"op_moltiplicazione", u"op_divisione"};

QPushButton *menuButton(QWidget *parent, const QString &name, const QRect &rect,
                        QStringView picture, const QString &spoken)
{
    // The picture is the whole face of the button.
    auto *b = Appearance::place(new QPushButton(parent), name, rect);
    b->setIcon(Resources::picture(u"controls", picture));
    b->setIconSize(b->size());
    b->setCursor(Resources::handCursor());
    b->setMouseTracking(true);
    b->setAccessibleName(spoken);
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
    Appearance::setUpForm(this, GameTexts::WindowTitle);
    setObjectName(QStringLiteral("startForm"));

    outerFrame = Appearance::frame(this, QStringLiteral("outerFrame"), Place::outerFrame);
    menuFrame = Appearance::frame(outerFrame, QStringLiteral("menuFrame"), Place::menuFrame);
    // The product name is drawn as the banner, which lies above it and covers all but its top.
    productName = Appearance::label(menuFrame, QStringLiteral("productName"), Place::productName,
                                    GameTexts::WindowTitle,
                                    Appearance::font(QStringLiteral("Comic Sans MS"), 27.75, true),
                                    QColor(0x00, 0x00, 0xFF), Qt::AlignLeft | Qt::AlignTop);
    versionLabel = Appearance::label(
        menuFrame, QStringLiteral("versionLabel"), Place::versionLabel, QStringLiteral("Versione"),
        Appearance::font(Arial, 8.25, true), Qt::black, Qt::AlignRight | Qt::AlignTop);
    logo = Appearance::place(new ImageBox(menuFrame), QStringLiteral("logo"), Place::logo);
    logo->setPicture(Resources::picture(u"controls", u"logo"));
    logo->setAccessibleName(QStringLiteral("Una scatola di giochi"));
    for (std::size_t i = 0; i < operationButtons.size(); ++i)
        operationButtons[i] =
            menuButton(menuFrame, QStringLiteral("operationButton_%1").arg(i),
                       Place::operationButton[i], OperationPictures[i], GameTexts::Titles[i].title);
    exitButton = menuButton(menuFrame, QStringLiteral("exitButton"), Place::exitButton, u"op_esci",
                            QStringLiteral("Esci"));
    websiteLabel = contactLabel(menuFrame, QStringLiteral("websiteLabel"), Place::websiteLabel,
                                QStringLiteral("Sito web .......... vortani.example.org"));
    emailLabel = contactLabel(menuFrame, QStringLiteral("emailLabel"), Place::emailLabel,
                              QStringLiteral("E-mail ............ vortani@example.org"));

    banner = Appearance::place(new ImageBox(this), QStringLiteral("banner"), Place::banner);
    banner->setPicture(Resources::picture(u"controls", u"banner"));
    banner->setBackground(Appearance::FormBackground);
    banner->setAccessibleName(GameTexts::WindowTitle);

    // The sound switch: a toggle button, up with the loudspeaker while the sound is on.
    const QIcon speaker = Resources::switchPicture(u"controls", u"speaker_on", u"speaker_off");
    soundSwitch =
        Appearance::place(new QPushButton(this), QStringLiteral("soundSwitch"), Place::soundSwitch);
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
