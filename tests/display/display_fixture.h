#pragma once

#include "kiosk_browser.h"
#include "made_sample.h"

#include <gtest/gtest.h>
#include <memory>
#include <ostream>

// Readable failure messages for texts and script error lists.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& texts, std::ostream* out)
{
    *out << "[" << texts.join(QStringLiteral(" | ")).toStdString() << "]";
}

// One made sample and one kiosk-sized browser for all tests of a suite;
// every test starts with no recorded script errors.
template <class Base = ::testing::Test>
class DisplayFixture : public Base {
protected:
    static void SetUpTestSuite()
    {
        s_sample = std::make_unique<MadeSample>();
        s_browser = std::make_unique<KioskBrowser>();
    }
    static void TearDownTestSuite()
    {
        s_browser.reset();
        s_sample.reset();
    }
    void SetUp() override
    {
        ASSERT_TRUE(s_sample->isValid()) << s_sample->makeMessages().toStdString();
        s_browser->clearScriptErrors();
    }

    static MadeSample& sample() { return *s_sample; }
    static KioskBrowser& browser() { return *s_browser; }
    // Loads a made page of the sample ("news/today.htm") as the visitor's first page.
    static bool open(const QString& relative) { return s_browser->load(s_sample->path(relative)); }

    static inline std::unique_ptr<MadeSample> s_sample;
    static inline std::unique_ptr<KioskBrowser> s_browser;
};
