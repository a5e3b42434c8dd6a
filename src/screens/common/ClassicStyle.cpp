// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClassicStyle.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>

ClassicStyle::ClassicStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

QRect ClassicStyle::focusMarkRect(const QRect &button)
{
    // Inside the two-pixel edge, with a pixel of face between the two.
    return button.adjusted(4, 4, -4, -4);
}

void ClassicStyle::drawFocusMark(const QStyle *style, QPainter *painter, const QStyleOption &button,
                                 const QRect &rect, const QWidget *widget)
{
    QStyleOptionFocusRect focus;
    focus.QStyleOption::operator=(button);
    focus.rect = rect;
    focus.backgroundColor = button.palette.color(QPalette::Button);
    style->drawPrimitive(PE_FrameFocusRect, &focus, painter, widget);
}

void ClassicStyle::drawEdge(QPainter *painter, const QRect &rect, const QColor &face, bool sunken)
{
    // Outer and inner lines, light above and left, dark below and right; swapped when sunken.
    const QColor lightOuter = face.lighter(160);
    const QColor lightInner = face.lighter(120);
    const QColor darkOuter = face.darker(300);
    const QColor darkInner = face.darker(150);
    const QColor topLeft[2] = {sunken ? darkInner : lightOuter, sunken ? darkOuter : lightInner};
    const QColor bottomRight[2] = {sunken ? lightOuter : darkOuter,
                                   sunken ? lightInner : darkInner};
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i < 2; ++i) {
        const QRect r = rect.adjusted(i, i, -i, -i);
        painter->fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft[i]);
        painter->fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft[i]);
        painter->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight[i]);
        painter->fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight[i]);
    }
    painter->restore();
}

void ClassicStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                 QPainter *painter, const QWidget *widget) const
{
    switch (element) {
    case PE_PanelButtonCommand:
    case PE_PanelButtonBevel: {
        // Exactly the button's colour: a chosen tile is its own yellow, hover and focus
        // tint nothing.
        const QColor face = option->palette.color(QPalette::Button);
        painter->fillRect(option->rect, face);
        drawEdge(painter, option->rect, face, option->state & (State_Sunken | State_On));
        return;
    }
    case PE_FrameFocusRect: {
        // Drawn whenever asked, not only after the keyboard has been used: the focus follows
        // the pointer here, and the child should see where it is.
        // Every other pixel, drawn as whole pixels so that it lands the same at any scale.
        const QRect r = option->rect;
        const QColor ink = option->palette.color(QPalette::ButtonText);
        for (int x = r.left(); x <= r.right(); x += 2) {
            painter->fillRect(QRect(x, r.top(), 1, 1), ink);
            painter->fillRect(QRect(x, r.bottom(), 1, 1), ink);
        }
        for (int y = r.top() + 2; y < r.bottom(); y += 2) {
            painter->fillRect(QRect(r.left(), y, 1, 1), ink);
            painter->fillRect(QRect(r.right(), y, 1, 1), ink);
        }
        return;
    }
    case PE_FrameGroupBox: {
        // An etched line where the frame runs, over the frame's own colour, never darkening it.
        const int top = qMax(pixelMetric(PM_ExclusiveIndicatorHeight, option, widget),
                             option->fontMetrics.height()) +
                        3;
        // Room for the light line one pixel below and right of the dark one.
        const QRect line = option->rect.adjusted(0, top, -2, -2);
        const QColor back = option->palette.color(QPalette::Window);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setBrush(Qt::NoBrush);
        painter->setPen(back.lighter(150));
        painter->drawRect(line.translated(1, 1));
        painter->setPen(back.darker(140));
        painter->drawRect(line);
        painter->restore();
        return;
    }
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void ClassicStyle::drawControl(ControlElement element, const QStyleOption *option,
                               QPainter *painter, const QWidget *widget) const
{
    const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option);
    if (element == CE_PushButtonBevel && button) {
        proxy()->drawPrimitive(PE_PanelButtonCommand, option, painter, widget);
        return;
    }
    if (element != CE_PushButton || !button) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }

    proxy()->drawControl(CE_PushButtonBevel, button, painter, widget);

    const bool sunken = button->state & (State_Sunken | State_On);
    // Held or checked, the picture and caption sink by a pixel, as on a real key.
    const QRect content = sunken ? button->rect.translated(1, 1) : button->rect;
    if (!button->icon.isNull()) {
        // A button switched off itself shows its picture greyed. Inside a disabled frame the
        // picture keeps its look: its disabled mode there is its normal picture.
        const bool greyed = widget && widget->testAttribute(Qt::WA_ForceDisabled);
        const QIcon::Mode mode =
            greyed || button->state & State_Enabled ? QIcon::Normal : QIcon::Disabled;
        const QIcon::State state = button->state & State_On ? QIcon::On : QIcon::Off;
        QPixmap picture = button->icon.pixmap(button->iconSize,
                                              painter->device()->devicePixelRatio(), mode, state);
        if (greyed)
            picture = ClassicStyle::washedOut(picture);
        QRect target(QPoint(), button->iconSize);
        target.moveCenter(content.center());
        painter->drawPixmap(target, picture);
    } else if (!button->text.isEmpty()) {
        drawItemText(painter, content, Qt::AlignCenter | Qt::TextShowMnemonic, button->palette,
                     button->state & State_Enabled, button->text, QPalette::ButtonText);
    }
    // A picture that covers the whole face would hide the sunken edge: draw it on top.
    if (sunken)
        drawEdge(painter, button->rect, button->palette.color(QPalette::Button), true);

    if (button->state & State_HasFocus)
        drawFocusMark(proxy(), painter, *button, focusMarkRect(button->rect), widget);
}

QPixmap ClassicStyle::washedOut(const QPixmap &picture)
{
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = 96 + qGray(line[x]) * 5 / 8;
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]));
        }
    }
    QPixmap result = QPixmap::fromImage(image);
    result.setDevicePixelRatio(picture.devicePixelRatio());
    return result;
}
