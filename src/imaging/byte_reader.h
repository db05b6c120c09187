// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <cstdint>

namespace Jpeg {

// Reads a byte stream front to back with every read bounds-checked: reading
// or skipping past the end raises 62 "Input past end of file", a device
// error 75 "Path/File access error". The device must be open for reading and
// outlive the reader; the reader never moves backwards, so a walk over it
// always ends.
class ByteReader {
public:
    explicit ByteReader(QIODevice& device);

    std::uint8_t readByte();
    // Exactly count bytes (0 to 65535).
    QByteArray readBytes(int count);
    // Moves count bytes forward (count >= 0).
    void skip(qint64 count);
    // Bytes read so far (0 at the start).
    qint64 position() const { return m_position; }

private:
    QIODevice& m_device;
    qint64 m_position = 0;
};

} // namespace Jpeg
