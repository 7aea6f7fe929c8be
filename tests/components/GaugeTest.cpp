// The gauge: range and progress rules, repaint rule, and its drawn look pixel by pixel.
#include "Cgauges.h"
#include "SysUtils.h"

#include <QMetaProperty>
#include <QTest>
#include <climits>
#include <gtest/gtest.h>

namespace {

// A gauge that counts its paints.
class CountingGauge : public TCGauge {
public:
    int paints = 0;
    void Paint() override {
        ++paints;
        TCGauge::Paint();
    }
};

// A rendered picture with colour lookup.
struct Shot {
    QImage image;
    explicit Shot(QWidget& w) : image(w.grab().toImage().convertToFormat(QImage::Format_RGB32)) {}
    TColor At(int x, int y) const { return PixelToColor(image.pixel(x, y)); }
    int Count(TColor color, const TRect& r) const {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                n += At(x, y) == color;
        return n;
    }
};

std::string MessageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const Exception& e) {
        return e.Message().toStdString();
    }
    return "<no exception>";
}

TEST(Gauge, NewGaugeLooksAndReadsAsDeclared) {
    TCGauge g;
    EXPECT_EQ(g.Width(), 100);
    EXPECT_EQ(g.Height(), 100);
    EXPECT_EQ(g.Kind(), gkHorizontalBar);
    EXPECT_EQ(g.MinValue(), 0);
    EXPECT_EQ(g.MaxValue(), 100);
    EXPECT_EQ(g.Progress(), 0);
    EXPECT_TRUE(g.ShowText());
    EXPECT_EQ(g.BorderStyle(), bsSingle);
    EXPECT_EQ(g.ForeColor(), clBlack);
    EXPECT_EQ(g.BackColor(), clWhite);
    // Nothing of a new gauge differs from its declared defaults, so nothing would be saved.
    const QMetaObject* meta = g.metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const char* name = meta->property(i).name();
        EXPECT_TRUE(DeclaredDefault(&g, name).isValid()) << name;
        EXPECT_FALSE(IsPropertyStored(&g, name)) << name;
    }
    g.SetMaxValue(50);
    EXPECT_TRUE(IsPropertyStored(&g, "MaxValue"));

    // Single black ring, white inside, the text "0%" in black in the middle.
    const Shot s(g);
    EXPECT_EQ(s.Count(clBlack, {0, 0, 100, 1}), 100);
    EXPECT_EQ(s.Count(clBlack, {0, 99, 100, 100}), 100);
    EXPECT_EQ(s.Count(clBlack, {0, 0, 1, 100}), 100);
    EXPECT_EQ(s.Count(clBlack, {99, 0, 100, 100}), 100);
    const int inside = 98 * 98;
    const int white = s.Count(clWhite, {1, 1, 99, 99});
    EXPECT_LT(white, inside);
    EXPECT_EQ(white + s.Count(clBlack, {1, 1, 99, 99}), inside);
    EXPECT_EQ(s.Count(clBlack, {1, 1, 99, 30}), 0);
    EXPECT_EQ(s.Count(clBlack, {1, 70, 99, 99}), 0);
}

TEST(Gauge, PercentDone) {
    struct Case {
        int min, max, progress, percent;
    };
    const Case cases[] = {
        {0, 100, 50, 50},
        {0, 3, 1, 33},
        {0, 100, 0, 0},
        {5, 5, 5, 0},              // empty range
        {-10, 10, -5, 25},         // negative minimum
        {INT_MIN, INT_MAX, 0, 50}, // the whole 32-bit range, no overflow
        {INT_MIN, INT_MAX, INT_MAX, 100},
        {0, 1000, 9, 0},
    };
    for (const Case& k : cases) {
        TCGauge g;
        g.SetMaxValue(k.max);
        g.SetMinValue(k.min);
        g.SetProgress(k.progress);
        EXPECT_EQ(g.GetPercentDone(), k.percent) << k.min << ".." << k.max << " @ " << k.progress;
    }
    EXPECT_EQ(TCGauge::PercentOf(-1, 3), -34); // rounds down, also below zero
    EXPECT_EQ(TCGauge::ScaleByPercent(50, 99), 49);
    EXPECT_EQ(TCGauge::ScaleByPercent(100, 99), 99);
}

TEST(Gauge, ProgressIsClampedAndRepaintsOnlyOnNewPercent) {
    CountingGauge g;
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    g.SetProgress(500);
    EXPECT_EQ(g.Progress(), 100);
    g.SetProgress(-3);
    EXPECT_EQ(g.Progress(), 0);

    g.SetMaxValue(1000);
    const int before = g.paints;
    for (int p = 1; p <= 9; ++p)
        g.SetProgress(p);
    EXPECT_EQ(g.paints, before);
    g.SetProgress(10);
    EXPECT_EQ(g.paints, before + 1);
    g.SetProgress(10);
    EXPECT_EQ(g.paints, before + 1);

    // AddProgress repaints even when nothing changes, and never overflows.
    g.AddProgress(0);
    EXPECT_EQ(g.paints, before + 2);
    g.SetMaxValue(INT_MAX);
    g.SetProgress(INT_MAX - 1);
    g.AddProgress(INT_MAX);
    EXPECT_EQ(g.Progress(), INT_MAX);
    g.SetMinValue(INT_MIN + 5);
    g.AddProgress(INT_MIN);
    EXPECT_EQ(g.Progress(), -1);
    g.AddProgress(INT_MIN);
    EXPECT_EQ(g.Progress(), INT_MIN + 5);
}

TEST(Gauge, SettersRepaintOnlyOnChange) {
    CountingGauge g;
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    const std::function<void()> same[] = {
        [&] { g.SetKind(gkHorizontalBar); }, [&] { g.SetShowText(true); },
        [&] { g.SetBorderStyle(bsSingle); }, [&] { g.SetForeColor(clBlack); },
        [&] { g.SetBackColor(clWhite); },    [&] { g.SetMinValue(0); },
    };
    const std::function<void()> changed[] = {
        [&] { g.SetKind(gkPie); },         [&] { g.SetShowText(false); },
        [&] { g.SetBorderStyle(bsNone); }, [&] { g.SetForeColor(clRed); },
        [&] { g.SetBackColor(clBlue); },   [&] { g.SetMinValue(-5); },
        [&] { g.SetMaxValue(100); }, // the same maximum still goes through
    };
    int n = g.paints;
    for (const auto& f : same) {
        f();
        EXPECT_EQ(g.paints, n);
    }
    for (const auto& f : changed) {
        f();
        EXPECT_EQ(g.paints, ++n);
    }
}

TEST(Gauge, RangeSettersRejectWithBoundsInTheMessage) {
    TCGauge g;
    g.SetProgress(50);
    EXPECT_EQ(MessageOf([&] { g.SetMinValue(200); }), "Value must be between -2147483647 and 99");
    EXPECT_EQ(g.MinValue(), 0);
    EXPECT_EQ(g.Progress(), 50);
    g.SetMinValue(100); // equal to the maximum is accepted
    EXPECT_EQ(g.MinValue(), 100);
    EXPECT_EQ(g.Progress(), 100);

    TCGauge h;
    EXPECT_EQ(MessageOf([&] { h.SetMaxValue(-5); }), "Value must be between 1 and 2147483647");
    EXPECT_EQ(h.MaxValue(), 100);
    h.SetMaxValue(0); // ignored
    EXPECT_EQ(h.MaxValue(), 100);
    h.SetProgress(60);
    h.SetMaxValue(40);
    EXPECT_EQ(h.MaxValue(), 40);
    EXPECT_EQ(h.Progress(), 40);

    // Bounds at the ends of the 32-bit range are printed without wrapping.
    TCGauge e;
    e.SetMaxValue(INT_MAX);
    e.SetMinValue(INT_MAX);
    EXPECT_EQ(MessageOf([&] { e.SetMaxValue(5); }),
              "Value must be between 2147483648 and 2147483647");
    TCGauge f;
    f.SetMinValue(INT_MIN);
    f.SetMaxValue(INT_MIN);
    EXPECT_EQ(MessageOf([&] { f.SetMinValue(3); }),
              "Value must be between -2147483647 and -2147483649");
}

TEST(Gauge, BarExtents) {
    struct Case {
        TCGaugeKind kind;
        TFormBorderStyle border;
        int progress;
        TRect bar; // expected bar inside the picture
    };
    const Case cases[] = {
        {gkHorizontalBar, bsSingle, 50, {1, 1, 49, 99}},
        {gkHorizontalBar, bsSingle, 100, {1, 1, 99, 99}},
        {gkHorizontalBar, bsNone, 100, {0, 0, 100, 100}},
        {gkHorizontalBar, bsNone, 33, {0, 0, 33, 100}},
        {gkVerticalBar, bsSingle, 50, {1, 50, 99, 99}},
        {gkVerticalBar, bsSingle, 100, {1, 1, 99, 99}},
        {gkVerticalBar, bsNone, 25, {0, 76, 100, 100}},
    };
    for (const Case& k : cases) {
        TCGauge g;
        g.SetShowText(false);
        g.SetKind(k.kind);
        g.SetBorderStyle(k.border);
        g.SetForeColor(clRed);
        g.SetProgress(k.progress);
        const Shot s(g);
        const int inset = k.border == bsSingle ? 1 : 0;
        const TRect inner{inset, inset, 100 - inset, 100 - inset};
        EXPECT_EQ(s.Count(clRed, inner), k.bar.Width() * k.bar.Height())
            << k.kind << " " << k.progress;
        EXPECT_EQ(s.Count(clRed, k.bar), k.bar.Width() * k.bar.Height())
            << k.kind << " " << k.progress;
    }
}

TEST(Gauge, TextInvertsWhatLiesUnderIt) {
    TCGauge plain, text;
    for (TCGauge* g : {&plain, &text}) {
        g->SetForeColor(clBlue);
        g->SetProgress(50);
    }
    plain.SetShowText(false);
    const Shot a(plain), b(text);
    int changed = 0, onBar = 0, onBack = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            const TColor p = a.At(x, y), q = b.At(x, y);
            if (p == q)
                continue;
            ++changed;
            EXPECT_EQ(q, p ^ 0xFFFFFFu) << x << "," << y;
            EXPECT_TRUE(x > 0 && y > 0 && x < 99 && y < 99); // never on the border
            onBar += p == clBlue;
            onBack += p == clWhite;
        }
    EXPECT_GT(changed, 0);
    EXPECT_GT(onBar, 0);  // the text straddles the bar's end: yellow on the bar ...
    EXPECT_GT(onBack, 0); // ... and black on the white rest
}

TEST(Gauge, TextIsThePercentCentredInThePaintRectangle) {
    for (int progress : {50, 33, 0}) {
        TCGauge g;
        g.SetKind(gkText);
        g.SetProgress(progress);
        const Shot s(g);
        // The same text drawn by hand where the gauge should put it.
        TBitmap expected;
        expected.SetSize(100, 100);
        TCanvas* c = expected.Canvas();
        c->Brush().Color = clWhite;
        c->FillRect({1, 1, 99, 99});
        c->Brush().Style = bsClear;
        c->Font().Assign(g.font());
        const QString label = QString::number(progress) + "%";
        c->TextRect({1, 1, 99, 99}, (99 - c->TextWidth(label)) / 2, (99 - c->TextHeight(label)) / 2,
                    label);
        for (int y = 1; y < 99; ++y)
            for (int x = 1; x < 99; ++x)
                ASSERT_EQ(s.At(x, y), c->Pixel(x, y)) << progress << "% at " << x << "," << y;
    }
}

TEST(Gauge, TextKindWithoutTextShowsOnlyTheBackColour) {
    TCGauge g;
    g.SetKind(gkText);
    g.SetShowText(false);
    g.SetBackColor(clYellow);
    g.SetProgress(70);
    const Shot s(g);
    EXPECT_EQ(s.Count(clYellow, {1, 1, 99, 99}), 98 * 98);
    EXPECT_EQ(s.Count(clBlack, {0, 0, 100, 100}), 100 * 100 - 98 * 98);
}

TEST(Gauge, PieAndNeedle) {
    struct Probe {
        int x, y;
        TColor color;
    };
    struct Case {
        TCGaugeKind kind;
        int progress;
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        // Empty ellipse at 0 %: back colour inside, control colour in the corners.
        {gkPie, 0, {{60, 20, clWhite}, {80, 50, clWhite}, {50, 80, clWhite}, {3, 3, clBtnFace}}},
        // A quarter grows clockwise from the top.
        {gkPie, 25, {{60, 20, clRed}, {80, 45, clRed}, {80, 60, clWhite}, {30, 30, clWhite}}},
        {gkPie, 50, {{60, 20, clRed}, {60, 80, clRed}, {40, 80, clWhite}, {30, 30, clWhite}}},
        // The dial alone at 0 %; at 50 % the needle points straight up from the bottom centre.
        {gkNeedle, 0, {{50, 60, clWhite}, {50, 30, clWhite}, {2, 3, clBtnFace}}},
        {gkNeedle, 50, {{50, 80, clRed}, {49, 30, clRed}, {40, 60, clWhite}, {60, 30, clWhite}}},
    };
    for (const Case& k : cases) {
        TCGauge g;
        g.SetShowText(false);
        g.SetKind(k.kind);
        g.SetForeColor(clRed);
        g.SetProgress(k.progress);
        const Shot s(g);
        for (const Probe& p : k.probes)
            EXPECT_EQ(s.At(p.x, p.y), ColorToRGB(p.color))
                << k.kind << " " << k.progress << "% at " << p.x << "," << p.y;
        // The outline stays inside the border ring.
        EXPECT_EQ(s.Count(clBlack, {0, 0, 100, 1}), 100);
    }
    // At 0 % neither kind draws any fore colour inside the outline's interior.
    for (TCGaugeKind kind : {gkPie, gkNeedle}) {
        TCGauge g;
        g.SetShowText(false);
        g.SetKind(kind);
        g.SetForeColor(clRed);
        const Shot s(g);
        EXPECT_EQ(s.Count(clRed, {30, 40, 70, 90}), 0) << kind;
    }
}

} // namespace
