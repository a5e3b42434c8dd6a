// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QCursor>
#include <QIcon>
#include <QString>

// Access to what the program carries inside itself: clips, icons, the hand pointer and the
// pictures of the controls.
namespace Resources {
// The whole WAV image of a clip Clips::First..Clips::Last, unchanged; empty for any other number.
QByteArray clipBytes(qint16 clipId);

// A picture of a control or an icon, by its base name (":/controls/key_7.svg" is
// picture(u"controls", u"key_7")). Vector pictures stay crisp at any scale.
QIcon picture(QStringView kind, QStringView name);
// A two-state picture for a checkable control: one picture while off, another while on.
QIcon switchPicture(QStringView kind, QStringView off, QStringView on);
QIcon programIcon();
// The pointing hand, hot spot at the fingertip (6, 5).
QCursor handCursor();
} // namespace Resources
