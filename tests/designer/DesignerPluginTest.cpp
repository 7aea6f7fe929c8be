// SPDX-License-Identifier: MIT
// The built Qt Designer plugin, loaded the way Designer and QUiLoader load it: which widgets it
// offers and how, whether the widgets it makes work, and whether a form keeps their properties.
// Then the registry behind it and the plugin's classes in this program, and a form made in
// Designer, loaded at run time and compiled by uic.
#include "Cgauges.h"
#include "Cgrid.h"
#include "Cspin.h"
#include "Register.h"
#include "Registry.h"
#include "VelquorDesignerPlugin.h"
#include "ui_SpinGaugeForm.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QRegularExpression>
#include <QSet>
#include <QUiLoader>
#include <QWidget>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kPluginFile = QStringLiteral(VELQUOR_DESIGNER_PLUGIN);

struct Offered {
    const char* name;
    const char* header;
    const char* base; // Qt class named as the base in forms
    QSize size;       // size when dropped; 0 means "some positive size"
};
const Offered kOffered[] = {
    {"TCCalendar", "Ccalendr.h", "QWidget", QSize(0, 0)},
    {"TCColorGrid", "Cgrid.h", "QWidget", QSize(100, 100)},
    {"TCGauge", "Cgauges.h", "QWidget", QSize(100, 100)},
    {"TCSpinButton", "Cspin.h", "QWidget", QSize(20, 25)},
    {"TCSpinEdit", "Cspin.h", "QLineEdit", QSize(121, 0)},
    {"TPerformanceGraph", "Perfgrap.h", "QWidget", QSize(100, 100)},
};

// The text of the first element named tag in a form snippet.
QString Tag(const QString& xml, const QString& tag) {
    return QRegularExpression(QStringLiteral("<%1>([^<]*)</%1>").arg(tag)).match(xml).captured(1);
}

TEST(DesignerPlugin, OffersTheSixWidgetsInOneGroupEachWithItsIconAndAWorkingWidget) {
    QPluginLoader loader(kPluginFile);
    auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
    ASSERT_NE(collection, nullptr) << loader.errorString().toStdString();
    const auto widgets = collection->customWidgets();
    ASSERT_EQ(std::size(kOffered), std::size_t(widgets.size()));
    QSet<QByteArray> pictures;
    QWidget form;
    for (std::size_t i = 0; i < std::size(kOffered); ++i) {
        const Offered& o = kOffered[i];
        QDesignerCustomWidgetInterface* plugin = widgets[i];
        SCOPED_TRACE(o.name);
        EXPECT_EQ(o.name, plugin->name());
        EXPECT_EQ("Velquor", plugin->group());
        EXPECT_FALSE(plugin->toolTip().isEmpty());
        EXPECT_EQ(o.header, plugin->includeFile());
        const QString xml = plugin->domXml();
        EXPECT_TRUE(xml.contains(QStringLiteral("<widget class=\"%1\" name=\"").arg(o.name)));
        EXPECT_EQ(o.base, Tag(xml, "extends"));
        EXPECT_EQ(o.header, Tag(xml, "header"));
        const QSize size(Tag(xml, "width").toInt(), Tag(xml, "height").toInt());
        EXPECT_FALSE(size.isEmpty());
        EXPECT_EQ(QSize(o.size.width() ? o.size.width() : size.width(),
                        o.size.height() ? o.size.height() : size.height()),
                  size);

        EXPECT_EQ(QList<QSize>{QSize(24, 24)}, plugin->icon().availableSizes());
        const QImage icon = plugin->icon().pixmap(24, 24).toImage();
        pictures.insert(
            QByteArray(reinterpret_cast<const char*>(icon.constBits()), icon.sizeInBytes()));

        const std::unique_ptr<QWidget> w(plugin->createWidget(&form));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(o.name, QString(w->metaObject()->className()));
        EXPECT_EQ(&form, w->parentWidget());
        // On a form Designer takes the focus from the widget and shows the focus policy it had;
        // TabStop shows the same.
        const bool tabs = w->focusPolicy() & Qt::TabFocus;
        w->setFocusPolicy(Qt::NoFocus);
        if (w->metaObject()->indexOfProperty("TabStop") >= 0) {
            EXPECT_EQ(w->property("TabStop").toBool(), tabs);
        }
    }
    EXPECT_EQ(6, pictures.size()); // each class its own picture
}

// Published properties with values other than their defaults, as Designer writes them, and
// the values read back as text; a value the widget refuses (a minimum above the maximum) loads
// without an exception and leaves the widget as it was.
const char* const kSaved[][4] = {
    {"TCCalendar", "StartOfWeek", "<number>7</number>", "7"},
    {"TCColorGrid", "GridOrdering", "<enum>TCColorGrid::go8x2</enum>", "go8x2"},
    {"TCGauge", "Kind", "<enum>TCGauge::gkPie</enum>", "gkPie"},
    {"TCGauge", "BorderStyle", "<enum>TControl::bsNone</enum>", "bsNone"},
    {"TCGauge", "ForeColor", "<color><red>255</red><green>0</green><blue>0</blue></color>",
     "#ff0000"},
    {"TCGauge", "MinValue", "<number>200</number>", "0"},
    {"TCGauge", "MaxValue", "<number>-5</number>", "100"},
    {"TCSpinButton", "TabStop", "<bool>true</bool>", "true"},
    {"TCSpinEdit", "TabStop", "<bool>false</bool>", "false"},
    {"TCSpinEdit", "Value", "<number>-12</number>", "-12"},
    {"TPerformanceGraph", "Kind", "<enum>TPerformanceGraph::pgBar</enum>", "pgBar"},
};

// A form holding one widget of each class with the values of kSaved.
QByteArray SavedForm() {
    QString body, custom;
    for (const Offered& o : kOffered) {
        body += QStringLiteral("  <widget class=\"%1\" name=\"my%1\">\n").arg(o.name);
        for (const auto& s : kSaved)
            if (QLatin1String(s[0]) == QLatin1String(o.name))
                body += QStringLiteral("   <property name=\"%1\">%2</property>\n").arg(s[1], s[2]);
        body += QStringLiteral("  </widget>\n");
        custom += QStringLiteral("  <customwidget><class>%1</class><extends>%2</extends>"
                                 "<header>%3</header></customwidget>\n")
                      .arg(o.name, o.base, o.header);
    }
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui version=\"4.0\">\n"
                          " <class>Form</class>\n <widget class=\"QWidget\" name=\"Form\">\n"
                          "%1 </widget>\n <customwidgets>\n%2 </customwidgets>\n</ui>\n")
        .arg(body, custom)
        .toUtf8();
}

// A form read by QUiLoader with the built plugin.
std::unique_ptr<QWidget> Load(QByteArray xml) {
    QUiLoader loader;
    loader.clearPluginPaths();
    loader.addPluginPath(QFileInfo(kPluginFile).absolutePath());
    QBuffer file(&xml);
    file.open(QIODevice::ReadOnly);
    std::unique_ptr<QWidget> form(loader.load(&file));
    EXPECT_NE(form, nullptr) << loader.errorString().toStdString();
    return form;
}

TEST(DesignerPlugin, FormKeepsNonDefaultPropertyValues) {
    const std::unique_ptr<QWidget> form = Load(SavedForm());
    ASSERT_NE(form, nullptr);
    auto read = [&](const QString& widgetClass, const char* property) {
        auto* w = form->findChild<QWidget*>("my" + widgetClass);
        EXPECT_TRUE(w && w->metaObject()->className() == widgetClass);
        return w ? w->property(property).toString() : QString();
    };
    for (const auto& s : kSaved)
        EXPECT_EQ(s[3], read(s[0], s[1])) << s[0] << "." << s[1];
}

// A widget dropped on a form starts with the values its class declares for its own properties
// (each property of plain type that a form stores has one): the form Designer builds from the
// plugin's description of the widget holds the values of a widget the plugin makes, and the
// description states every one but a system colour, which follows the palette instead.
TEST(DesignerPlugin, NewWidgetsStartWithTheirDeclaredValues) {
    QPluginLoader loader(kPluginFile);
    auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
    ASSERT_NE(collection, nullptr);
    for (QDesignerCustomWidgetInterface* plugin : collection->customWidgets()) {
        const QString xml = plugin->domXml();
        const std::unique_ptr<QWidget> fresh(plugin->createWidget(nullptr));
        const std::unique_ptr<QWidget> dropped = Load(xml.toUtf8());
        ASSERT_NE(dropped, nullptr);
        const QMetaObject* meta = fresh->metaObject();
        for (int i = 0; i < meta->propertyCount(); ++i) {
            const QMetaProperty p = meta->property(i);
            const int type = p.metaType().id();
            if (p.enclosingMetaObject()->className()[0] == 'Q' || !p.isStored() ||
                (!p.isEnumType() && type != QMetaType::Int && type != QMetaType::Bool &&
                 type != QMetaType::QColor))
                continue;
            SCOPED_TRACE(std::string(meta->className()) + "." + p.name());
            const int info = meta->indexOfClassInfo(QByteArray("default:") + p.name());
            ASSERT_GE(info, 0);
            const bool systemColor = QByteArray(meta->classInfo(info).value()).startsWith("0x8");
            EXPECT_NE(xml.contains(QStringLiteral("name=\"%1\"").arg(p.name())), systemColor);
            EXPECT_EQ(dropped->property(p.name()), fresh->property(p.name()));
        }
    }
}

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

// Each entry of the plugin keeps working however the registry changes after the plugin was made:
// all classes dropped, others registered in their place and more than there were before, so
// that the registry's storage moves.
TEST(DesignerPlugin, EntriesOutliveChangesOfTheRegistry) {
    const VelquorWidgetCollection collection; // registers the widget units
    UnregisterAllComponents();
    const TComponentClass others[] = {ComponentClass<QLabel>(), ComponentClass<QWidget>(),
                                      ComponentClass<QLineEdit>(), ComponentClass<TCGauge>()};
    for (const QString page : {"First", "Second", "Third"})
        RegisterComponents(page, others);
    RegisterAllComponents();
    const auto widgets = collection.customWidgets();
    ASSERT_EQ(std::size(kOffered), std::size_t(widgets.size()));
    for (std::size_t i = 0; i < std::size(kOffered); ++i) {
        QDesignerCustomWidgetInterface* plugin = widgets[i];
        EXPECT_EQ(kOffered[i].name, plugin->name());
        EXPECT_EQ("Velquor", plugin->group());
        EXPECT_FALSE(plugin->icon().isNull());
        EXPECT_TRUE(plugin->domXml().contains(kOffered[i].name));
        const std::unique_ptr<QWidget> w(plugin->createWidget(nullptr));
        EXPECT_EQ(kOffered[i].name, QString(w->metaObject()->className()));
    }
}

// A form made in Designer: a spin edit whose valueChanged drives the gauge's SetProgress, and
// the gauge's colour. Loaded at run time through the plugin, and compiled by uic into this test.
TEST(DesignerPlugin, FormWithAColourAndAConnectionLoadsAndCompiles) {
    QFile file(QStringLiteral(VELQUOR_TEST_FORM));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::unique_ptr<QWidget> loaded = Load(file.readAll());
    ASSERT_NE(loaded, nullptr);
    auto* edit = loaded->findChild<QLineEdit*>("spinEdit");
    QWidget* gauge = loaded->findChild<QWidget*>("gauge");
    ASSERT_TRUE(edit && gauge);
    EXPECT_EQ(gauge->property("ForeColor").value<QColor>(), QColor(0, 0, 128));
    EXPECT_EQ(gauge->property("Kind").toString(), "gkPie");
    edit->setProperty("Value", 42);
    EXPECT_EQ(gauge->property("Progress").toInt(), 42);
    edit->setText(QStringLiteral("150")); // typed beyond MaxValue: the gauge stops at its end
    EXPECT_EQ(gauge->property("Progress").toInt(), 100);

    QWidget form;
    Ui::SpinGaugeForm ui;
    ui.setupUi(&form);
    EXPECT_EQ(ui.gauge->ForeColor(), clNavy);
    EXPECT_EQ(ui.gauge->Kind(), gkPie);
    ui.spinEdit->SetValue(73);
    EXPECT_EQ(ui.gauge->Progress(), 73);
    ui.spinEdit->UpClick(ui.spinEdit);
    EXPECT_EQ(ui.gauge->Progress(), 74);
}

} // namespace
