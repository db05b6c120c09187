// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/text_codec.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>

namespace {

// Code points of bytes 0x80..0x9F in Windows-1252; the five unassigned bytes
// stand for the control characters of the same number.
constexpr std::array<char16_t, 32> kHighControls = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The Windows-1252 byte for a code point, or -1 when it has none.
int windows1252Byte(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return int(codePoint);
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] == codePoint)
            return 0x80 + i;
    return -1;
}

QString fromWindows1252(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (unsigned char c : bytes)
        text.append(c >= 0x80 && c < 0xA0 ? QChar(kHighControls[c - 0x80]) : QChar(c));
    return text;
}

} // namespace

namespace TextCodec {

DecodedText decodeWithEncoding(const QByteArray& bytes)
{
    // The mark is kept by the decoder and dropped here, exactly once.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return {fromWindows1252(bytes), Encoding::Windows1252};
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
        return {text, Encoding::Utf8WithBom};
    }
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
    return {text, ascii ? Encoding::Windows1252 : Encoding::Utf8};
}

QString decode(const QByteArray& bytes) { return decodeWithEncoding(bytes).text; }

QByteArray encode(const QString& text, Encoding wanted, Encoding* used)
{
    Encoding chosen = wanted;
    QByteArray bytes;
    if (wanted == Encoding::Windows1252) {
        const bool fits = fitsWindows1252(text);
        if (fits) {
            bytes.reserve(text.size());
            for (char32_t cp : text.toUcs4())
                bytes.append(char(windows1252Byte(cp)));
        }
        // Single-byte text whose bytes also form valid UTF-8 would read back
        // as other characters ("Maß–" as "Maߖ"); UTF-8 keeps it.
        if (!fits || decode(bytes) != text)
            chosen = Encoding::Utf8;
    }
    // The reader drops one leading byte order mark: a text starting with one
    // keeps it only behind a second.
    if (chosen == Encoding::Utf8 && text.startsWith(QChar(0xFEFF)))
        chosen = Encoding::Utf8WithBom;
    if (chosen != Encoding::Windows1252)
        bytes = (chosen == Encoding::Utf8WithBom ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + text.toUtf8();
    if (used)
        *used = chosen;
    return bytes;
}

QStringList splitLines(const QString& text)
{
    QStringList lines;
    const auto* chars = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = chars[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(QString(reinterpret_cast<const QChar*>(chars + start), i - start));
        if (c == u'\r' && i + 1 < n && chars[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(QString(reinterpret_cast<const QChar*>(chars + start), n - start));
    return lines;
}

bool fitsWindows1252(const QString& text)
{
    for (char32_t cp : text.toUcs4())
        if (windows1252Byte(cp) < 0)
            return false;
    return true;
}

void appendWindows1252WithReferences(QByteArray& out, QStringView text)
{
    const qsizetype n = text.size();
    const auto* chars = reinterpret_cast<const char16_t*>(text.utf16());
    // Nearly every generated line is plain ASCII: copy such runs straight into
    // the reserved space and only look up the rest.
    const qsizetype start = out.size();
    out.resize(start + n);
    char* bytes = out.data() + start;
    qsizetype i = 0;
    while (i < n && chars[i] < 0x80) {
        bytes[i] = char(chars[i]);
        ++i;
    }
    if (i == n)
        return;
    out.truncate(start + i);
    for (; i < n; ++i) {
        const char16_t u = chars[i];
        if (u < 0x80) {
            out.append(char(u));
            continue;
        }
        char32_t cp = u;
        if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(chars[i + 1]))
            cp = QChar::surrogateToUcs4(u, chars[++i]);
        const int b = windows1252Byte(cp);
        if (b >= 0)
            out.append(char(b));
        else
            out.append("&#").append(QByteArray::number(quint32(cp))).append(';');
    }
}

QByteArray encodePageSource(const QString& text) { return encode(text, Encoding::Windows1252); }

} // namespace TextCodec
