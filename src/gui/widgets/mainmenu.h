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
class QWidget;

namespace tallix::gui {

class TMainMenu : public QObject {
    Q_OBJECT
public:
    // Popup menus (not on the bar) belong to `owner`.
    TMainMenu(QMenuBar* bar, QWidget* owner);

    QAction* Action(tallix::Cmd cmd) const { return actions_[static_cast<int>(cmd)]; }
    QMenu* Menu(tallix::Menu menu) const { return menus_[static_cast<int>(menu)]; }
    // The separator above a command's item, if it has one.
    QAction* SeparatorBefore(tallix::Cmd cmd) const { return separators_[static_cast<int>(cmd)]; }
    // Checks the current angle unit and base; names the steps Undo and
    // Redo would play, and greys them when there is nothing to do.
    void Refresh(const tallix::Calculator& calc);

Q_SIGNALS:
    void triggered(tallix::Cmd cmd);
    void aboutToShow(tallix::Menu menu);

private:
    std::array<QAction*, static_cast<int>(tallix::Cmd::Count)> actions_{};
    std::array<QAction*, static_cast<int>(tallix::Cmd::Count)> separators_{};
    std::array<QMenu*, static_cast<int>(tallix::Menu::Count)> menus_{};
};

} // namespace tallix::gui
