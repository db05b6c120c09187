#pragma once

#include "dialogs/modal_runner.h"

#include <QDialog>
#include <QPointer>
#include <functional>
#include <map>
#include <string>

// The author at the program's modal dialogs. While alive, every dialog the program runs modally is shown
// without a nested event loop and handed to the script set for its class, if any. A dialog still open after
// its script is cancelled and counted in stayedOpen, unless keepOpen is set: then it stays shown (and is not
// counted). Header-only: GUI tests only.
class ModalAuthor {
public:
    ModalAuthor() { ModalRunner::setRunner([this](QDialog& dialog) { act(dialog); }); }
    ~ModalAuthor() { ModalRunner::setRunner({}); }
    ModalAuthor(const ModalAuthor&) = delete;
    ModalAuthor& operator=(const ModalAuthor&) = delete;

    template <class Dialog>
    void whenShown(std::function<void(Dialog&)> script)
    {
        m_scripts[Dialog::staticMetaObject.className()] = [script](QDialog& d) { script(static_cast<Dialog&>(d)); };
    }
    // Forgets every script.
    void clear() { m_scripts.clear(); }

    bool keepOpen = false;
    int shown = 0;
    int stayedOpen = 0;

private:
    void act(QDialog& dialog)
    {
        ++shown;
        dialog.show();
        QPointer<QDialog> guard(&dialog);
        if (auto script = m_scripts.find(dialog.metaObject()->className()); script != m_scripts.end())
            script->second(dialog);
        if (!keepOpen && guard && guard->isVisible()) {
            ++stayedOpen;
            guard->reject();
        }
    }

    std::map<std::string, std::function<void(QDialog&)>> m_scripts;
};
