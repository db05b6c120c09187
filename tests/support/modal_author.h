// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workbench/workbench.h"

#include <QDialog>
#include <QPointer>
#include <functional>
#include <map>
#include <string>

// The author at the program's modal dialogs, handed to a Workbench through services(). Every dialog the workbench
// runs modally is shown without a nested event loop and handed to the script set for its class, if any. A dialog
// still open after its script is cancelled and counted in stayedOpen. With execs set, every dialog runs its own
// modal loop instead (QDialog::exec()), for an author at the keyboard (ModalKeys). The input box answers from
// textAnswers (recording each question in textsAsked, as "prompt|title|preset"), the image chooser with
// imageAnswer (whileAsking runs during either). Must outlive the workbench. GUI tests only.
class ModalAuthor {
public:
    Workbench::Services services()
    {
        return {[this](QDialog& dialog) { act(dialog); },
                [this](QWidget*, const QString& prompt, const QString& title, const QString& preset) {
                    if (whileAsking)
                        whileAsking();
                    textsAsked << prompt + u'|' + title + u'|' + preset;
                    return textAnswers.isEmpty() ? QString() : textAnswers.takeFirst();
                },
                [this](QWidget*) {
                    if (whileAsking)
                        whileAsking();
                    return imageAnswer;
                }};
    }

    template <class Dialog>
    void whenShown(std::function<void(Dialog&)> script)
    {
        m_scripts[Dialog::staticMetaObject.className()] = [script](QDialog& d) { script(static_cast<Dialog&>(d)); };
    }

    bool execs = false;
    int shown = 0;
    int stayedOpen = 0;
    QStringList textAnswers, textsAsked;
    QString imageAnswer;
    // Runs while the input box or the image chooser is asking (a window of its own taking the keyboard, say).
    std::function<void()> whileAsking;

private:
    void act(QDialog& dialog)
    {
        ++shown;
        if (execs)
            return void(dialog.exec());
        dialog.show();
        QPointer<QDialog> guard(&dialog);
        if (auto script = m_scripts.find(dialog.metaObject()->className()); script != m_scripts.end())
            script->second(dialog);
        if (guard && guard->isVisible()) {
            ++stayedOpen;
            guard->reject();
        }
    }

    std::map<std::string, std::function<void(QDialog&)>> m_scripts;
};
