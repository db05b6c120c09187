// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/directory_dialog.h"

#include "base/folder_path.h"
#include "base/line_end.h"
#include "pages/files.h"
#include "platform/messages.h"
#include "runtime/error_handler.h"
#include "workbench/workbench.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeWidget>

namespace {
const QString kModule = QStringLiteral("dlgChoseDir");
// The longest file or folder name the file system stores, in bytes of UTF-8.
constexpr int kLongestFileName = 255;

constexpr int kWidth = 330;
constexpr int kHeight = 360;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 25;
constexpr int kPathRole = Qt::UserRole;

// The directories from the root down to path: "/", "/home", "/home/ann".
QStringList ancestorsAndSelf(const QString& path)
{
    QStringList chain;
    QString current = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    while (true) {
        chain.prepend(QDir::toNativeSeparators(current));
        const QString parent = QFileInfo(current).path();
        if (parent == current || current == QDir::rootPath())
            break;
        current = parent;
    }
    return chain;
}

QString entryName(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? path : name;
}
} // namespace

DirectoryDialog::DirectoryDialog(Workbench& workbench)
    : SingleInstanceDialog(workbench), m_driveList(new QComboBox(this)), m_directoryList(new QTreeWidget(this)),
      m_okButton(new QPushButton(tr("OK"), this)), m_newButton(new QPushButton(tr("New"), this)),
      m_cancelButton(new QPushButton(tr("Cancel"), this))
{
    runCommand(session(), kModule, QStringLiteral("Form_Load"), [&] {
        setWindowTitle(tr("ZEL - Choose Directory"));
        m_driveList->setObjectName(QStringLiteral("driveList"));
        m_directoryList->setObjectName(QStringLiteral("directoryList"));
        m_okButton->setObjectName(QStringLiteral("okButton"));
        m_newButton->setObjectName(QStringLiteral("newButton"));
        m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
        // No label stands above them: the names screen readers say.
        m_driveList->setAccessibleName(tr("Drive"));
        m_directoryList->setAccessibleName(tr("Folders"));
        m_okButton->setDefault(true);

        setFixedSize(kWidth, kHeight);
        const int innerWidth = kWidth - 2 * kMargin;
        const int driveHeight = m_driveList->sizeHint().height();
        m_driveList->setGeometry(kMargin, kMargin, innerWidth, driveHeight);
        const int buttonTop = kHeight - kMargin - kButtonHeight;
        const int listTop = kMargin + driveHeight + kMargin / 2;
        m_directoryList->setGeometry(kMargin, listTop, innerWidth, buttonTop - kMargin - listTop);
        m_okButton->setGeometry(kMargin, buttonTop, kButtonWidth, kButtonHeight);
        m_newButton->setGeometry((kWidth - kButtonWidth) / 2, buttonTop, kButtonWidth, kButtonHeight);
        m_cancelButton->setGeometry(kWidth - kMargin - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight);

        m_directoryList->setHeaderHidden(true);
        m_directoryList->setRootIsDecorated(false);
        m_directoryList->setItemsExpandable(false);
        m_directoryList->setExpandsOnDoubleClick(false);
        m_directoryList->setIndentation(12);
        // Every level is always open: no expand arrows.
        m_directoryList->setStyleSheet(QStringLiteral("QTreeView::branch { image: none; border-image: none; }"));

        m_result.clear();
        fillDriveList();
        openDirectory(m_driveList->currentData().toString());
    });
    connect(m_driveList, &QComboBox::activated, this, [this] { openDrive(); });
    connect(m_directoryList, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        runCommand(session(), kModule, QStringLiteral("dirList_DblClick"),
                   [&] { openDirectory(item->data(0, kPathRole).toString()); });
    });
    connect(m_okButton, &QPushButton::clicked, this, [this] { confirm(); });
    connect(m_newButton, &QPushButton::clicked, this, [this] { createDirectory(); });
    connect(m_cancelButton, &QPushButton::clicked, this, [this] { cancel(); });
}

// The drives of this platform: the user's home first (where the dialog
// starts), the file-system root, then every mounted volume that is a folder.
void DirectoryDialog::fillDriveList()
{
    QStringList paths{QDir::toNativeSeparators(QDir::homePath()), QDir::toNativeSeparators(QDir::rootPath())};
    QStringList labels{tr("%1 (home)").arg(QDir::toNativeSeparators(QDir::homePath())),
                       QDir::toNativeSeparators(QDir::rootPath())};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString path = QDir::toNativeSeparators(volume.rootPath());
        if (!volume.isValid() || !volume.isReady() || paths.contains(path) || !QFileInfo(path).isDir())
            continue;
        paths.append(path);
        labels.append(volume.name().isEmpty() ? path : path + QStringLiteral(" [") + volume.name() + u']');
    }
    m_driveList->clear();
    for (qsizetype i = 0; i < paths.size(); ++i)
        m_driveList->addItem(labels[i], paths[i]);
    m_driveList->setCurrentIndex(0);
}

QIcon DirectoryDialog::openFolderIcon()
{
    return QIcon::fromTheme(QStringLiteral("folder-open"), QIcon(QStringLiteral(":/icons/folder-open.svg")));
}

QIcon DirectoryDialog::closedFolderIcon()
{
    return QIcon::fromTheme(QStringLiteral("folder"), QIcon(QStringLiteral(":/icons/folder-closed.svg")));
}

void DirectoryDialog::openDirectory(const QString& path)
{
    const QIcon openIcon = openFolderIcon();
    const QIcon closedIcon = closedFolderIcon();

    m_directoryList->clear();
    QTreeWidgetItem* parent = nullptr;
    for (const QString& directory : ancestorsAndSelf(path)) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_directoryList);
        item->setText(0, entryName(directory));
        item->setIcon(0, openIcon);
        item->setData(0, kPathRole, directory);
        parent = item;
    }
    const QString openPath = parent->data(0, kPathRole).toString();
    const QStringList children =
        QDir(openPath).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& child : children) {
        auto* item = new QTreeWidgetItem(parent);
        item->setText(0, child);
        item->setIcon(0, closedIcon);
        item->setData(0, kPathRole, withTrailingSeparator(openPath) + child);
    }
    m_directoryList->expandAll();
    m_directoryList->setCurrentItem(parent);
    m_directoryList->scrollToItem(parent);
}

QString DirectoryDialog::getCurrentDirectory() const
{
    return inProcedure(kModule, QStringLiteral("getCurrentDirectory"), [&] {
        const QTreeWidgetItem* item = m_directoryList->currentItem();
        return item ? withTrailingSeparator(item->data(0, kPathRole).toString()) : QString();
    });
}

void DirectoryDialog::openDrive()
{
    runCommand(session(), kModule, QStringLiteral("driveList_Change"),
               [&] { openDirectory(m_driveList->currentData().toString()); });
}

void DirectoryDialog::createDirectory()
{
    runCommand(session(), kModule, QStringLiteral("cmdNew_Click"), [&] {
        const QString answer =
            workbench().askText(this, tr("Enter folder name:"), tr("Create New Folder"), tr("New Folder"));
        if (answer.isEmpty())
            return;
        const QString path = getCurrentDirectory() + answer;
        // A name the file system cannot store is the author's to change, not a failure.
        if (answer.toUtf8().size() > kLongestFileName) {
            Messages::show(session(), tr("Folder %1 cannot be created").arg(path) + kCrLf
                                          + tr("A folder name may be at most %1 bytes long").arg(kLongestFileName));
            return;
        }
        if (Files::folderExists(path)) {
            Messages::show(session(), tr("Folder %1 already exists").arg(path));
            return;
        }
        Files::createFolder(path);
        openDirectory(path);
    });
}

void DirectoryDialog::confirm()
{
    runCommand(session(), kModule, QStringLiteral("cmdOK_Click"), [&] {
        m_result = getCurrentDirectory();
        hideDialog();
    });
}

void DirectoryDialog::cancel() { clearAndHide(kModule, m_result); }

void DirectoryDialog::showModal(QWidget* owner)
{
    m_directoryList->setFocus();
    runModal(owner);
}
