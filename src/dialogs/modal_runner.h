#pragma once

#include <functional>

class QDialog;

// How a dialog is shown modally. The program runs QDialog::exec(); tests put
// in a runner that shows the dialog and acts as the author on it, so no
// nested event loop blocks them.
namespace ModalRunner {

// Shows the dialog modally and returns when it is hidden. The dialog may be
// destroyed by then (its close box); callers must not touch it afterwards
// except through its instance accessor.
void run(QDialog& dialog);

// An empty runner restores QDialog::exec().
void setRunner(std::function<void(QDialog&)> runner);

} // namespace ModalRunner
