#include "dialogs/dlg_select_file.h"
#include "editor_fixture.h"
#include "pages/files.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

namespace {

const QString kNameMessage = QStringLiteral(
    " is not a valid %1 name\r\nA valid %1 name may only contain\r\n\r\n lower case letters,\r\n digits,\r\n"
    " underscores(_) and dashes(-)");

QString nameMessage(const QString& name, const char* kind) { return name + kNameMessage.arg(QLatin1String(kind)); }

const QString kWidthMessage = QStringLiteral("Width - value %1 is not valid\r\nValue must be an integer between 1 and 100");

// The boxes an author fills in; a null entry is left as it is.
struct Entries {
    QString image;
    QString folder;
    QString page;
    QString text;
    QString width;
    int alignment = -1;
};

class InsertDialogTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        pagePath = kiosk.path(QStringLiteral("news/today.zel"));
        writeBytes(pagePath, "#leaf\r\n");
        pictures = kiosk.path(QStringLiteral("pictures"));
        ASSERT_TRUE(QDir().mkpath(pictures));
    }

    // Fills in the entries and presses OK.
    void answerWith(const Entries& entries)
    {
        whenShown<dlgInsert>(QStringLiteral("dlgInsert"), [entries](dlgInsert& dialog) {
            const std::pair<QLineEdit*, QString> boxes[] = {{dialog.txtImage(), entries.image},
                                                            {dialog.txtFolder(), entries.folder},
                                                            {dialog.txtPage(), entries.page},
                                                            {dialog.txtText(), entries.text},
                                                            {dialog.txtWidth(), entries.width}};
            for (const auto& [box, value] : boxes)
                if (!value.isNull())
                    box->setText(value);
            if (entries.alignment >= 0)
                dialog.optAlign(entries.alignment)->setChecked(true);
            dialog.cmdOK()->click();
        });
    }

    QString picture(const QString& name, const QByteArray& bytes = "jpeg bytes")
    {
        const QString path = pictures + QDir::separator() + name;
        writeBytes(path, bytes);
        return path;
    }

    QString pagePath;
    QString pictures;
};

TEST_F(InsertDialogTest, ButtonDirectives)
{
    struct Row {
        const char* name;
        Entries entries;
        QString directive;
        QStringList messages;
    };
    const Row rows[] = {
        {"folder and page", {{}, "news", "today", "  Next  "}, "#button news\\today Next", {}},
        {"page alone", {{}, "", "today", "Next"}, "#button today Next", {}},
        {"blanks around the names", {{}, " news ", " today ", "Next page"}, "#button news\\today Next page", {}},
        {"blank text", {{}, "news", "today", "   "}, "", {"Button Text is blank"}},
        {"capitals in both names",
         {{}, "News", "Today", "Next"},
         "",
         {nameMessage("News", "folder"), nameMessage("Today", "page")}},
        {"empty page name", {{}, "news", "", "Next"}, "", {nameMessage("", "page")}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        kiosk.messages.clear();
        stayedOpen = 0;
        answerWith(row.entries);
        EXPECT_EQ(dlgInsert::instance().openInsertButton(), row.directive);
        EXPECT_EQ(kiosk.messages.texts(), row.messages);
        EXPECT_EQ(stayedOpen, row.messages.isEmpty() ? 0 : 1) << "a refused entry keeps the dialog open";
        EXPECT_EQ(dlgInsert::instance().windowTitle(), QStringLiteral("ZEL - Insert Button"));
    }
    // The trimmed texts were put back into the boxes.
    EXPECT_EQ(dlgInsert::instance().txtFolder()->text(), QStringLiteral("news"));
}

TEST_F(InsertDialogTest, ImageWidths)
{
    // A picture of the page's own folder: nothing is copied or asked.
    const QString image = kiosk.path(QStringLiteral("news/town.jpg"));
    writeBytes(image, "jpeg bytes");
    struct Row {
        const char* width;
        bool accepted;
    };
    const Row rows[] = {{"50", true},  {"100", true},  {"1", true},    {" 75 ", true}, {"0", false},
                        {"101", false}, {"50%", false}, {"abc", false}, {"07", false},  {"+7", false},
                        {"7.0", false}, {"1e2", false}, {"", false},    {"-5", false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.width);
        kiosk.messages.clear();
        answerWith({image, {}, {}, {}, QString::fromLatin1(row.width)});
        const QString directive = dlgInsert::instance().openInsertImage(pagePath);
        const QString trimmed = QString::fromLatin1(row.width).trimmed();
        if (row.accepted) {
            EXPECT_EQ(directive, QStringLiteral("#image town.jpg centre ") + trimmed);
            EXPECT_TRUE(kiosk.messages.texts().isEmpty());
        } else {
            EXPECT_EQ(directive, QString());
            EXPECT_EQ(kiosk.messages.texts(), QStringList{kWidthMessage.arg(trimmed)});
        }
    }
}

TEST_F(InsertDialogTest, ImageDirectiveQuotesANameWithABlankAndCopiesThePicture)
{
    const QString image = picture(QStringLiteral("my photo.jpg"), "photo");
    answerWith({image, {}, {}, {}, QStringLiteral("50"), 1});
    EXPECT_EQ(dlgInsert::instance().openInsertImage(pagePath), QStringLiteral("#image \"my photo.jpg\" centre 50"));
    EXPECT_EQ(readBytes(kiosk.path(QStringLiteral("news/my photo.jpg"))), QByteArray("photo"));
    EXPECT_EQ(dlgInsert::instance().windowTitle(), QStringLiteral("ZEL - Insert Image"));
}

TEST_F(InsertDialogTest, AlignmentsAndCentreChosenAnewEachTime)
{
    const QString image = picture(QStringLiteral("town.jpg"));
    const char* expected[] = {"#image town.jpg left 30", "#image town.jpg centre 30", "#image town.jpg right 30"};
    for (int i = 0; i < 3; ++i) {
        answerWith({image, {}, {}, {}, QStringLiteral("30"), i});
        EXPECT_EQ(dlgInsert::instance().openInsertImage(pagePath), QString::fromLatin1(expected[i]));
    }
    whenShown<dlgInsert>(QStringLiteral("dlgInsert"), [](dlgInsert& dialog) {
        EXPECT_TRUE(dialog.optAlign(1)->isChecked()) << "image mode selects Centre every time";
        dialog.cmdCancel()->click();
    });
    EXPECT_EQ(dlgInsert::instance().openInsertImage(pagePath), QString());
}

TEST_F(InsertDialogTest, ItemDirectives)
{
    const QString image = picture(QStringLiteral("shop.jpg"));
    const QString blank = picture(QStringLiteral("my photo.jpg"));
    struct Row {
        const char* name;
        Entries entries;
        QString directive;
        QStringList messages;
    };
    const Row rows[] = {
        {"image, page and text", {image, "shops", "baker", " Baker's shop "}, "#item shop.jpg shops\\baker Baker's shop", {}},
        {"name with a blank in quotes", {blank, "", "baker", "Baker"}, "#item \"my photo.jpg\" baker Baker", {}},
        {"blank text", {image, "shops", "baker", " "}, "", {"Item text is blank"}},
        {"bad page and missing image",
         {pictures + "/none.jpg", "shops", "Baker", "Baker"},
         "",
         {nameMessage("Baker", "page"), "Image is not valid"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        kiosk.messages.clear();
        answerWith(row.entries);
        EXPECT_EQ(dlgInsert::instance().openInsertItem(pagePath), row.directive);
        EXPECT_EQ(kiosk.messages.texts(), row.messages);
        EXPECT_EQ(dlgInsert::instance().windowTitle(), QStringLiteral("ZEL - Insert Item"));
    }
    EXPECT_TRUE(Files::fileExists(kiosk.path(QStringLiteral("news/shop.jpg"))));
}

TEST_F(InsertDialogTest, PictureOfThePagesOwnFolderIsNotCopiedAndNothingAsked)
{
    const QString own = kiosk.path(QStringLiteral("news/here.jpg"));
    writeBytes(own, "here");
    answerWith({own, {}, {}, {}, QStringLiteral("40"), 0});
    EXPECT_EQ(dlgInsert::instance().openInsertImage(pagePath), QStringLiteral("#image here.jpg left 40"));
    EXPECT_TRUE(kiosk.messages.texts().isEmpty());
    EXPECT_EQ(readBytes(own), QByteArray("here"));
}

TEST_F(InsertDialogTest, ReplaceQuestion)
{
    const QString image = picture(QStringLiteral("town.jpg"), "new picture");
    const QString existing = kiosk.path(QStringLiteral("news/town.jpg"));
    const QString question = QStringLiteral(
        "The image town.jpg already exists in the folder containing this page \r\nDo you wish to replace it?");

    writeBytes(existing, "old picture");
    kiosk.messages.scriptAnswers({Answer::No});
    answerWith({image, {}, {}, {}, QStringLiteral("60")});
    EXPECT_EQ(dlgInsert::instance().openInsertImage(pagePath), QStringLiteral("#image town.jpg centre 60"))
        << "No keeps the page folder's picture and still inserts the directive";
    EXPECT_EQ(kiosk.messages.texts(), QStringList{question});
    EXPECT_EQ(readBytes(existing), QByteArray("old picture"));

    kiosk.messages.clear();
    kiosk.messages.scriptAnswers({Answer::Yes});
    EXPECT_EQ(dlgInsert::instance().openInsertImage(pagePath), QStringLiteral("#image town.jpg centre 60"));
    EXPECT_EQ(kiosk.messages.texts(), QStringList{question});
    EXPECT_EQ(readBytes(existing), QByteArray("new picture"));
}

TEST_F(InsertDialogTest, BoxesKeepTheirEntriesAndTheFrameCloseReturnsNothing)
{
    answerWith({{}, "news", "today", "Next"});
    ASSERT_EQ(dlgInsert::instance().openInsertButton(), QStringLiteral("#button news\\today Next"));

    whenShown<dlgInsert>(QStringLiteral("dlgInsert"), [](dlgInsert& dialog) {
        EXPECT_EQ(dialog.txtFolder()->text(), QStringLiteral("news"));
        EXPECT_EQ(dialog.txtPage()->text(), QStringLiteral("today"));
        EXPECT_EQ(dialog.txtText()->text(), QStringLiteral("Next"));
        dialog.close();
    });
    EXPECT_EQ(dlgInsert::instance().openInsertButton(), QString()) << "no stale directive";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(dlgInsert::exists()) << "the frame's close destroys the dialog";

    whenShown<dlgInsert>(QStringLiteral("dlgInsert"), [](dlgInsert& dialog) {
        EXPECT_EQ(dialog.txtText()->text(), QString()) << "a new dialog starts empty";
        dialog.cmdOK()->click();
    });
    EXPECT_EQ(dlgInsert::instance().openInsertButton(), QString());
    EXPECT_EQ(kiosk.messages.texts(), QStringList{"Button Text is blank"});
}

TEST_F(InsertDialogTest, FramesPerMode)
{
    struct Row {
        const char* name;
        std::function<QString(dlgInsert&)> open;
        QStringList visible;
    };
    const Row rows[] = {
        {"button", [](dlgInsert& d) { return d.openInsertButton(); }, {"frameLinkedPage", "frameText"}},
        {"image",
         [this](dlgInsert& d) { return d.openInsertImage(pagePath); },
         {"frameImage", "frameImageAlignment", "frameImageWidth"}},
        {"item",
         [this](dlgInsert& d) { return d.openInsertItem(pagePath); },
         {"frameImage", "frameLinkedPage", "frameText"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        whenShown<dlgInsert>(QStringLiteral("dlgInsert"), [&](dlgInsert& dialog) {
            QStringList visible;
            QList<QGroupBox*> frames;
            for (QGroupBox* frame : {dialog.frameImage(), dialog.frameLinkedPage(), dialog.frameText(),
                                     dialog.frameImageAlignment(), dialog.frameImageWidth()})
                if (frame->isVisible())
                    frames.append(frame);
            std::sort(frames.begin(), frames.end(), [](QGroupBox* a, QGroupBox* b) {
                return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x();
            });
            for (QGroupBox* frame : frames)
                visible.append(frame->objectName());
            EXPECT_EQ(visible, row.visible);
            // Placed from the top with 200 twips (13 pixels) between them, no overlap.
            EXPECT_EQ(frames.first()->y(), 13);
            for (int i = 1; i < frames.size(); ++i)
                if (frames[i]->y() != frames[i - 1]->y())
                    EXPECT_GE(frames[i]->y(), frames[i - 1]->geometry().bottom() + 13);
            EXPECT_EQ(dialog.cmdOK()->y(), dialog.cmdCancel()->y());
            EXPECT_GT(dialog.cmdOK()->y(), frames.last()->geometry().bottom());
            EXPECT_GT(dialog.height(), dialog.cmdCancel()->geometry().bottom() + 20);
            EXPECT_LE(dialog.height(), dialog.cmdCancel()->geometry().bottom() + 41);
            dialog.cmdCancel()->click();
        });
        EXPECT_EQ(row.open(dlgInsert::instance()), QString());
    }
}

TEST_F(InsertDialogTest, FindImageAndSelectExistingPageFillTheBoxes)
{
    writeBytes(kiosk.path(QStringLiteral("shops/baker.zel")), "#leaf\r\n");
    const QString image = picture(QStringLiteral("shop.JPG"));
    QString chosen = image;
    dlgInsert::setImageChooser([&](QWidget*) { return chosen; });
    whenShown<dlgSelectFile>(QStringLiteral("dlgSelectFile"), [](dlgSelectFile& dialog) {
        const auto found = dialog.folderList()->findItems(QStringLiteral("shops"), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        dialog.folderList()->setCurrentItem(found.first());
        dialog.okButton()->click();
    });
    whenShown<dlgInsert>(QStringLiteral("dlgInsert"), [&](dlgInsert& dialog) {
        dialog.txtImage()->setText(QStringLiteral("earlier"));
        dialog.cmdFindImage()->click();
        EXPECT_EQ(dialog.txtImage()->text(), image);
        chosen.clear();
        dialog.cmdFindImage()->click();
        EXPECT_EQ(dialog.txtImage()->text(), image) << "a cancelled file dialog leaves the box";
        dialog.cmdSelectExistingPage()->click();
        EXPECT_EQ(dialog.txtFolder()->text(), QStringLiteral("shops"));
        EXPECT_EQ(dialog.txtPage()->text(), QStringLiteral("baker"));
        dialog.txtText()->setText(QStringLiteral("Baker"));
        dialog.cmdOK()->click();
    });
    EXPECT_EQ(dlgInsert::instance().openInsertItem(pagePath), QStringLiteral("#item shop.JPG shops\\baker Baker"));
    EXPECT_TRUE(Files::fileExists(kiosk.path(QStringLiteral("news/shop.JPG")))) << "the name is kept as on disk";
    EXPECT_TRUE(kiosk.messages.texts().isEmpty());
}

TEST_F(InsertDialogTest, FindImageDialogListsJpegFilesInAnyCase)
{
    QFileDialog dialog;
    dlgInsert::configureImageDialog(dialog);
    EXPECT_EQ(dialog.nameFilters(), QStringList{"Jpeg Files (*.jpg)"});
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("jpg"));
    auto* model = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->nameFilters(), (QStringList{"*.jpg", "*.jpeg"}));
    EXPECT_FALSE(model->filter().testFlag(QDir::CaseSensitive)) << "patterns match in any letter case";

    for (const char* name : {"a.jpg", "b.JPG", "c.jpeg", "d.Jpeg", "e.png", "f.jpg.txt", "g.jpe"})
        writeBytes(pictures + QDir::separator() + QString::fromLatin1(name), "x");
    QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
    dialog.setDirectory(pictures);
    // Other folders (the starting one) may load first.
    auto picturesLoaded = [&] {
        for (const QList<QVariant>& arguments : loaded)
            if (QDir(arguments.at(0).toString()) == QDir(pictures))
                return true;
        return false;
    };
    while (!picturesLoaded())
        ASSERT_TRUE(loaded.wait(10000));
    const QModelIndex folder = model->index(pictures);
    QStringList listed;
    for (int row = 0; row < model->rowCount(folder); ++row)
        listed.append(model->fileName(model->index(row, 0, folder)));
    listed.sort();
    EXPECT_EQ(listed, (QStringList{"a.jpg", "b.JPG", "c.jpeg", "d.Jpeg"}));
}

} // namespace
