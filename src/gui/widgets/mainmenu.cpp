#include "gui/widgets/mainmenu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "core/commands/dispatch.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/theme.h"

namespace tallix::gui {

using tallix::Cmd;

TMainMenu::TMainMenu(QMenuBar* bar, QWidget* owner) : QObject(bar) {
    bar->setObjectName("MainMenu1");
    for (const tallix::MenuDef& m : tallix::MenuTable()) {
        QMenu* parent = Menu(m.parent);
        QMenu* menu = m.popup  ? new QMenu(owner)
                      : parent ? parent->addMenu(Q(m.caption))
                               : bar->addMenu(Q(m.caption));
        menu->setObjectName(Q(m.object));
        FollowOwnerLook(menu);
        menus_[static_cast<int>(m.id)] = menu;
        connect(menu, &QMenu::aboutToShow, this, [this, id = m.id] { Q_EMIT aboutToShow(id); });
    }
    std::array<QActionGroup*, static_cast<int>(tallix::Menu::Count)> groups{};
    for (const tallix::CommandDef& c : tallix::CommandTable()) {
        const tallix::MenuPlace& p = c.menu;
        QMenu* menu = Menu(p.menu);
        if (!menu) continue;
        if (p.separatorBefore) {
            QAction* sep = menu->addSeparator();
            sep->setObjectName(Q(p.separatorName));
            separators_[static_cast<int>(c.id)] = sep;
        }
        QAction* a = menu->addAction(Q(p.caption));
        a->setObjectName(Q(p.object));
        QList<QKeySequence> keys;
        for (std::string_view k : {p.shortcut, p.shortcut2})
            if (!k.empty()) keys.append(QKeySequence(Q(k)));
        a->setShortcuts(keys);
        if (p.check != tallix::Check::None) a->setCheckable(true);
        if (p.isDefault) {
            QFont bold = a->font();
            bold.setBold(true);
            a->setFont(bold);
            menu->setDefaultAction(a);
        }
        if (p.check == tallix::Check::Radio || p.check == tallix::Check::Choice) {
            QActionGroup*& group = groups[static_cast<int>(p.menu)];
            if (!group) group = new QActionGroup(this);
            group->addAction(a);
        }
        actions_[static_cast<int>(c.id)] = a;
        connect(a, &QAction::triggered, this, [this, id = c.id] { Q_EMIT triggered(id); });
    }
}

void TMainMenu::Refresh(const tallix::Calculator& calc) {
    for (const tallix::CommandDef& c : tallix::CommandTable())
        if (c.menu.check == tallix::Check::Radio)
            Action(c.id)->setChecked(tallix::IsCurrentMode(calc, c.id));
    // Greyed items take no shortcut either.
    for (Cmd c : {Cmd::Undo, Cmd::Redo}) {
        Action(c)->setText(QString::fromStdString(tallix::HistoryItemText(calc, c)));
        Action(c)->setEnabled(c == Cmd::Undo ? calc.CanUndo() : calc.CanRedo());
    }
}

} // namespace tallix::gui
