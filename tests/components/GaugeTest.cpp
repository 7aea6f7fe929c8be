// SPDX-License-Identifier: MIT
// The gauge: range and progress rules, and its drawn look pixel by pixel.
#include "Cgauges.h"
#include "Pixels.h"
#include "SysUtils.h"

#include <climits>

namespace {

using pixels::At;
using pixels::Count;

std::string MessageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const Exception& e) {
        return e.Message().toStdString();
    }
    return "<no exception>";
}

// The progress stays within the range and the percentage rounds down, also below zero; an
// empty range is 0 %, and neither the whole 32-bit range nor AddProgress overflows. A bound
// that would cross the other is refused with the accepted bounds in the message, printed
// without wrapping.
TEST(Gauge, PercentDoneAndRange) {
    // min, max, progress set, progress added, progress kept, percent
    const int cases[][6] = {{0, 3, 1, 0, 1, 33},
                            {5, 5, 5, 0, 5, 0},
                            {-10, 10, -5, 0, -5, 25},
                            {0, 100, 500, 0, 100, 100},
                            {0, 100, -3, 0, 0, 0},
                            {INT_MIN, INT_MAX, 0, 0, 0, 50},
                            {INT_MIN, INT_MAX, INT_MAX - 1, INT_MAX, INT_MAX, 100},
                            {INT_MIN + 5, INT_MAX, -1, INT_MIN, INT_MIN + 5, 0}};
    for (const auto& [min, max, progress, added, kept, percent] : cases) {
        TCGauge g;
        g.SetMaxValue(max);
        g.SetMinValue(min);
        g.SetProgress(progress);
        g.AddProgress(added);
        EXPECT_EQ(g.Progress(), kept) << min << ".." << max << " @ " << progress;
        EXPECT_EQ(g.GetPercentDone(), percent) << min << ".." << max << " @ " << progress;
    }
    EXPECT_EQ(TCGauge::PercentOf(-1, 3), -34);

    TCGauge g;
    g.SetProgress(50);
    EXPECT_EQ(MessageOf([&] { g.SetMinValue(200); }), "Value must be between -2147483647 and 99");
    EXPECT_EQ(g.MinValue(), 0);
    g.SetMinValue(100); // equal to the maximum is accepted and pulls the progress along
    EXPECT_EQ(g.Progress(), 100);
    TCGauge h;
    EXPECT_EQ(MessageOf([&] { h.SetMaxValue(-5); }), "Value must be between 1 and 2147483647");
    h.SetMaxValue(0); // ignored
    EXPECT_EQ(h.MaxValue(), 100);
    h.SetProgress(60);
    h.SetMaxValue(40);
    EXPECT_EQ(h.Progress(), 40);
    h.SetMaxValue(INT_MAX);
    h.SetMinValue(INT_MAX);
    EXPECT_EQ(MessageOf([&] { h.SetMaxValue(5); }),
              "Value must be between 2147483648 and 2147483647");
}
TEST(Gauge, TextIsThePercentCentredAndInvertsWhatLiesUnderIt) {
    for (int progress : {50, 33, 0}) {
        TCGauge plain, text;
        for (TCGauge* g : {&plain, &text}) {
            g->SetForeColor(clBlue);
            g->SetProgress(progress);
        }
        plain.SetShowText(false);
        const QImage a = pixels::Shot(plain), b = pixels::Shot(text);
        // The text alone, drawn by hand in black where the gauge should put it.
        TBitmap mask;
        mask.SetSize(100, 100);
        TCanvas* c = mask.Canvas();
        c->Brush().Style = bsClear;
        c->Font().Assign(text.font());
        const QString label = QString::number(progress) + "%";
        c->TextRect({1, 1, 99, 99}, (99 - c->TextWidth(label)) / 2, (99 - c->TextHeight(label)) / 2,
                    label);
        int onBar = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                const TColor under = At(a, x, y);
                const bool inverted = c->Pixel(x, y) == clBlack;
                ASSERT_EQ(At(b, x, y), inverted ? under ^ 0xFFFFFFu : under)
                    << progress << "% at " << x << "," << y;
                onBar += inverted && under == clBlue;
            }
        if (progress == 50) {
            EXPECT_GT(onBar, 0); // the text straddles the bar's end: yellow on the bar
        }
    }
}

TEST(Gauge, KindsDrawTheirShapes) {
    struct Case {
        TCGaugeKind kind;
        TFormBorderStyle border;
        int progress;
        TRect bar; // bars: in the fore colour, the rest inside the border in the back colour
        std::vector<std::tuple<int, int, TColor>> probes; // pie and needle: single pixels
    };
    const Case cases[] = {
        {gkHorizontalBar, bsSingle, 50, {1, 1, 49, 99}, {}},
        {gkHorizontalBar, bsNone, 100, {0, 0, 100, 100}, {}},
        {gkHorizontalBar, bsNone, 33, {0, 0, 33, 100}, {}},
        {gkVerticalBar, bsSingle, 50, {1, 50, 99, 99}, {}},
        {gkVerticalBar, bsSingle, 100, {1, 1, 99, 99}, {}},
        {gkVerticalBar, bsNone, 25, {0, 76, 100, 100}, {}},
        {gkText, bsSingle, 70, {1, 1, 1, 1}, {}}, // no text: only the back colour
        // Empty ellipse at 0 %: back colour inside, control colour in the corners.
        {gkPie, bsSingle, 0, {}, {{60, 20, clYellow}, {80, 50, clYellow}, {3, 3, clBtnFace}}},
        // A sliver at 1 %; a quarter grows clockwise from the top.
        {gkPie, bsSingle, 1, {}, {{50, 10, clRed}, {47, 10, clYellow}}},
        {gkPie, bsSingle, 25, {}, {{60, 20, clRed}, {80, 45, clRed}, {80, 60, clYellow}}},
        {gkPie, bsSingle, 50, {}, {{60, 80, clRed}, {40, 80, clYellow}, {30, 30, clYellow}}},
        // Full: no sliver of the back colour at the top, the radii close it.
        {gkPie, bsSingle, 100, {}, {{48, 2, clRed}, {48, 8, clRed}}},
        // The dial alone at 0 %; at 50 % the needle points straight up from the bottom centre.
        {gkNeedle, bsSingle, 0, {}, {{50, 30, clYellow}, {2, 3, clBtnFace}}},
        {gkNeedle, bsSingle, 50, {}, {{50, 80, clRed}, {49, 30, clRed}, {60, 30, clYellow}}},
        {gkNeedle, bsSingle, 25, {}, {{32, 63, clRed}, {68, 63, clYellow}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.kind << " " << k.progress << " %");
        TCGauge g;
        g.SetShowText(false);
        g.SetKind(k.kind);
        g.SetBorderStyle(k.border);
        g.SetForeColor(clRed);
        g.SetBackColor(clYellow);
        g.SetProgress(k.progress);
        const QImage s = pixels::Shot(g);
        const int inset = k.border == bsSingle ? 1 : 0, side = 100 - 2 * inset;
        if (k.probes.empty()) {
            const int area = k.bar.Width() * k.bar.Height();
            EXPECT_EQ(Count(s, clRed, k.bar), area);
            EXPECT_EQ(Count(s, clYellow, {inset, inset, 100 - inset, 100 - inset}),
                      side * side - area);
        }
        for (const auto& [x, y, color] : k.probes)
            EXPECT_EQ(At(s, x, y), ColorToRGB(color)) << x << "," << y;
        // A black ring one pixel wide, or none; the shapes keep inside it, but for the needle's
        // base line, drawn on the bottom row.
        EXPECT_EQ(Count(s, clBlack), (k.kind == gkNeedle ? 3 : 4) * 99 * inset);
        EXPECT_EQ(Count(s, clBlack, {0, 0, 100, 1}), 100 * inset);
    }
}

} // namespace
