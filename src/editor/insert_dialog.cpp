// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/insert_dialog.h"

#include "base/blanks.h"
#include "base/line_end.h"
#include "dialogs/select_file_dialog.h"
#include "pages/files.h"
#include "pages/support.h"
#include "platform/messages.h"
#include "platform/problem.h"
#include "platform/session.h"
#include "runtime/error_handler.h"
#include "workbench/workbench.h"

#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <optional>

namespace {
const QString kModule = QStringLiteral("dlgInsert");

// Window layout in twips (15 to a pixel), as the placing rule counts.
constexpr int kTwips = 15;
constexpr int kWidth = 6600;
constexpr int kMargin = 240;
constexpr int kFrameWidth = kWidth - 2 * kMargin;
constexpr int kHalfWidth = (kFrameWidth - kMargin) / 2;
constexpr int kRowFrameHeight = 1050;
constexpr int kTallFrameHeight = 1560;
constexpr int kButtonWidth = 1215;
constexpr int kButtonHeight = 375;
constexpr int kGap = 200;
constexpr int kBottom = 400;

int px(int twips) { return twips / kTwips; }
} // namespace

InsertDialog::InsertDialog(Workbench& workbench)
    : SingleInstanceDialog(workbench), m_frameImage(new QGroupBox(tr("Image Linked To Item"), this)),
      m_imageLabel(new QLabel(tr("Image"), m_frameImage)), m_imageEdit(new QLineEdit(m_frameImage)),
      m_findImageButton(new QPushButton(tr("Find Image"), m_frameImage)),
      m_frameAlt(new QGroupBox(tr("Text Alternative (what the picture shows)"), this)),
      m_altLabel(new QLabel(tr("Text"), m_frameAlt)), m_altEdit(new QLineEdit(m_frameAlt)),
      m_frameText(new QGroupBox(tr("Text"), this)), m_textLabel(new QLabel(tr("Text"), m_frameText)),
      m_textEdit(new QLineEdit(m_frameText)), m_frameImageWidth(new QGroupBox(tr("Image Width"), this)),
      m_widthEdit(new QLineEdit(m_frameImageWidth)), m_percentLabel(new QLabel(QStringLiteral("%"), m_frameImageWidth)),
      m_frameImageAlignment(new QGroupBox(tr("Image Alignment"), this)),
      m_frameLinkedPage(new QGroupBox(tr("Linked Page"), this)),
      m_folderLabel(new QLabel(tr("Folder"), m_frameLinkedPage)), m_folderEdit(new QLineEdit(m_frameLinkedPage)),
      m_pageLabel(new QLabel(tr("Page"), m_frameLinkedPage)), m_pageEdit(new QLineEdit(m_frameLinkedPage)),
      m_selectExistingPageButton(new QPushButton(tr("Select Existing Page"), m_frameLinkedPage)),
      m_okButton(new QPushButton(tr("OK"), this)), m_cancelButton(new QPushButton(tr("Cancel"), this))
{
    const QString captions[] = {tr("Left"), tr("Centre"), tr("Right")};
    for (int i = 0; i < 3; ++i)
        m_alignButtons[size_t(i)] = new QRadioButton(captions[i], m_frameImageAlignment);
    runCommand(session(), kModule, QStringLiteral("Form_Load"), [&] { setUpWindow(); });
    connect(m_okButton, &QPushButton::clicked, this, [this] { confirm(); });
    connect(m_cancelButton, &QPushButton::clicked, this, [this] { cancel(); });
    connect(m_findImageButton, &QPushButton::clicked, this, [this] { findImage(); });
    connect(m_selectExistingPageButton, &QPushButton::clicked, this, [this] { selectExistingPage(); });
}

void InsertDialog::setUpWindow()
{
    setObjectName(kModule);
    const std::pair<QWidget*, const char*> names[] = {
        {m_frameImage, "frameImage"},
        {m_imageLabel, "imageLabel"},
        {m_imageEdit, "imageEdit"},
        {m_findImageButton, "findImageButton"},
        {m_frameAlt, "frameAlt"},
        {m_altLabel, "altLabel"},
        {m_altEdit, "altEdit"},
        {m_frameText, "frameText"},
        {m_textLabel, "textLabel"},
        {m_textEdit, "textEdit"},
        {m_frameImageWidth, "frameImageWidth"},
        {m_widthEdit, "widthEdit"},
        {m_percentLabel, "percentLabel"},
        {m_frameImageAlignment, "frameImageAlignment"},
        {m_frameLinkedPage, "frameLinkedPage"},
        {m_folderLabel, "folderLabel"},
        {m_folderEdit, "folderEdit"},
        {m_pageLabel, "pageLabel"},
        {m_pageEdit, "pageEdit"},
        {m_selectExistingPageButton, "selectExistingPageButton"},
        {m_okButton, "okButton"},
        {m_cancelButton, "cancelButton"},
    };
    for (const auto& [widget, name] : names)
        widget->setObjectName(QString::fromLatin1(name));
    for (int i = 0; i < 3; ++i)
        m_alignButtons[size_t(i)]->setObjectName(QStringLiteral("alignButton%1").arg(i));
    arrangeFrames();
    // Each box is named by its label, for screen readers and the label's access key.
    m_imageLabel->setBuddy(m_imageEdit);
    m_textLabel->setBuddy(m_textEdit);
    m_folderLabel->setBuddy(m_folderEdit);
    m_pageLabel->setBuddy(m_pageEdit);
    m_widthEdit->setAccessibleName(m_frameImageWidth->title());
    m_okButton->setDefault(true);
    // Tab follows the frames from top to bottom in every mode; hidden ones are skipped.
    QWidget* const chain[] = {
        m_imageEdit, m_findImageButton, m_alignButtons[0], m_alignButtons[1], m_alignButtons[2],
        m_widthEdit, m_altEdit,         m_folderEdit,      m_pageEdit,        m_selectExistingPageButton,
        m_textEdit,  m_okButton,        m_cancelButton};
    for (size_t i = 1; i < std::size(chain); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

// Fixed positions inside the frames, in pixels: a label column, then the boxes.
void InsertDialog::arrangeFrames()
{
    const int frameWidth = px(kFrameWidth);
    const int labelLeft = 12;
    const int boxLeft = 64;
    const int rowHeight = 26;
    const int firstRow = 26;
    const int secondRow = 60;
    const int buttonWidth = 140;

    m_frameImage->setGeometry(px(kMargin), 0, frameWidth, px(kRowFrameHeight));
    m_imageLabel->setGeometry(labelLeft, firstRow, boxLeft - labelLeft, rowHeight);
    m_imageEdit->setGeometry(boxLeft, firstRow, frameWidth - boxLeft - buttonWidth - 2 * labelLeft, rowHeight);
    m_findImageButton->setGeometry(frameWidth - buttonWidth - labelLeft, firstRow, buttonWidth, rowHeight);

    m_frameLinkedPage->setGeometry(px(kMargin), 0, frameWidth, px(kTallFrameHeight));
    m_folderLabel->setGeometry(labelLeft, firstRow, boxLeft - labelLeft, rowHeight);
    m_folderEdit->setGeometry(boxLeft, firstRow, frameWidth - boxLeft - buttonWidth - 2 * labelLeft, rowHeight);
    m_pageLabel->setGeometry(labelLeft, secondRow, boxLeft - labelLeft, rowHeight);
    m_pageEdit->setGeometry(boxLeft, secondRow, frameWidth - boxLeft - buttonWidth - 2 * labelLeft, rowHeight);
    m_selectExistingPageButton->setGeometry(frameWidth - buttonWidth - labelLeft, firstRow, buttonWidth, rowHeight);

    m_frameAlt->setGeometry(px(kMargin), 0, frameWidth, px(kRowFrameHeight));
    m_altLabel->setGeometry(labelLeft, firstRow, boxLeft - labelLeft, rowHeight);
    m_altEdit->setGeometry(boxLeft, firstRow, frameWidth - boxLeft - labelLeft, rowHeight);

    m_frameText->setGeometry(px(kMargin), 0, frameWidth, px(kRowFrameHeight));
    m_textLabel->setGeometry(labelLeft, firstRow, boxLeft - labelLeft, rowHeight);
    m_textEdit->setGeometry(boxLeft, firstRow, frameWidth - boxLeft - labelLeft, rowHeight);

    m_frameImageAlignment->setGeometry(px(kMargin), 0, px(kHalfWidth), px(kTallFrameHeight));
    for (int i = 0; i < 3; ++i)
        m_alignButtons[size_t(i)]->setGeometry(labelLeft, 22 + i * 26, px(kHalfWidth) - 2 * labelLeft, 24);

    m_frameImageWidth->setGeometry(px(2 * kMargin + kHalfWidth), 0, px(kHalfWidth), px(kTallFrameHeight));
    m_widthEdit->setGeometry(labelLeft, firstRow, 60, rowHeight);
    m_percentLabel->setGeometry(labelLeft + 66, firstRow, 30, rowHeight);

    m_okButton->setGeometry(px(kWidth / 2 - kMargin / 2 - kButtonWidth), 0, px(kButtonWidth), px(kButtonHeight));
    m_cancelButton->setGeometry(px(kWidth / 2 + kMargin / 2), 0, px(kButtonWidth), px(kButtonHeight));
}

void InsertDialog::hideControl(QWidget* control) { control->setVisible(false); }

// top in twips; returns the top of the next control below.
int InsertDialog::placeControl(QWidget* control, int top)
{
    control->setVisible(true);
    control->move(control->x(), px(top));
    return top + control->height() * kTwips + kGap;
}

QString InsertDialog::openDialog(std::int16_t mode, const QString& caption, QWidget* owner)
{
    m_insertMode = mode;
    setWindowTitle(tr("ZEL - Insert %1").arg(caption));
    int top = kGap;
    switch (mode) {
    case 1:
        hideControl(m_frameImage);
        hideControl(m_frameAlt);
        hideControl(m_frameImageAlignment);
        hideControl(m_frameImageWidth);
        top = placeControl(m_frameLinkedPage, top);
        top = placeControl(m_frameText, top);
        break;
    case 2:
        hideControl(m_frameLinkedPage);
        hideControl(m_frameText);
        top = placeControl(m_frameImage, top);
        placeControl(m_frameImageAlignment, top);
        top = placeControl(m_frameImageWidth, top);
        top = placeControl(m_frameAlt, top);
        m_alignButtons[1]->setChecked(true);
        break;
    default:
        hideControl(m_frameImageAlignment);
        hideControl(m_frameImageWidth);
        top = placeControl(m_frameImage, top);
        top = placeControl(m_frameAlt, top);
        top = placeControl(m_frameLinkedPage, top);
        top = placeControl(m_frameText, top);
        break;
    }
    placeControl(m_okButton, top);
    top = placeControl(m_cancelButton, top);
    setFixedSize(px(kWidth), px(top + kBottom));
    (mode == 1 ? m_folderEdit : m_imageEdit)->setFocus();

    if (!runModal(owner))
        return {};
    return result() == QDialog::Rejected ? QString() : m_directive;
}

QString InsertDialog::openInsertButton(QWidget* owner)
{
    return inProcedure(kModule, QStringLiteral("openInsertButton"), [&] { return openDialog(1, tr("Button"), owner); });
}

QString InsertDialog::openInsertImage(const QString& filePath, QWidget* owner)
{
    return inProcedure(kModule, QStringLiteral("openInsertImage"), [&] {
        m_pageFilePath = filePath;
        return openDialog(2, tr("Image"), owner);
    });
}

QString InsertDialog::openInsertItem(const QString& filePath, QWidget* owner)
{
    return inProcedure(kModule, QStringLiteral("openInsertItem"), [&] {
        m_pageFilePath = filePath;
        return openDialog(3, tr("Item"), owner);
    });
}

void InsertDialog::confirm()
{
    runCommand(session(), kModule, QStringLiteral("cmdOK_Click"), [&] {
        bool composed = false;
        switch (m_insertMode) {
        case 1:
            composed = takeButton();
            break;
        case 2:
            composed = takeImage();
            break;
        case 3:
            composed = takeItem();
            break;
        default:
            break;
        }
        if (composed)
            hideDialog();
    });
}

void InsertDialog::cancel() { clearAndHide(kModule, m_directive); }

// The frame's close box: no directive, and the dialog is destroyed.
void InsertDialog::closeEvent(QCloseEvent* event)
{
    m_directive.clear();
    SingleInstanceDialog::closeEvent(event);
}

namespace {
QString trimBox(QLineEdit* box)
{
    const QString text = trimBlanks(box->text());
    box->setText(text);
    return text;
}

// The box's trimmed text; none, said through blankMessage, when it is blank.
std::optional<QString> filledBox(Session& session, QLineEdit* box, const QString& blankMessage)
{
    const QString text = trimBox(box);
    if (text.isEmpty()) {
        Messages::show(session, blankMessage);
        return std::nullopt;
    }
    return text;
}

// A name with a blank goes in double quotes, as the maker reads it back.
QString quotedIfBlank(const QString& name) { return name.contains(u' ') ? u'"' + name + u'"' : name; }
} // namespace

bool InsertDialog::takeButton()
{
    return runCommand(session(), kModule, QStringLiteral("cmdOK_Button"), [&] {
        const std::optional<QString> text = filledBox(session(), m_textEdit, tr("Button Text is blank"));
        if (!text || !pageIsValid())
            return false;
        m_directive = QStringLiteral("#button ") + pageRef() + u' ' + *text;
        return true;
    });
}

bool InsertDialog::takeImage()
{
    return runCommand(session(), kModule, QStringLiteral("cmdOK_Image"), [&] {
        const QString widthText = trimBox(m_widthEdit);
        const std::int16_t width = Support::integerInRange(widthText, 1, 100, 0);
        if (QString::number(width) != widthText || width == 0) {
            Messages::show(session(), tr("Width - value %1 is not valid").arg(widthText) + kCrLf
                                          + tr("Value must be an integer between 1 and 100"));
            return false;
        }
        if (!imageIsValid())
            return false;
        QString alignment;
        for (QRadioButton* option : m_alignButtons)
            if (option->isChecked())
                alignment = option->text().toLower();
        m_directive = withAltLine(QStringLiteral("#image ") + quotedIfBlank(imageRef()) + u' ' + alignment + u' '
                                  + QString::number(width));
        copyImage();
        return true;
    });
}

bool InsertDialog::takeItem()
{
    return runCommand(session(), kModule, QStringLiteral("cmdOK_Item"), [&] {
        const std::optional<QString> text = filledBox(session(), m_textEdit, tr("Item text is blank"));
        if (!text)
            return false;
        const bool pageOK = pageIsValid();
        const bool imageOK = imageIsValid();
        if (!pageOK || !imageOK)
            return false;
        m_directive =
            withAltLine(QStringLiteral("#item ") + quotedIfBlank(imageRef()) + u' ' + pageRef() + u' ' + *text);
        copyImage();
        return true;
    });
}

// The picture's text alternative, when given, on its own line before it.
QString InsertDialog::withAltLine(const QString& directive) const
{
    const QString alt = trimBox(m_altEdit);
    return alt.isEmpty() ? directive : QStringLiteral("#alt ") + alt + u'\n' + directive;
}

bool InsertDialog::pageIsValid()
{
    return inProcedure(kModule, QStringLiteral("pageIsValid"), [&] {
        const QString folder = trimBox(m_folderEdit);
        const QString page = trimBox(m_pageEdit);
        ProblemBoxes boxes(session().messages());
        const bool folderOK = folder.isEmpty() || Support::isValidFolderName(folder, boxes);
        const bool pageOK = Support::isValidPageName(page, boxes);
        return folderOK && pageOK;
    });
}

QString InsertDialog::pageRef()
{
    return inProcedure(kModule, QStringLiteral("pageRef"), [&] {
        const QString folder = trimBox(m_folderEdit);
        return (folder.isEmpty() ? QString() : folder + u'\\') + trimBlanks(m_pageEdit->text());
    });
}

bool InsertDialog::imageIsValid()
{
    return inProcedure(kModule, QStringLiteral("imageIsValid"), [&] {
        if (Files::fileExists(m_imageEdit->text()))
            return true;
        Messages::show(session(), tr("Image is not valid"));
        return false;
    });
}

QString InsertDialog::imageRef()
{
    return inProcedure(kModule, QStringLiteral("imageRef"), [&] { return Files::fileNameOf(m_imageEdit->text()); });
}

void InsertDialog::copyImage()
{
    inProcedure(kModule, QStringLiteral("copyImage"), [&] {
        const QString imagePath = m_imageEdit->text();
        const QString pageFolder = Files::parentFolderOf(m_pageFilePath);
        const QString imageFolder = Files::parentFolderOf(imagePath);
        const QString name = Files::fileNameOf(imagePath);
        if (pageFolder == imageFolder)
            return;
        const QString destination = pageFolder + QDir::separator() + name;
        if (Files::fileExists(destination)) {
            const Answer answer =
                Messages::askYesNo(session(),
                                   tr("The image %1 already exists in the folder containing this page ").arg(name)
                                       + kCrLf + tr("Do you wish to replace it?"),
                                   Answer::No);
            if (answer != Answer::Yes)
                return;
        }
        Files::copyFile(imagePath, destination, session().fileFaults());
    });
}

void InsertDialog::findImage()
{
    runCommand(session(), kModule, QStringLiteral("cmdFindImage_Click"), [&] {
        const QString chosen = workbench().chooseImage(this);
        if (!chosen.isEmpty())
            m_imageEdit->setText(chosen);
    });
}

void InsertDialog::selectExistingPage()
{
    runCommand(session(), kModule, QStringLiteral("cmdSelectExistingPage_Click"), [&] {
        workbench().instance<SelectFileDialog>().openPage(this);
        SelectFileDialog& chooser = workbench().instance<SelectFileDialog>();
        if (!chooser.getSelectedFilePath().isEmpty()) {
            m_folderEdit->setText(chooser.getFolder());
            m_pageEdit->setText(chooser.getPage());
        }
    });
}
