#include "platform/open_text_file.h"

#include <utility>
#include <vector>

namespace TextFiles {

OpenFile::~OpenFile()
{
    if (m_handle != 0)
        discard(m_handle);
}

InputFile::InputFile(const QString& path)
{
    // The handle is ours only once the file is open.
    const int handle = freeFile();
    openForInput(handle, path);
    m_handle = handle;
}

OutputFile::OutputFile(const QString& path, Encoding encoding)
{
    const int handle = freeFile();
    openForOutput(handle, path, encoding);
    m_handle = handle;
}

void OutputFile::closeTogether(std::initializer_list<OutputFile*> files, fileio::DeferredReplacements* batch)
{
    std::vector<int> handles;
    handles.reserve(files.size());
    for (OutputFile* file : files)
        handles.push_back(std::exchange(file->m_handle, 0));
    TextFiles::closeTogether(handles, batch);
}

} // namespace TextFiles
