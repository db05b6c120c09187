// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cabinet_stream.h"

#include "makecab_error.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace {

constexpr std::size_t blockSize = 32768;
constexpr std::size_t headerSize = 36;
constexpr std::size_t folderEntrySize = 8;
constexpr std::size_t fileEntrySize = 16;
constexpr std::uint16_t storedType = 0, msZipType = 1;
constexpr std::uint16_t archiveAttribute = 0x20, utf8NameAttribute = 0x80;

void put16(std::string& out, std::uint16_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void put32(std::string& out, std::uint32_t value)
{
    put16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    put16(out, static_cast<std::uint16_t>(value >> 16));
}

// The cabinet checksum: 32-bit little-endian words XORed, a short tail taken
// most significant byte first.
std::uint32_t cabinetChecksum(const unsigned char* data, std::size_t size, std::uint32_t seed)
{
    std::uint32_t sum = seed;
    std::size_t i = 0;
    for (; i + 4 <= size; i += 4)
        sum ^= std::uint32_t(data[i]) | std::uint32_t(data[i + 1]) << 8 | std::uint32_t(data[i + 2]) << 16
               | std::uint32_t(data[i + 3]) << 24;
    std::uint32_t tail = 0;
    for (; i < size; ++i)
        tail = tail << 8 | data[i];
    return sum ^ tail;
}

// Names with other than ASCII letters are marked as UTF-8 when they are; any
// other bytes are left to the reader's code page.
bool isUtf8BeyondAscii(const std::string& text)
{
    bool beyondAscii = false;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x6  ? 2
                                   : (lead >> 4) == 0xE  ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 0x2)
                return false;
        beyondAscii = beyondAscii || length > 1;
        i += length;
    }
    return beyondAscii;
}

// MS-DOS date and time of a file's modification, in local time.
std::pair<std::uint16_t, std::uint16_t> dosDateTime(const std::timespec& modified)
{
    std::tm local{};
    const std::time_t seconds = modified.tv_sec;
    localtime_r(&seconds, &local);
    const int year = std::clamp(local.tm_year + 1900, 1980, 2107);
    return {static_cast<std::uint16_t>((year - 1980) << 9 | (local.tm_mon + 1) << 5 | local.tm_mday),
            static_cast<std::uint16_t>(local.tm_hour << 11 | local.tm_min << 5 | local.tm_sec / 2)};
}

std::string fileTable(const std::vector<SourceFile>& files)
{
    std::string table;
    std::uint64_t offset = 0;
    for (const SourceFile& file : files) {
        const auto [date, time] = dosDateTime(file.modified);
        put32(table, static_cast<std::uint32_t>(file.size));
        put32(table, static_cast<std::uint32_t>(offset));
        put16(table, 0); // the one folder
        put16(table, date);
        put16(table, time);
        put16(table, archiveAttribute | (isUtf8BeyondAscii(file.storedName) ? utf8NameAttribute : 0));
        table += file.storedName;
        table += '\0';
        offset += file.size;
    }
    return table;
}

bool sameTime(const std::timespec& a, const std::timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

// Writes everything or throws with the system's reason.
class Output {
public:
    Output(int descriptor, std::string label) : m_descriptor(descriptor), m_label(std::move(label)) {}

    void write(const void* data, std::size_t size)
    {
        const char* bytes = static_cast<const char*>(data);
        while (size > 0) {
            const ssize_t written = ::write(m_descriptor, bytes, size);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                fail();
            bytes += written;
            size -= static_cast<std::size_t>(written);
            m_offset += static_cast<std::uint64_t>(written);
        }
    }
    void write(const std::string& data) { write(data.data(), data.size()); }

    void patch(std::uint64_t at, const std::string& data)
    {
        if (::pwrite(m_descriptor, data.data(), data.size(), static_cast<off_t>(at))
            != static_cast<ssize_t>(data.size()))
            fail();
    }

    std::uint64_t offset() const { return m_offset; }

private:
    [[noreturn]] void fail() const
    {
        const int error = errno != 0 ? errno : ENOSPC;
        throw MakecabError("cannot write cabinet \"" + m_label + "\": " + std::strerror(error));
    }

    int m_descriptor;
    std::string m_label;
    std::uint64_t m_offset = 0;
};

// Cuts the folder's byte stream into data blocks, compresses and writes them.
class BlockWriter {
public:
    BlockWriter(Output& output, CabinetCompression compression) : m_output(output), m_compression(compression)
    {
        if (m_compression == CabinetCompression::MsZip
            && deflateInit2(&m_zip, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            throw MakecabError("cannot start compression: out of memory");
    }
    ~BlockWriter()
    {
        if (m_compression == CabinetCompression::MsZip)
            deflateEnd(&m_zip);
    }
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;

    // Room left in the current block.
    std::size_t room() const { return blockSize - m_used; }
    unsigned char* end() { return m_block.data() + m_used; }

    // Takes size more bytes written at end(); writes the block once full.
    void added(std::size_t size)
    {
        m_used += size;
        if (m_used == blockSize)
            flush();
    }

    void flush()
    {
        if (m_used == 0)
            return;
        const std::string& data = m_compression == CabinetCompression::MsZip ? compressed() : stored();
        std::string header;
        put16(header, static_cast<std::uint16_t>(data.size()));
        put16(header, static_cast<std::uint16_t>(m_used));
        const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
        const std::uint32_t checksum = cabinetChecksum(reinterpret_cast<const unsigned char*>(header.data()), 4,
                                                       cabinetChecksum(bytes, data.size(), 0));
        std::string record;
        put32(record, checksum);
        m_output.write(record + header);
        m_output.write(data);
        m_used = 0;
        ++m_blocks;
    }

    std::uint16_t blocks() const { return static_cast<std::uint16_t>(m_blocks); }

private:
    const std::string& stored()
    {
        m_data.assign(reinterpret_cast<const char*>(m_block.data()), m_used);
        return m_data;
    }

    // "CK" and a complete deflate stream of the block alone.
    const std::string& compressed()
    {
        m_data.assign("CK");
        m_data.resize(2 + deflateBound(&m_zip, static_cast<uLong>(m_used)));
        deflateReset(&m_zip);
        m_zip.next_in = m_block.data();
        m_zip.avail_in = static_cast<uInt>(m_used);
        m_zip.next_out = reinterpret_cast<Bytef*>(m_data.data() + 2);
        m_zip.avail_out = static_cast<uInt>(m_data.size() - 2);
        if (deflate(&m_zip, Z_FINISH) != Z_STREAM_END)
            throw MakecabError("compression failed");
        m_data.resize(2 + m_zip.total_out);
        return m_data;
    }

    Output& m_output;
    CabinetCompression m_compression;
    z_stream m_zip{};
    std::vector<unsigned char> m_block = std::vector<unsigned char>(blockSize);
    std::size_t m_used = 0; // bytes of m_block filled
    std::string m_data;
    std::size_t m_blocks = 0;
};

[[noreturn]] void failChanged(const SourceFile& file, const std::string& how)
{
    throw MakecabError("\"" + file.path.string() + "\" (listed on line " + std::to_string(file.listed.lineNumber) + ") "
                       + how + "; no cabinet was written");
}

class SourceReader {
public:
    explicit SourceReader(const SourceFile& file) : m_file(file)
    {
        m_descriptor = ::open(file.path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (m_descriptor < 0)
            throw MakecabError("cannot read \"" + file.path.string() + "\" (listed on line "
                               + std::to_string(file.listed.lineNumber) + "): " + std::strerror(errno));
        checkUnchanged("changed after the run began");
    }
    ~SourceReader() { ::close(m_descriptor); }
    SourceReader(const SourceReader&) = delete;
    SourceReader& operator=(const SourceReader&) = delete;

    // Reads the whole file into blocks; it must hold exactly the size found before.
    void copyInto(BlockWriter& blocks)
    {
        std::uint64_t left = m_file.size;
        while (left > 0) {
            const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(left, blocks.room()));
            const ssize_t got = readSome(blocks.end(), wanted);
            if (got == 0)
                failChanged(m_file, "became shorter while it was read");
            blocks.added(static_cast<std::size_t>(got));
            left -= static_cast<std::uint64_t>(got);
        }
        unsigned char probe;
        if (readSome(&probe, 1) != 0)
            failChanged(m_file, "became longer while it was read");
        checkUnchanged("changed while it was read");
    }

private:
    ssize_t readSome(unsigned char* into, std::size_t size)
    {
        for (;;) {
            const ssize_t got = ::read(m_descriptor, into, size);
            if (got >= 0)
                return got;
            if (errno != EINTR)
                throw MakecabError("cannot read \"" + m_file.path.string() + "\": " + std::strerror(errno));
        }
    }

    void checkUnchanged(const std::string& how) const
    {
        struct stat status {};
        if (::fstat(m_descriptor, &status) != 0)
            throw MakecabError("cannot read \"" + m_file.path.string() + "\": " + std::strerror(errno));
        if (!S_ISREG(status.st_mode) || status.st_dev != m_file.device || status.st_ino != m_file.inode
            || static_cast<std::uint64_t>(status.st_size) != m_file.size || !sameTime(status.st_mtim, m_file.modified))
            failChanged(m_file, how);
    }

    const SourceFile& m_file;
    int m_descriptor = -1;
};

} // namespace

void writeCabinetStream(int descriptor, const std::string& outputLabel, const std::vector<SourceFile>& files,
                        CabinetCompression compression, const SourceOpenedHook& sourceOpened)
{
    const std::string table = fileTable(files);
    const std::uint64_t dataStart = headerSize + folderEntrySize + table.size();
    Output output(descriptor, outputLabel);
    std::string header;
    output.write(std::string(headerSize + folderEntrySize, '\0')); // written at the end
    output.write(table);

    BlockWriter blocks(output, compression);
    for (const SourceFile& file : files) {
        SourceReader reader(file);
        if (sourceOpened)
            sourceOpened(file.path);
        reader.copyInto(blocks);
    }
    blocks.flush();

    header = "MSCF";
    put32(header, 0);
    put32(header, static_cast<std::uint32_t>(output.offset())); // cabinet size
    put32(header, 0);
    put32(header, headerSize + folderEntrySize); // first file entry
    put32(header, 0);
    header += '\3'; // format version 1.3
    header += '\1';
    put16(header, 1); // folders
    put16(header, static_cast<std::uint16_t>(files.size()));
    put16(header, 0); // flags: no reserve, no previous or next cabinet
    put16(header, 0); // set id
    put16(header, 0); // number in the set
    put32(header, static_cast<std::uint32_t>(dataStart));
    put16(header, blocks.blocks());
    put16(header, compression == CabinetCompression::MsZip ? msZipType : storedType);
    output.patch(0, header);
}
