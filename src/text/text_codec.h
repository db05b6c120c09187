// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Byte <-> text conversions for the files the program reads and writes.
namespace TextCodec {

// How the bytes of a text file hold its text.
enum class Encoding {
    Windows1252, // also every file of plain ASCII bytes
    Utf8,
    Utf8WithBom,
};

struct DecodedText {
    QString text;
    Encoding encoding = Encoding::Windows1252;
};

// The one reader of text files: UTF-8 when the bytes are valid UTF-8 (one
// leading byte order mark is dropped), otherwise Windows-1252, so older
// single-byte files keep reading correctly. encoding says which form was found.
DecodedText decodeWithEncoding(const QByteArray& bytes);
QString decode(const QByteArray& bytes);

// Bytes that decode() reads back as exactly text, in the wanted encoding when
// it can hold them: Windows-1252 only when every character fits and the bytes
// are not also valid UTF-8 of another text; otherwise UTF-8, with a byte order
// mark when one was wanted or when the text itself starts with one. used
// receives the encoding written.
QByteArray encode(const QString& text, Encoding wanted, Encoding* used = nullptr);

// Splits text into lines ended by CR LF, LF or CR. A final line end does not
// start another (empty) line.
QStringList splitLines(const QString& text);

bool fitsWindows1252(const QString& text);

// Appends text to out in Windows-1252; characters outside it become numeric
// character references (&#8364;), so a kiosk browser shows them whatever
// encoding it assumes.
void appendWindows1252WithReferences(QByteArray& out, QStringView text);

// A new page source: encode(text, Encoding::Windows1252).
QByteArray encodePageSource(const QString& text);

} // namespace TextCodec
