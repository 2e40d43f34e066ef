#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "common/Conversions.h"
#include "platform/error.h"
#include "test_support.h"

namespace {

using namespace std::string_literals;

using testing_support::ErrorNumberOf;

TEST(Val, ReadsTheNumberAtTheStartAndIgnoresTheRest) {
    EXPECT_EQ(Conversions::Val(" 12abc"), 12);
    EXPECT_EQ(Conversions::Val("\t-3.5 x"), -3.5);
    EXPECT_EQ(Conversions::Val("+7"), 7);
    EXPECT_EQ(Conversions::Val(".5"), 0.5);
    EXPECT_EQ(Conversions::Val("5."), 5);
    EXPECT_EQ(Conversions::Val("1.2.3"), 1.2);
    EXPECT_EQ(Conversions::Val("42\x00" "7"s), 42);
}

TEST(Val, SkipsBlanksTabsAndLineFeedsInsideTheNumber) {
    EXPECT_EQ(Conversions::Val(" 1615 198th Street N.E."), 1615198);
    EXPECT_EQ(Conversions::Val("- 5"), -5);
    EXPECT_EQ(Conversions::Val("1\t2\n3"), 123);
    EXPECT_EQ(Conversions::Val("&O 10"), 8);
}

TEST(Val, TextWithoutANumberGivesZero) {
    for (const char* text : {"", "   ", "abc", ".", "-", "+.", "--5", "$5", "e5", "&", "&X1", "&H", "&Hxyz"}) {
        EXPECT_EQ(Conversions::Val(text), 0) << '"' << text << '"';
    }
}

TEST(Val, ReadsExponents) {
    EXPECT_EQ(Conversions::Val("1e3"), 1000);
    EXPECT_EQ(Conversions::Val("2D2"), 200);
    EXPECT_DOUBLE_EQ(Conversions::Val("1.5E-1"), 0.15);
    EXPECT_EQ(Conversions::Val("1e"), 1);
    EXPECT_EQ(Conversions::Val("1e+x"), 1);
    EXPECT_EQ(Conversions::Val("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(Conversions::Val("-1e400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(Conversions::Val("1e-400"), 0);
}

TEST(Val, ReadsHexadecimalAndOctalAsSixteenOrThirtyTwoBitValues) {
    EXPECT_EQ(Conversions::Val("&HFF"), 255);
    EXPECT_EQ(Conversions::Val("&hff zz"), 255);
    EXPECT_EQ(Conversions::Val("&O17"), 15);
    EXPECT_EQ(Conversions::Val("&HFFFF"), -1);
    EXPECT_EQ(Conversions::Val("&H80F0"), -32528);
    EXPECT_EQ(Conversions::Val("&H80F0&"), 33008);
    EXPECT_EQ(Conversions::Val("&H10000"), 65536);
    EXPECT_EQ(Conversions::Val("&H80000012"), -2147483630);
    EXPECT_EQ(Conversions::Val("&H100000000"), 4294967296.0);
}

TEST(CInt, RoundsHalvesToEven) {
    EXPECT_EQ(Conversions::CInt(0.5), 0);
    EXPECT_EQ(Conversions::CInt(1.5), 2);
    EXPECT_EQ(Conversions::CInt(2.5), 2);
    EXPECT_EQ(Conversions::CInt(3.5), 4);
    EXPECT_EQ(Conversions::CInt(-2.5), -2);
    EXPECT_EQ(Conversions::CInt(-3.5), -4);
    EXPECT_EQ(Conversions::CInt(2.4999), 2);
    EXPECT_EQ(Conversions::CInt(2.5001), 3);
    EXPECT_EQ(Conversions::CInt(-0.4), 0);
}

TEST(CInt, RaisesOverflowOutsideSixteenBits) {
    EXPECT_EQ(Conversions::CInt(32767.4), 32767);
    EXPECT_EQ(Conversions::CInt(-32768.5), -32768);
    for (double value : {32767.5, 32768.0, -32768.6, 1e10, std::numeric_limits<double>::infinity(),
                         std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_EQ(ErrorNumberOf([&] { Conversions::CInt(value); }), platform::errors::Overflow) << value;
    }
}

TEST(CLng, ReadsDecimalAndHexadecimalWholeNumbers) {
    EXPECT_EQ(Conversions::CLng("42"), 42);
    EXPECT_EQ(Conversions::CLng(" -17\t"), -17);
    EXPECT_EQ(Conversions::CLng("+8"), 8);
    EXPECT_EQ(Conversions::CLng("2.5"), 2);
    EXPECT_EQ(Conversions::CLng("3.5"), 4);
    EXPECT_EQ(Conversions::CLng("-2.5"), -2);
    EXPECT_EQ(Conversions::CLng("1e3"), 1000);
    EXPECT_EQ(Conversions::CLng("2147483647"), 2147483647);
    EXPECT_EQ(Conversions::CLng("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(Conversions::CLng("&HFF"), 255);
    EXPECT_EQ(Conversions::CLng("&HFFFF"), 65535);
    EXPECT_EQ(Conversions::CLng("&h00ff00"), 0xFF00);
    EXPECT_EQ(Conversions::CLng("&H80000012"), -2147483630);
    EXPECT_EQ(Conversions::CLng("&HFFFFFFFF"), -1);
    EXPECT_EQ(Conversions::CLng("&H0000000000FF"), 255);
    EXPECT_EQ(Conversions::CLng("&O777"), 511);
}

TEST(CLng, RaisesTypeMismatchForTextThatIsNoNumber) {
    for (const std::string& text : {""s, " "s, "abc"s, "12abc"s, "1 2"s, "."s, "-"s, "1e"s, "&H"s, "&HG1"s, "&O8"s,
                                   "&H80000012&"s, "inf"s, "nan"s, "0x10"s, "5\x00"s}) {
        EXPECT_EQ(ErrorNumberOf([&] { Conversions::CLng(text); }), platform::errors::TypeMismatch) << '"' << text << '"';
    }
}

TEST(CLng, RaisesOverflowBeyondThirtyTwoBits) {
    for (const char* text : {"2147483648", "-2147483649", "2147483647.5", "1e20", "&H100000000", "&HFFFFFFFFFFFFFFFFFFFF"}) {
        EXPECT_EQ(ErrorNumberOf([&] { Conversions::CLng(text); }), platform::errors::Overflow) << text;
    }
}

TEST(Str, PutsABlankInPlaceOfAPlusSign) {
    EXPECT_EQ(Conversions::Str(0), " 0");
    EXPECT_EQ(Conversions::Str(1), " 1");
    EXPECT_EQ(Conversions::Str(-1), "-1");
}

TEST(SettingFromText, ReadsLenientlyAndClampsToSixteenBits) {
    EXPECT_EQ(Conversions::SettingFromText(" 1"), 1);
    EXPECT_EQ(Conversions::SettingFromText("3 ; ask"), 3);
    EXPECT_EQ(Conversions::SettingFromText(""), 0);
    EXPECT_EQ(Conversions::SettingFromText("yes"), 0);
    EXPECT_EQ(Conversions::SettingFromText("2.5"), 2);
    EXPECT_EQ(Conversions::SettingFromText("99999"), 32767);
    EXPECT_EQ(Conversions::SettingFromText("-99999"), -32768);
    EXPECT_EQ(Conversions::SettingFromText("1e400"), 32767);
    EXPECT_EQ(Conversions::SettingFromText("&HFFFF"), -1);
}

}  // namespace
