// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QIcon>

// An option button drawn as a picture: one face while not selected, another while selected.
// Mutually exclusive with its siblings, like radio buttons.
class PictureOptionButton : public QAbstractButton
{
    Q_OBJECT
public:
    PictureOptionButton(const QIcon &normalFace, const QIcon &selectedFace,
                        QWidget *parent = nullptr);

    // Clears the selection even though the group is exclusive.
    void clearSelection();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QIcon normalFace;
    QIcon selectedFace;
};
