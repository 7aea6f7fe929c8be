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

TEST_F(Registration, EachUnitAnnouncesItsClassesInOrderAllOnOnePageAndARepeatOnlyMovesThePage) {
    const std::pair<void (*)(), QStringList> units[] = {
        {Ccalendr::Register, {"TCCalendar"}},
        {Cgrid::Register, {"TCColorGrid"}},
        {Cgauges::Register, {"TCGauge"}},
        {Cspin::Register, {"TCSpinButton", "TCSpinEdit"}},
        {Perfgrap::Register, {"TPerformanceGraph"}}};
    for (const auto& [entry, classes] : units) {
        UnregisterAllComponents();
        entry();
        EXPECT_EQ(RegisteredNames(), classes);
    }
    UnregisterAllComponents();
    RegisterAllComponents();
    RegisterAllComponents();
    EXPECT_EQ(RegisteredNames(), kAllClasses);
    for (const auto& entry : RegisteredComponents())
        EXPECT_EQ(entry.Page, "Velquor") << entry.Class.ClassName().toStdString();
    EXPECT_EQ(FindRegisteredComponent("TTimerSpeedButton"), nullptr); // lives inside the spin
    EXPECT_TRUE(LoadPaletteBitmap("TTimerSpeedButton").isNull());
    const TComponentClass again[] = {ComponentClass<TCGauge>()};
    RegisterComponents("Other", again);
    EXPECT_EQ(RegisteredNames(), kAllClasses);
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
}

// Each class has a picture of its own: a 24 x 24 BMP with 4 bits per pixel and a palette of 16
// different colours. (The property walk makes every class through its factory.)
TEST_F(Registration, EachClassHasAPaletteBitmap) {
    RegisterAllComponents();
    QSet<QByteArray> pictures;
    for (const QString& name : kAllClasses) {
        SCOPED_TRACE(name.toStdString());
        QFile file(PaletteBitmapPath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bmp = file.readAll();
        const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(bmp.constData() + at); };
        const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(bmp.constData() + at); };
        ASSERT_EQ(bmp.size(), 14 + 40 + 16 * 4 + 24 * 12); // 16 colours, 24 rows of 12 bytes
        EXPECT_EQ(bmp.left(2), "BM");
        EXPECT_EQ(u32(14), 40u); // the plain info header
        EXPECT_EQ(u32(18), 24u);
        EXPECT_EQ(u32(22), 24u);
        EXPECT_EQ(u16(28), 4);  // bits per pixel
        EXPECT_EQ(u32(30), 0u); // uncompressed
        pictures.insert(bmp);

        const QImage image = LoadPaletteBitmap(name.toLower()); // found in any letter case
        const QList<QRgb> table = image.colorTable();
        EXPECT_EQ(QSet<QRgb>(table.begin(), table.end()).size(), 16);
        const auto* entry = FindRegisteredComponent(name);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->PaletteBitmap, image);
    }
    EXPECT_EQ(pictures.size(), kAllClasses.size());
}

} // namespace
