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
    event->accept();
    releaseInstance();
    if (isVisible())
        done(QDialog::Rejected);
    deleteLater();
}
