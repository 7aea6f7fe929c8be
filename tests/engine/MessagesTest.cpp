// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Messages.h"

namespace {

std::vector<std::string> Emitted(const char* text) {
    std::vector<std::string> lines;
    LineSink previous = SetLineSink([&lines](std::string_view line) { lines.emplace_back(line); });
    EmitMessages(text);
    SetLineSink(std::move(previous));
    return lines;
}

TEST(EmitMessages, CutsTextIntoLines) {
    using Lines = std::vector<std::string>;
    const std::string longLine(300, 'x');
    struct Case {
        const char* text;
        Lines expected;
    } cases[] = {
        {nullptr, {}},
        {"", {""}},
        {"\n", {""}},
        {"one\n\ntwo\n", {"one", "", "two"}},
        {"no newline", {"no newline"}},
        {"\nlead", {"", "lead"}},
        {"a\nb", {"a", "b"}},
        {"x\n\n", {"x", ""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, Emitted(c.text)) << (c.text ? c.text : "(null)");

    std::string text = longLine + "\nshort\n";
    EXPECT_EQ((Lines{std::string(255, 'x'), "short"}), Emitted(text.c_str()));
}

TEST(EmitMessages, MessageBufferHoldsMessagesOfAnyLength) {
    // Long paths must never be cut by the buffer: only the line rule of the sink cuts.
    const std::string path(5000, 'p');
    std::vector<std::string> lines;
    LineSink previous = SetLineSink([&lines](std::string_view line) { lines.emplace_back(line); });
    EmitFormatted("Warning %s %d: Ambiguous name %s\n    long name 1: %s\n    long name 2: %s\n",
                  path.c_str(), 7, "07   AB", "AB", "AB2");
    SetLineSink(std::move(previous));
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ(255u, lines[0].size());
    EXPECT_EQ("    long name 1: AB", lines[1]);
    EXPECT_EQ("    long name 2: AB2", lines[2]);
    EXPECT_EQ(0u, MessageBuffer.find("Warning " + path + " 7: Ambiguous name 07   AB\n"));
}

} // namespace
