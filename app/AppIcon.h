#pragma once

#include <QIcon>
#include <QImage>

namespace markvane {

// The application's own icon: the draw-mode status icon on a white disc, so
// it reads on light and dark backgrounds alike. data/markvane.svg is the same
// picture for icon themes.
QImage appIconImage(int pixels);
QIcon appIcon();

} // namespace markvane
