// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/byte_reader.h"

#include "base/runtime_error.h"

namespace Jpeg {

namespace {

[[noreturn]] void raisePastEnd() { Errors::raise(Errors::InputPastEndOfFile); }
} // namespace

ByteReader::ByteReader(QIODevice& device) : m_device(device) {}

std::uint8_t ByteReader::readByte()
{
    char byte = 0;
    if (!m_device.getChar(&byte))
        raisePastEnd();
    ++m_position;
    return static_cast<std::uint8_t>(byte);
}

QByteArray ByteReader::readBytes(int count)
{
    if (count < 0 || count > 0xFFFF)
        Errors::raise(Errors::InvalidArgument);
    const QByteArray bytes = m_device.read(count);
    if (bytes.size() != count)
        raisePastEnd();
    m_position += count;
    return bytes;
}

void ByteReader::skip(qint64 count)
{
    if (count < 0)
        Errors::raise(Errors::InvalidArgument);
    if (count == 0)
        return;
    // Sequential devices cannot seek; files and buffers can, and a seek past
    // the end must not count as a successful skip.
    if (!m_device.isSequential()) {
        const qint64 target = m_device.pos() + count;
        if (target > m_device.size())
            raisePastEnd();
        if (!m_device.seek(target))
            Errors::raise(Errors::PathFileAccess);
    } else if (m_device.skip(count) != count) {
        raisePastEnd();
    }
    m_position += count;
}

} // namespace Jpeg
