#pragma once

#include <QString>

// The kiosk's own folder for what it writes while it runs (log, heartbeat,
// page views, prepared versions): $XDG_STATE_HOME/zel-kiosk, by default
// ~/.local/state/zel-kiosk. Nothing is ever written into the kiosk system.
namespace StateFolder {

// The folder, without a final separator; created when missing.
QString path();
// A file of the folder.
QString file(const QString& name);

} // namespace StateFolder
