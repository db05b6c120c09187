// Pictures of a page: each is copied, scaled, into the page folder's "images"
// sub-folder as pageName + five-digit number + ".jpg", and that copy is linked.
#include "maker/maker_module.h"
#include "maker/page_maker.h"

#include "app/core/error_handler.h"
#include "imaging/image_scaling.h"
#include "imaging/jpeg_size.h"
#include "pages/files.h"
#include "platform/int16.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QChar kSeparator = QDir::separator();

bool isJpegExtension(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot < 0)
        return false;
    const QStringView extension = QStringView(fileName).mid(dot + 1);
    return extension.compare(QLatin1String("jpg"), Qt::CaseInsensitive) == 0
           || extension.compare(QLatin1String("jpeg"), Qt::CaseInsensitive) == 0;
}

} // namespace

QString PageMaker::findPicture(const QString& fileName) const
{
    // Only a plain name inside the page folder: anything that could reach
    // another folder counts as missing.
    if (fileName.isEmpty() || fileName.contains(u'/') || fileName.contains(kSeparator) || fileName == QLatin1String(".")
        || fileName == QLatin1String("..") || fileName.contains(QChar(0)))
        return QString();
    const QString exact = m_pageFolderPath + kSeparator + fileName;
    if (Files::fileExists(exact))
        return exact;
    // Camera pictures keep upper-case names on disk (IMG_0042.JPG) while the
    // directive's name has been lower-cased.
    const QDir folder(m_pageFolderPath);
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        if (name.compare(fileName, Qt::CaseInsensitive) == 0)
            return m_pageFolderPath + kSeparator + name;
    }
    return QString();
}

void PageMaker::ScaleImage(const QString& fileName, std::int32_t requiredHeight, std::int32_t requiredWidth,
                           std::int32_t& scaledHeight, std::int32_t& scaledWidth, QString& scaledFileName,
                           const bool& noScaleUp)
{
    withErrorPath(makerModule(), QStringLiteral("scaleImage"), [&] {
        const QString sourceFull = m_pageFolderPath + kSeparator + fileName;
        const QString imagesFolder = m_pageFolderPath + kSeparator + QStringLiteral("images");
        if (m_writeOutput && !Files::folderExists(imagesFolder))
            Files::createFolder(imagesFolder);
        const QString copyName =
            m_pageName + QStringLiteral("%1").arg(int(m_imageCounter), 5, 10, QChar(u'0')) + QStringLiteral(".jpg");
        scaledFileName = QStringLiteral("images\\") + copyName;
        m_imageCounter = Int16::add(m_imageCounter, 1);
        const QString scaledFull = imagesFolder + kSeparator + copyName;

        bool scaled = false;
        const QString picture = findPicture(fileName);
        if (picture.isEmpty()) {
            makeError(QStringLiteral("Image ") + sourceFull + QStringLiteral(" does not exist"));
        } else if (isJpegExtension(QFileInfo(picture).fileName())) {
            tellUse(Use::Picture, picture);
            if (m_writeOutput) {
                Jpeg::scaleImage(picture, scaledFull, requiredHeight, requiredWidth, scaledHeight, scaledWidth,
                                 noScaleUp);
                scaled = true;
            } else {
                // Reports an unreadable header as making would.
                std::int32_t height = 0;
                std::int32_t width = 0;
                Jpeg::GetSize(picture, height, width);
            }
        } else {
            tellUse(Use::Picture, picture);
            makeError(QStringLiteral("Unsupported image file type"));
        }
        if (!scaled) {
            scaledHeight = requiredHeight >= 1 ? requiredHeight : 100;
            scaledWidth = requiredWidth >= 1 ? requiredWidth : 100;
        }
    });
}
