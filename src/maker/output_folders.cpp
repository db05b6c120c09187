#include "maker/output_folders.h"

#include "fileio/atomic_file.h"
#include "pages/files.h"

const QString& OutputFolders::prepared(const QString& folder)
{
    if (!m_prepared.contains(folder)) {
        Files::ensureFolder(folder);
        fileio::removeDeadTemporaries(folder.toStdString());
        m_prepared.append(folder);
    }
    return folder;
}
