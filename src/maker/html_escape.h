// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class Session;

namespace Html {

// Text escaping of #title, #head and #para text: "<" and ">" only. A
// failure is reported on the session's error path.
QString encode(Session& session, const QString& text);
// Escaping of src and href values: '"', '&', '<' and '>'; other text unchanged.
QString encodeAttribute(const QString& text);

} // namespace Html
