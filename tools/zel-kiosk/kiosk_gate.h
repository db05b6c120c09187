#pragma once

#include <QString>
#include <QStringList>

// What keeps a kiosk system off the kiosk: a missing root page, and buttons
// or items that lead to pages that do not exist (the kiosk check's dead
// ends). Other findings of the check (pictures, pages out of date, texts that
// may not fit) are the author's to mend and do not stop the kiosk.
class Session;

namespace KioskGate {

struct Verdict {
    // One line per reason, empty when the kiosk system may be shown.
    QStringList reasons;
    // The configured number of screens.
    int screens = 1;
};

// Reads the kiosk system as the check does and writes nothing into it. A
// configuration file that cannot be read is a fatal report that ends the
// program.
Verdict judge(Session& session, const QString& kioskFolder);

// The root page of a kiosk system folder.
QString rootPage(const QString& kioskFolder);

} // namespace KioskGate
