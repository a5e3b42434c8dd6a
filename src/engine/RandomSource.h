// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRandomGenerator>

// The generator the dealer and the praise draw from. The program follows the clock; tests build
// one with a fixed seed and clock reseeding switched off, so every draw can be replayed.
class RandomSource
{
public:
    static RandomSource fromClock();
    static RandomSource fixed(quint32 seed);

    // A number r with 0 <= r < 1.
    double next();
    // One of 0..count-1, each equally likely, drawn with one next().
    int index(int count);
    // A fresh seed from the system clock (no effect on a fixed source).
    void reseedFromClock();

private:
    RandomSource(quint32 seed, bool followsClock);

    QRandomGenerator generator;
    bool followsClock;
};
