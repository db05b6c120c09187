#pragma once

#include "app/core/recovery_copies.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <functional>

class QTimer;
class Workbench;

// The recovery copy of one editor's unsaved text, kept in the workbench's
// RecoveryCopies (nothing is written without them). While the page counts as
// changed, the copy is written a moment after the last edit (kDelayMs; typing
// on delays it, up to a longest wait); it is removed when the page is saved
// or the editor closes. offerLeftBehind offers the copies a crashed run left.
class EditorRecovery : public QObject {
    Q_OBJECT
public:
    // What the copy holds of its editor's page.
    struct Page {
        std::function<bool()> changed; // the page counts as changed
        // The page's source path, type and text (the kiosk folder is the workbench's).
        std::function<RecoveryCopies::Copy()> content;
    };

    // Time from the last edit to the writing of the recovery copy.
    static constexpr int kDelayMs = 2000;

    EditorRecovery(Workbench& workbench, Page page, QObject* parent);
    ~EditorRecovery() override;

    // An edit: the copy is written after the delay.
    void schedule();
    // Writes the copy now (removes it when the page no longer counts as changed).
    void write();
    // Stops a scheduled copy and removes the written one.
    void drop();
    // The copy's name in the workbench's RecoveryCopies ("" before the first).
    QString name() const { return m_name; }

    // Asks about each copy of the open kiosk system that a run left behind
    // when it ended without closing its editors; restore gets the copies the
    // author wants back. Either way the old copy is removed.
    static void offerLeftBehind(Workbench& workbench, const std::function<void(const RecoveryCopies::Copy&)>& restore);

private:
    Workbench& m_workbench;
    Page m_page;
    QTimer* m_timer = nullptr;
    QElapsedTimer m_unsavedSince; // the first edit not yet in a copy
    QString m_name;
};
