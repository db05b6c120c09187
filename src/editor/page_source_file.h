#pragma once

#include <QString>
#include <functional>

class QSaveFile;

// Writing a page source so that a failure never destroys the page on disk:
// the text goes to a temporary file in the same folder, which replaces the
// page source only when the whole text was written.
namespace PageSourceFile {

// The bytes of a page source: the page-type line, CR LF, then the body with
// its lines ended by CR LF. body uses LF between lines (as an editor holds
// it); a body that does not already end with a line end gets one, and an
// empty body adds nothing, so reading a page and writing it back unchanged
// gives the same bytes. Windows-1252 when every character fits, else UTF-8.
QByteArray compose(const QString& typeLine, const QString& body);

// Writes bytes to path atomically. A missing folder raises Path not found
// (76); any other failure Path/File access error (75). On failure the old
// file (if any) is left as it was.
void write(const QString& path, const QByteArray& bytes);

// Tests: called with the open temporary file after the bytes are written and
// before it replaces the page source (cancelWriting() there simulates a
// failed write). An empty hook restores the plain write.
void setBeforeCommitHook(std::function<void(QSaveFile&)> hook);

} // namespace PageSourceFile
