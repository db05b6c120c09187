// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/web_engine_warm_up.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineProfile>

void WebEngineWarmUp::start()
{
    static QPointer<QWebEnginePage> warm;
    if (warm)
        return;
    warm = new QWebEnginePage(QWebEngineProfile::defaultProfile());
    warm->setHtml(QString());
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] { delete warm.data(); });
}
