// The built Qt Designer plugin, loaded the way Designer and QUiLoader load it: which widgets it
// offers and how, whether the widgets it makes work, and whether a form keeps their properties.
#include <QBuffer>
#include <QFileInfo>
#include <QImage>
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
    {"TCGauge", "ForeColor", "<UInt>255</UInt>", "255"},
    {"TCGauge", "MinValue", "<number>200</number>", "0"},
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

TEST(DesignerPlugin, FormKeepsNonDefaultPropertyValues) {
    QUiLoader loader;
    loader.clearPluginPaths();
    loader.addPluginPath(QFileInfo(kPluginFile).absolutePath());
    QByteArray xml = SavedForm();
    QBuffer file(&xml);
    file.open(QIODevice::ReadOnly);
    const std::unique_ptr<QWidget> form(loader.load(&file));
    ASSERT_NE(form, nullptr) << loader.errorString().toStdString();
    auto read = [&](const QString& widgetClass, const char* property) {
        auto* w = form->findChild<QWidget*>("my" + widgetClass);
        EXPECT_TRUE(w && w->metaObject()->className() == widgetClass);
        return w ? w->property(property).toString() : QString();
    };
    for (const auto& s : kSaved)
        EXPECT_EQ(s[3], read(s[0], s[1])) << s[0] << "." << s[1];
}

} // namespace
