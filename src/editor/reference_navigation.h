// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QPlainTextEdit;
class Session;
class QWidget;

// Going to what a directive names: Ctrl+click (or openAtCursor, the F2 key)
// on a page reference opens that page's editor (the open one brought to the
// front), on a picture shows the picture in a window of its own. A
// reference to a page source that does not exist, or a picture that cannot
// be shown, is said in a message.
class ReferenceNavigation : public QObject {
    Q_OBJECT
public:
    struct Places {
        std::function<QString()> kioskFolder; // "" when none is open
        std::function<QString()> pageFolder;  // "" for a page never saved
        // Opens the editor on a page source; false when it cannot be read.
        std::function<bool(const QString& pageSource)> openPage;
    };
    // Messages go to the session's message boxes.
    ReferenceNavigation(Session& session, QPlainTextEdit* text, Places places);

    // Goes to what the line names at the caret; false when it names nothing.
    bool openAtCursor();
    // Goes to what the line names at a place of the document.
    bool openAt(int position);
    // The last picture window opened (for tests); nullptr when none.
    QWidget* lastPicture() const { return m_lastPicture.data(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Session& m_session;
    QPlainTextEdit* m_text;
    Places m_places;
    QPointer<QWidget> m_lastPicture;
};
