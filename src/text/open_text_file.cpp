// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/open_text_file.h"

#include <vector>

namespace TextFiles {

OpenFile::~OpenFile() { m_table.discard(kHandle); }

InputFile::InputFile(const QString& path) { m_table.openForInput(kHandle, path); }

OutputFile::OutputFile(const QString& path, Encoding encoding, const fileio::FailureHook* faults) : OpenFile(faults)
{
    m_table.openForOutput(kHandle, path, encoding);
}

void OutputFile::closeTogether(std::initializer_list<OutputFile*> files, fileio::DeferredReplacements* batch)
{
    std::vector<fileio::FileContent> contents;
    contents.reserve(files.size());
    for (OutputFile* file : files)
        if (std::optional<fileio::FileContent> content = file->m_table.takeReplacement(kHandle))
            contents.push_back(std::move(*content));
    replaceTogether(contents, batch, files.size() == 0 ? nullptr : (*files.begin())->m_table.faults());
}

} // namespace TextFiles
