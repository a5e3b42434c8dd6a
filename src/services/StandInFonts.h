// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>

// The forms ask for their fonts by name. Where the system has no font of that name, a free
// look-alike shipped beside the program takes its place; where it has one, nothing changes.
namespace StandInFonts {
struct StandIn
{
    QString wanted; // the family the forms ask for
    QString family; // the look-alike's family
    QString files;  // a name pattern of its files, in the folder given to install()
};

// For each stand-in whose wanted family is missing and whose files are in folder: loads them
// and makes the wanted family resolve to the look-alike. Returns the families it stood in
// for.
QStringList install(const QDir &folder, const QList<StandIn> &standIns);
// "Comic Sans MS" and "Arial", from the program's own folder, with the look-alikes this
// edition's build names (cmake/StandInFonts.cmake).
QStringList install();
} // namespace StandInFonts
