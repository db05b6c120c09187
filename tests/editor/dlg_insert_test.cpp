#include "dialogs/dlg_select_file.h"
#include "editor_fixture.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QListWidget>
#include <QRadioButton>

namespace {

QString nameMessage(const QString& name, const QString& kind)
{
    return name + " is not a valid " + kind + " name\r\nA valid " + kind
        + " name may only contain\r\n\r\n lower case letters,\r\n digits,\r\n underscores(_) and dashes(-)";
}

enum Mode { Button, Image, Item };

// The boxes an author fills in (a null entry is left as it is) and the alignment option (-1: left as it is).
struct Entries {
    QString image, folder, page, text, width;
    int alignment = -1;
};

// The page being edited is news/today.zel; pictures are offered from a folder of their own.
class InsertDialogTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        writeBytes(kiosk.path("news/today.zel"), "#leaf\r\n");
        for (const char* name : {"pictures/town.jpg", "pictures/my photo.jpg", "pictures/my shop.jpg", "pictures/shop.JPG", "news/here.jpg"})
            writeBytes(kiosk.path(name), name);
    }

    // Fills in the entries, presses OK and returns the directive of the mode.
    QString insert(Mode mode, const Entries& entries)
    {
        whenShown<dlgInsert>([entries](dlgInsert& dialog) {
            for (const auto& [box, value] : {std::pair{dialog.txtImage(), entries.image}, {dialog.txtFolder(), entries.folder},
                                             {dialog.txtPage(), entries.page}, {dialog.txtText(), entries.text},
                                             {dialog.txtWidth(), entries.width}})
                if (!value.isNull())
                    box->setText(value);
            if (entries.alignment >= 0)
                dialog.optAlign(entries.alignment)->setChecked(true);
            dialog.cmdOK()->click();
        });
        return open(mode);
    }

    QString open(Mode mode)
    {
        dlgInsert& dialog = dlgInsert::instance();
        return mode == Button ? dialog.openInsertButton()
                              : mode == Image ? dialog.openInsertImage(kiosk.path("news/today.zel"))
                                              : dialog.openInsertItem(kiosk.path("news/today.zel"));
    }
};

TEST_F(InsertDialogTest, DirectivesAndMessages)
{
    const QString town = kiosk.path("pictures/town.jpg"), here = kiosk.path("news/here.jpg");
    const struct { const char* name; Mode mode; Entries entries; QString directive; QStringList messages; } rows[] = {
        {"button with blanks around the text", Button, {{}, "news", "today", "  Next  "}, "#button news\\today Next"},
        {"button without a folder", Button, {{}, "", "today", "Next"}, "#button today Next"},
        {"button with blank text", Button, {{}, "news", "today", "   "}, "", {"Button Text is blank"}},
        {"button names with capitals", Button, {{}, "News", "Today", "Next"}, "",
         {nameMessage("News", "folder"), nameMessage("Today", "page")}},
        {"button without a page", Button, {{}, "news", "", "Next"}, "", {nameMessage("", "page")}},
        {"image with a blank in its name", Image, {kiosk.path("pictures/my photo.jpg"), {}, {}, {}, "50", 1}, "#image \"my photo.jpg\" centre 50"},
        {"image left", Image, {here, {}, {}, {}, "30", 0}, "#image here.jpg left 30"},
        {"image right", Image, {here, {}, {}, {}, " 100 ", 2}, "#image here.jpg right 100"},
        {"missing image", Image, {town + "x", {}, {}, {}, "30"}, "", {"Image is not valid"}},
        {"item", Item, {town, "shops", "baker", " Baker's shop "}, "#item town.jpg shops\\baker Baker's shop"},
        {"item with a blank in its name", Item, {kiosk.path("pictures/my shop.jpg"), "", "baker", "Baker"}, "#item \"my shop.jpg\" baker Baker"},
        {"item with blank text", Item, {town, "shops", "baker", " "}, "", {"Item text is blank"}},
        {"item with a bad page and a missing image", Item, {town + "x", "shops", "Baker", "Baker"}, "",
         {nameMessage("Baker", "page"), "Image is not valid"}},
    };
    const char* captions[] = {"ZEL - Insert Button", "ZEL - Insert Image", "ZEL - Insert Item"};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        kiosk.messages.clear();
        stayedOpen = 0;
        EXPECT_EQ(insert(row.mode, row.entries), row.directive);
        EXPECT_EQ(kiosk.messages.texts(), row.messages);
        EXPECT_EQ(stayedOpen, row.messages.isEmpty() ? 0 : 1) << "a refused entry keeps the dialog open";
        EXPECT_EQ(dlgInsert::instance().windowTitle(), captions[row.mode]);
    }
    EXPECT_EQ(readBytes(kiosk.path("news/my photo.jpg")), "pictures/my photo.jpg") << "copied beside the page";
    EXPECT_EQ(dlgInsert::instance().txtFolder()->text(), "shops") << "trimmed texts are put back";
}

TEST_F(InsertDialogTest, OnlyWholeNumbersFrom1To100AreWidths)
{
    for (const char* width : {"0", "101", "50%", "abc", "07", "+7", "7.0", "1e2", "", "-5"}) {
        kiosk.messages.clear();
        EXPECT_EQ(insert(Image, {kiosk.path("news/here.jpg"), {}, {}, {}, width}), "") << width;
        EXPECT_EQ(kiosk.messages.texts(), QStringList{"Width - value " + QString(width)
                                                      + " is not valid\r\nValue must be an integer between 1 and 100"});
    }
    EXPECT_EQ(insert(Image, {{}, {}, {}, {}, "1"}), "#image here.jpg centre 1");
}

TEST_F(InsertDialogTest, PictureIsCopiedBesideThePageAskingBeforeReplacing)
{
    const Entries town{kiosk.path("pictures/town.jpg"), {}, {}, {}, "60"};
    writeBytes(kiosk.path("news/town.jpg"), "old picture");
    kiosk.messages.scriptAnswers({Answer::No, Answer::Yes});
    EXPECT_EQ(insert(Image, town), "#image town.jpg centre 60") << "No still inserts the directive";
    EXPECT_EQ(readBytes(kiosk.path("news/town.jpg")), "old picture");
    EXPECT_EQ(insert(Image, town), "#image town.jpg centre 60");
    EXPECT_EQ(readBytes(kiosk.path("news/town.jpg")), "pictures/town.jpg");
    EXPECT_EQ(kiosk.messages.texts(), QStringList(2, "The image town.jpg already exists in the folder containing this "
                                                     "page \r\nDo you wish to replace it?"));
    kiosk.messages.clear();
    EXPECT_EQ(insert(Image, {kiosk.path("news/here.jpg"), {}, {}, {}, "40"}), "#image here.jpg centre 40");
    EXPECT_TRUE(kiosk.messages.texts().isEmpty()) << "a picture of the page's folder is neither copied nor asked about";
}

TEST_F(InsertDialogTest, BoxesKeepTheirEntriesImageModeSelectsCentreAndTheFrameCloseReturnsNothing)
{
    ASSERT_EQ(insert(Image, {kiosk.path("pictures/town.jpg"), "news", "today", "Next", "30", 2}), "#image town.jpg right 30");
    whenShown<dlgInsert>([this](dlgInsert& dialog) {
        EXPECT_TRUE(dialog.optAlign(1)->isChecked());
        EXPECT_EQ(QStringList({dialog.txtImage()->text(), dialog.txtFolder()->text(), dialog.txtPage()->text(),
                               dialog.txtText()->text(), dialog.txtWidth()->text()}),
                  (QStringList{kiosk.path("pictures/town.jpg"), "news", "today", "Next", "30"}));
        dialog.close();
    });
    EXPECT_EQ(open(Image), "") << "no stale directive";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(dlgInsert::exists()) << "the frame's close destroys the dialog";
    EXPECT_EQ(insert(Button, {}), "");
    EXPECT_EQ(kiosk.messages.texts(), QStringList{"Button Text is blank"}) << "a new dialog starts empty";
}

// Visible frames top to bottom, 13 pixels apart from the top, with OK and Cancel on one row below them.
TEST_F(InsertDialogTest, FramesPerMode)
{
    const QStringList shown[] = {{"frameLinkedPage", "frameText"},
                                 {"frameImage", "frameImageAlignment", "frameImageWidth"},
                                 {"frameImage", "frameLinkedPage", "frameText"}};
    for (Mode mode : {Button, Image, Item}) {
        whenShown<dlgInsert>([&](dlgInsert& dialog) {
            QList<QGroupBox*> frames;
            for (QGroupBox* frame : dialog.findChildren<QGroupBox*>())
                if (frame->isVisible())
                    frames.append(frame);
            std::sort(frames.begin(), frames.end(), [](QGroupBox* a, QGroupBox* b) {
                return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
            });
            QStringList names;
            for (int i = 0; i < frames.size(); ++i) {
                names.append(frames[i]->objectName());
                EXPECT_TRUE(i == 0 ? frames[i]->y() == 13 : frames[i]->y() == frames[i - 1]->y()
                                         || frames[i]->y() >= frames[i - 1]->geometry().bottom() + 13);
            }
            EXPECT_EQ(names, shown[mode]);
            EXPECT_EQ(dialog.cmdOK()->y(), dialog.cmdCancel()->y());
            EXPECT_GT(dialog.cmdOK()->y(), frames.last()->geometry().bottom());
            EXPECT_NEAR(dialog.height() - dialog.cmdCancel()->geometry().bottom(), 31, 10);
            dialog.cmdCancel()->click();
        });
        EXPECT_EQ(open(mode), "");
    }
}

TEST_F(InsertDialogTest, FindImageAndSelectExistingPageFillTheBoxes)
{
    writeBytes(kiosk.path("shops/baker.zel"), "#leaf\r\n");
    QStringList chosen{kiosk.path("pictures/shop.JPG"), ""};
    dlgInsert::setImageChooser([&](QWidget*) { return chosen.takeFirst(); });
    whenShown<dlgSelectFile>([](dlgSelectFile& dialog) {
        dialog.folderList()->setCurrentItem(dialog.folderList()->findItems("shops", Qt::MatchExactly).value(0));
        dialog.okButton()->click();
    });
    whenShown<dlgInsert>([&](dlgInsert& dialog) {
        dialog.cmdFindImage()->click();
        dialog.cmdFindImage()->click(); // cancelled: the box keeps the first choice
        dialog.cmdSelectExistingPage()->click();
        dialog.txtText()->setText("Baker");
        dialog.cmdOK()->click();
    });
    EXPECT_EQ(open(Item), "#item shop.JPG shops\\baker Baker");
    EXPECT_EQ(readBytes(kiosk.path("news/shop.JPG")), "pictures/shop.JPG") << "the name is kept as on disk";
    EXPECT_TRUE(kiosk.messages.texts().isEmpty());
}

TEST_F(InsertDialogTest, FindImageDialogListsJpegFilesInAnyCase)
{
    QFileDialog dialog;
    dlgInsert::configureImageDialog(dialog);
    EXPECT_EQ(dialog.nameFilters(), QStringList{"Jpeg Files (*.jpg)"});
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(dialog.defaultSuffix(), "jpg");
    auto* model = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->nameFilters(), (QStringList{"*.jpg", "*.jpeg"}));
    EXPECT_FALSE(model->filter().testFlag(QDir::CaseSensitive));
}

} // namespace
