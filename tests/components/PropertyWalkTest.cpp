// SPDX-License-Identifier: MIT
// What a form designer can do to the registered widgets: every published property
// of every registered class set through the property system to the extremes of its type, with
// the widget shown and painted at sizes from nothing to large. No crash, no hang, no exception
// out of setProperty, and no Qt warning (the tests' main fails a test on one). Reads change
// nothing, and every change is announced once. Then the published events as signals.
#include "Ccalendr.h"
#include "Cgauges.h"
#include "Cgrid.h"
#include "Controls.h"
#include "Cspin.h"
#include "Perfgrap.h"
#include "Register.h"
#include "Registry.h"
#include "Signals.h"

#include <QApplication>
#include <QMetaProperty>
#include <QSignalSpy>
#include <QTest>
#include <climits>
#include <gtest/gtest.h>
#include <list>
#include <memory>

namespace {

const char* const kAllClasses[] = {"TCCalendar",   "TCColorGrid", "TCGauge",
                                   "TCSpinButton", "TCSpinEdit",  "TPerformanceGraph"};

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
    case QMetaType::QColor:
        return {QColor(0, 0, 0), QColor(255, 255, 255), QColor(1, 2, 3), QColor()};
    case QMetaType::Bool:
        return {true, false, true};
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

// What reading a property must leave as it was: the pixels of the widget and its children, and
// an edit's text, selection and caret.
QVariantList LookOf(QWidget* w) {
    const auto* e = qobject_cast<QLineEdit*>(w);
    return {w->grab().toImage(), e ? e->text() : "", e ? e->selectionStart() : 0,
            e ? e->cursorPosition() : 0};
}

// The values of the published properties. Reading them changes nothing.
QVariantList ReadAll(QWidget* w, const std::vector<QMetaProperty>& properties) {
    const QVariantList before = LookOf(w);
    QVariantList values;
    for (const QMetaProperty& p : properties)
        values << p.read(w);
    EXPECT_TRUE(LookOf(w) == before) << "reading the properties changed the widget";
    return values;
}

class EveryProperty : public ::testing::TestWithParam<const char*> {};

// Each write, and the same write once more, announces through the notify signal of every
// published property whether its value changed: once when it did, never when it did not.
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
        const std::vector<QMetaProperty> all = Published(sample->metaObject());
        for (const QMetaProperty& p : all) {
            EXPECT_TRUE(p.hasNotifySignal()) << GetParam() << "." << p.name();
            const std::unique_ptr<QWidget> w(entry->Class.Create(&form));
            w->resize(size);
            w->show();
            if (auto* edit = qobject_cast<QLineEdit*>(w.get()))
                edit->setText(QStringLiteral("x")); // no number: reading Value must keep it
            const QVariant first = w->property(p.name());
            QVariantList values = ReadAll(w.get(), all);
            bool changed = false; // a setter that ignores every value would hide its faults
            for (const QVariant& value : Extremes(p, other))
                for (int again = 0; again < 2; ++again) {
                    SCOPED_TRACE(testing::Message()
                                 << p.name() << " = " << value.toString().left(20).toStdString()
                                 << " at " << size.width() << " x " << size.height()
                                 << (again ? " again" : ""));
                    std::list<QSignalSpy> spies;
                    for (const QMetaProperty& q : all)
                        spies.emplace_back(w.get(), q.notifySignal());
                    const QVariant before = w->property(p.name());
                    EXPECT_NO_THROW(w->setProperty(p.name(), value));
                    changed |= w->property(p.name()) != first;
                    if (p.isEnumType() && !p.enumerator().valueToKey(value.toInt())) {
                        EXPECT_EQ(w->property(p.name()), before); // no such kind: refused
                    }
                    if (p.metaType().id() == QMetaType::QColor && value.value<QColor>().isValid()) {
                        EXPECT_EQ(w->property(p.name()), value); // a colour reads back as written
                    }
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
                    const QVariantList now = ReadAll(w.get(), all);
                    auto spy = spies.begin();
                    for (std::size_t i = 0; i < all.size(); ++i, ++spy)
                        EXPECT_EQ(spy->count(), now[qsizetype(i)] != values[qsizetype(i)] ? 1 : 0)
                            << all[i].name() << " notices";
                    values = now;
                }
            EXPECT_TRUE(changed) << GetParam() << "." << p.name() << " takes none of its extremes";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Registered, EveryProperty, ::testing::ValuesIn(kAllClasses));

TEST(Events, EachCallbackIsFollowedByItsSignalOnEveryListener) {
    Events e;
    QWidget form;
    auto* grid = new TCColorGrid(&form);
    auto* edit = new TCSpinEdit(&form);
    auto* spin = new TCSpinButton(&form);
    auto* calendar = new TCCalendar(&form);
    calendar->setGeometry(0, 110, 300, 180);
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    // Mouse, keys and focus of a control: only a left release over it clicks (or F, which picks
    // and clicks); a key that KeyDown swallows types nothing.
    grid->SetTabStop(true);
    grid->OnMouseDown = e.On(grid, SIGNAL(mousePressed(TMouseButton, TShiftState, int, int)), 3);
    grid->OnMouseMove = e.On(grid, SIGNAL(mouseMoved(TShiftState, int, int)), -1);
    grid->OnMouseUp = e.On(grid, SIGNAL(mouseReleased(TMouseButton, TShiftState, int, int)), 3);
    grid->OnClick = e.On(grid, SIGNAL(clicked()), 2);
    grid->OnChange = e.On(grid, SIGNAL(changed()), 4);
    grid->OnKeyDown = e.On(grid, SIGNAL(keyPressed(WORD, TShiftState)), 2);
    grid->OnKeyUp = e.On(grid, SIGNAL(keyReleased(WORD, TShiftState)), 2);
    grid->OnKeyPress = e.On(grid, SIGNAL(keyTyped(char)), 1);
    grid->OnEnter = e.On(grid, SIGNAL(entered()), 1);
    grid->OnExit = e.On(grid, SIGNAL(exited()), 1);
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(30, 30));  // square 5, takes the focus
    QTest::mouseClick(grid, Qt::RightButton, {}, QPoint(55, 30)); // square 6
    QTest::mousePress(grid, Qt::LeftButton, {}, QPoint(80, 30));
    QTest::mouseMove(grid, QPoint(80, 5));                          // dragged to square 3
    QTest::mouseRelease(grid, Qt::LeftButton, {}, QPoint(300, 30)); // released beside it
    QTest::keyClick(grid, Qt::Key_F);
    QTest::keyClick(grid, Qt::Key_A);
    // The edit: typing (a rejected character reaches no callback), a step by key, leaving.
    edit->OnChange = e.On(edit, SIGNAL(changed()), 2);
    edit->OnEnter = e.On(edit, SIGNAL(entered()), 1);
    edit->OnExit = e.On(edit, SIGNAL(exited()), 1);
    edit->OnKeyDown = e.On(edit, SIGNAL(keyPressed(WORD, TShiftState)), 3);
    edit->OnKeyPress = e.On(edit, SIGNAL(keyTyped(char)), 1);
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(edit, QStringLiteral("4x"));
    QTest::keyClick(edit, Qt::Key_Up);
    // The spin button's clicks, the calendar's change, click and double click.
    spin->OnUpClick = e.On(spin, SIGNAL(upClicked()), 1);
    spin->OnDownClick = e.On(spin, SIGNAL(downClicked()), 1);
    QTest::mouseClick(spin->UpBtn(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(spin->DownBtn(), Qt::LeftButton, {}, QPoint(5, 5));
    calendar->SeTCCalendarDate(EncodeDate(2024, 1, 10));
    calendar->OnChange = e.On(calendar, SIGNAL(changed()), 2);
    calendar->OnClick = e.On(calendar, SIGNAL(clicked()), -1);
    calendar->OnDblClick = e.On(calendar, SIGNAL(doubleClicked()), 1);
    const TRect day = calendar->CellRect(2, 3); // the 17th
    QTest::mouseClick(calendar, Qt::LeftButton, {}, QPoint(day.Left + 5, day.Top + 5));
    QTest::mouseDClick(calendar, Qt::LeftButton, {}, QPoint(day.Left + 5, day.Top + 5));
    calendar->NextMonth();
    e.Check(); // the graph's scale event: with the scale rules
}

} // namespace
