// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/chooser_dialog.h"

#include "base/int16.h"
#include "runtime/error_handler.h"

#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>

namespace {
constexpr int kTwipsPerPixel = 15;
constexpr int kButtonHeight = 375 / kTwipsPerPixel;
constexpr int kButtonWidth = 975 / kTwipsPerPixel;
constexpr int kLabelTop = 6;
constexpr int kGap = 4;

int pixels(int twips) { return twips / kTwipsPerPixel; }

// The widgets Tab stops at in a control: itself, or its own parts (the name
// box and the list of a combo box whose list is always open).
QList<QWidget*> tabStops(QWidget* control)
{
    if (control->focusPolicy() & Qt::TabFocus)
        return {control};
    QList<QWidget*> stops;
    for (QWidget* part : control->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (part->focusPolicy() & Qt::TabFocus)
            stops.append(part);
    return stops;
}
// The label names the controls beneath it for screen readers and is their buddy.
void nameStops(QLabel* label, const QList<QWidget*>& stops)
{
    if (stops.isEmpty())
        return;
    label->setBuddy(stops.first());
    for (QWidget* stop : stops)
        if (stop->accessibleName().isEmpty())
            stop->setAccessibleName(label->text());
}
} // namespace

ChooserDialog::ChooserDialog(Workbench& workbench, const QString& moduleName, const Design& design)
    : SingleInstanceDialog(workbench), m_folderLabel(new QLabel(tr("Folders"), this)), m_moduleName(moduleName),
      m_design(design), m_okButton(new QPushButton(tr("OK"), this)), m_cancelButton(new QPushButton(tr("Cancel"), this))
{
    m_folderLabel->setObjectName(QStringLiteral("folderLabel"));
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, [this] { confirm(); });
    connect(m_cancelButton, &QPushButton::clicked, this, [this] { cancel(); });
}

void ChooserDialog::arrangeDesign(QWidget* folderList, QWidget* pageList)
{
    m_firstList = folderList;
    m_secondList = pageList;
    if (pageList && !m_pageLabel) {
        m_pageLabel = new QLabel(tr("Pages"), this);
        m_pageLabel->setObjectName(QStringLiteral("pageLabel"));
    }
    const int width = pixels(m_design.widthTwips);
    const int height = pixels(m_design.heightTwips);
    const int margin = pixels(m_design.marginTwips);
    const int labelHeight = m_folderLabel->sizeHint().height();
    const int listTop = kLabelTop + labelHeight + kGap;
    const int cancelTop = height - margin - kButtonHeight;
    const int listHeight = cancelTop - 2 * kGap - listTop;
    const int listWidth = pageList ? (width - 3 * margin) / 2 : width - 2 * margin;

    m_folderLabel->setGeometry(margin, kLabelTop, listWidth, labelHeight);
    folderList->setGeometry(margin, listTop, listWidth, listHeight);
    if (pageList) {
        m_pageLabel->setGeometry(2 * margin + listWidth, kLabelTop, listWidth, labelHeight);
        pageList->setGeometry(2 * margin + listWidth, listTop, listWidth, listHeight);
    }
    m_okButton->resize(kButtonWidth, kButtonHeight);
    m_cancelButton->resize(kButtonWidth, kButtonHeight);

    // Tab goes through the controls as they stand: the lists left to right,
    // then Cancel and OK.
    QList<QWidget*> stops = tabStops(folderList);
    nameStops(m_folderLabel, stops);
    if (pageList) {
        const QList<QWidget*> pageStops = tabStops(pageList);
        nameStops(m_pageLabel, pageStops);
        stops += pageStops;
    }
    stops << m_cancelButton << m_okButton;
    for (qsizetype i = 1; i < stops.size(); ++i)
        setTabOrder(stops.at(i - 1), stops.at(i));

    m_margin = Int16::checked(margin);
    m_listWidth = Int16::checked(listWidth);
    m_listHeight = Int16::checked(listHeight);
    m_windowWidth = Int16::checked(width);
    m_windowHeight = Int16::checked(height);
    m_cancelTop = Int16::checked(cancelTop);

    setMinimumSize(width, height);
    resize(width, height);
    applyResizeRule();
}

void ChooserDialog::cancel() { clearAndHide(m_moduleName, m_result); }

void ChooserDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    runCommand(session(), m_moduleName, QStringLiteral("Form_Resize"), [&] { applyResizeRule(); });
}

void ChooserDialog::applyResizeRule()
{
    if (!m_firstList)
        return;
    if (width() < m_windowWidth || height() < m_windowHeight) {
        resize(std::max<int>(width(), m_windowWidth), std::max<int>(height(), m_windowHeight));
        return;
    }
    const int grow = Int16::checked(height() - m_windowHeight);
    const int listHeight = Int16::checked(m_listHeight + grow);
    const int buttonTop = Int16::checked(m_cancelTop + grow);
    const int listTop = m_firstList->y();
    const int cancelWidth = m_cancelButton->width();
    const int okWidth = m_okButton->width();

    if (!m_secondList) {
        const int innerWidth = Int16::checked(width() - 2 * m_margin);
        const int listLeft = m_margin;
        m_folderLabel->setGeometry(listLeft, m_folderLabel->y(), innerWidth, m_folderLabel->height());
        m_firstList->setGeometry(listLeft, listTop, innerWidth, listHeight);
        m_cancelButton->move(listLeft + (innerWidth / 2 - cancelWidth) / 2, buttonTop);
        m_okButton->move(listLeft + (innerWidth * 3 / 2 - okWidth) / 2, buttonTop);
        return;
    }
    const int columnWidth = Int16::checked((width() - 3 * m_margin) / 2);
    const int folderLeft = m_margin;
    const int pageLeft = Int16::checked(2 * m_margin + columnWidth);
    m_folderLabel->setGeometry(folderLeft, m_folderLabel->y(), columnWidth, m_folderLabel->height());
    m_pageLabel->setGeometry(pageLeft, m_pageLabel->y(), columnWidth, m_pageLabel->height());
    m_firstList->setGeometry(folderLeft, listTop, columnWidth, listHeight);
    m_secondList->setGeometry(pageLeft, listTop, columnWidth, listHeight);
    m_cancelButton->move(folderLeft + (columnWidth - cancelWidth) / 2, buttonTop);
    m_okButton->move(pageLeft + (columnWidth - okWidth) / 2, buttonTop);
}
