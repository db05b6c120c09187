// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/messages.h"

#include "base/line_end.h"
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

Answer StandardErrorMessageBoxes::askYesNo(const QString& text, Answer)
{
    write(text);
    return Answer::No;
}

Answer StandardErrorMessageBoxes::askYesNoCancel(const QString& text)
{
    write(text);
    return Answer::Cancel;
}

namespace Messages {

void show(Session& session, const QString& text) { session.messages().show(text, MessageIcon::None); }
void showExclamation(Session& session, const QString& text) { session.messages().show(text, MessageIcon::Exclamation); }
Answer askYesNo(Session& session, const QString& text, Answer defaultAnswer)
{
    return session.messages().askYesNo(text, defaultAnswer);
}
Answer askYesNoCancel(Session& session, const QString& text) { return session.messages().askYesNoCancel(text); }

} // namespace Messages
