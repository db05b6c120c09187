#include "chooser_fixture.h"
#include "dialogs/dlg_chose_dir.h"

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

const QString kSep = QDir::separator();
const QString kHome = QDir::toNativeSeparators(QDir::homePath());

// Clicks (or double-clicks) the entry of path in the directory list.
void click(dlgChoseDir& d, const QString& path, bool twice = false)
{
    QTreeWidgetItemIterator it(d.dirList());
    while (*it && (*it)->data(0, Qt::UserRole).toString() != path)
        ++it;
    ASSERT_TRUE(*it) << path.toStdString();
    const QPoint at = d.dirList()->visualItemRect(*it).center();
    QTest::mouseClick(d.dirList()->viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(d.dirList()->viewport(), Qt::LeftButton, {}, at);
}

// A place with the directories alpha/inner and beta; each use shows the dialog,
// lets the author act, then clicks OK unless the author closed it.
class ChoseDirTest : public ChooserTest {
protected:
    QString choose(std::function<void(dlgChoseDir&)> script)
    {
        whenShown<dlgChoseDir>([=](dlgChoseDir& d) { script(d); if (d.isVisible()) d.okButton()->click(); });
        dlgChoseDir::instance().showModal();
        return dlgChoseDir::instance().getDirectory();
    }
    std::function<void(dlgChoseDir&)> openBase() { return [this](dlgChoseDir& d) { d.openDirectory(base); }; }

    QTemporaryDir place;
    const QString base = QDir::toNativeSeparators(place.path());
    const bool made = QDir().mkpath(base + "/alpha/inner") && QDir().mkpath(base + "/beta");
};

TEST_F(ChoseDirTest, ResultTable)
{
    ASSERT_TRUE(made);
    struct Row { const char* name; std::function<void(dlgChoseDir&)> author; QString result; };
    const Row rows[] = {
        {"OK at once: the root of the first drive, the home", [](auto&) {}, kHome + kSep},
        {"Cancel", [](auto& d) { d.cancelButton()->click(); }, ""},
        {"the open directory", openBase(), base + kSep},
        {"Esc", [](auto& d) { QTest::keyClick(&d, Qt::Key_Escape); }, ""},
        {"a highlighted sub-directory", [&](auto& d) { d.openDirectory(base); click(d, base + "/beta"); }, base + "/beta/"},
        {"the close box", [](auto& d) { d.close(); }, ""},
        {"double click opens", [&](auto& d) { d.openDirectory(base); click(d, base + "/alpha", true); }, base + "/alpha/"},
        {"the root drive keeps its one separator", [](auto& d) { d.driveList()->setCurrentIndex(1); emit d.driveList()->activated(1); }, "/"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(choose(row.author), row.result) << row.name;
    EXPECT_EQ(dlgChoseDir::instance().windowTitle(), "ZEL - Choose Directory");
    EXPECT_EQ(dlgChoseDir::instance().driveList()->itemData(0).toString(), kHome);
    EXPECT_EQ(dlgChoseDir::instance().minimumSize(), dlgChoseDir::instance().maximumSize());
    EXPECT_EQ(shownCount, 8);
}

// The list shows the ancestors, the open directory and its sub-directories.
TEST_F(ChoseDirTest, TheListAndALaterUseStartFromTheDirectoryLeftOpen)
{
    QStringList names;
    choose([&](dlgChoseDir& d) {
        d.openDirectory(base + "/alpha");
        for (QTreeWidgetItemIterator it(d.dirList()); *it; ++it)
            names.append((*it)->text(0));
        d.cancelButton()->click();
    });
    EXPECT_EQ(names.first(), "/");
    EXPECT_EQ(names.mid(names.size() - 3), (QStringList{QFileInfo(base).fileName(), "alpha", "inner"}));
    EXPECT_EQ(choose([](auto&) {}), base + "/alpha/");
    choose([](auto& d) { d.close(); });
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(choose([](auto&) {}), kHome + kSep);
}

TEST_F(ChoseDirTest, NewTable)
{
    QDir().mkpath(base + "/New Folder");
    const std::pair<QString, QString> rows[] = {{"New Folder", ""}, {"Fresh One", "Fresh One/"}, {"", ""}}; // answer, result
    for (const auto& [answer, result] : rows) {
        SCOPED_TRACE(answer.toStdString());
        kiosk.messages.clear();
        QStringList asked;
        InputBox::setAsker([&](const QString& prompt, const QString& title, const QString& preset) {
            asked = {prompt, title, preset};
            return answer;
        });
        EXPECT_EQ(choose([&](dlgChoseDir& d) { d.openDirectory(base); d.newButton()->click(); }), base + "/" + result);
        EXPECT_EQ(asked, (QStringList{"Enter folder name:", "Create New Folder", "New Folder"}));
        EXPECT_EQ(kiosk.messages.texts(), answer == "New Folder" ? QStringList{"Folder " + base + "/New Folder already exists"} : QStringList());
    }
    EXPECT_TRUE(QFileInfo(base + "/Fresh One").isDir());
}

} // namespace
