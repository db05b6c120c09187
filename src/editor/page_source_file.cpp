#include "editor/page_source_file.h"

#include "platform/runtime_error.h"
#include "platform/text_codec.h"

#include <QFileInfo>
#include <QSaveFile>

namespace {
std::function<void(QSaveFile&)>& beforeCommit()
{
    static std::function<void(QSaveFile&)> hook;
    return hook;
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

QByteArray compose(const QString& typeLine, const QString& body)
{
    QString text = typeLine + QStringLiteral("\r\n");
    if (!body.isEmpty()) {
        QString lines = body;
        lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        lines.replace(u'\r', u'\n');
        if (!lines.endsWith(u'\n'))
            lines.append(u'\n');
        lines.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        text += lines;
    }
    return TextCodec::encodePageSource(text);
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
