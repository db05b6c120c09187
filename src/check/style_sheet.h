// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>

// The few rules of a kiosk system's stylesheet.css that the text-fit estimate
// needs: plain "selector, selector { property: value; }" rules, comments
// skipped, later rules overriding earlier ones. Anything else (at-rules,
// nested blocks) is passed over.
class StyleSheet {
public:
    // An unreadable or missing file gives an empty sheet. Only a regular file
    // of at most 64 MB is read (never waiting on a FIFO, never reading a
    // device); problem (when given) tells why another was not: "" when the
    // file was read or nothing is at path, else the reason ("is not a regular
    // file", "is larger than 64 MB", the system's reason for a dangling link).
    static StyleSheet read(const QString& path, QString* problem = nullptr);
    static StyleSheet parse(const QString& text);

    // The value of property for exactly this selector ("a.nav"), "" when unset.
    QString value(const QString& selector, const QString& property) const;
    // The kiosk's script scales the root font size ("html { font-size }") by
    // the screen, never below smallestRootFontSize; "rem" lengths follow it.
    void setScreenScale(double scale, double smallestRootFontSize);
    // The visitor's larger text: the root font size times the factor, rounded
    // as the kiosk's script rounds it.
    void enlargeText(double factor);
    double rootFontSize() const { return m_rootFontSize; }
    // A length in pixels ("30px", "1.2rem", "0"); fallback when unset or in other units.
    double pixels(const QString& selector, const QString& property, double fallback) const;
    // Line height in pixels for a font size: "1.4", "140%" or "36px"; 1.2 times
    // the size when unset ("normal").
    double lineHeight(const QString& selector, double fontSize) const;
    // One side of a "padding" or "margin" shorthand (top, right, bottom, left).
    double side(const QString& selector, const QString& property, int side) const;

private:
    bool toPixels(const QString& text, double& result) const;

    double m_rootFontSize = 16;
    QHash<QString, QHash<QString, QString>> m_rules;
};
