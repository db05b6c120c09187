#include "dialogs/input_box.h"

#include <QInputDialog>

namespace {
InputBox::Asker& installedAsker()
{
    static InputBox::Asker asker;
    return asker;
}
} // namespace

namespace InputBox {

QString ask(QWidget* parent, const QString& prompt, const QString& title, const QString& preset)
{
    if (installedAsker())
        return installedAsker()(prompt, title, preset);
    bool accepted = false;
    const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, preset, &accepted);
    return accepted ? text : QString();
}

void setAsker(Asker asker) { installedAsker() = std::move(asker); }

} // namespace InputBox
