#include "platform/messages.h"

#include "base/line_end.h"
#include "platform/program_session.h"
#include "platform/session.h"

#include <cstdio>

void StandardErrorMessageBoxes::write(const QString& text)
{
    QString out = text;
    out.replace(kCrLf, QStringLiteral("\n"));
    out.append(QStringLiteral("\n\n"));
    const QByteArray bytes = out.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
    ++m_shown;
}

void StandardErrorMessageBoxes::show(const QString& text, MessageIcon) { write(text); }

int StandardErrorMessageBoxes::askYesNo(const QString& text, int)
{
    write(text);
    return Answer::No;
}

int StandardErrorMessageBoxes::askYesNoCancel(const QString& text)
{
    write(text);
    return Answer::Cancel;
}

namespace Messages {

MessageBoxes& current() { return programSession().messages(); }

void show(const QString& text) { current().show(text, MessageIcon::None); }
void showExclamation(const QString& text) { current().show(text, MessageIcon::Exclamation); }
int askYesNo(const QString& text, int defaultAnswer) { return current().askYesNo(text, defaultAnswer); }
int askYesNoCancel(const QString& text) { return current().askYesNoCancel(text); }

} // namespace Messages
