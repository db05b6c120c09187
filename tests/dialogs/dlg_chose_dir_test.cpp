#include "chooser_fixture.h"
#include "dialogs/dlg_chose_dir.h"

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

const QString kSep = QDir::separator();

QTreeWidgetItem* itemFor(QTreeWidget* tree, const QString& path)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toString() == path)
            return *it;
    return nullptr;
}

// The entries as the list shows them, top to bottom.
QStringList shownNames(QTreeWidget* tree)
{
    QStringList names;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        names.append((*it)->text(0));
    return names;
}

void doubleClick(QTreeWidget* tree, QTreeWidgetItem* item)
{
    const QRect rect = tree->visualItemRect(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
}

class ChoseDirTest : public ChooserTest {
protected:
    void SetUp() override
    {
        ChooserTest::SetUp();
        ASSERT_TRUE(place.isValid());
        base = QDir::toNativeSeparators(place.path());
        QDir().mkpath(base + kSep + QStringLiteral("beta"));
        QDir().mkpath(base + kSep + QStringLiteral("alpha"));
    }

    // Shows the dialog, lets the script act, and returns getDirectory().
    QString choose(std::function<void(dlgChoseDir&)> script)
    {
        whenShown<dlgChoseDir>(std::move(script));
        dlgChoseDir::instance().showModal();
        return dlgChoseDir::instance().getDirectory();
    }

    QTemporaryDir place;
    QString base;
};

TEST_F(ChoseDirTest, OKRightAfterOpeningReturnsTheRootOfTheCurrentDrive)
{
    QString caption;
    const QString result = choose([&](dlgChoseDir& d) {
        caption = d.windowTitle();
        d.okButton()->click();
    });
    EXPECT_EQ(caption, QStringLiteral("ZEL - Choose Directory"));
    // The first drive of this platform is the user's home.
    EXPECT_EQ(result, QDir::toNativeSeparators(QDir::homePath()) + kSep);
    EXPECT_EQ(shownCount, 1);
}

TEST_F(ChoseDirTest, DriveListOffersHomeAndTheRootAndChangingItOpensThatDrive)
{
    const QString result = choose([&](dlgChoseDir& d) {
        QComboBox* drives = d.driveList();
        ASSERT_GE(drives->count(), 2);
        EXPECT_EQ(drives->itemData(0).toString(), QDir::toNativeSeparators(QDir::homePath()));
        EXPECT_EQ(drives->itemData(1).toString(), QDir::toNativeSeparators(QDir::rootPath()));
        drives->setCurrentIndex(1);
        emit drives->activated(1);
        EXPECT_EQ(shownNames(d.dirList()).value(0), QDir::toNativeSeparators(QDir::rootPath()));
        d.okButton()->click();
    });
    // A root keeps its single separator.
    EXPECT_EQ(result, QDir::toNativeSeparators(QDir::rootPath()));
}

TEST_F(ChoseDirTest, TheListShowsAncestorsTheOpenDirectoryAndItsSubDirectories)
{
    const QString result = choose([&](dlgChoseDir& d) {
        d.openDirectory(base);
        const QStringList names = shownNames(d.dirList());
        const QStringList tail = names.mid(names.size() - 3);
        EXPECT_EQ(tail, (QStringList{QFileInfo(base).fileName(), "alpha", "beta"}));
        EXPECT_EQ(names.value(0), QDir::toNativeSeparators(QDir::rootPath()));
        EXPECT_EQ(d.dirList()->currentItem(), itemFor(d.dirList(), base));
        d.okButton()->click();
    });
    EXPECT_EQ(result, base + kSep);
}

TEST_F(ChoseDirTest, OKWithAHighlightedSubDirectoryReturnsItWithASeparator)
{
    const QString result = choose([&](dlgChoseDir& d) {
        d.openDirectory(base);
        QTreeWidgetItem* beta = itemFor(d.dirList(), base + kSep + "beta");
        ASSERT_NE(beta, nullptr);
        const QRect rect = d.dirList()->visualItemRect(beta);
        QTest::mouseClick(d.dirList()->viewport(), Qt::LeftButton, {}, rect.center());
        // Highlighted, not opened: the list still shows base's sub-directories.
        EXPECT_NE(itemFor(d.dirList(), base + kSep + "alpha"), nullptr);
        d.okButton()->click();
    });
    EXPECT_EQ(result, base + kSep + QStringLiteral("beta") + kSep);
}

TEST_F(ChoseDirTest, DoubleClickOpensADirectory)
{
    QDir().mkpath(base + kSep + "alpha" + kSep + "inner");
    const QString result = choose([&](dlgChoseDir& d) {
        d.openDirectory(base);
        doubleClick(d.dirList(), itemFor(d.dirList(), base + kSep + "alpha"));
        EXPECT_EQ(shownNames(d.dirList()).last(), QStringLiteral("inner"));
        EXPECT_EQ(itemFor(d.dirList(), base + kSep + "beta"), nullptr);
        d.okButton()->click();
    });
    EXPECT_EQ(result, base + kSep + QStringLiteral("alpha") + kSep);
}

TEST_F(ChoseDirTest, NewTable)
{
    QDir().mkpath(base + kSep + "New Folder");
    struct Row {
        const char* name;
        QString answer;
        QString result;    // what OK returns afterwards
        QStringList messages;
        bool created;
    };
    const Row rows[] = {
        {"preset answer where New Folder exists", "New Folder", base + kSep,
         {"Folder " + base + kSep + "New Folder already exists"}, false},
        {"a new name, then OK", "Fresh One", base + kSep + "Fresh One" + kSep, {}, true},
        {"input box cancelled", "", base + kSep, {}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        kiosk.messages.clear();
        QStringList asked;
        InputBox::setAsker([&](const QString& prompt, const QString& title, const QString& preset) {
            asked = {prompt, title, preset};
            return row.answer;
        });
        const QString result = choose([&](dlgChoseDir& d) {
            d.openDirectory(base);
            d.newButton()->click();
            EXPECT_TRUE(d.isVisible());
            d.okButton()->click();
        });
        EXPECT_EQ(asked, (QStringList{"Enter folder name:", "Create New Folder", "New Folder"}));
        EXPECT_EQ(result, row.result);
        EXPECT_EQ(kiosk.messages.texts(), row.messages);
        if (row.created)
            EXPECT_TRUE(QFileInfo(row.result).isDir());
    }
}

TEST_F(ChoseDirTest, CancelAndTheCloseBoxReturnNothing)
{
    EXPECT_EQ(choose([&](dlgChoseDir& d) { d.cancelButton()->click(); }), QString());
    EXPECT_EQ(choose([&](dlgChoseDir& d) { d.okButton()->click(); }).isEmpty(), false);
    EXPECT_EQ(choose([&](dlgChoseDir& d) { QTest::keyClick(&d, Qt::Key_Escape); }), QString());
    EXPECT_EQ(choose([&](dlgChoseDir& d) { d.okButton()->click(); }).isEmpty(), false);
    EXPECT_EQ(choose([&](dlgChoseDir& d) { d.close(); }), QString());
}

TEST_F(ChoseDirTest, ALaterUseStartsFromTheDirectoryLeftOpenUntilTheCloseBox)
{
    choose([&](dlgChoseDir& d) {
        d.openDirectory(base);
        d.cancelButton()->click();
    });
    EXPECT_EQ(choose([&](dlgChoseDir& d) { d.okButton()->click(); }), base + kSep);

    choose([&](dlgChoseDir& d) { d.close(); });
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(choose([&](dlgChoseDir& d) { d.okButton()->click(); }),
              QDir::toNativeSeparators(QDir::homePath()) + kSep);
}

TEST_F(ChoseDirTest, FixedSizeWithEveryControlInside)
{
    choose([&](dlgChoseDir& d) {
        EXPECT_EQ(d.minimumSize(), d.maximumSize());
        const QRect inside = d.rect();
        for (QWidget* w : {static_cast<QWidget*>(d.driveList()), static_cast<QWidget*>(d.dirList()),
                           static_cast<QWidget*>(d.okButton()), static_cast<QWidget*>(d.newButton()),
                           static_cast<QWidget*>(d.cancelButton())})
            EXPECT_TRUE(inside.contains(w->geometry())) << w->objectName().toStdString();
        EXPECT_LT(d.okButton()->x(), d.newButton()->x());
        EXPECT_LT(d.newButton()->x(), d.cancelButton()->x());
        d.cancelButton()->click();
    });
}

} // namespace
