// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWebEngineScript>

class QWebEnginePage;

// Adds a script that page runs in every document it loads, at point, in
// world, in the frames too when subFrames.
void insertPageScript(QWebEnginePage& page, const QString& name, const QString& source,
                      QWebEngineScript::InjectionPoint point, QWebEngineScript::ScriptWorldId world, bool subFrames);
