// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// The open-file dialog of Find Image (the Workbench's default image chooser):
// existing files only, under "Pictures (*.jpg *.jpeg *.png ...)", every
// picture name the maker takes, or "Jpeg Files (*.jpg)" (".jpg" and ".jpeg");
// both listings ignore letter case (cameras write ".JPG").
// Returns the picture's full path with native separators, or "" when cancelled.
QString choosePictureFile(QWidget* parent);
