// SPDX-License-Identifier: MIT
#include "VelquorDesignerPlugin.h"

#include "Controls.h"
#include "Register.h"
#include "Registry.h"

#include <QColor>
#include <QIcon>
#include <QMetaProperty>
#include <QPixmap>
#include <QWidget>
#include <memory>

namespace {

// What Designer shows about a class besides its name and icon.
struct ClassDescription {
    const char* className;
    const char* header;     // header that declares the class, for generated code
    const char* objectName; // name of the first instance on a form
    const char* toolTip;
    const char* whatsThis;
    QSize size; // size when dropped; an empty size takes the widget's size hint
};

const ClassDescription kDescriptions[] = {
    {"TCCalendar", "Ccalendr.h", "cCalendar", "Month calendar",
     "A month calendar: weekday names over six rows of days. Clicking a day or moving to it with "
     "the arrow keys selects the date; Day, Month and Year step through the months.",
     QSize()},
    {"TCColorGrid", "Cgrid.h", "cColorGrid", "16-colour picker",
     "A grid of the 16 standard colours. The left mouse button picks the foreground colour, the "
     "others the background colour; GridOrdering sets the grid's shape.",
     QSize(100, 100)},
    {"TCGauge", "Cgauges.h", "cGauge", "Progress gauge",
     "Shows how far Progress has got between MinValue and MaxValue, as text, a horizontal or "
     "vertical bar, a pie or a needle.",
     QSize(100, 100)},
    {"TCSpinButton", "Cspin.h", "cSpinButton", "Spin button",
     "Two stacked arrow buttons that repeat while held down and fire OnUpClick and OnDownClick.",
     QSize(20, 25)},
    {"TCSpinEdit", "Cspin.h", "cSpinEdit", "Integer spin edit",
     "An integer edit with arrow buttons; steps by Increment and keeps Value between MinValue "
     "and MaxValue unless the two are equal.",
     QSize(121, 0)},
    {"TPerformanceGraph", "Perfgrap.h", "performanceGraph", "Scrolling performance graph",
     "A strip chart: DataPoint adds up to 16 coloured values per step, Update scrolls the graph "
     "and draws the step as a stacked bar or as lines.",
     QSize(100, 100)},
};

const ClassDescription* DescriptionOf(const QString& className) {
    for (const auto& d : kDescriptions)
        if (className == QLatin1String(d.className))
            return &d;
    return nullptr;
}

// The nearest Qt class the component derives from, which a form names as its base.
QString QtBaseOf(const QMetaObject* meta) {
    for (const QMetaObject* m = meta; m; m = m->superClass()) {
        const QString name = QString::fromLatin1(m->className());
        if (name.startsWith(QLatin1Char('Q')))
            return name;
    }
    return QStringLiteral("QWidget");
}

// A declared default as a property element of a form, as Designer writes the widget's own
// properties; empty for a value no form element holds.
QString PropertyElement(const QMetaObject* meta, const QByteArray& name) {
    const QVariant value = DeclaredDefault(meta, name.constData());
    const QMetaProperty p = meta->property(meta->indexOfProperty(name.constData()));
    if (!value.isValid() || !p.isValid())
        return {};
    QString element;
    if (p.isEnumType()) {
        const QMetaEnum e = p.enumerator();
        element = QStringLiteral("<enum>%1::%2</enum>")
                      .arg(QLatin1String(e.scope()), QLatin1String(e.valueToKey(value.toInt())));
    } else if (p.metaType().id() == QMetaType::Bool) {
        element = value.toBool() ? QStringLiteral("<bool>true</bool>")
                                 : QStringLiteral("<bool>false</bool>");
    } else if (p.metaType().id() == QMetaType::Int) {
        element = QStringLiteral("<number>%1</number>").arg(value.toInt());
    } else if (p.metaType().id() == QMetaType::QColor) {
        const QColor c = value.value<QColor>();
        element = QStringLiteral("<color><red>%1</red><green>%2</green><blue>%3</blue></color>")
                      .arg(c.red())
                      .arg(c.green())
                      .arg(c.blue());
    } else {
        return {};
    }
    return QStringLiteral("  <property name=\"%1\" stdset=\"0\">%2</property>\n")
        .arg(QLatin1String(name), element);
}

} // namespace

VelquorWidgetPlugin::VelquorWidgetPlugin(const TRegisteredComponent& component, QObject* parent)
    : QObject(parent), component_(component) {}

QString VelquorWidgetPlugin::name() const {
    return component_.Class.ClassName();
}

QString VelquorWidgetPlugin::group() const {
    return component_.Page;
}

QString VelquorWidgetPlugin::toolTip() const {
    const auto* d = DescriptionOf(name());
    return d ? QString::fromUtf8(d->toolTip) : name();
}

QString VelquorWidgetPlugin::whatsThis() const {
    const auto* d = DescriptionOf(name());
    return d ? QString::fromUtf8(d->whatsThis) : QString();
}

QString VelquorWidgetPlugin::includeFile() const {
    const auto* d = DescriptionOf(name());
    return d ? QString::fromLatin1(d->header) : name() + QStringLiteral(".h");
}

QIcon VelquorWidgetPlugin::icon() const {
    if (component_.PaletteBitmap.isNull())
        return {};
    return QIcon(QPixmap::fromImage(component_.PaletteBitmap));
}

QWidget* VelquorWidgetPlugin::createWidget(QWidget* parent) {
    return component_.Class.Create(parent);
}

void VelquorWidgetPlugin::initialize(QDesignerFormEditorInterface*) {
    initialized_ = true;
}

QSize VelquorWidgetPlugin::defaultSize() const {
    const auto* d = DescriptionOf(name());
    QSize size = d ? d->size : QSize();
    if (size.width() > 0 && size.height() > 0)
        return size;
    const std::unique_ptr<QWidget> sample(component_.Class.Create(nullptr));
    const QSize hint = sample->sizeHint().isValid() ? sample->sizeHint() : sample->size();
    if (size.width() <= 0)
        size.setWidth(hint.width());
    if (size.height() <= 0)
        size.setHeight(hint.height());
    return size;
}

// Besides its size, a new widget gets the declared values of its properties. Designer marks the
// values it applies from here as set, so the property editor shows them as set and the form
// keeps them; a system colour is left out, as a form could only hold the colour it resolves to
// now, while the widget's own follows the palette.
QString VelquorWidgetPlugin::domXml() const {
    const auto* d = DescriptionOf(name());
    QString objectName = d ? QString::fromLatin1(d->objectName) : name();
    const QSize size = defaultSize();
    QString properties;
    for (const QByteArray& property : PropertiesWithDefaults(component_.Class.MetaObject))
        properties += PropertyElement(component_.Class.MetaObject, property);
    return QStringLiteral("<ui language=\"c++\">\n"
                          " <widget class=\"%1\" name=\"%2\">\n"
                          "  <property name=\"geometry\">\n"
                          "   <rect><x>0</x><y>0</y><width>%3</width><height>%4</height></rect>\n"
                          "  </property>\n"
                          "%7"
                          " </widget>\n"
                          " <customwidgets>\n"
                          "  <customwidget>\n"
                          "   <class>%1</class>\n"
                          "   <extends>%5</extends>\n"
                          "   <header>%6</header>\n"
                          "  </customwidget>\n"
                          " </customwidgets>\n"
                          "</ui>\n")
        .arg(name(), objectName)
        .arg(size.width())
        .arg(size.height())
        .arg(QtBaseOf(component_.Class.MetaObject), includeFile(), properties);
}

VelquorWidgetCollection::VelquorWidgetCollection(QObject* parent) : QObject(parent) {
    RegisterAllComponents();
    for (const TRegisteredComponent& component : RegisteredComponents())
        widgets_.append(new VelquorWidgetPlugin(component, this));
}
