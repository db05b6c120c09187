#include "dialogs/single_instance_dialog.h"

#include <QCloseEvent>

SingleInstanceDialog::SingleInstanceDialog(QWidget* parent) : QDialog(parent) {}

void SingleInstanceDialog::setOwner(QWidget* owner)
{
    if (owner && parentWidget() != owner)
        setParent(owner, windowFlags());
}

void SingleInstanceDialog::reject() { cancel(); }

void SingleInstanceDialog::closeEvent(QCloseEvent* event)
{
    // Accepting the event hides the dialog, which ends a modal show.
    event->accept();
    setResult(QDialog::Rejected);
    releaseInstance();
    deleteLater();
}
