// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "TextFormat.h"

namespace {

struct FormatCase {
    std::string expected;
    std::string actual;
};

TEST(TextFormat, MatchesPrintfForTheConversionsInUse) {
    auto f = [](const char* format, auto... args) {
        std::string out;
        FormatText(out, format, args...);
        return out;
    };
    const FormatCase cases[] = {
        {"-5   AB|07WESTWOOD", f("%02d%5s|%02d%5s", -5, "AB", 7, "WESTWOOD")},
        {"-4:00", f("%c%d:%02d", '-', 4, 0)},
        {"0.2 0.1 2.5", f("%0.1f %0.1f %.1f", 0.25, 0.05, 2.45)}, // binary values round as printf
        {"3.141593", f("%f", 3.1415926)},
        {"inf -inf", f("%0.1f %0.1f", INFINITY, -INFINITY)},
        {"ab   |   ab|ab", f("%-5s|%5s|%.2s", "ab", "ab", "abc")},
        {"100% 42", f("100%% %d", 42)},
        {"%d", f("%d")},                // a missing argument leaves the conversion as it stands
        {"%d x", f("%d %s", "x", "x")}, // and so does one of the wrong kind
        {"-000042", f("%07d", -42)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, c.actual);
}

TEST(TextFormat, RealsKeepTheDecimalPointUnderAnyLocale) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE"))
        GTEST_SKIP() << "no German locale on this machine";
    std::string out;
    FormatText(out, "Magvar %0.1f", 10.0);
    float value = 0;
    bool scanned = ScanFloat("-5.5", value);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ("Magvar 10.0", out);
    EXPECT_TRUE(scanned);
    EXPECT_EQ(-5.5f, value);
}

TEST(TextFormat, ScanIntReadsLikeScanfWithinThirtyTwoBits) {
    struct Case {
        const char* text;
        bool ok;
        std::int32_t value;
    } cases[] = {
        {"12A", true, 12},
        {"A12", false, 0},
        {" \t+7", true, 7},
        {"- 5", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"2147483647", true, 2147483647},
        {"2147483648", false, 0},
        {"-2147483648", true, INT32_MIN},
        {"-2147483649", false, 0},
        {"99999999999999999999999", false, 0},
        {"\xA0"
         "5",
         false, 0}, // a byte above 127 is no white space
    };
    for (const auto& c : cases) {
        std::int32_t value = 0;
        EXPECT_EQ(c.ok, ScanInt(c.text, value)) << c.text;
        if (c.ok) {
            EXPECT_EQ(c.value, value) << c.text;
        }
    }
}

TEST(TextFormat, ScanFloatReadsDecimalNumbersOnly) {
    struct Case {
        const char* text;
        bool ok;
        float value;
    } cases[] = {
        {"-5", true, -5.0f},
        {" 5.5 ------", true, 5.5f},
        {"+2.25", true, 2.25f},
        {"none", false, 0.0f},
        {"", false, 0.0f},
        {".5", true, 0.5f},
        {"5.", true, 5.0f},
        {".", false, 0.0f},
        {"1e2", true, 100.0f},
        {"1e", true, 1.0f},
        {"2E-1x", true, 0.2f},
        {"1e-60", true, 0.0f},
        {"+-1", false, 0.0f},
        {"8e-46", true, 1.4e-45f}, // the smallest subnormal, nearer than zero
        {"7e-46", true, 0.0f},
        {"3.5e38", true, INFINITY},
        {"0x10", true, 0.0f},
        {"-0x1p-1", true, -0.0f},
        {"inf", false, 0.0f},
        {"nan", false, 0.0f},
        {"\xA0"
         "5",
         false, 0.0f},
    };
    for (const auto& c : cases) {
        float value = -99.0f;
        EXPECT_EQ(c.ok, ScanFloat(c.text, value)) << c.text;
        if (c.ok) {
            EXPECT_EQ(c.value, value) << c.text;
        }
    }
    float value = 0;
    EXPECT_TRUE(ScanFloat("1e50", value));
    EXPECT_TRUE(std::isinf(value) && value > 0);
    EXPECT_TRUE(ScanFloat("-1e99999999999", value));
    EXPECT_TRUE(std::isinf(value) && value < 0);
}

// The engine's own digits must be the C library's in the C locale, for every value: random
// doubles through "%.Nf", and random decimal texts (long ones and ones near halfway between two
// floats among them) through "%f" scanning.
TEST(TextFormat, NumbersMatchTheCLibrary) {
    std::mt19937_64 random(2026);
    for (int i = 0; i < 20000; ++i) {
        double value;
        const std::uint64_t bits = random();
        std::memcpy(&value, &bits, sizeof value);
        if (i % 2)
            value =
                std::ldexp(static_cast<double>(bits >> 11), static_cast<int>(random() % 120) - 80);
        if (!std::isfinite(value))
            continue;
        const int precision = static_cast<int>(random() % 8);
        char expected[400];
        std::snprintf(expected, sizeof expected, "%.*f", precision, value);
        std::string actual;
        FormatText(actual, ("%." + std::to_string(precision) + "f").c_str(), value);
        ASSERT_EQ(expected, actual) << std::hexfloat << value;
    }
    for (int i = 0; i < 20000; ++i) {
        char text[300];
        float below;
        const std::uint32_t bits = static_cast<std::uint32_t>(random()) & 0x7F7FFFFFu;
        std::memcpy(&below, &bits, sizeof below);
        const double halfway = (static_cast<double>(below) + std::nextafter(below, INFINITY)) / 2;
        std::snprintf(text, sizeof text, "%.*e", static_cast<int>(random() % 120), halfway);
        float value = 0;
        ASSERT_TRUE(ScanFloat(text, value)) << text;
        const float expected = std::strtof(text, nullptr);
        ASSERT_EQ(0, std::memcmp(&expected, &value, sizeof value)) << text;
    }
}

TEST(TextFormat, OnlySixCharactersAreWhiteSpace) {
    for (int c = 0; c < 256; ++c) {
        bool expected = c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
        EXPECT_EQ(expected, IsWhiteSpace(static_cast<char>(c))) << c;
    }
}

} // namespace
