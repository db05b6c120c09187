#include "editor/page_source_file.h"

#include "platform/runtime_error.h"
#include "platform/text_codec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
std::function<void(QSaveFile&)>& beforeCommit()
{
    static std::function<void(QSaveFile&)> hook;
    return hook;
}

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

[[noreturn]] void raiseWriteError(const QString& path, const QSaveFile& file)
{
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir())
        Errors::raise(Errors::PathNotFound);
    Errors::raise(Errors::PathFileAccess, Errors::standardDescription(Errors::PathFileAccess) + QStringLiteral(" (")
                                              + file.errorString() + u')');
}
} // namespace

namespace PageSourceFile {

StoredPage read(const QString& path)
{
    QFile file(path);
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        Errors::raise(Errors::FileNotFound);
    if (!file.open(QIODevice::ReadOnly))
        Errors::raise(Errors::PathFileAccess);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        Errors::raise(Errors::PathFileAccess);
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

void write(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        raiseWriteError(path, file);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        file.commit();
        raiseWriteError(path, file);
    }
    if (beforeCommit())
        beforeCommit()(file);
    if (!file.commit())
        raiseWriteError(path, file);
}

void setBeforeCommitHook(std::function<void(QSaveFile&)> hook) { beforeCommit() = std::move(hook); }

} // namespace PageSourceFile
