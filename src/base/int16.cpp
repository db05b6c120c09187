// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/int16.h"

#include "base/runtime_error.h"
#include "util/rounding.h"

#include <QRegularExpression>
#include <cmath>

namespace Int16 {

std::int16_t fromText(const QString& text)
{
    static const QRegularExpression number(QStringLiteral(R"(^\s*([+-]?(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?)\s*$)"));
    const auto match = number.match(text);
    if (!match.hasMatch())
        Errors::raise(Errors::TypeMismatch);
    bool ok = false;
    const double value = match.captured(1).toDouble(&ok);
    if (!ok || !std::isfinite(value))
        Errors::raise(Errors::Overflow);
    const double rounded = util::roundHalfToEven(value);
    if (rounded < -32768.0 || rounded > 32767.0)
        Errors::raise(Errors::Overflow);
    return static_cast<std::int16_t>(rounded);
}

std::int16_t checked(std::int64_t value)
{
    if (value < -32768 || value > 32767)
        Errors::raise(Errors::Overflow);
    return static_cast<std::int16_t>(value);
}

std::int16_t add(std::int16_t a, std::int16_t b) { return checked(std::int64_t(a) + b); }
std::int16_t subtract(std::int16_t a, std::int16_t b) { return checked(std::int64_t(a) - b); }
std::int16_t multiply(std::int16_t a, std::int16_t b) { return checked(std::int64_t(a) * b); }

} // namespace Int16
