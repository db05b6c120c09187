// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/page_script.h"

#include <QWebEnginePage>
#include <QWebEngineScriptCollection>

void insertPageScript(QWebEnginePage& page, const QString& name, const QString& source,
                      QWebEngineScript::InjectionPoint point, QWebEngineScript::ScriptWorldId world, bool subFrames)
{
    QWebEngineScript script;
    script.setName(name);
    script.setSourceCode(source);
    script.setInjectionPoint(point);
    script.setWorldId(world);
    script.setRunsOnSubFrames(subFrames);
    page.scripts().insert(script);
}
