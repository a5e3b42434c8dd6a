// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRect>
#include <QString>

class QGroupBox;
class QLabel;
class QWidget;

// Small helpers the two forms share for their look.
namespace Appearance {
inline const QColor FormBackground{0x00, 0xC0, 0xC0};
inline const QColor SelectedTile{255, 255, 192};

// The desktop's colour for push-button faces.
QColor buttonFace();
QFont font(const QString &family, qreal points, bool bold = false, bool italic = false);
// A fixed-size, centred, teal top-level form with the program icon.
void setUpForm(QWidget *form, const QString &caption);
// Sets a widget's text or window colour.
void setColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour);
// Names a control after its member and puts it at its rectangle in its container.
template <typename W> W *place(W *widget, const QString &name, const QRect &rect)
{
    widget->setObjectName(name);
    widget->setGeometry(rect);
    return widget;
}
// A see-through label whose text wraps at word boundaries inside its box.
QLabel *label(QWidget *parent, const QString &name, const QRect &rect, const QString &text,
              const QFont &font, const QColor &colour, Qt::Alignment alignment);
// The same look for a label of another kind, built by the caller.
void dressLabel(QLabel *label, const QString &name, const QRect &rect, const QString &text,
                const QFont &font, const QColor &colour, Qt::Alignment alignment);
// A frame filled with the form's background, with a caption or without.
QGroupBox *frame(QWidget *parent, const QString &name, const QRect &rect,
                 const QString &caption = QString());
// Gives a container a palette whose disabled colours are its active ones, so that the
// controls inside a disabled frame keep their look.
void keepLookWhenDisabled(QWidget *widget);
// Greys out a choice the class's set-up does not offer today, and says so to a screen reader.
void markNotOffered(QWidget *widget);
} // namespace Appearance
