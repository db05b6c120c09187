#include "maker_test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

QStringList makerConfiguration() { return {QStringLiteral("screenheight 706")}; }

void makePicture(const QString& path, int width, int height)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QProcess convert;
    convert.start(QStringLiteral("convert"),
                  {QStringLiteral("-size"), QStringLiteral("%1x%2").arg(width).arg(height),
                   QStringLiteral("xc:steelblue"), path});
    ASSERT_TRUE(convert.waitForFinished(60000)) << "convert did not finish";
    ASSERT_EQ(convert.exitCode(), 0) << convert.readAllStandardError().toStdString();
}

QString expectedFilePath(const QString& caseName, const QString& fileName)
{
    return QStringLiteral(ZEL_SOURCE_DIR "/tests/maker/expected/") + caseName + u'/' + fileName;
}

QByteArray expectedBytes(const QString& expectedPath)
{
    QFile file(expectedPath);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "missing expected file " << expectedPath.toStdString();
        return {};
    }
    QByteArray bytes = file.readAll();
    bytes.replace("\r\n", "\n");
    bytes.replace("\n", "\r\n");
    return bytes;
}

QString lineMessage(const QString& message, const QString& line, const QString& sourcePath)
{
    return message + QStringLiteral("\r\nIn line - ") + line + QStringLiteral("\r\nIn file - ") + sourcePath;
}
