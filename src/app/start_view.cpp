// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/start_view.h"

#include "pages/page_sources.h"
#include "system/kiosk_overview.h"

#include <QAction>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QTimer>
#include <QListWidget>
#include <QStackedLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* buttonFor(QAction* action, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return button;
}

} // namespace

StartView::StartView(QAction* open, QAction* createNew, const QList<QAction*>& commands, QWidget* parent)
    : QWidget(parent), m_pages(new QStackedLayout(this)), m_recent(new QListWidget(this)), m_summary(new QLabel(this))
{
    setObjectName(QStringLiteral("startView"));

    auto* recentPage = new QWidget(this);
    auto* recentLayout = new QVBoxLayout(recentPage);
    auto* heading = new QLabel(tr("&Recent kiosk systems:"), recentPage);
    heading->setBuddy(m_recent);
    m_recent->setObjectName(QStringLiteral("recentKioskSystems"));
    m_recent->setAccessibleName(tr("Recent kiosk systems"));
    m_recent->setWordWrap(true);
    m_recent->setIconSize(QSize(96, 64));
    auto* firstButtons = new QHBoxLayout;
    firstButtons->addWidget(buttonFor(open, recentPage));
    firstButtons->addWidget(buttonFor(createNew, recentPage));
    recentLayout->addWidget(heading);
    recentLayout->addWidget(m_recent, 1);
    recentLayout->addLayout(firstButtons);
    m_pages->addWidget(recentPage);

    auto* openPage = new QWidget(this);
    auto* openLayout = new QVBoxLayout(openPage);
    m_summary->setObjectName(QStringLiteral("kioskSystemSummary"));
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    openLayout->addWidget(m_summary);
    auto* grid = new QGridLayout;
    for (qsizetype i = 0; i < commands.size(); ++i)
        grid->addWidget(buttonFor(commands.at(i), openPage), int(i / 2), int(i % 2));
    openLayout->addLayout(grid);
    openLayout->addStretch(1);
    m_pages->addWidget(openPage);

    const auto choose = [this](QListWidgetItem* item) { emit recentChosen(m_recent->row(item)); };
    connect(m_recent, &QListWidget::itemActivated, this, choose);
}

void StartView::showRecent(const QStringList& folders)
{
    m_recent->clear();
    for (const QString& folder : folders) {
        auto* item = new QListWidgetItem(folder, m_recent);
        item->setToolTip(folder);
    }
    // The titles and pictures once the window is up: reading the root pages
    // (on a slow or unplugged drive too) never holds up a start. The list's
    // size hint does not depend on its items, so the window keeps its size.
    QTimer::singleShot(0, this, [this, folders] {
        for (int row = 0; row < m_recent->count() && row < folders.size(); ++row) {
            QListWidgetItem* item = m_recent->item(row);
            const QString& folder = folders.at(row);
            if (item->toolTip() != folder)
                return; // the list was shown anew meanwhile, and that showing fills it
            if (const QString title = rootTitleOf(folder); !title.isEmpty())
                item->setText(title + u'\n' + folder);
            if (const QPixmap picture = rootPictureOf(folder, m_recent->iconSize(), m_recent->devicePixelRatioF());
                !picture.isNull())
                item->setIcon(picture);
        }
    });
    if (m_recent->count() > 0)
        m_recent->setCurrentRow(0);
    m_pages->setCurrentIndex(0);
}

void StartView::showKioskSystem(const QString& folder, const QString& lastMake)
{
    const QString title = rootTitleOf(folder);
    QString text = (title.isEmpty() ? QString() : title + u'\n') + QDir::toNativeSeparators(folder) + u'\n'
                   + tr("%1 page sources").arg(pageSourceCountOf(folder));
    text += u'\n' + (lastMake.isEmpty() ? tr("Not made in this session yet") : lastMake);
    m_summary->setText(text);
    m_pages->setCurrentIndex(1);
}

QString StartView::rootTitleOf(const QString& folder)
{
    // The title as the overview reads it: the last #title line, as the maker keeps it.
    return KioskOverview::summarize({QStringLiteral("root"), QStringLiteral("root")},
                                    QDir(folder).filePath(QStringLiteral("root/root.zel")))
        .title;
}

QPixmap StartView::rootPictureOf(const QString& folder, const QSize& size, qreal devicePixelRatio)
{
    QFile source(QDir(folder).filePath(QStringLiteral("root/root.zel")));
    if (!source.open(QIODevice::ReadOnly) || source.size() > 1024 * 1024)
        return QPixmap();
    for (const QByteArray& line : source.readAll().split('\n')) {
        const QList<QByteArray> words = line.trimmed().split(' ');
        if (words.size() < 2 || words.front().toLower() != "#image")
            continue;
        // Read scaled down as it is decoded: a camera's picture costs little.
        QImageReader reader(
            QDir(folder).filePath(QStringLiteral("root/") + QString::fromLocal8Bit(words.at(1)).replace(u'\\', u'/')));
        const QSize full = reader.size();
        if (full.isEmpty())
            return QPixmap();
        reader.setScaledSize(full.scaled(size * devicePixelRatio, Qt::KeepAspectRatio));
        QPixmap picture = QPixmap::fromImage(reader.read());
        picture.setDevicePixelRatio(devicePixelRatio);
        return picture;
    }
    return QPixmap();
}

int StartView::pageSourceCountOf(const QString& folder)
{
    int count = 0;
    const QDir kiosk(folder);
    for (const QString& pageFolder : kiosk.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        count += int(PageSources::fileNamesIn(kiosk.filePath(pageFolder)).size());
    return count;
}
