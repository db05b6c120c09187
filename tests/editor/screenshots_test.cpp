#include "editor_fixture.h"

namespace {

// Pictures of the editor on a branch page and of the insert dialog in each mode, for a person to
// look at; written only when ZEL_SHOTS_DIR names a folder (for example /tmp/zel-shots).
TEST_F(EditorTest, ScreenshotsOfABranchPageAndTheInsertDialogInEachMode)
{
    const QString folder = qEnvironmentVariable("ZEL_SHOTS_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ZEL_SHOTS_DIR to write the screenshots";
    ASSERT_TRUE(QDir().mkpath(folder));
    const auto save = [&](QWidget& widget, const QString& name) { EXPECT_TRUE(widget.grab().save(folder + "/editor-" + name + ".png")); };
    frmEdit* editor = editorOn("news/news.zel", "#branch\r\n#title What's On\r\n#image harbour.jpg right 45\r\n#para\r\n"
                                                "Something is happening in Ostervale every day of the week.\r\n#break\r\n"
                                                "#button news\\today Today in Ostervale\r\n# tours start at ten\r\n"
                                                "#button visiting\\castle Castle Tours\r\n");
    QCoreApplication::processEvents();
    save(*editor, "branch");
    author.whenShown<dlgInsert>([&](dlgInsert& dialog) {
        for (const auto& [box, text] : {std::pair{dialog.txtFolder(), "news"}, {dialog.txtPage(), "today"}, {dialog.txtText(), "Today"},
                                        {dialog.txtImage(), "/home/author/pictures/harbour at dusk.jpg"}, {dialog.txtWidth(), "45"}})
            box->setText(text);
        save(dialog, dialog.windowTitle().section(u' ', -1).toLower());
        dialog.cmdCancel()->click();
    });
    dlgInsert::instance().openInsertButton(editor);
    dlgInsert::instance().openInsertImage(editor->filePath(), editor);
    dlgInsert::instance().openInsertItem(editor->filePath(), editor);
}

} // namespace
