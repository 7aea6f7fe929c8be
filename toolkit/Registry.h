// SPDX-License-Identifier: MIT
#pragma once
// The component registry: the classes that the widget units announce to a visual form designer,
// each with the palette page it belongs on and its palette bitmap. The running program never
// registers anything; the Designer plugin and the tests do.
#include <QImage>
#include <QString>
#include <functional>
#include <span>
#include <vector>

class QWidget;
struct QMetaObject;

// A component class as a unit hands it over: its meta object and a way to make an instance.
struct TComponentClass {
    const QMetaObject* MetaObject = nullptr;
    std::function<QWidget*(QWidget* Parent)> Create;

    // The class name of the meta object; empty without one.
    QString ClassName() const;
};

// The class entry of a widget class T that can be made from a parent widget alone.
template <class T> TComponentClass ComponentClass() {
    return {&T::staticMetaObject, [](QWidget* Parent) -> QWidget* { return new T(Parent); }};
}

// One registered class.
struct TRegisteredComponent {
    TComponentClass Class;
    QString Page;         // palette page the class is shown on
    QImage PaletteBitmap; // the class's palette bitmap; null when it has none
};

// Adds the classes, in their order, to the registry under Page, each with the palette bitmap
// found by its class name. A class registered before (same class name) keeps its place and
// takes the new page and factory. Entries without a meta object or a factory are skipped.
void RegisterComponents(const QString& Page, std::span<const TComponentClass> Classes);

// Every registered class, in the order of registration.
const std::vector<TRegisteredComponent>& RegisteredComponents();
// The registered class of that name, or null.
const TRegisteredComponent* FindRegisteredComponent(const QString& ClassName);
// Empties the registry.
void UnregisterAllComponents();

// Resource path of a class's palette bitmap: the class name in capital letters, as a BMP file
// under ":/palette/" (":/palette/TCGAUGE.bmp" for TCGauge).
QString PaletteBitmapPath(const QString& ClassName);
// The class's palette bitmap, or a null image when there is none.
QImage LoadPaletteBitmap(const QString& ClassName);

// String resource holding the name of the palette page of the widget units.
inline constexpr int SComponentPage = 101;
// The text of a string resource of the program; empty for an unknown number.
QString LoadStr(int Ident);
