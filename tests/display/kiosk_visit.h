#pragma once

#include "support/qt_printing.h"
#include "support/web_wait.h"

#include <QDir>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <gtest/gtest.h>
#include <map>

// A visitor at a kiosk: a copy of the sample kiosk system (Template files,
// page sources and pictures) made with the zel-make program built beside the
// tests for a screen of the given size (1280 x 1024 unless told), and a
// browser of that size showing its pages. Pages are named by
// "/" separated paths relative to the kiosk system ("news/today.htm").
// Every script error the engine reports is recorded with its page and line.
class KioskVisit {
public:
    explicit KioskVisit(QSize screen = QSize(1280, 1024));

    // What zel-make wrote to its error channel, and the main page files made.
    QString makeMessages() const { return m_messages; }
    QStringList madePages() const;
    QString path(const QString& relative) const { return QDir(m_dir.path()).filePath(relative); }
    // Writes page sources (relative path -> lines) and makes just those pages
    // (all pages when none); returns zel-make's error output.
    QString addPages(const std::map<QString, QStringList>& sources);

    // Loads the page as the first page of a visit (the history is forgotten).
    bool open(const QString& relative);
    // Touches the button ("b2") of the "nav" frame and waits until what its
    // link runs has run; false when there is no such button.
    bool touch(const QString& buttonId);
    // Touches the button and waits until the whole window shows the page.
    bool touchAndWaitFor(const QString& buttonId, const QString& relative);
    // Touches the screen at a point of the whole window, as a finger would
    // (the engine finds what lies there), and waits until the window shows the page.
    bool touchAtAndWaitFor(QPoint point, const QString& relative);
    QVariant evaluate(const QString& script) { return runScript(m_view.page(), script); }
    // The page shown in the whole window, relative to the kiosk system.
    QString shown() const;
    QStringList scriptErrors() const { return m_errors; }

    // Calls a function of visitor_checks.js in the page shown ("navigationFaults()") and returns its answer.
    QVariant check(const QString& call);
    QString navigationFaults() { return check("navigationFaults()").toString(); }
    QVariantList selectorRow() { return check("selectorRow()").toList(); }

private:
    // True once loads have finished since `before`, the whole window shows the
    // page, and it and all its frames have finished loading.
    bool waitForPage(int before, const QString& relative);

    QTemporaryDir m_dir;
    QString m_messages;
    QStringList m_errors;
    QWebEngineView m_view;
    int m_loads = 0;
};

// Every test of the suite is one visit to a freshly made sample.
class Display : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(kiosk.madePages().isEmpty()) << kiosk.makeMessages().toStdString(); }
    KioskVisit kiosk;
};
