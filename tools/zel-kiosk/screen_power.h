// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

// Switches the screens off outside the opening hours where the display
// allows it: on an X display (the kiosk on the xcb platform, DISPLAY set,
// xset on the search path) through "xset dpms force off" and "... on"; under
// a Wayland compositor with the output power protocol (wlroots' ones such as
// cage) through "wlopm --off *" and "--on *" where wlopm is on the search
// path. The black cover and the ignored input do not depend on it. While the
// screens are off they are switched off again every minute, since a touch
// wakes an X display.
class ScreenPower : public QObject {
    Q_OBJECT

public:
    struct Command {
        QString program;
        QStringList arguments;
        bool operator==(const Command&) const = default;
    };

    // The command that switches the screens on or off; none where the
    // display offers no way (another platform, no DISPLAY, no xset; on
    // Wayland no wlopm).
    static std::optional<Command> command(bool on, const QString& platform, const QString& display, const QString& xset,
                                          const QString& wlopm = {});

    explicit ScreenPower(QObject* parent = nullptr);
    // Screens left off are switched on again as the kiosk ends.
    ~ScreenPower() override;

    // Switches the screens for the opening hours; logs what it does.
    void setOn(bool on);
    // While off: switches them off again when a minute has passed.
    void keepOff();

private:
    void run(const Command& command);

    std::optional<Command> m_off;
    std::optional<Command> m_on;
    bool m_isOff = false;
    qint64 m_lastOff = 0;
};
