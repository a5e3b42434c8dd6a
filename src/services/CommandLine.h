// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ClassSetup.h"

#include <QString>
#include <QStringList>

// What the program was asked on starting: to play with a class's set-up, to show its help or
// its version, or nothing, as the set-up was refused. The same options on every edition; the
// web page turns its link's query into them.
namespace CommandLine {
enum class Kind
{
    Play,
    Help,
    Version,
    Check,  // the set-up is good; nothing more is wanted
    Refuse, // text says why
};

struct Request
{
    Kind kind = Kind::Play;
    ClassSetup setup;
    QString text; // the help, the version, or why the set-up was refused
};

// The exit status of a refused set-up, as for any command line that cannot be used.
inline constexpr int RefusedStatus = 2;

// arguments as QCoreApplication::arguments() gives them, the program's name first.
Request read(const QStringList &arguments);
} // namespace CommandLine
