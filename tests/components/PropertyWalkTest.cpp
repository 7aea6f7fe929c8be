// Registration of the widgets, and what a form designer can do to them: every published property
// of every registered class set through the property system to the extremes of its type, with
// the widget shown and painted at sizes from nothing to large. No crash, no hang, no exception
// out of setProperty, and no Qt warning (the tests' main fails a test on one).
#include "Ccalendr.h"
#include "Cgauges.h"
#include "Cgrid.h"
#include "Controls.h"
#include "Perfgrap.h"
#include "Register.h"
#include "Registry.h"

#include <QApplication>
#include <QMetaProperty>
#include <climits>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

const char* const kAllClasses[] = {"TCCalendar",   "TCColorGrid", "TCGauge",
                                   "TCSpinButton", "TCSpinEdit",  "TPerformanceGraph"};

QStringList RegisteredNames() {
    QStringList names;
    for (const auto& entry : RegisteredComponents())
        names << entry.Class.ClassName();
    return names;
}

// The widgets announce their classes in order, all on one page; a repeat only moves the page, and
// entries without class or factory are skipped. Each class has a picture of its own (the Designer
// plugin's test sees six different icons), 24 x 24, found by its class name in any letter case.
TEST(Registration, ClassesInOrderOnOnePageEachWithItsPaletteBitmap) {
    UnregisterAllComponents();
    RegisterAllComponents();
    RegisterAllComponents();
    EXPECT_EQ(RegisteredNames(), QStringList(std::begin(kAllClasses), std::end(kAllClasses)));
    for (const auto& entry : RegisteredComponents()) {
        const QString name = entry.Class.ClassName();
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(entry.Page, "Velquor");
        const QImage image = LoadPaletteBitmap(name.toLower());
        EXPECT_EQ(image.size(), QSize(24, 24));
        EXPECT_EQ(entry.PaletteBitmap, image);
    }
    const TComponentClass again[] = {ComponentClass<TCGauge>(),
                                     {nullptr, [](QWidget* parent) { return new QWidget(parent); }},
                                     {&TCColorGrid::staticMetaObject, nullptr}};
    RegisterComponents("Other", again); // entries without class or factory are skipped
    EXPECT_EQ(RegisteredNames(), QStringList(std::begin(kAllClasses), std::end(kAllClasses)));
    EXPECT_EQ(FindRegisteredComponent("TCGauge")->Page, "Other");
    EXPECT_EQ(FindRegisteredComponent("TCColorGrid")->Page, "Velquor");
}

// Every own property of plain type (number, flag, colour, enumeration) that a form stores has a
// declared default, and a new widget has that value: a form saves nothing for a new widget, and
// saves any other value.
TEST(PropertyWalk, NewWidgetsHaveTheirDeclaredDefaults) {
    RegisterAllComponents();
    for (const auto& entry : RegisteredComponents()) {
        const QMetaObject* meta = entry.Class.MetaObject;
        for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
            const QMetaProperty p = meta->property(i);
            const int type = p.metaType().id();
            if (!p.isStored() || (!p.isEnumType() && type != QMetaType::Int &&
                                  type != QMetaType::UInt && type != QMetaType::Bool))
                continue;
            SCOPED_TRACE(std::string(meta->className()) + "." + p.name());
            const std::unique_ptr<QWidget> w(entry.Class.Create(nullptr));
            EXPECT_TRUE(DeclaredDefault(w.get(), p.name()).isValid());
            EXPECT_FALSE(IsPropertyStored(w.get(), p.name()));
            const QVariant before = p.read(w.get());
            p.write(w.get(), type == QMetaType::Bool ? QVariant(!before.toBool())
                                                     : QVariant(before.toInt() + 1));
            EXPECT_EQ(IsPropertyStored(w.get(), p.name()), p.read(w.get()) != before);
            EXPECT_TRUE(IsPropertyStored(w.get(), "objectName")); // no default: always saved
        }
    }
}

// The values a property is tried with: the extremes of its type. A type without a list fails
// the walk, so a new kind of property cannot slip past it.
QVariantList Extremes(const QMetaProperty& p, QWidget* other) {
    if (p.isEnumType()) {
        const QMetaEnum e = p.enumerator();
        int low = INT_MAX, high = INT_MIN;
        QVariantList values;
        for (int i = 0; i < e.keyCount(); ++i) {
            values << e.value(i);
            low = std::min(low, e.value(i));
            high = std::max(high, e.value(i));
        }
        return values << low - 1 << high + 1;
    }
    switch (p.metaType().id()) {
    case QMetaType::Int:
        return {INT_MIN, -1, 0, 1, 2, 17, INT_MAX};
    case QMetaType::UInt: // colours
        return {0u, 0xFFFFFFFFu};
    case QMetaType::Bool:
        return {true, false, true};
    case QMetaType::QString:
        return {QString(), QStringLiteral("-"), QStringLiteral("99999999999"), QString(500, '7')};
    case QMetaType::QImage:
        return {QImage(), QImage(1, 1, QImage::Format_RGB32), QImage(80, 3, QImage::Format_Mono)};
    default:
        if (p.metaType() == QMetaType::fromType<QWidget*>())
            return {QVariant::fromValue<QWidget*>(other), QVariant::fromValue<QWidget*>(nullptr)};
        ADD_FAILURE() << "no extremes for " << p.name() << " of type " << p.typeName();
        return {};
    }
}

// The published properties: those the toolkit and the widgets declare (Qt's own are not the
// widgets' concern), each once.
std::vector<QMetaProperty> Published(const QMetaObject* meta) {
    std::vector<QMetaProperty> properties;
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty p = meta->property(i);
        if (p.isWritable() && p.enclosingMetaObject()->className()[0] != 'Q' &&
            meta->indexOfProperty(p.name()) == i)
            properties.push_back(p);
    }
    return properties;
}

class EveryProperty : public ::testing::TestWithParam<const char*> {};

TEST_P(EveryProperty, TakesTheExtremesOfItsTypeWhileShownAndPaintedAtAnySize) {
    RegisterAllComponents();
    const TRegisteredComponent* entry = FindRegisteredComponent(GetParam());
    ASSERT_NE(entry, nullptr);
    QWidget form;
    form.resize(320, 220);
    QWidget* other = new QWidget(&form);
    form.show();
    for (const QSize size : {QSize(0, 0), QSize(1, 1), QSize(37, 23), QSize(300, 200)}) {
        const std::unique_ptr<QWidget> sample(entry->Class.Create(&form));
        for (const QMetaProperty& p : Published(sample->metaObject())) {
            const std::unique_ptr<QWidget> w(entry->Class.Create(&form));
            w->resize(size);
            w->show();
            const QVariant first = w->property(p.name());
            bool changed = false; // a setter that ignores every value would hide its faults
            for (const QVariant& value : Extremes(p, other)) {
                SCOPED_TRACE(testing::Message() << GetParam() << "." << p.name() << " = "
                                                << value.toString().left(20).toStdString() << " at "
                                                << size.width() << " x " << size.height());
                EXPECT_NO_THROW(w->setProperty(p.name(), value));
                changed |= w->property(p.name()) != first;
                QApplication::processEvents();
                // What each control shows now is what a full paint draws: no change of the
                // look went without its repaint.
                QList<TControl*> controls = w->findChildren<TControl*>();
                if (auto* control = dynamic_cast<TControl*>(w.get()))
                    controls << control;
                for (TControl* control : controls) {
                    const QImage shown = control->Canvas()->Target()->copy();
                    control->repaint();
                    EXPECT_EQ(*control->Canvas()->Target(), shown)
                        << control->metaObject()->className();
                }
            }
            EXPECT_TRUE(changed) << GetParam() << "." << p.name() << " takes none of its extremes";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Registered, EveryProperty, ::testing::ValuesIn(kAllClasses));

// Values the widgets refuse: written through the property system (as Designer and a loaded form
// write them) they leave the old value in place without an exception.
TEST(PropertyWalk, RefusedWritesKeepTheOldValue) {
    using Refused = std::vector<std::pair<const char*, int>>; // property, value
    const std::pair<std::function<QWidget*()>, Refused> cases[] = {
        {[] { return new TCColorGrid; },
         {{"GridOrdering", 5}, {"GridOrdering", 7}, {"GridOrdering", -1}}},
        {[] { return new TCGauge; },
         {{"MinValue", 200}, {"MaxValue", -5}, {"Kind", 5}, {"BorderStyle", -1}}},
        {[] {
             auto* c = new TCCalendar;
             c->SeTCCalendarDate(EncodeDate(2024, 3, 31));
             return c;
         },
         {{"Year", 100000000}, {"Month", 4}, {"Month", 13}, {"Day", 0}}},
        {[] { return new TPerformanceGraph; }, {{"Kind", 2}}},
    };
    for (const auto& [make, refused] : cases) {
        const std::unique_ptr<QWidget> w(make());
        for (const auto& [property, value] : refused) {
            const QVariant before = w->property(property);
            EXPECT_NO_THROW(w->setProperty(property, value));
            EXPECT_EQ(w->property(property), before)
                << w->metaObject()->className() << "." << property << " = " << value;
        }
    }
}

} // namespace
