// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "written_cabinets.h"

#include "fileio/atomic_file.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Identity {
    unsigned long long device = 0, inode = 0, size = 0, seconds = 0, nanoseconds = 0;
    bool operator==(const Identity&) const = default;
};

fs::path recordPath(const CabinetDirectives& directives, const fs::path& folder)
{
    return folder / ("." + directives.cabinetNameTemplate + ".written");
}

// Fills in the file's identity; false when it is not a regular file.
bool identityOf(const fs::path& path, Identity& identity)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    identity = {static_cast<unsigned long long>(status.st_dev), static_cast<unsigned long long>(status.st_ino),
                static_cast<unsigned long long>(status.st_size), static_cast<unsigned long long>(status.st_mtim.tv_sec),
                static_cast<unsigned long long>(status.st_mtim.tv_nsec)};
    return true;
}

// Cabinet number to identity; empty when there is no readable record.
std::map<std::size_t, Identity> readRecord(const fs::path& path)
{
    std::map<std::size_t, Identity> cabinets;
    struct stat status {};
    // A record is a few lines; anything else is not one.
    if (::lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > 1024 * 1024)
        return cabinets;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::size_t number = 0;
        Identity identity;
        if (fields >> number >> identity.device >> identity.inode >> identity.size >> identity.seconds
            >> identity.nanoseconds)
            cabinets[number] = identity;
    }
    return cabinets;
}

} // namespace

void removeCabinetsOfEarlierRuns(const CabinetDirectives& directives, const fs::path& folder, std::size_t written)
{
    if (!directives.hasCabinetNumber())
        return;
    for (const auto& [number, recorded] : readRecord(recordPath(directives, folder))) {
        const fs::path cabinet = folder / directives.cabinetFileName(number);
        Identity found;
        if (number > written && identityOf(cabinet, found) && found == recorded)
            ::unlink(cabinet.c_str());
    }
}

void recordWrittenCabinets(const CabinetDirectives& directives, const fs::path& folder,
                           const std::vector<fs::path>& cabinets)
{
    if (!directives.hasCabinetNumber())
        return;
    std::string text;
    for (std::size_t i = 0; i < cabinets.size(); ++i) {
        Identity identity;
        if (!identityOf(cabinets[i], identity))
            continue;
        text += std::to_string(i + 1) + ' ' + std::to_string(identity.device) + ' ' + std::to_string(identity.inode)
                + ' ' + std::to_string(identity.size) + ' ' + std::to_string(identity.seconds) + ' '
                + std::to_string(identity.nanoseconds) + '\n';
    }
    const fs::path record = recordPath(directives, folder);
    try {
        // The program's own record: a link at its name is refused (and removed below).
        fileio::replaceFile(record.string(), text, nullptr, fileio::LinkAtTarget::Refuse);
    } catch (const fileio::FileError&) {
        ::unlink(record.c_str());
    }
}
