// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

// A picture file opened once for all its readers: the format sniffer reads
// its head in place, a decoder that reads from a file gets a stream of it, one
// that needs the bytes in memory reads them whole, once.
class PictureFile {
public:
    // Opens path when it is a regular file of at most maximumSize bytes;
    // throws UnreadablePictureError ("cannot open PATH: reason") otherwise.
    PictureFile(const std::string& path, std::size_t maximumSize);
    ~PictureFile();
    PictureFile(const PictureFile&) = delete;
    PictureFile& operator=(const PictureFile&) = delete;

    const std::string& path() const { return m_path; }
    // The first bytes (at most size) into out, without moving the reading position; how many.
    std::size_t readHead(unsigned char* out, std::size_t size) const;
    // A new descriptor of the file, at its start; the caller closes it.
    int newDescriptor() const;
    // A buffered stream of the file from the start; the caller closes it.
    std::FILE* newStream() const;
    // The whole file, read once (not initialised first), kept while this lives.
    std::string_view bytes();

private:
    std::string m_path;
    std::size_t m_maximumSize;
    int m_descriptor = -1;
    std::unique_ptr<char[]> m_bytes;
    std::size_t m_size = 0;
    bool m_read = false;
};
