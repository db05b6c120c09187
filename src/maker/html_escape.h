// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace Html {

// Text escaping of #title, #head and #para text: "<" and ">" only. A
// failure is reported on the session's error path.
QString encode(const QString& text);
// Escaping of src and href values: '"', '&', '<' and '>'; other text unchanged.
QString encodeAttribute(const QString& text);

} // namespace Html
