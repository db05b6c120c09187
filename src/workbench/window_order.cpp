// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "workbench/window_order.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

class WindowOrder::ShowRecorder : public QObject {
public:
    QList<QPointer<QWidget>> opened;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->isWindow() && !opened.contains(widget)) {
                opened.removeAll(nullptr);
                opened.append(widget);
            }
        }
        return false;
    }
};

WindowOrder::WindowOrder() : m_recorder(std::make_unique<ShowRecorder>())
{
    qApp->installEventFilter(m_recorder.get());
}

WindowOrder::~WindowOrder()
{
    if (qApp)
        qApp->removeEventFilter(m_recorder.get());
}

QList<QWidget*> WindowOrder::windowsInOpeningOrder() const
{
    const QList<QWidget*> all = QApplication::topLevelWidgets();
    QList<QWidget*> ordered;
    for (const QPointer<QWidget>& window : m_recorder->opened)
        if (window && all.contains(window.data()))
            ordered.append(window);
    for (QWidget* window : all)
        if (!ordered.contains(window))
            ordered.append(window);
    return ordered;
}
