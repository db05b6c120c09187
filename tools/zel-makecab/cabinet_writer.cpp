// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cabinet_writer.h"

#include "makecab_error.h"
#include "temporary_cabinet.h"
#include "written_cabinets.h"

#include <memory>

namespace fs = std::filesystem;

namespace {

void ensureOutputFolder(const fs::path& folder)
{
    std::error_code error;
    if (fs::is_directory(folder, error))
        return;
    fs::create_directories(folder, error);
    if (error)
        throw MakecabError("cannot create output folder \"" + folder.string() + "\": " + error.message());
}

} // namespace

std::vector<fs::path> writeCabinets(const CabinetDirectives& directives, const CabinetOptions& options)
{
    if (directives.files.empty())
        throw MakecabError("no files to pack: the directive file lists none, so no cabinet was written");
    const auto cabinets = splitIntoCabinets(findSourceFiles(directives), options.limits);
    if (cabinets.size() > 1 && !directives.hasCabinetNumber())
        throw MakecabError("the files need " + std::to_string(cabinets.size()) + " cabinets (at most "
                           + std::to_string(options.limits.maximumFiles) + " files and "
                           + std::to_string(options.limits.maximumBytes)
                           + " bytes each), but CabinetNameTemplate has no * for their numbers");
    const fs::path folder = directives.outputFolder();
    ensureOutputFolder(folder);
    removeAbandonedTemporaries(folder);

    std::vector<std::unique_ptr<TemporaryCabinet>> temporaries;
    for (std::size_t i = 0; i < cabinets.size(); ++i) {
        const fs::path path = folder / directives.cabinetFileName(i + 1);
        temporaries.push_back(std::make_unique<TemporaryCabinet>(path));
        writeCabinetStream(temporaries.back()->descriptor(), path.string(), cabinets[i],
                           directives.effectiveCompression(), options.sourceOpened);
        temporaries.back()->finish();
    }
    std::vector<fs::path> written;
    for (const auto& temporary : temporaries) {
        temporary->commit();
        written.push_back(temporary->finalPath());
    }
    removeCabinetsOfEarlierRuns(directives, folder, written.size());
    recordWrittenCabinets(directives, folder, written);
    return written;
}
