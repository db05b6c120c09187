// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileio/atomic_file.h"

#include <QString>
#include <QStringList>

// File-system helpers shared by every module. None of them catches errors:
// a failure raises a RuntimeError for the caller's error path. Paths use the
// native separator.
namespace Files {

// True when a file (not a folder) exists at the path.
bool fileExists(const QString& path);
// True when a folder exists at the path.
bool folderExists(const QString& path);

// Creates that one folder. An existing folder raises 58 "File already exists",
// a missing parent Path not found (76).
void createFolder(const QString& path);
// Makes sure the folder exists: one made meanwhile by someone else is fine;
// a file of that name, or a failure, raises Path/File access error (75)
// naming the path and the reason.
void ensureFolder(const QString& path);

// Copies one file byte for byte, replacing an existing destination
// atomically (the old one stays until the copy is complete). A missing
// source raises File not found (53); a missing destination folder Path not
// found (76); a source that is not a regular file, or a destination that
// cannot be written, Path/File access error (75) or Disk full (61).
// Copying a file onto itself leaves it as it is. Made with the file faults
// given (not owned; nullptr never fails).
void copyFile(const QString& source, const QString& destination, const fileio::FailureHook* faults);

// Copies every file, then every sub-folder with all its contents, of source
// into the existing destination, replacing what is there. The first failure
// stops the copy; what was copied stays. Each file is copied with the file
// faults given (nullptr never fails).
void copyFolderContents(const QString& source, const QString& destination, const fileio::FailureHook* faults = nullptr);

// The name with extension of an existing file (File not found otherwise).
QString fileNameOf(const QString& path);
// The text after the last "." of an existing file's name; the whole name when it has none.
QString fileExtension(const QString& path);

// Pictures are files named ".jpg", ".jpeg", ".png", ".webp", ".heic", ".heif",
// ".avif", ".gif", ".tif", ".tiff" or ".bmp", any letter case (cameras write
// ".JPG"); what a picture is, is then told by its content. The maker, the
// image chooser, the editor's completion and the folder export all go by these.
const QStringList& pictureExtensions();
// "*.jpg", "*.jpeg", ..., for listings that match ignoring letter case.
QStringList pictureNamePatterns();
// True when the text after the last "." of the name is a picture extension. Text only.
bool hasPictureExtension(const QString& fileName);

// The path without its last component and final separator; the root keeps
// its separator; a path without a separator gives "". Text only.
QString parentFolderOf(const QString& path);
// The component between the last two separators. Text only; a path without a
// separator raises Invalid argument (5).
QString lastFolderName(const QString& path);

// True when a file the program writes at path can be named so: its name is
// at most NAME_MAX bytes in the file-name encoding, and the path leaves room
// in PATH_MAX for the temporaries written beside it (".zel-tmp-..."). Text only.
bool fitsFileSystem(const QString& path);

// Sorts names ignoring letter case first, then by case.
void sortByName(QStringList& names);

} // namespace Files
