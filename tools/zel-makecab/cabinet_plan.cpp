// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cabinet_plan.h"

#include "makecab_error.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

std::vector<SourceFile> findSourceFiles(const CabinetDirectives& directives)
{
    std::vector<SourceFile> found;
    found.reserve(directives.files.size());
    for (const ListedFile& listed : directives.files) {
        SourceFile file{listed, directives.sourcePath(listed), CabinetDirectives::storedName(listed)};
        const std::string where =
            "\"" + file.path.string() + "\" (listed on line " + std::to_string(listed.lineNumber) + ")";
        struct stat status {};
        if (::stat(file.path.c_str(), &status) != 0)
            throw MakecabError("cannot read " + where + ": " + std::strerror(errno));
        if (!S_ISREG(status.st_mode))
            throw MakecabError("cannot pack " + where + ": not a regular file");
        file.size = static_cast<std::uint64_t>(status.st_size);
        file.modified = status.st_mtim;
        file.device = status.st_dev;
        file.inode = status.st_ino;
        found.push_back(std::move(file));
    }
    return found;
}

std::vector<std::vector<SourceFile>> splitIntoCabinets(std::vector<SourceFile> files, const CabinetLimits& limits)
{
    std::vector<std::vector<SourceFile>> cabinets(1);
    std::uint64_t bytes = 0;
    for (SourceFile& file : files) {
        if (file.size > limits.maximumBytes)
            throw MakecabError("cannot pack \"" + file.path.string() + "\": its " + std::to_string(file.size)
                               + " bytes exceed the " + std::to_string(limits.maximumBytes) + " a cabinet can hold");
        if (cabinets.back().size() == limits.maximumFiles || bytes + file.size > limits.maximumBytes) {
            cabinets.emplace_back();
            bytes = 0;
        }
        bytes += file.size;
        cabinets.back().push_back(std::move(file));
    }
    return cabinets;
}
