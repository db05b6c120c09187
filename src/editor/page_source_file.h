// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/line_end.h"
#include "text/text_codec.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class Session;

// Writing a page source so that a failure never destroys the page on disk:
// the text goes to a temporary file in the same folder, which replaces the
// page source only when the whole text was written.
namespace PageSourceFile {

// A page source as it is stored on disk: its bytes, how they hold the text
// (encoding, the line end of its first line) and its lines as the one text
// reader gives them to the editor and the page maker alike.
struct StoredPage {
    QByteArray bytes;
    TextCodec::Encoding encoding = TextCodec::Encoding::Windows1252;
    QString lineEnd = kCrLf;
    QStringList lines;
};

// A page source stored as these bytes.
StoredPage parse(const QByteArray& bytes);
// Reads a page source. A missing file (or a folder) raises File not found
// (53); a FIFO, device or socket, a file over 64 MB and any other failure
// Path/File access error (75).
StoredPage read(const QString& path);

// The page source for the page-type line and the body (LF between lines, as
// an editor holds it; a missing final line end is added, an empty body adds
// no line). stored is the page as read or last written, none for a new page.
// When the lines are those of stored, its bytes come back unchanged.
// Otherwise every line ends with stored's line end (CR LF for a new page) and
// the text is encoded in stored's encoding (Windows-1252 for a new page),
// falling back to UTF-8 wherever that would not read back as the same text.
StoredPage compose(const QString& typeLine, const QString& body, const std::optional<StoredPage>& stored);

// Writes bytes to path atomically (checked writes, fsync, rename), keeping
// the page source's mode, owner and a link at path (see fileio). A missing
// folder raises Path not found (76), a full disk Disk full (61), any other
// failure Path/File access error (75), each naming the path and the reason;
// a read-only page source is refused (75, "is read-only"), never made
// writable. On failure the old file (if any) is left as it was. The session
// gives the file faults.
void write(const Session& session, const QString& path, const QByteArray& bytes);

} // namespace PageSourceFile
