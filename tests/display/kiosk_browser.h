#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariant>
#include <memory>

class QWebEngineView;
class ConsoleRecordingPage;

// A browser window of kiosk size (1280 x 1024 by default) that shows made
// pages as the kiosk does and lets a test act as the visitor: touch a
// navigation button, read the frames' state, take a picture of the screen.
// Every script error the engine reports is recorded with its page and line.
//
// All waits are on the engine's own signals or on script answers, with a
// generous timeout; they return false (and the test fails) when it runs out.
class KioskBrowser {
public:
    explicit KioskBrowser(int width = 1280, int height = 1024);
    ~KioskBrowser();

    // Loads a file (native path) as the top page and waits for it to finish;
    // it becomes the first page of a visit (the history is forgotten).
    bool load(const QString& filePath);
    // Touches the navigation button with this id ("b2") in the "nav" frame and
    // waits until what its link runs has run; false when there is no such button.
    bool touch(const QString& buttonId);
    // Touches the button and waits until the top page has loaded the file (native path).
    bool touchAndWaitFor(const QString& buttonId, const QString& filePath);
    // Runs a script in the top page and waits for its answer.
    QVariant evaluate(const QString& script);
    // Runs a script and waits until the top page has loaded the file (native path).
    bool evaluateAndWaitFor(const QString& script, const QString& filePath);

    // The file shown as the top page (native path), "" for a non-file URL.
    QString currentFile() const;
    QStringList scriptErrors() const;
    void clearScriptErrors();
    QImage grab();

private:
    int finishedLoads() const;
    bool waitForLoadAfter(int loadsBefore);
    bool waitForFileAfter(int loadsBefore, const QString& filePath);

    std::unique_ptr<QWebEngineView> m_view;
    ConsoleRecordingPage* m_page = nullptr;
    std::shared_ptr<int> m_finished;
    std::shared_ptr<bool> m_lastLoadOk;
};

// Canonical native path of a file, for comparing what the browser shows.
QString canonicalFile(const QString& path);
