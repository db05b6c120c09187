#pragma once

#include <QString>
#include <functional>

class QWidget;

// The one-line input box. Returns the text entered, or an empty string when
// the box is cancelled. Tests replace the box by an answering function.
namespace InputBox {

QString ask(QWidget* parent, const QString& prompt, const QString& title, const QString& preset);

// Receives prompt, title and preset and returns the answer; empty restores the real box.
using Asker = std::function<QString(const QString& prompt, const QString& title, const QString& preset)>;
void setAsker(Asker asker);

} // namespace InputBox
