// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProxyStyle>

// Fusion with the look of classic desktop picture buttons: a flat face of exactly the button's
// own colour under a two-pixel raised edge that sinks, with the picture, while the button is
// held or checked; a dotted focus mark whenever a button has the focus, however it got it; no
// hover highlight; a picture greyed only on a button that is itself disabled (inside a disabled
// frame a control keeps its look); frames drawn as an etched line with no tint of their own.
class ClassicStyle : public QProxyStyle
{
    Q_OBJECT
public:
    ClassicStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;

    // The rectangle the focus mark is drawn on for a button of this size.
    static QRect focusMarkRect(const QRect &button);
    // The focus mark of a focused button, at rect, drawn by style.
    static void drawFocusMark(const QStyle *style, QPainter *painter, const QStyleOption &button,
                              const QRect &rect, const QWidget *widget);
    // The two-pixel edge alone, raised or sunken, over whatever is already painted.
    static void drawEdge(QPainter *painter, const QRect &rect, const QColor &face, bool sunken);
    // Grey and pale, as a switched-off button's picture reads on every desktop.
    static QPixmap washedOut(const QPixmap &picture);
};
