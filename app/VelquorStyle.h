// SPDX-License-Identifier: MIT
#pragma once
// The style the program's windows are drawn with.
#include <QProxyStyle>

// The style Qt chose for the desktop, drawing exactly as before, except for when a menu bar's
// overflow button gets its picture. Qt fetches that picture while it builds the menu bar, and
// the first picture a program reads makes Qt load every image format plugin it can find; the
// button stays hidden for as long as the menu headings fit, so here it is given its picture when
// it is first shown instead, and the window's first frame does not wait for the plugins.
class VelquorStyle : public QProxyStyle {
public:
    // Takes over the style (the application's own, typically), as QProxyStyle does.
    explicit VelquorStyle(QStyle* style);

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
