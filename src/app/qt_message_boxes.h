#pragma once

#include "platform/messages.h"

// Message boxes of the desktop program: modal Qt boxes titled "ZEL_Editor"
// over the active window.
class QtMessageBoxes : public MessageBoxes {
public:
    void show(const QString& text, MessageIcon icon) override;
    int askYesNo(const QString& text) override;
    int askYesNoCancel(const QString& text) override;
};
