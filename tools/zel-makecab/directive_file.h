// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// What a cabinet directive file asks for. Only the settings the export command
// writes are understood; everything else in the file is refused with a message
// rather than silently ignored, except undeclared variables without
// ".OPTION EXPLICIT", which are kept out of the way as the directive language allows.

enum class CabinetCompression { MsZip, None };

struct ListedFile {
    std::string name; // as listed, relative to SourceDir, quotes removed
    int lineNumber = 0;
};

struct CabinetDirectives {
    std::string cabinetNameTemplate = "*.cab";
    std::string diskDirectoryTemplate; // empty: the current folder
    std::string sourceDir;             // empty: the current folder
    CabinetCompression compressionType = CabinetCompression::MsZip;
    bool compress = true;
    std::vector<ListedFile> files; // in listing order

    // NONE when either CompressionType=NONE or Compress=off.
    CabinetCompression effectiveCompression() const;
    // The name template with "*" replaced by the cabinet number.
    std::string cabinetFileName(std::size_t number = 1) const;
    // Whether the name template has a "*" for the cabinet number.
    bool hasCabinetNumber() const;
    // The disk directory template with "*" replaced by the disk number 1.
    std::filesystem::path outputFolder() const;
    // Where a listed file is read from: SourceDir joined with the listed name.
    std::filesystem::path sourcePath(const ListedFile& file) const;
    // The name stored in the cabinet: the listed name with "\" as separator.
    static std::string storedName(const ListedFile& file);
};

// Parses directive text (CR LF, LF or CR line ends; a leading UTF-8 byte order
// mark is skipped). fileLabel names the file in messages. Throws MakecabError
// naming the line number and text of the first faulty line.
CabinetDirectives parseDirectives(std::string_view text, const std::string& fileLabel);

// Largest directive file read: far beyond a listing of every file a cabinet
// set can take, far below what would strain memory.
inline constexpr long long maximumDirectiveFileSize = 64LL * 1024 * 1024;

// Reads and parses a directive file, which must be a regular file of at most
// maximumDirectiveFileSize bytes. Throws MakecabError naming the path and the
// reason when it cannot be read.
CabinetDirectives readDirectiveFile(const std::filesystem::path& path);
