// The program's icon.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace tallix::gui {

QPixmap AppPixmap();
QIcon AppIcon();

} // namespace tallix::gui
