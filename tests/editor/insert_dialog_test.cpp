// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/insert_dialog.h"
#include "support/name_rule_message.h"
#include "support/window_fixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

enum Mode { Button, Image, Item };

// The boxes an author fills in (a null entry is left as it is; the image relative to the kiosk folder) and the
// alignment option (-1: left as it is).
struct Entries {
    QString image, folder, page, text, width;
    int alignment = -1;
    QString alt;
};

// The page being edited is news/today.zel; pictures are offered from a folder of their own.
class InsertDialogTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        writeBytes(kiosk.path("news/today.zel"), "#leaf\r\n");
        for (const char* name : {"pictures/town.jpg", "pictures/my photo.jpg", "news/here.jpg"})
            writeBytes(kiosk.path(name), name);
    }

    // Fills in the entries, presses OK and returns the directive of the mode.
    QString insert(Mode mode, const Entries& entries)
    {
        const QString image = entries.image.isNull() ? QString() : kiosk.path(entries.image);
        author.whenShown<InsertDialog>([entries, image](InsertDialog& dialog) {
            for (const auto& [box, value] : {std::pair{dialog.imageEdit(), image},
                                             {dialog.folderEdit(), entries.folder},
                                             {dialog.pageEdit(), entries.page},
                                             {dialog.textEdit(), entries.text},
                                             {dialog.widthEdit(), entries.width},
                                             {dialog.altEdit(), entries.alt}})
                if (!value.isNull())
                    box->setText(value);
            if (entries.alignment >= 0)
                dialog.alignButtons(entries.alignment)->setChecked(true);
            dialog.okButton()->click();
        });
        const QString page = kiosk.path("news/today.zel");
        InsertDialog& dialog = workbench.instance<InsertDialog>();
        return mode == Button  ? dialog.openInsertButton()
               : mode == Image ? dialog.openInsertImage(page)
                               : dialog.openInsertItem(page);
    }
};

TEST_F(InsertDialogTest, DirectivesAndMessages)
{
    const QString town = "pictures/town.jpg", here = "news/here.jpg";
    const auto widthMessage = [](const QString& width) {
        return "Width - value " + width + " is not valid\r\nValue must be an integer between 1 and 100";
    };
    const struct {
        const char* name;
        Mode mode;
        Entries entries;
        QString directive;
        QStringList messages;
    } rows[] = {
        {"spaces trimmed", Button, {{}, "news", "today", " \tNext\u00a0 "}, "#button news\\today \tNext\u00a0"},
        {"button without a folder", Button, {{}, "", "today", "Next"}, "#button today Next"},
        {"button with blank text", Button, {{}, "news", "today", "   "}, "", {"Button Text is blank"}},
        {"quoted name", Image, {"pictures/my photo.jpg", {}, {}, {}, "50", 1}, "#image \"my photo.jpg\" centre 50"},
        {"image left", Image, {here, {}, {}, {}, "30", 0}, "#image here.jpg left 30"},
        {"image right", Image, {here, {}, {}, {}, " 100 ", 2}, "#image here.jpg right 100"},
        {"missing image", Image, {town + "x", {}, {}, {}, "30"}, "", {"Image is not valid"}},
        // What the number reader falls back on is its own test; here a width it reads as none, and two it reads as
        // a number in range that the author did not write as one.
        {"width 0", Image, {here, {}, {}, {}, "0"}, "", {widthMessage("0")}},
        {"width 07", Image, {here, {}, {}, {}, "07"}, "", {widthMessage("07")}},
        {"width 7.0", Image, {here, {}, {}, {}, "7.0"}, "", {widthMessage("7.0")}},
        {"width 1", Image, {here, {}, {}, {}, "1", 1}, "#image here.jpg centre 1"},
        {"bad names, missing image",
         Item,
         {town + "x", "Shops", "Baker", "Baker"},
         "",
         {nameRuleMessage("Shops", "folder"), nameRuleMessage("Baker", "page"), "Image is not valid"}},
        {"item", Item, {town, "shops", "baker", " Baker's shop "}, "#item town.jpg shops\\baker Baker's shop"},
        {"item with blank text", Item, {town, "shops", "baker", " "}, "", {"Item text is blank"}},
        // The picture's text alternative, when given, on the line before it.
        {"image with its text alternative",
         Image,
         {here, {}, {}, {}, "40", 0, " The harbour "},
         "#alt The harbour\n#image here.jpg left 40"},
        {"item with its text alternative",
         Item,
         {here, "shops", "baker", "Baker", {}, -1, "A loaf"},
         "#alt A loaf\n#item here.jpg shops\\baker Baker"},
    };
    const char* captions[] = {"ZEL - Insert Button", "ZEL - Insert Image", "ZEL - Insert Item"};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        kiosk.messages.clear();
        author.stayedOpen = 0;
        EXPECT_EQ(insert(row.mode, row.entries), row.directive);
        EXPECT_EQ(kiosk.messages.texts(), row.messages);
        EXPECT_EQ(author.stayedOpen, row.messages.isEmpty() ? 0 : 1) << "a refused entry keeps the dialog open";
        EXPECT_EQ(workbench.instance<InsertDialog>().windowTitle(), captions[row.mode]);
    }
    EXPECT_EQ(workbench.instance<InsertDialog>().folderEdit()->text(), "shops") << "trimmed texts are put back";
}

TEST_F(InsertDialogTest, PictureIsCopiedBesideThePageAskingBeforeReplacing)
{
    const Entries town{"pictures/town.jpg", {}, {}, {}, "60"};
    writeBytes(kiosk.path("news/town.jpg"), "old picture");
    kiosk.messages.scriptAnswers({Answer::No, Answer::Yes});
    EXPECT_EQ(insert(Image, town), "#image town.jpg centre 60") << "No still inserts the directive";
    EXPECT_EQ(readBytes(kiosk.path("news/town.jpg")), "old picture");
    EXPECT_EQ(insert(Image, town), "#image town.jpg centre 60");
    EXPECT_EQ(readBytes(kiosk.path("news/town.jpg")), "pictures/town.jpg");
    EXPECT_EQ(kiosk.messages.texts(), QStringList(2, "The image town.jpg already exists in the folder containing this "
                                                     "page \r\nDo you wish to replace it?"));
    EXPECT_EQ(kiosk.messages.entries().at(0).defaultAnswer, Answer::No) << "Enter keeps the picture there";
    kiosk.messages.clear();
    EXPECT_EQ(insert(Image, {"news/here.jpg", {}, {}, {}, "40"}), "#image here.jpg centre 40");
    EXPECT_TRUE(kiosk.messages.texts().isEmpty()) << "a picture of the page's folder is neither copied nor asked about";
}

// The one dialog keeps its boxes between uses (the editor's insert table relies on that); closing it through the frame
// returns "" and never the directive of an earlier use. Find Image puts the
// chosen picture in the image box; a cancelled choice leaves the box as it is.
TEST_F(InsertDialogTest, KeepsEntriesFindsImagesAndFrameCloseReturnsNothing)
{
    EXPECT_EQ(insert(Button, {{}, "news", "today", "Next"}), "#button news\\today Next");
    InsertDialog& dialog = workbench.instance<InsertDialog>();
    author.imageAnswer = kiosk.path("pictures/town.jpg");
    dialog.findImageButton()->click();
    author.imageAnswer.clear();
    dialog.findImageButton()->click();
    EXPECT_EQ(dialog.imageEdit()->text(), kiosk.path("pictures/town.jpg"));
    author.whenShown<InsertDialog>([](InsertDialog& dialog) { dialog.close(); });
    EXPECT_EQ(dialog.openInsertButton(), "");
    EXPECT_EQ(insert(Button, {}), "") << "a new dialog starts empty";
}

} // namespace
