#include "platform/int16.h"
#include "platform/runtime_error.h"

#include <gtest/gtest.h>

namespace {

struct TextCase {
    const char* name;
    const char* text;
    int expected; // the value, or the error number when error is set
    bool error = false;
};

class Int16FromText : public ::testing::TestWithParam<TextCase> {};

TEST_P(Int16FromText, ConvertsOrRaises)
{
    const TextCase& c = GetParam();
    if (c.error) {
        try {
            Int16::fromText(QString::fromUtf8(c.text));
            FAIL() << "no error for " << c.text;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), c.expected);
        }
    } else {
        EXPECT_EQ(Int16::fromText(QString::fromUtf8(c.text)), c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Int16FromText, ::testing::Values(
    TextCase{"plain", "1024", 1024},
    TextCase{"blanks around", "  77  ", 77},
    TextCase{"plus sign", "+5", 5},
    TextCase{"negative", "-32768", -32768},
    TextCase{"largest", "32767", 32767},
    TextCase{"half down to even", "1024.5", 1024},
    TextCase{"half up to even", "1025.5", 1026},
    TextCase{"negative half to even", "-2.5", -2},
    TextCase{"fraction rounds", "2.6", 3},
    TextCase{"exponent", "1.5e2", 150},
    TextCase{"leading dot", ".5", 0},
    TextCase{"one past largest", "32768", 6, true},
    TextCase{"one below smallest", "-32769", 6, true},
    TextCase{"huge", "1e300", 6, true},
    TextCase{"equals sign first", "= 1024", 13, true},
    TextCase{"word", "abc", 13, true},
    TextCase{"empty", "", 13, true},
    TextCase{"digit grouping", "1,024", 13, true},
    TextCase{"two numbers", "12 34", 13, true}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (!isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return n;
    });

TEST(Int16Arithmetic, RaisesOverflowOutsideSixteenBits)
{
    EXPECT_EQ(Int16::multiply(2, 16383), 32766);
    EXPECT_EQ(Int16::subtract(-32767, 1), -32768);
    for (auto op : {+[] { Int16::multiply(26, 1280); }, +[] { Int16::add(32767, 1); },
                    +[] { Int16::subtract(-32768, 1); }}) {
        try {
            op();
            FAIL() << "no overflow";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), 6);
            EXPECT_EQ(e.description(), QStringLiteral("Overflow"));
        }
    }
}

} // namespace
