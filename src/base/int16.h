// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>

// 16-bit signed values as the configuration and layout use them. Every
// operation raises Overflow (6) when its result leaves -32768..32767.
namespace Int16 {

// Converts number text to the nearest 16-bit integer: blanks around it are
// allowed, then an optional sign, digits with an optional fraction and an
// optional exponent. Halves go to the even neighbour (1024.5 -> 1024,
// 1025.5 -> 1026). Text that is not a number raises Type mismatch (13).
std::int16_t fromText(const QString& text);

// The value itself when it fits in 16 bits, else Overflow.
std::int16_t checked(std::int64_t value);

std::int16_t add(std::int16_t a, std::int16_t b);
std::int16_t subtract(std::int16_t a, std::int16_t b);
std::int16_t multiply(std::int16_t a, std::int16_t b);

} // namespace Int16
