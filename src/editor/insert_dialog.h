// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workbench/single_instance_dialog.h"

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
class InsertDialog : public SingleInstanceDialog {
    Q_OBJECT
public:
    // owner: the editor the dialog is shown over; it is the dialog's parent
    // only while the dialog runs, and gets the keyboard back afterwards.
    QString openInsertButton(QWidget* owner = nullptr);
    QString openInsertImage(const QString& filePath, QWidget* owner = nullptr);
    QString openInsertItem(const QString& filePath, QWidget* owner = nullptr);

    // The controls, for the author's hands in tests.
    QLineEdit* imageEdit() const { return m_imageEdit; }
    QLineEdit* textEdit() const { return m_textEdit; }
    QLineEdit* altEdit() const { return m_altEdit; }
    QLineEdit* widthEdit() const { return m_widthEdit; }
    QLineEdit* folderEdit() const { return m_folderEdit; }
    QLineEdit* pageEdit() const { return m_pageEdit; }
    QRadioButton* alignButtons(int index) const { return m_alignButtons.at(size_t(index)); }
    QPushButton* findImageButton() const { return m_findImageButton; }
    QPushButton* okButton() const { return m_okButton; }
    QPushButton* cancelButton() const { return m_cancelButton; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    friend class Workbench;
    explicit InsertDialog(Workbench& workbench);
    void setUpWindow();
    QString openDialog(std::int16_t mode, const QString& caption, QWidget* owner);
    void arrangeFrames();
    void hideControl(QWidget* control);
    int placeControl(QWidget* control, int top);

    void confirm();
    bool takeButton();
    bool takeImage();
    bool takeItem();
    void cancel() override;
    void findImage();
    void selectExistingPage();

    bool pageIsValid();
    bool imageIsValid();
    QString pageRef();
    QString imageRef();
    QString withAltLine(const QString& directive) const;
    void copyImage();

    std::int16_t m_insertMode = 0;
    QString m_directive;
    QString m_pageFilePath;

    QGroupBox* m_frameImage;
    QLabel* m_imageLabel;
    QLineEdit* m_imageEdit;
    QPushButton* m_findImageButton;
    QGroupBox* m_frameAlt;
    QLabel* m_altLabel;
    QLineEdit* m_altEdit;
    QGroupBox* m_frameText;
    QLabel* m_textLabel;
    QLineEdit* m_textEdit;
    QGroupBox* m_frameImageWidth;
    QLineEdit* m_widthEdit;
    QLabel* m_percentLabel;
    QGroupBox* m_frameImageAlignment;
    std::array<QRadioButton*, 3> m_alignButtons{};
    QGroupBox* m_frameLinkedPage;
    QLabel* m_folderLabel;
    QLineEdit* m_folderEdit;
    QLabel* m_pageLabel;
    QLineEdit* m_pageEdit;
    QPushButton* m_selectExistingPageButton;
    QPushButton* m_okButton;
    QPushButton* m_cancelButton;
};
