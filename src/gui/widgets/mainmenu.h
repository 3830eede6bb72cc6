// The menu bar, built from the command registry: every command with a menu
// place becomes an item with its caption, object name, shortcut and check
// mark, in the order of the registry's rows.
#pragma once

#include <QObject>
#include <array>

#include "core/commands/registry.h"

class QAction;
class QMenu;
class QMenuBar;

namespace tallix::gui {

class TMainMenu : public QObject {
    Q_OBJECT
public:
    explicit TMainMenu(QMenuBar* bar);

    QAction* Action(tallix::Cmd cmd) const { return actions_[static_cast<int>(cmd)]; }
    QMenu* Menu(tallix::Menu menu) const { return menus_[static_cast<int>(menu)]; }
    // Checks the current angle unit and base; greys Undo and Redo when
    // there is nothing to undo or redo.
    void Refresh(const tallix::Calculator& calc);

Q_SIGNALS:
    void triggered(tallix::Cmd cmd);
    void aboutToShow(tallix::Menu menu);

private:
    std::array<QAction*, static_cast<int>(tallix::Cmd::Count)> actions_{};
    std::array<QMenu*, static_cast<int>(tallix::Menu::Base) + 1> menus_{};
};

} // namespace tallix::gui
