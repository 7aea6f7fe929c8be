// SPDX-License-Identifier: MIT
#pragma once
// The widget gallery: the six registered widgets side by side, each in a box with a few controls
// that change its main properties, so a developer can see and try them before using them in a
// form. The performance graph is fed by a timer that belongs to the window.
class QWidget;

// Fills an empty window with the gallery.
void BuildGallery(QWidget& window);
