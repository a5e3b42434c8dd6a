// SPDX-License-Identifier: GPL-3.0-or-later
#include "Appearance.h"

#include "GameTexts.h"

#include "FormGeometry.h"
#include "Resources.h"

#include <QApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

QColor Appearance::buttonFace()
{
    return QApplication::palette("QPushButton").color(QPalette::Active, QPalette::Button);
}

QFont Appearance::font(const QString &family, qreal points, bool bold, bool italic)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

void Appearance::setUpForm(QWidget *form, const QString &caption)
{
    form->setWindowTitle(caption);
    form->setWindowIcon(Resources::programIcon());
    // A fixed single border: title bar, minimise and close, no maximise, no resizing.
    form->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    form->setFixedSize(FormGeometry::FormSize);
    form->setAutoFillBackground(true);
    setColour(form, QPalette::Window, FormBackground);
    if (const QScreen *screen =
            form->screen() ? form->screen() : QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), form->size());
        frame.moveCenter(screen->availableGeometry().center());
        form->move(frame.topLeft());
    }
}

void Appearance::setColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

QLabel *Appearance::label(QWidget *parent, const QString &name, const QRect &rect,
                          const QString &text, const QFont &font, const QColor &colour,
                          Qt::Alignment alignment)
{
    auto *l = new QLabel(text, parent);
    dressLabel(l, name, rect, text, font, colour, alignment);
    return l;
}

void Appearance::dressLabel(QLabel *label, const QString &name, const QRect &rect,
                            const QString &text, const QFont &font, const QColor &colour,
                            Qt::Alignment alignment)
{
    place(label, name, rect);
    label->setText(text);
    label->setFont(font);
    setColour(label, QPalette::WindowText, colour);
    label->setAlignment(alignment);
    label->setWordWrap(true);
    label->setFocusPolicy(Qt::NoFocus);
}

QGroupBox *Appearance::frame(QWidget *parent, const QString &name, const QRect &rect,
                             const QString &caption)
{
    auto *f = place(new QGroupBox(caption, parent), name, rect);
    f->setAutoFillBackground(true);
    setColour(f, QPalette::Window, FormBackground);
    return f;
}

void Appearance::keepLookWhenDisabled(QWidget *widget)
{
    QPalette palette = widget->palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto r = QPalette::ColorRole(role);
        palette.setColor(QPalette::Disabled, r, palette.color(QPalette::Active, r));
    }
    widget->setPalette(palette);
}

void Appearance::markNotOffered(QWidget *widget)
{
    widget->setEnabled(false);
    widget->setAccessibleDescription(GameTexts::NotOfferedToday);
}
