#pragma once

#include <QString>

namespace Html {

// Text escaping of #title, #head and #para text: "<" and ">" only.
QString encode(const QString& text);
// Escaping of src and href values: '"', '&', '<' and '>'; other text unchanged.
QString encodeAttribute(const QString& text);

} // namespace Html
