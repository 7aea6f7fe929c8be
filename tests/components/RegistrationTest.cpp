// Registration of the widget units: which classes each entry announces, in what order and on
// which page, what the registry does with repeated and broken entries, and the palette bitmaps.
#include "Ccalendr.h"
#include "Cgauges.h"
#include "Cgrid.h"
#include "Cspin.h"
#include "Perfgrap.h"
#include "Register.h"
#include "Registry.h"

#include <QFile>
#include <QSet>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

const QStringList kAllClasses = {"TCCalendar",   "TCColorGrid", "TCGauge",
                                 "TCSpinButton", "TCSpinEdit",  "TPerformanceGraph"};

QStringList RegisteredNames() {
    QStringList names;
    for (const auto& entry : RegisteredComponents())
        names << entry.Class.ClassName();
    return names;
}

class Registration : public ::testing::Test {
protected:
    void SetUp() override { UnregisterAllComponents(); }
    void TearDown() override { UnregisterAllComponents(); }
};

TEST_F(Registration, EachUnitAnnouncesItsOwnClassesInOrder) {
    struct Case {
        const char* unit;
        void (*entry)();
        QStringList classes;
    };
    const Case cases[] = {
        {"Ccalendr", Ccalendr::Register, {"TCCalendar"}},
        {"Cgrid", Cgrid::Register, {"TCColorGrid"}},
        {"Cgauges", Cgauges::Register, {"TCGauge"}},
        {"Cspin", Cspin::Register, {"TCSpinButton", "TCSpinEdit"}},
        {"Perfgrap", Perfgrap::Register, {"TPerformanceGraph"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.unit);
        UnregisterAllComponents();
        c.entry();
        EXPECT_EQ(RegisteredNames(), c.classes);
    }
}

TEST_F(Registration, AllSixLandOnOnePageInUnitOrder) {
    EXPECT_EQ(LoadStr(SComponentPage), "Velquor");
    RegisterAllComponents();
    EXPECT_EQ(RegisteredNames(), kAllClasses);
    for (const auto& entry : RegisteredComponents())
        EXPECT_EQ(entry.Page, "Velquor") << entry.Class.ClassName().toStdString();
    // The repeat button lives only inside the spin button.
    EXPECT_EQ(FindRegisteredComponent("TTimerSpeedButton"), nullptr);
}

TEST_F(Registration, RepeatedRegistrationKeepsPlaceAndTakesNewPage) {
    RegisterAllComponents();
    RegisterAllComponents();
    EXPECT_EQ(RegisteredNames(), kAllClasses);

    const TComponentClass again[] = {ComponentClass<TCGauge>()};
    RegisterComponents("Other", again);
    EXPECT_EQ(RegisteredNames(), kAllClasses);
    ASSERT_NE(FindRegisteredComponent("TCGauge"), nullptr);
    EXPECT_EQ(FindRegisteredComponent("TCGauge")->Page, "Other");
    EXPECT_EQ(FindRegisteredComponent("TCSpinEdit")->Page, "Velquor");
}

TEST_F(Registration, EntriesWithoutClassOrFactoryAreSkipped) {
    const TComponentClass classes[] = {
        {nullptr, [](QWidget* parent) { return new QWidget(parent); }},
        {&TCGauge::staticMetaObject, nullptr},
        ComponentClass<TCColorGrid>(),
    };
    RegisterComponents("Velquor", classes);
    EXPECT_EQ(RegisteredNames(), QStringList{"TCColorGrid"});
    EXPECT_EQ(LoadStr(0), "");
    EXPECT_EQ(LoadStr(SComponentPage + 1), "");
}

TEST_F(Registration, FactoriesMakeTheRegisteredClassUnderTheParent) {
    RegisterAllComponents();
    QWidget form;
    for (const auto& entry : RegisteredComponents()) {
        SCOPED_TRACE(entry.Class.ClassName().toStdString());
        QWidget* w = entry.Class.Create(&form);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->metaObject(), entry.Class.MetaObject);
        EXPECT_EQ(w->parentWidget(), &form);
        EXPECT_GT(w->width(), 0);
        EXPECT_GT(w->height(), 0);
    }
}

// The header fields of a BMP file that a palette bitmap must have.
struct BmpInfo {
    QByteArray bytes;
    quint16 U16(int at) const { return qFromLittleEndian<quint16>(bytes.constData() + at); }
    quint32 U32(int at) const { return qFromLittleEndian<quint32>(bytes.constData() + at); }
    qint32 I32(int at) const { return qFromLittleEndian<qint32>(bytes.constData() + at); }
};

TEST_F(Registration, PaletteBitmapsAre24By24With16ColourPalettes) {
    RegisterAllComponents();
    QSet<QByteArray> pictures;
    for (const QString& name : kAllClasses) {
        SCOPED_TRACE(name.toStdString());
        const QString path = PaletteBitmapPath(name);
        EXPECT_EQ(path, ":/palette/" + name.toUpper() + ".bmp");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const BmpInfo bmp{file.readAll()};
        ASSERT_GE(bmp.bytes.size(), 14 + 40 + 16 * 4);
        EXPECT_EQ(bmp.bytes.left(2), "BM");
        EXPECT_EQ(bmp.U32(2), quint32(bmp.bytes.size()));
        EXPECT_EQ(bmp.U32(14), 40u); // plain info header
        EXPECT_EQ(bmp.I32(18), 24);
        EXPECT_EQ(bmp.I32(22), 24);
        EXPECT_EQ(bmp.U16(26), 1);                          // planes
        EXPECT_EQ(bmp.U16(28), 4);                          // bits per pixel
        EXPECT_EQ(bmp.U32(30), 0u);                         // uncompressed
        EXPECT_TRUE(bmp.U32(46) == 0 || bmp.U32(46) == 16); // colours used: all 16
        // 16 palette entries, then 24 rows of 12 bytes.
        EXPECT_EQ(bmp.U32(10), 14u + 40u + 16u * 4u);
        EXPECT_EQ(bmp.bytes.size(), 14 + 40 + 16 * 4 + 24 * 12);

        const QImage image = LoadPaletteBitmap(name);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(24, 24));
        EXPECT_EQ(image.colorCount(), 16);
        QSet<QRgb> palette;
        for (QRgb c : image.colorTable())
            palette.insert(c);
        EXPECT_EQ(palette.size(), 16) << "the 16 entries should be 16 different colours";
        QSet<QRgb> used;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x)
                used.insert(image.pixel(x, y));
        EXPECT_GE(used.size(), 3) << "a picture, not a blank square";

        const auto* entry = FindRegisteredComponent(name);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->PaletteBitmap, image);
        pictures.insert(bmp.bytes);
    }
    EXPECT_EQ(pictures.size(), kAllClasses.size()) << "every class has a picture of its own";
}

TEST_F(Registration, BitmapsAreFoundByClassNameInAnyCase) {
    EXPECT_EQ(LoadPaletteBitmap("tcgauge"), LoadPaletteBitmap("TCGauge"));
    EXPECT_FALSE(LoadPaletteBitmap("TCGauge").isNull());
    EXPECT_TRUE(LoadPaletteBitmap("TTimerSpeedButton").isNull());
    EXPECT_TRUE(LoadPaletteBitmap("").isNull());

    // A class without a bitmap registers all the same.
    const TComponentClass classes[] = {ComponentClass<TTimerSpeedButton>()};
    RegisterComponents("Velquor", classes);
    ASSERT_NE(FindRegisteredComponent("TTimerSpeedButton"), nullptr);
    EXPECT_TRUE(FindRegisteredComponent("TTimerSpeedButton")->PaletteBitmap.isNull());
}

} // namespace
