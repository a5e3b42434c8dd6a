// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameExit.h"

#include <QCoreApplication>

void GameExit::endGame()
{
    QCoreApplication::exit(0);
}
