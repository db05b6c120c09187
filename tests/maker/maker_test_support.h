// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/kiosk_fixture.h"

#include <QStringList>

// The configuration every maker test uses: 1280 x 706, so navigationHeight is
// 700 and the eight button rows are 87, 87, 87, 87, 88, 88, 88, 88 high.
QStringList makerConfiguration();

// A real picture of the given size (type by extension), made by ImageMagick.
void makePicture(const QString& path, int width, int height);

// The files of a folder tree, hidden ones too, by relative path in order (their states: folderState()).
QStringList filesUnder(const QString& folder);
