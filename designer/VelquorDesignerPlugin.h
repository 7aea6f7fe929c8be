// SPDX-License-Identifier: MIT
#pragma once
// Qt Designer plugin: one widget-box entry per registered component class, all in the group
// of the classes' palette page.
#include "Registry.h"

#include <QObject>
#include <QSize>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

// Designer's view of one registered class. It keeps its own copy of the registry entry, so that
// later registrations, which may move or drop the registry's entries, leave it working.
class VelquorWidgetPlugin : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    VelquorWidgetPlugin(const TRegisteredComponent& component, QObject* parent);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    bool isContainer() const override { return false; }
    QWidget* createWidget(QWidget* parent) override;
    bool isInitialized() const override { return initialized_; }
    void initialize(QDesignerFormEditorInterface* core) override;
    QString domXml() const override;

    // Size a new instance gets when it is dropped on a form.
    QSize defaultSize() const;

private:
    const TRegisteredComponent component_;
    bool initialized_ = false;
};

// The collection Designer loads: registers the widget units and offers every registered class.
class VelquorWidgetCollection : public QObject, public QDesignerCustomWidgetCollectionInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

public:
    explicit VelquorWidgetCollection(QObject* parent = nullptr);

    QList<QDesignerCustomWidgetInterface*> customWidgets() const override { return widgets_; }

private:
    QList<QDesignerCustomWidgetInterface*> widgets_;
};
