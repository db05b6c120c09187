// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workbench/single_instance_dialog.h"

#include <QString>
#include <cstdint>

class QLabel;
class QPushButton;
class QWidget;

// What the folder and page choosers share: the "Folders" (and "Pages")
// labels, OK and Cancel, the result string, and the resize rule.
//
// Resize rule: the size at creation is the minimum size; the lists take up
// every extra pixel of height, the buttons keep their distance from the
// bottom; one list spans the width with Cancel centred on the first and OK on
// the third quarter; two lists share the width in equal columns with Cancel
// centred under the first and OK under the second.
class ChooserDialog : public SingleInstanceDialog {
    Q_OBJECT
public:
    // The layout at creation, in twips (15 to a pixel).
    struct Design {
        int widthTwips;
        int heightTwips;
        int marginTwips;
    };

    QPushButton* okButton() const { return m_okButton; }
    QPushButton* cancelButton() const { return m_cancelButton; }

protected:
    ChooserDialog(Workbench& workbench, const QString& moduleName, const Design& design);

    // Places the lists (pageList may be null) at their design positions and
    // records the values the resize rule starts from. Called once by the
    // subclass after it has made its lists.
    void arrangeDesign(QWidget* folderList, QWidget* pageList);

    virtual void confirm() = 0;
    void cancel() override;

    void resizeEvent(QResizeEvent* event) override;

    const QString& moduleName() const { return m_moduleName; }

    QString m_result;
    QLabel* m_folderLabel;
    QLabel* m_pageLabel = nullptr;

private:
    void applyResizeRule();

    QString m_moduleName;
    Design m_design;
    QPushButton* m_okButton;
    QPushButton* m_cancelButton;
    QWidget* m_firstList = nullptr;
    QWidget* m_secondList = nullptr;

    // Recorded at creation, in pixels.
    std::int16_t m_margin = 0;
    std::int16_t m_listWidth = 0;
    std::int16_t m_listHeight = 0;
    std::int16_t m_windowWidth = 0;
    std::int16_t m_windowHeight = 0;
    std::int16_t m_cancelTop = 0;
};
