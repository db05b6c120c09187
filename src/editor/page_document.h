// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/page_source_file.h"
#include "pages/page_types.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>

class PageSourceWatch;
class QTextDocument;
class Session;

// One page source as an editor holds it, apart from the window that shows it:
// where it is stored (empty for a page never saved), its page type, its body
// (every line after the page-type line, in a QTextDocument that the editor's
// text area shows), how it was stored when last read or written (bytes,
// encoding, line ends: an unchanged body is written back byte for byte), and
// the watch on it on disk. It reads and writes and answers with values; the
// window shows the messages and asks the author.
class PageDocument : public QObject {
    Q_OBJECT
public:
    PageDocument(Session& session, QObject* parent);

    QTextDocument* text() const { return m_text; }
    PageSourceWatch& watch() const { return *m_watch; }
    const QString& path() const { return m_path; }
    std::int16_t type() const { return m_type; }
    void setType(std::int16_t type) { m_type = type; }
    // The body with LF between lines (the text document keeps paragraph
    // separators; positions are the same in both).
    QString body() const;

    // Changed: edited since read or written, or gone from the disk (the
    // document then holds the only copy).
    bool isChanged() const;
    void setChanged(bool changed);

    // A page never saved, of this type, with the body it has.
    void startNew(PageType type);
    // Text recovered for a page source (empty: never saved) of this type;
    // how the page source was stored is not known.
    void startRecovered(const QString& path, std::int16_t type, const QString& body);

    // Reads the page source at path and holds it. On failure the message to
    // show: "Invalid ZEL Page" (its type is then Invalid, the body unchanged)
    // or "Unable to read file PATH" with the error's number and description.
    std::optional<QString> read(const QString& path);
    // Writes the body to path (atomically, see PageSourceFile::write) and
    // holds it as stored there; on failure the message to show ("Unable to
    // write file PATH" with the error) and nothing changes.
    std::optional<QString> write(const QString& path);

private:
    Session& m_session;
    QTextDocument* m_text;
    PageSourceWatch* m_watch;
    QString m_path;
    std::int16_t m_type = 0;
    std::optional<PageSourceFile::StoredPage> m_stored;
    QString m_storedBody; // body() of the stored page
};
