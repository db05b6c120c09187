// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of a page: each is copied, scaled, into the page folder's "images"
// sub-folder as pageName + five-digit number + ".jpg", and that copy is linked.
#include "maker/image_placement.h"

#include "maker/maker_module.h"
#include "maker/output_folders.h"
#include "maker/page_output.h"

#include "imaging/image_scaling.h"
#include "imaging/jpeg_size.h"
#include "pages/files.h"
#include "base/int16.h"
#include "base/runtime_error.h"
#include "runtime/error_handler.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

const QChar kSeparator = QDir::separator();

} // namespace

QString ImagePlacement::findPicture(const QString& fileName) const
{
    // The name is relative to the page folder, with "\" or "/" between
    // folders; each part matches ignoring letter case, since camera pictures
    // keep upper-case names on disk (IMG_0042.JPG) while the directive's name
    // has been lower-cased. Only reading: copies always go to "images".
    if (fileName.contains(QChar(0)))
        return QString();
    const QStringList parts = QString(fileName).replace(u'\\', u'/').split(u'/', Qt::SkipEmptyParts);
    QString path = m_page.place().folderPath;
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

PlacedPicture ImagePlacement::place(const QString& fileName, std::int32_t requiredHeight, std::int32_t requiredWidth,
                                    bool noScaleUp)
{
    PlacedPicture placed;
    inProcedure(makerModule(), QStringLiteral("scaleImage"), [&] {
        try {
            placePicture(fileName, requiredHeight, requiredWidth, noScaleUp, placed);
        } catch (const RuntimeError& error) {
            if (error.isLocated())
                throw;
            // The report names the line and the page source like a faulty-line message.
            throw RuntimeError(error.number(), error.description() + m_page.reader().errorContext());
        }
    });
    return placed;
}

void ImagePlacement::placePicture(const QString& fileName, std::int32_t requiredHeight, std::int32_t requiredWidth,
                                  bool noScaleUp, PlacedPicture& placed)
{
    const MakeContext& make = m_page.make();
    const PageOutput::Place& pagePlace = m_page.place();
    const QString sourceFull = pagePlace.folderPath + kSeparator + fileName;
    const QString imagesFolder = pagePlace.folderPath + kSeparator + QStringLiteral("images");
    // Copies, their record and the sweep of temporaries never go through
    // a link; the page is still made as it would be, its pictures not copied.
    bool copyable = true;
    if (make.writeOutput) {
        bool firstRefusal = false;
        copyable = make.folders.preparedUnlessLink(imagesFolder, firstRefusal);
        if (firstRefusal)
            m_page.makeError(QCoreApplication::translate(
                                 "PageMaker", "Images folder %1 is a symbolic link - no picture is copied into it")
                                 .arg(imagesFolder));
    }
    const QString copyName =
        pagePlace.pageName + QStringLiteral("%1").arg(int(m_imageCounter), 5, 10, QChar(u'0')) + QStringLiteral(".jpg");
    placed.fileName = QStringLiteral("images\\") + copyName;
    m_imageCounter = Int16::add(m_imageCounter, 1);
    const QString scaledFull = imagesFolder + kSeparator + copyName;

    bool scaled = false;
    const QString picture = findPicture(fileName);
    if (picture.isEmpty()) {
        m_page.makeError(QCoreApplication::translate("PageMaker", "Image %1 does not exist").arg(sourceFull),
                         Problem::Kind::MissingPicture);
    } else if (m_page.tellUse(PageOutput::Use::Picture, picture),
               !Files::hasPictureExtension(QFileInfo(picture).fileName())) {
        m_page.makeError(QCoreApplication::translate("PageMaker", "Unsupported image file type"),
                         Problem::Kind::NotJpeg);
    } else if (const std::string problem = fileio::regularFileProblem(picture.toStdString()); !problem.empty()) {
        m_page.makeError(
            QCoreApplication::translate("PageMaker", "Image %1 %2").arg(picture, QString::fromStdString(problem)),
            Problem::Kind::PictureFile);
    } else {
        // A page name near the file system's limit leaves no room for the number.
        if (copyable && !Files::fitsFileSystem(scaledFull)) {
            m_page.makeError(QCoreApplication::translate(
                                 "PageMaker", "Picture copy %1 would have a name too long for the file system - it is "
                                              "not made")
                                 .arg(scaledFull),
                             Problem::Kind::PictureCopy);
            copyable = false;
        }
        // A message about the copy may come later (copies are made
        // several at once) and names this line and page source as makeError does.
        Jpeg::scaleImage(picture, scaledFull, requiredHeight, requiredWidth, placed.height, placed.width, noScaleUp,
                         copyable ? make.copies : nullptr, make.problems, m_page.reader().place());
        scaled = true;
    }
    if (!scaled) {
        placed.height = requiredHeight >= 1 ? requiredHeight : 100;
        placed.width = requiredWidth >= 1 ? requiredWidth : 100;
    }
}
