#include "dialogs/modal_runner.h"

#include <QDialog>

namespace {
std::function<void(QDialog&)>& installedRunner()
{
    static std::function<void(QDialog&)> runner;
    return runner;
}
} // namespace

namespace ModalRunner {

void run(QDialog& dialog)
{
    if (installedRunner())
        installedRunner()(dialog);
    else
        dialog.exec();
}

void setRunner(std::function<void(QDialog&)> runner) { installedRunner() = std::move(runner); }

} // namespace ModalRunner
