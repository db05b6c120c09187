#include "editor_fixture.h"

#include <QRadioButton>

namespace {

// Pictures of the editor and the insert dialog for a person to look at.
// Written only when ZEL_SHOTS_DIR names a folder (for example /tmp/zel-shots).
class EditorScreenshots : public EditorTest {
protected:
    void SetUp() override
    {
        folder = qEnvironmentVariable("ZEL_SHOTS_DIR");
        if (folder.isEmpty())
            GTEST_SKIP() << "set ZEL_SHOTS_DIR to write the screenshots";
        ASSERT_TRUE(QDir().mkpath(folder));
        EditorTest::SetUp();
    }

    void save(QWidget& widget, const QString& name)
    {
        EXPECT_TRUE(widget.grab().save(folder + QStringLiteral("/editor-") + name + QStringLiteral(".png")));
    }

    QString folder;
};

TEST_F(EditorScreenshots, BranchPageAndInsertDialogInEachMode)
{
    writeBytes(kiosk.path(QStringLiteral("news/news.zel")),
               "#branch\r\n#title What's On\r\n#image harbour.jpg right 45\r\n#para\r\n"
               "Something is happening in Ostervale every day of the week.\r\n"
               "See what is on today, join a guided tour of the castle,\r\n"
               "or find a shop that is open near you.\r\n#break\r\n"
               "#button news\\today Today in Ostervale\r\n# tours start at ten\r\n"
               "#button visiting\\castle Castle Tours\r\n");
    frmEdit* editor = editorOn(QStringLiteral("news/news.zel"), readBytes(kiosk.path(QStringLiteral("news/news.zel"))));
    ASSERT_NE(editor, nullptr);
    QCoreApplication::processEvents();
    save(*editor, QStringLiteral("branch"));

    const QString page = kiosk.path(QStringLiteral("news/news.zel"));
    whenShown<dlgInsert>(QStringLiteral("dlgInsert"), [this](dlgInsert& dialog) {
        dialog.txtFolder()->setText(QStringLiteral("news"));
        dialog.txtPage()->setText(QStringLiteral("today"));
        dialog.txtText()->setText(QStringLiteral("Today in Ostervale"));
        dialog.txtImage()->setText(QStringLiteral("/home/author/pictures/harbour at dusk.jpg"));
        dialog.txtWidth()->setText(QStringLiteral("45"));
        save(dialog, dialog.windowTitle().section(u' ', -1).toLower());
        dialog.cmdCancel()->click();
    });
    dlgInsert::instance().openInsertButton(editor);
    dlgInsert::instance().openInsertImage(page, editor);
    dlgInsert::instance().openInsertItem(page, editor);
}

} // namespace
