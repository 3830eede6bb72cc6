// The program's icon.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace tallix::gui {

// The icon in every size it is drawn in, for the windows and the tray.
QIcon AppIcon();
// The icon as a square picture of the given size in device-independent pixels.
QPixmap AppPixmap(int size = 32);

} // namespace tallix::gui
