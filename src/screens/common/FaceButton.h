// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPushButton>

// A push button whose picture is its whole face, edge to edge. It still shows when it is held
// down and when it has the focus.
class FaceButton : public QPushButton
{
public:
    explicit FaceButton(const QIcon &face, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QIcon face;
};
