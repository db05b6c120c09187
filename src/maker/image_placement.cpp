// Pictures of a page: each is copied, scaled, into the page folder's "images"
// sub-folder as pageName + five-digit number + ".jpg", and that copy is linked.
#include "maker/maker_module.h"
#include "maker/page_builder.h"
#include "maker/output_folders.h"

#include "imaging/image_scaling.h"
#include "imaging/jpeg_size.h"
#include "pages/files.h"
#include "platform/int16.h"
#include "platform/runtime_error.h"
#include "runtime/error_handler.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

const QChar kSeparator = QDir::separator();

} // namespace

QString PageBuilder::findPicture(const QString& fileName) const
{
    // The name is relative to the page folder, with "\" or "/" between
    // folders; each part matches ignoring letter case, since camera pictures
    // keep upper-case names on disk (IMG_0042.JPG) while the directive's name
    // has been lower-cased. Only reading: copies always go to "images".
    if (fileName.contains(QChar(0)))
        return QString();
    const QStringList parts = QString(fileName).replace(u'\\', u'/').split(u'/', Qt::SkipEmptyParts);
    QString path = m_place.folderPath;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts.at(i);
        const bool last = i + 1 == parts.size();
        if (part == QLatin1String(".") || part == QLatin1String("..")) {
            if (last)
                return QString();
            path += kSeparator + part;
            continue;
        }
        const QString exact = path + kSeparator + part;
        if (last ? Files::fileExists(exact) : Files::folderExists(exact)) {
            path = exact;
            continue;
        }
        const QDir folder(path);
        const QStringList names = folder.entryList(last ? QDir::Files | QDir::Hidden | QDir::System
                                                        : QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                                                   QDir::Name);
        const auto match = std::find_if(names.begin(), names.end(), [&](const QString& name) {
            return name.compare(part, Qt::CaseInsensitive) == 0;
        });
        if (match == names.end())
            return QString();
        path += kSeparator + *match;
    }
    return parts.isEmpty() ? QString() : QDir::toNativeSeparators(QDir::cleanPath(path));
}

void PageBuilder::ScaleImage(const QString& fileName, std::int32_t requiredHeight, std::int32_t requiredWidth,
                             std::int32_t& scaledHeight, std::int32_t& scaledWidth, QString& scaledFileName,
                             const bool& noScaleUp)
{
    withErrorPath(makerModule(), QStringLiteral("scaleImage"), [&] {
        try {
            placePicture(fileName, requiredHeight, requiredWidth, scaledHeight, scaledWidth, scaledFileName, noScaleUp);
        } catch (const RuntimeError& error) {
            // The report names the line and the page source like a faulty-line message.
            throw RuntimeError(error.number(), error.description() + m_reader.errorContext());
        }
    });
}

void PageBuilder::placePicture(const QString& fileName, std::int32_t requiredHeight, std::int32_t requiredWidth,
                               std::int32_t& scaledHeight, std::int32_t& scaledWidth, QString& scaledFileName,
                               bool noScaleUp)
{
    const QString sourceFull = m_place.folderPath + kSeparator + fileName;
    const QString imagesFolder = m_place.folderPath + kSeparator + QStringLiteral("images");
    // Copies, their record and the sweep of temporaries never go through
    // a link; the page is still made as it would be, its pictures not copied.
    bool copyable = true;
    if (m_make.writeOutput) {
        bool firstRefusal = false;
        copyable = m_make.folders.preparedUnlessLink(imagesFolder, firstRefusal);
        if (firstRefusal)
            makeError(QStringLiteral("Images folder ") + imagesFolder
                      + QStringLiteral(" is a symbolic link - no picture is copied into it"));
    }
    const QString copyName =
        m_place.pageName + QStringLiteral("%1").arg(int(m_imageCounter), 5, 10, QChar(u'0')) + QStringLiteral(".jpg");
    scaledFileName = QStringLiteral("images\\") + copyName;
    m_imageCounter = Int16::add(m_imageCounter, 1);
    const QString scaledFull = imagesFolder + kSeparator + copyName;

    bool scaled = false;
    const QString picture = findPicture(fileName);
    if (picture.isEmpty()) {
        makeError(QStringLiteral("Image ") + sourceFull + QStringLiteral(" does not exist"),
                  Problem::Kind::MissingPicture);
    } else if (tellUse(Use::Picture, picture), !Files::hasJpegExtension(QFileInfo(picture).fileName())) {
        makeError(QStringLiteral("Unsupported image file type"), Problem::Kind::NotJpeg);
    } else if (const std::string problem = fileio::regularFileProblem(picture.toStdString()); !problem.empty()) {
        makeError(QStringLiteral("Image ") + picture + QStringLiteral(" ") + QString::fromStdString(problem),
                  Problem::Kind::PictureFile);
    } else {
        // A message about the copy may come later (copies are made
        // several at once) and names this line and page source as makeError does.
        Jpeg::scaleImage(picture, scaledFull, requiredHeight, requiredWidth, scaledHeight, scaledWidth, noScaleUp,
                         copyable ? m_make.copies : nullptr, m_make.problems, m_reader.place());
        scaled = true;
    }
    if (!scaled) {
        scaledHeight = requiredHeight >= 1 ? requiredHeight : 100;
        scaledWidth = requiredWidth >= 1 ? requiredWidth : 100;
    }
}
