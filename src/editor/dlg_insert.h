// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/single_instance_dialog.h"

#include <QString>
#include <array>
#include <cstdint>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "ZEL - Insert Button / Image / Item": composes one directive line for the
// page editor in the form the page maker reads:
//     #button folder\page Button text
//     #image name.jpg centre 50          ("my photo.jpg" quoted when it has a blank)
//     #item name.jpg folder\page Item text   (a blank in the name quoted as well)
// Image and item copy the chosen picture into the page's folder (asking
// before replacing a picture of the same name there). Find Image asks
// through the workbench's image chooser.
//
// One dialog for the whole program, shown modally; OK and Cancel only hide
// it, so its boxes keep what was entered last time. Each open operation
// returns the directive, or "" when the author cancelled or closed the
// dialog through its frame (which destroys it; the next use makes a new one).
class dlgInsert : public SingleInstanceDialog {
    Q_OBJECT
public:
    // owner: the editor the dialog is shown over; it is the dialog's parent
    // only while the dialog runs, and gets the keyboard back afterwards.
    QString openInsertButton(QWidget* owner = nullptr);
    QString openInsertImage(const QString& filePath, QWidget* owner = nullptr);
    QString openInsertItem(const QString& filePath, QWidget* owner = nullptr);

    // The controls, for the author's hands in tests.
    QLineEdit* txtImage() const { return m_txtImage; }
    QLineEdit* txtText() const { return m_txtText; }
    QLineEdit* txtWidth() const { return m_txtWidth; }
    QLineEdit* txtFolder() const { return m_txtFolder; }
    QLineEdit* txtPage() const { return m_txtPage; }
    QRadioButton* optAlign(int index) const { return m_optAlign.at(size_t(index)); }
    QPushButton* cmdFindImage() const { return m_cmdFindImage; }
    QPushButton* cmdOK() const { return m_cmdOK; }
    QPushButton* cmdCancel() const { return m_cmdCancel; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    friend class Workbench;
    explicit dlgInsert(Workbench& workbench);
    void Form_Load();
    QString openDialog(std::int16_t mode, const QString& caption, QWidget* owner);
    void arrangeFrames();
    void hideControl(QWidget* control);
    int placeControl(QWidget* control, int top);

    void cmdOK_Click();
    bool cmdOK_Button();
    bool cmdOK_Image();
    bool cmdOK_Item();
    void cancel() override;
    void cmdFindImage_Click();
    void cmdSelectExistingPage_Click();

    bool pageIsValid();
    bool imageIsValid();
    QString pageRef();
    QString imageRef();
    void copyImage();

    std::int16_t m_insertMode = 0;
    QString m_directive;
    QString m_pageFilePath;

    QGroupBox* m_frameImage;
    QLabel* m_lblImage;
    QLineEdit* m_txtImage;
    QPushButton* m_cmdFindImage;
    QGroupBox* m_frameText;
    QLabel* m_lblText;
    QLineEdit* m_txtText;
    QGroupBox* m_frameImageWidth;
    QLineEdit* m_txtWidth;
    QLabel* m_lblPercent;
    QGroupBox* m_frameImageAlignment;
    std::array<QRadioButton*, 3> m_optAlign{};
    QGroupBox* m_frameLinkedPage;
    QLabel* m_lblFolder;
    QLineEdit* m_txtFolder;
    QLabel* m_lblPage;
    QLineEdit* m_txtPage;
    QPushButton* m_cmdSelectExistingPage;
    QPushButton* m_cmdOK;
    QPushButton* m_cmdCancel;
};
