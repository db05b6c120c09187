// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/directory_dialog.h"
#include "support/window_fixture.h"

#include <QComboBox>
#include <QPushButton>
#include <QTreeWidget>

namespace {

const QString kHome = QDir::toNativeSeparators(QDir::homePath()) + QDir::separator();

// Clicks (or double-clicks) the directory of this name in the list.
void click(DirectoryDialog& d, const QString& name, bool twice = false)
{
    clickItem(d.directoryList(),
              d.directoryList()->visualItemRect(
                  d.directoryList()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive).value(0)),
              twice);
}

// A place with the directories alpha/inner, beta and "New Folder". Each row shows the one dialog, lets the author
// act, then clicks OK unless the author closed it; New asks for a name in the open directory, makes it and
// highlights it, or says why it cannot (the program goes on).
using ChoseDirTest = WindowTest;

TEST_F(ChoseDirTest, ResultTable)
{
    QTemporaryDir place;
    const QString base = QDir::toNativeSeparators(place.path());
    ASSERT_TRUE(QDir().mkpath(base + "/alpha/inner") && QDir().mkpath(base + "/beta")
                && QDir().mkpath(base + "/New Folder"));
    // New, with the answer to its name question.
    const auto newFolder = [&](const QString& answer) {
        return [&, answer](DirectoryDialog& d) {
            author.textAnswers = {answer};
            d.newButton()->click();
        };
    };
    struct Row {
        const char* name;
        bool inBase; // the author starts in the open directory base
        std::function<void(DirectoryDialog&)> author;
        QString result;
        QStringList messages = {};
    };
    const auto nothing = [](auto&) {};
    const QString exists = "Folder " + base + "/New Folder already exists";
    const QString tooLong = QString(128, QChar(0xe9)); // 256 bytes of UTF-8
    const Row rows[] = {
        {"OK at once: the root of the first drive, the home", false, nothing, kHome},
        {"Cancel", false, [](auto& d) { d.cancelButton()->click(); }, ""},
        {"a highlighted sub-directory", true, [](auto& d) { click(d, "beta"); }, base + "/beta/"},
        {"the close box", false, [](auto& d) { d.close(); }, ""},
        {"double click opens", true, [](auto& d) { click(d, "alpha", true); }, base + "/alpha/"},
        {"a later use starts from the directory left open", false, nothing, base + "/alpha/"},
        {"one separator at the root", false, [](auto& d) { QTest::keyClick(d.driveList(), Qt::Key_Down); }, "/"},
        {"New with an existing name", true, newFolder("New Folder"), base + "/", {exists}},
        {"New with a fresh name", true, newFolder("Fresh One"), base + "/Fresh One/"},
        {"New without a name", true, newFolder(""), base + "/"},
        {"New with a name too long for the file system",
         true,
         newFolder(tooLong),
         base + "/",
         {"Folder " + base + "/" + tooLong + " cannot be created\r\nA folder name may be at most 255 bytes long"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        kiosk.messages.clear();
        author.whenShown<DirectoryDialog>([&](DirectoryDialog& d) {
            if (row.inBase)
                d.openDirectory(base);
            row.author(d);
            if (d.isVisible())
                d.okButton()->click();
        });
        workbench.instance<DirectoryDialog>().showModal();
        EXPECT_EQ(workbench.instance<DirectoryDialog>().getDirectory(), row.result);
        EXPECT_EQ(kiosk.messages.texts(), row.messages);
    }
    EXPECT_EQ(author.textsAsked, QStringList(4, "Enter folder name:|Create New Folder|New Folder"));
    EXPECT_TRUE(QFileInfo(base + "/Fresh One").isDir());
    const DirectoryDialog& d = workbench.instance<DirectoryDialog>();
    EXPECT_EQ(d.windowTitle(), "ZEL - Choose Directory");
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
}

} // namespace
