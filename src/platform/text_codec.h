#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Byte <-> text conversions for the files the program reads and writes.
namespace TextCodec {

// UTF-8 when the bytes are valid UTF-8 (a leading byte order mark is dropped),
// otherwise Windows-1252, so older single-byte files keep reading correctly.
QString decode(const QByteArray& bytes);

// Splits text into lines ended by CR LF, LF or CR. A final line end does not
// start another (empty) line.
QStringList splitLines(const QString& text);

bool fitsWindows1252(const QString& text);

// Windows-1252; characters outside it become numeric character references
// (&#8364;), so a kiosk browser shows them whatever encoding it assumes.
QByteArray toWindows1252WithReferences(const QString& text);
// The same, appended to out.
void appendWindows1252WithReferences(QByteArray& out, QStringView text);

// Page sources: Windows-1252 when every character fits, otherwise UTF-8.
QByteArray encodePageSource(const QString& text);

} // namespace TextCodec
