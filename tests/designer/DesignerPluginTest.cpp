// The built Qt Designer plugin, loaded the way Designer and QUiLoader load it: which widgets it
// offers and how, whether the widgets it makes work, and whether a form keeps their properties.
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>
#include <QUiLoader>
#include <QXmlStreamReader>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QMetaProperty>
#include <QSet>
#include <QWidget>
#include <memory>

namespace {

const QString kPluginFile = QStringLiteral(VELQUOR_DESIGNER_PLUGIN);

QList<QDesignerCustomWidgetInterface*> PluginWidgets() {
    static QPluginLoader loader(kPluginFile);
    auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
    if (!collection) {
        ADD_FAILURE() << "plugin not loaded: " << loader.errorString().toStdString();
        return {};
    }
    return collection->customWidgets();
}

QDesignerCustomWidgetInterface* PluginWidget(const QString& name) {
    for (auto* w : PluginWidgets())
        if (w->name() == name)
            return w;
    return nullptr;
}

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

// The parts of a widget's default form snippet that Designer uses.
struct Snippet {
    QString widgetClass, objectName, extends, header;
    QSize size;
};
Snippet ParseDomXml(const QString& xml) {
    Snippet s;
    QXmlStreamReader r(xml);
    QString inside;
    int width = -1, height = -1;
    while (!r.atEnd()) {
        r.readNext();
        if (!r.isStartElement())
            continue;
        const auto tag = r.name();
        if (tag == u"widget" && s.widgetClass.isEmpty()) {
            s.widgetClass = r.attributes().value("class").toString();
            s.objectName = r.attributes().value("name").toString();
        } else if (tag == u"width") {
            width = r.readElementText().toInt();
        } else if (tag == u"height") {
            height = r.readElementText().toInt();
        } else if (tag == u"extends") {
            s.extends = r.readElementText();
        } else if (tag == u"header") {
            s.header = r.readElementText();
        }
    }
    EXPECT_FALSE(r.hasError()) << r.errorString().toStdString();
    s.size = QSize(width, height);
    return s;
}

TEST(DesignerPlugin, OffersExactlyTheSixWidgetsInOneGroup) {
    const auto widgets = PluginWidgets();
    QStringList names;
    for (auto* w : widgets)
        names << w->name();
    QStringList expected;
    for (const auto& o : kOffered)
        expected << o.name;
    EXPECT_EQ(names, expected);

    for (const auto& o : kOffered) {
        SCOPED_TRACE(o.name);
        auto* w = PluginWidget(o.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->group(), "Velquor");
        EXPECT_FALSE(w->toolTip().isEmpty());
        EXPECT_FALSE(w->whatsThis().isEmpty());
        EXPECT_EQ(w->includeFile(), o.header);
        EXPECT_FALSE(w->isContainer());
        EXPECT_FALSE(w->icon().isNull());
        EXPECT_EQ(w->icon().availableSizes(), QList<QSize>{QSize(24, 24)});

        const Snippet s = ParseDomXml(w->domXml());
        EXPECT_EQ(s.widgetClass, o.name);
        EXPECT_FALSE(s.objectName.isEmpty());
        EXPECT_EQ(s.extends, o.base);
        EXPECT_EQ(s.header, o.header);
        EXPECT_GT(s.size.width(), 0);
        EXPECT_GT(s.size.height(), 0);
        if (o.size.width() > 0) {
            EXPECT_EQ(s.size.width(), o.size.width());
        }
        if (o.size.height() > 0) {
            EXPECT_EQ(s.size.height(), o.size.height());
        }
    }
}

TEST(DesignerPlugin, IconsShowTheClassesPaletteBitmaps) {
    QSet<QByteArray> pictures;
    for (auto* w : PluginWidgets()) {
        SCOPED_TRACE(w->name().toStdString());
        const QImage image = w->icon().pixmap(24, 24).toImage();
        ASSERT_EQ(image.size(), QSize(24, 24));
        QSet<QRgb> colours;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x)
                colours.insert(image.pixel(x, y));
        EXPECT_GE(colours.size(), 3);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        pictures.insert(bytes);
    }
    EXPECT_EQ(pictures.size(), 6);
}

TEST(DesignerPlugin, CreatedWidgetsWorkOnAForm) {
    // A main property of each widget, set through the property system as Designer does.
    struct Case {
        const char* name;
        const char* property;
        QVariant value;
    };
    const Case cases[] = {
        {"TCCalendar", "StartOfWeek", 7}, {"TCColorGrid", "ForegroundIndex", 5},
        {"TCGauge", "Progress", 30},      {"TCSpinButton", "TabStop", true},
        {"TCSpinEdit", "MaxValue", 60},   {"TPerformanceGraph", "StepSize", 5},
    };
    QWidget form;
    form.resize(400, 300);
    form.show();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto* plugin = PluginWidget(c.name);
        ASSERT_NE(plugin, nullptr);
        QWidget* w = plugin->createWidget(&form);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(QString(w->metaObject()->className()), c.name);
        EXPECT_EQ(w->parentWidget(), &form);
        EXPECT_TRUE(w->setProperty(c.property, c.value));
        EXPECT_EQ(w->property(c.property), c.value);

        w->resize(ParseDomXml(plugin->domXml()).size);
        w->show();
        const QImage shot = w->grab().toImage();
        ASSERT_FALSE(shot.isNull());
        QSet<QRgb> colours;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                colours.insert(shot.pixel(x, y));
        EXPECT_GE(colours.size(), 2) << "the widget draws something";
        delete w;
    }
}

// One published property with a value other than its default, as Designer writes it to a form.
struct Saved {
    const char* widgetClass;
    const char* property;
    const char* xml;  // the value element
    const char* read; // the value read back, as text
};
const Saved kSaved[] = {
    {"TCCalendar", "GridLineWidth", "<number>2</number>", "2"},
    {"TCCalendar", "ReadOnly", "<bool>true</bool>", "true"},
    {"TCCalendar", "StartOfWeek", "<number>7</number>", "7"},
    {"TCCalendar", "UseCurrentDate", "<bool>false</bool>", "false"},
    {"TCColorGrid", "ClickEnablesColor", "<bool>true</bool>", "true"},
    {"TCColorGrid", "GridOrdering", "<enum>TCColorGrid::go8x2</enum>", "go8x2"},
    {"TCColorGrid", "ForegroundIndex", "<number>5</number>", "5"},
    {"TCColorGrid", "BackgroundIndex", "<number>9</number>", "9"},
    {"TCColorGrid", "Selection", "<number>3</number>", "3"},
    {"TCGauge", "Kind", "<enum>TCGauge::gkPie</enum>", "gkPie"},
    {"TCGauge", "ShowText", "<bool>false</bool>", "false"},
    {"TCGauge", "BorderStyle", "<enum>TControl::bsNone</enum>", "bsNone"},
    {"TCGauge", "ForeColor", "<UInt>255</UInt>", "255"},
    {"TCGauge", "BackColor", "<UInt>8421376</UInt>", "8421376"},
    {"TCGauge", "MinValue", "<number>10</number>", "10"},
    {"TCGauge", "MaxValue", "<number>200</number>", "200"},
    {"TCGauge", "Progress", "<number>42</number>", "42"},
    {"TCSpinButton", "TabStop", "<bool>true</bool>", "true"},
    {"TCSpinEdit", "EditorEnabled", "<bool>false</bool>", "false"},
    {"TCSpinEdit", "Increment", "<number>5</number>", "5"},
    {"TCSpinEdit", "MaxValue", "<number>60</number>", "60"},
    {"TCSpinEdit", "MinValue", "<number>-60</number>", "-60"},
    {"TCSpinEdit", "Value", "<number>-12</number>", "-12"},
    {"TPerformanceGraph", "Kind", "<enum>TPerformanceGraph::pgBar</enum>", "pgBar"},
    {"TPerformanceGraph", "BackColor", "<UInt>8388608</UInt>", "8388608"},
    {"TPerformanceGraph", "GridSize", "<number>20</number>", "20"},
    {"TPerformanceGraph", "StepSize", "<number>4</number>", "4"},
    {"TPerformanceGraph", "Gradient", "<number>50</number>", "50"},
    {"TPerformanceGraph", "Scale", "<number>250</number>", "250"},
    {"TPerformanceGraph", "Gridlines", "<bool>false</bool>", "false"},
    {"TPerformanceGraph", "PenWidth", "<number>1</number>", "1"},
};

// A form holding one widget of each class with the values of kSaved, as Designer saves it:
// a property whose setter is not named set<Property> is marked stdset="0", so that code
// generated from the form sets it through the property system.
QByteArray SavedForm() {
    QString body, custom;
    for (const auto& o : kOffered) {
        auto* plugin = PluginWidget(o.name);
        if (!plugin)
            return {};
        const std::unique_ptr<QWidget> sample(plugin->createWidget(nullptr));
        const QMetaObject* meta = sample->metaObject();
        body += QStringLiteral("  <widget class=\"%1\" name=\"my%1\">\n").arg(o.name);
        for (const auto& s : kSaved) {
            if (QLatin1String(s.widgetClass) != QLatin1String(o.name))
                continue;
            const int index = meta->indexOfProperty(s.property);
            EXPECT_GE(index, 0) << o.name << "." << s.property;
            const bool stdset = index >= 0 && meta->property(index).hasStdCppSet();
            body += QStringLiteral("   <property name=\"%1\"%2>%3</property>\n")
                        .arg(s.property, stdset ? "" : " stdset=\"0\"", s.xml);
        }
        body += QStringLiteral("  </widget>\n");
        custom += QStringLiteral("  <customwidget><class>%1</class><extends>%2</extends>"
                                 "<header>%3</header></customwidget>\n")
                      .arg(o.name, o.base, o.header);
    }
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<ui version=\"4.0\">\n <class>Form</class>\n"
                          " <widget class=\"QWidget\" name=\"Form\">\n%1 </widget>\n"
                          " <customwidgets>\n%2 </customwidgets>\n</ui>\n")
        .arg(body, custom)
        .toUtf8();
}

TEST(DesignerPlugin, FormKeepsNonDefaultPropertyValues) {
    QUiLoader loader;
    loader.clearPluginPaths();
    loader.addPluginPath(QFileInfo(kPluginFile).absolutePath());
    for (const auto& o : kOffered)
        EXPECT_TRUE(loader.availableWidgets().contains(o.name)) << o.name;

    QByteArray xml = SavedForm();
    QBuffer file(&xml);
    file.open(QIODevice::ReadOnly);
    std::unique_ptr<QWidget> form(loader.load(&file));
    ASSERT_NE(form, nullptr) << loader.errorString().toStdString();

    for (const auto& s : kSaved) {
        SCOPED_TRACE(std::string(s.widgetClass) + "." + s.property);
        auto* w = form->findChild<QWidget*>(QStringLiteral("my") + s.widgetClass);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(QString(w->metaObject()->className()), s.widgetClass);
        EXPECT_EQ(w->property(s.property).toString(), s.read);
    }
    // A property the form leaves out keeps its default.
    auto* gauge = form->findChild<QWidget*>("myTCGauge");
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(gauge->property("Kind").toInt(), 3);
    auto* edit = form->findChild<QWidget*>("myTCSpinEdit");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->property("AutoSelect").toBool(), true);
}

} // namespace
