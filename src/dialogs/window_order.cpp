#include "dialogs/window_order.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace {
class ShowRecorder : public QObject {
public:
    using QObject::QObject;
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

ShowRecorder*& recorder()
{
    static ShowRecorder* instance = nullptr;
    return instance;
}
} // namespace

namespace WindowOrder {

void startRecording()
{
    if (recorder())
        return;
    recorder() = new ShowRecorder(qApp);
    qApp->installEventFilter(recorder());
}

QList<QWidget*> windowsInOpeningOrder()
{
    const QList<QWidget*> all = QApplication::topLevelWidgets();
    QList<QWidget*> ordered;
    if (recorder())
        for (const QPointer<QWidget>& window : recorder()->opened)
            if (window && all.contains(window.data()))
                ordered.append(window);
    for (QWidget* window : all)
        if (!ordered.contains(window))
            ordered.append(window);
    return ordered;
}

} // namespace WindowOrder
