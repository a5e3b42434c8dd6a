// SPDX-License-Identifier: GPL-3.0-or-later
#include "RandomSource.h"

#include <QDateTime>

#include <algorithm>
#include <chrono>
#include <random>

namespace {
quint32 clockSeed()
{
    const auto ns = std::chrono::steady_clock::now().time_since_epoch().count();
    return quint32(QDateTime::currentMSecsSinceEpoch()) ^ quint32(ns) ^ quint32(quint64(ns) >> 32);
}
} // namespace

RandomSource::RandomSource(quint32 seed, bool followsClock)
    : generator(seed), followsClock(followsClock)
{
}

RandomSource RandomSource::fromClock()
{
    return RandomSource(clockSeed(), true);
}

RandomSource RandomSource::fixed(quint32 seed)
{
    return RandomSource(seed, false);
}

double RandomSource::next()
{
    return generator.generateDouble();
}

int RandomSource::index(int count)
{
    return std::clamp(int(next() * count), 0, count - 1);
}

void RandomSource::reseedFromClock()
{
    if (!followsClock)
        return;
    // Mix in the current state: two reseeds within one clock tick must not replay a sequence.
    std::seed_seq seeds{clockSeed(), generator.generate()};
    generator.seed(seeds);
}
