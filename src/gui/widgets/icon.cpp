// The program's icon: the pictures installed for the desktop's menus (under
// data/icons), built into the program as a resource so that the windows, the
// error dialog and the tray show the same calculator.
#include "gui/widgets/icon.h"

#include <QString>

namespace tallix::gui {

QIcon AppIcon() {
    // Read once for the run: the application, the window, the tray and the
    // error dialog all show it, and each reading decodes six pictures. It
    // is never freed, so that no picture outlives the application object.
    static const QIcon* const icon = [] {
        auto* i = new QIcon;
        // The sizes a window frame, a task bar or a tray asks for; the
        // window system receives every size given here at each start, so
        // the large menu sizes stay out.
        for (int size : {16, 22, 24, 32, 48, 64})
            i->addFile(QString(":/icons/%1x%1/apps/tallix.png").arg(size), QSize(size, size));
        return i;
    }();
    return *icon;
}

QPixmap AppPixmap(int size) { return AppIcon().pixmap(QSize(size, size)); }

} // namespace tallix::gui
