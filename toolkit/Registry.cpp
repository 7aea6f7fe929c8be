// SPDX-License-Identifier: MIT
#include "Registry.h"

#include <QFile>
#include <QMetaObject>
#include <algorithm>

namespace {

std::vector<TRegisteredComponent>& Registry() {
    static std::vector<TRegisteredComponent> registry;
    return registry;
}

// The program's string table.
struct StringResource {
    int Ident;
    const char* Text;
};
constexpr StringResource kStrings[] = {
    {SComponentPage, "Velquor"},
};

} // namespace

QString TComponentClass::ClassName() const {
    return MetaObject ? QString::fromLatin1(MetaObject->className()) : QString();
}

void RegisterComponents(const QString& Page, std::span<const TComponentClass> Classes) {
    auto& registry = Registry();
    for (const TComponentClass& cls : Classes) {
        if (!cls.MetaObject || !cls.Create)
            continue;
        const QString name = cls.ClassName();
        TRegisteredComponent entry{cls, Page, LoadPaletteBitmap(name)};
        auto known = std::find_if(registry.begin(), registry.end(),
                                  [&](const auto& e) { return e.Class.ClassName() == name; });
        if (known != registry.end())
            *known = std::move(entry);
        else
            registry.push_back(std::move(entry));
    }
}

const std::vector<TRegisteredComponent>& RegisteredComponents() {
    return Registry();
}

const TRegisteredComponent* FindRegisteredComponent(const QString& ClassName) {
    for (const auto& entry : Registry())
        if (entry.Class.ClassName() == ClassName)
            return &entry;
    return nullptr;
}

void UnregisterAllComponents() {
    Registry().clear();
}

QString PaletteBitmapPath(const QString& ClassName) {
    return QStringLiteral(":/palette/") + ClassName.toUpper() + QStringLiteral(".bmp");
}

QImage LoadPaletteBitmap(const QString& ClassName) {
    if (ClassName.isEmpty())
        return {};
    const QString path = PaletteBitmapPath(ClassName);
    if (!QFile::exists(path))
        return {};
    return QImage(path, "BMP");
}

QString LoadStr(int Ident) {
    for (const auto& s : kStrings)
        if (s.Ident == Ident)
            return QString::fromLatin1(s.Text);
    return {};
}
