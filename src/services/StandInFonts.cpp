// SPDX-License-Identifier: GPL-3.0-or-later
#include "StandInFonts.h"

#include "StandInFacts.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontDatabase>

QStringList StandInFonts::install(const QDir &folder, const QList<StandIn> &standIns)
{
    QStringList stoodIn;
    for (const StandIn &s : standIns) {
        // The files first: listing the system's families reads every font it has, a cost
        // start-up pays for nothing where no look-alike is shipped.
        const QStringList files = folder.entryList({s.files}, QDir::Files);
        if (files.isEmpty() || QFontDatabase::families().contains(s.wanted, Qt::CaseInsensitive))
            continue;
        bool loaded = true;
        for (const QString &file : files)
            loaded = QFontDatabase::addApplicationFont(folder.filePath(file)) >= 0 && loaded;
        if (!loaded)
            continue;
        QFont::insertSubstitution(s.wanted, s.family);
        stoodIn << s.wanted;
    }
    return stoodIn;
}

QStringList StandInFonts::install()
{
    // Shipped only where the system may lack the originals (the Windows and web editions, whose
    // builds name the files); Debian's fontconfig already maps both names to these families.
    QList<StandIn> standIns;
    for (const StandInFacts::Row &row : StandInFacts::Rows)
        standIns.append({QString::fromUtf8(row.wanted), QString::fromUtf8(row.family),
                         QString::fromUtf8(row.files)});
    return install(QDir(QCoreApplication::applicationDirPath()), standIns);
}
