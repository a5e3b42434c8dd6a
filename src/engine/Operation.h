// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <array>
#include <cstddef>
#include <optional>

// The four operations. The shared setting keeps the 16-bit code; these two functions are the
// only place where code and operation meet.
enum class Operation : qint16
{
    Addition = 1,
    Subtraction = 2,
    Multiplication = 3,
    Division = 4,
};

inline constexpr std::array<Operation, 4> Operations{
    Operation::Addition, Operation::Subtraction, Operation::Multiplication, Operation::Division};

// The operation a setting holds, or nothing for a code no operation has (0 before any choice).
constexpr std::optional<Operation> operationFromCode(qint16 code)
{
    for (const Operation op : Operations)
        if (qint16(op) == code)
            return op;
    return std::nullopt;
}

constexpr qint16 operationCode(Operation op)
{
    return qint16(op);
}

// Where an operation stands in Operations, for tables that hold one entry per operation.
constexpr std::size_t operationIndex(Operation op)
{
    std::size_t i = 0;
    while (Operations[i] != op)
        ++i;
    return i;
}
