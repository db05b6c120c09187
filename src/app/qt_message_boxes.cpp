#include "app/qt_message_boxes.h"

#include <QApplication>
#include <QMessageBox>

namespace {
const QString kTitle = QStringLiteral("ZEL_Editor");

// The program's texts break lines with CR LF; a Qt box wants LF.
QString boxText(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

int run(QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons buttons,
        QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, kTitle, boxText(text), buttons, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    return box.exec();
}
} // namespace

void QtMessageBoxes::show(const QString& text, MessageIcon icon)
{
    run(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon, text, QMessageBox::Ok,
        QMessageBox::Ok);
}

int QtMessageBoxes::askYesNo(const QString& text)
{
    const int button = run(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    return button == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

int QtMessageBoxes::askYesNoCancel(const QString& text)
{
    const int button = run(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                           QMessageBox::Yes);
    if (button == QMessageBox::Yes)
        return Answer::Yes;
    if (button == QMessageBox::No)
        return Answer::No;
    return Answer::Cancel;
}
