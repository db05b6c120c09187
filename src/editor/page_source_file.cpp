// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/page_source_file.h"

#include "fileio/atomic_file.h"
#include "base/runtime_error.h"
#include "platform/session.h"
#include "platform/session.h"
#include "text/text_files.h"
#include "text/text_codec.h"

#include <QFile>
#include <QFileInfo>

namespace {

// CR LF, LF or CR, whichever ends the first line; CR LF when there is none.
QString firstLineEnd(const QString& text)
{
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (text.at(at) == u'\n')
            return QStringLiteral("\n");
        if (text.at(at) == u'\r')
            return text.mid(at, 2) == kCrLf ? kCrLf : QStringLiteral("\r");
    }
    return kCrLf;
}

// A page source the editor must not open: a FIFO or device would block or
// never end, and a huge file would freeze the window.
[[noreturn]] void refuse(const QString& path, const QString& reason) { Errors::raiseAccessError(path, reason); }

} // namespace

namespace PageSourceFile {

StoredPage read(const QString& path)
{
    QByteArray bytes;
    if (const QString reason = TextFiles::readAuthorFile(path, bytes); !reason.isEmpty()) {
        if (reason == QLatin1String("is a folder") || !QFileInfo::exists(path))
            Errors::raise(Errors::FileNotFound);
        refuse(path, reason);
    }
    return parse(bytes);
}

StoredPage parse(const QByteArray& bytes)
{
    const TextCodec::DecodedText decoded = TextCodec::decodeWithEncoding(bytes);
    return {bytes, decoded.encoding, firstLineEnd(decoded.text), TextCodec::splitLines(decoded.text)};
}

StoredPage compose(const QString& typeLine, const QString& body, const std::optional<StoredPage>& stored)
{
    const QStringList lines = QStringList{typeLine} + TextCodec::splitLines(body);
    if (stored && stored->lines == lines)
        return *stored;
    StoredPage page;
    page.lines = lines;
    if (stored)
        page.lineEnd = stored->lineEnd;
    const QString text = lines.join(page.lineEnd) + page.lineEnd;
    page.bytes = TextCodec::encode(text, stored ? stored->encoding : TextCodec::Encoding::Windows1252, &page.encoding);
    return page;
}

void write(const Session& session, const QString& path, const QByteArray& bytes)
{
    // The replacement would keep the mode; a page kept read-only keeps its text too.
    if (fileio::writeProtected(QFile::encodeName(path).toStdString()))
        refuse(path, QStringLiteral("is read-only"));
    Errors::translatingFileErrors([&] {
        fileio::replaceFile(QFile::encodeName(path).toStdString(),
                            std::string_view(bytes.constData(), size_t(bytes.size())), session.fileFaults());
    });
}

} // namespace PageSourceFile
