#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A copy of the sample kiosk system (Template files and the sample's page
// sources and pictures) in a temporary folder, made with the zel-make program
// built beside the tests. Each test suite makes its own copy.
class MadeSample {
public:
    MadeSample();

    bool isValid() const { return m_made; }
    // What zel-make wrote to its error channel (every message it reported).
    QString makeMessages() const { return m_messages; }
    // A file of the kiosk system; relative is "/" separated ("news/today.htm").
    QString path(const QString& relative) const;
    // Relative paths of every made main page ("news/today.htm", ...), sorted.
    QStringList madePages() const;

    // Writes a page source (lines joined with CR LF) and makes just that page;
    // returns zel-make's error output.
    QString addPage(const QString& relative, const QStringList& lines);

private:
    QString runMaker(const QStringList& pageSources);

    QTemporaryDir m_dir;
    bool m_made = false;
    QString m_messages;
};
