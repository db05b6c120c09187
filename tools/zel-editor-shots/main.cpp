// zel-editor-shots KIOSK_FOLDER PAGE_SOURCE OUTPUT_FOLDER
// Opens the kiosk system, shows the page source in an editor window and the
// insert dialog in each of its modes (with sample entries filled in), and
// saves each as OUTPUT_FOLDER/editor-<name>.png: editor-page.png,
// editor-button.png, editor-image.png, editor-item.png. Runs without a
// display.
#include "app/core/open_kiosk_system.h"
#include "editor/dlg_insert.h"
#include "editor/frm_edit.h"
#include "dialogs/workbench.h"
#include "platform/program_session.h"
#include "platform/session.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <utility>

namespace {

// Saves windows as editor-<name>.png in one folder and counts what could not be saved.
class Shots {
public:
    explicit Shots(QString folder) : m_folder(std::move(folder)) {}

    void save(QWidget& widget, const QString& name)
    {
        const QString path = m_folder + QStringLiteral("/editor-") + name + QStringLiteral(".png");
        QApplication::processEvents();
        if (!widget.grab().save(path)) {
            std::fprintf(stderr, "could not save %s\n", qPrintable(path));
            ++m_failures;
        }
    }

    // Once the insert dialog is shown modally: fills in its boxes, saves it under
    // the last word of its title ("button", "image", "item") and cancels it.
    void whenInsertDialogShown()
    {
        QTimer::singleShot(0, [this] {
            auto* dialog = qobject_cast<dlgInsert*>(QApplication::activeModalWidget());
            if (!dialog) {
                whenInsertDialogShown();
                return;
            }
            for (const auto& [box, text] : {std::pair{dialog->txtFolder(), "news"},
                                            {dialog->txtPage(), "today"},
                                            {dialog->txtText(), "Today"},
                                            {dialog->txtImage(), "/home/author/pictures/harbour at dusk.jpg"},
                                            {dialog->txtWidth(), "45"}})
                box->setText(QString::fromUtf8(text));
            save(*dialog, dialog->windowTitle().section(u' ', -1).toLower());
            dialog->cmdCancel()->click();
        });
    }

    int failures() const { return m_failures; }

private:
    QString m_folder;
    int m_failures = 0;
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: zel-editor-shots KIOSK_FOLDER PAGE_SOURCE OUTPUT_FOLDER\n");
        return 2;
    }
    const auto absolute = [](const QString& path) {
        return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    };
    const QString output = absolute(args.at(3));
    if (!QDir().mkpath(output)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(output));
        return 1;
    }
    Session session;
    const ProgramSessionInstallation installed(session);
    const auto kioskSystem = openKioskSystemHeadless(session, absolute(args.at(1)) + QDir::separator(), false);

    Workbench workbench;
    workbench.setKioskSystem(kioskSystem.get());
    auto* editor = new frmEdit(workbench);
    if (!editor->editPage(absolute(args.at(2)))) {
        std::fprintf(stderr, "cannot edit %s\n", qPrintable(args.at(2)));
        return 1;
    }
    editor->show();
    Shots shots(output);
    shots.save(*editor, QStringLiteral("page"));

    shots.whenInsertDialogShown();
    workbench.instance<dlgInsert>().openInsertButton(editor);
    shots.whenInsertDialogShown();
    workbench.instance<dlgInsert>().openInsertImage(editor->filePath(), editor);
    shots.whenInsertDialogShown();
    workbench.instance<dlgInsert>().openInsertItem(editor->filePath(), editor);
    return shots.failures() == 0 ? 0 : 1;
}
