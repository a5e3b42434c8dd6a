// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameExit.h"

#include <QCoreApplication>

void EndGame()
{
    QCoreApplication::exit(0);
}
