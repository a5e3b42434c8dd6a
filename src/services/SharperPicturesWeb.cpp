// SPDX-License-Identifier: GPL-3.0-or-later
#include "SharperPictures.h"

#include "WebPage.h"

#include <QByteArray>
#include <QList>
#include <QResource>

#include <cstdio>

// The page fetched them before the program started, only on a sharp screen, so that a first
// visit on any other screen does not download them.
void SharperPictures::install()
{
    // Qt reads a registered resource file where it lies, for the whole run.
    static QList<QByteArray> kept;
    for (const QByteArray &file : WebPage::sharperPictures()) {
        kept << file;
        if (!QResource::registerResource(reinterpret_cast<const uchar *>(file.constData())))
            std::fprintf(stderr,
                         "Vortani Puzzle: a file of sharper pictures is not a resource "
                         "file (%lld bytes)\n",
                         static_cast<long long>(file.size()));
    }
}
