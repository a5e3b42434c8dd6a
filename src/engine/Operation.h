// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <array>
#include <cstddef>
#include <optional>

// The four operations, numbered as the game has always numbered them.
enum class Operation : qint16
{
    Addition = 1,
    Subtraction = 2,
    Multiplication = 3,
    Division = 4,
};

inline constexpr std::array<Operation, 4> Operations{
    Operation::Addition, Operation::Subtraction, Operation::Multiplication, Operation::Division};

// Where an operation stands in Operations, for tables that hold one entry per operation.
constexpr std::size_t operationIndex(Operation op)
{
    std::size_t i = 0;
    while (Operations[i] != op)
        ++i;
    return i;
}
