// SPDX-License-Identifier: MIT
#include "VelquorStyle.h"

#include <QEvent>
#include <QMenuBar>
#include <QToolButton>

namespace {

// The overflow button Qt gives every menu bar; its picture is the horizontal extension icon.
constexpr QLatin1StringView OverflowButtonName("qt_menubar_ext_button");

} // namespace

VelquorStyle::VelquorStyle(QStyle* style) : QProxyStyle(style) {}

QIcon VelquorStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                 const QWidget* widget) const {
    if (standardIcon == SP_ToolBarHorizontalExtensionButton && !option) {
        // A menu bar being built asks for its overflow button's picture: the button is already
        // its child, hidden and without a picture. Anything else gets the picture at once.
        if (const auto* bar = qobject_cast<const QMenuBar*>(widget)) {
            auto* button =
                bar->findChild<QToolButton*>(OverflowButtonName, Qt::FindDirectChildrenOnly);
            if (button && button->icon().isNull() && !button->isVisible()) {
                button->installEventFilter(const_cast<VelquorStyle*>(this));
                return {};
            }
        }
    }
    return QProxyStyle::standardIcon(standardIcon, option, widget);
}

bool VelquorStyle::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        if (auto* button = qobject_cast<QToolButton*>(watched)) {
            watched->removeEventFilter(this);
            // The picture Qt would have given it, fetched just as Qt does.
            button->setIcon(QProxyStyle::standardIcon(SP_ToolBarHorizontalExtensionButton, nullptr,
                                                      button->parentWidget()));
        }
    }
    return QProxyStyle::eventFilter(watched, event);
}
