// A notification-area (tray) icon with a tooltip, a popup menu and click
// events. The platform's tray icon stands in for the shell's: its
// activations are the mouse messages (a click is the left button released,
// a double click the left button's double click, a context request the
// right button released).
#pragma once

#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>

class QMenu;
class QSystemTrayIcon;

namespace tallix::gui {

class TTrayIcon : public QObject {
    Q_OBJECT
public:
    // The longest tooltip kept, in characters.
    static constexpr int kToolTipLimit = 62;

    explicit TTrayIcon(QObject* owner);
    ~TTrayIcon() override;

    bool Active() const { return active_; }
    // Adds the icon to the notification area or deletes it; nothing when the
    // value does not change.
    void SetActive(bool active);
    const QIcon& Icon() const { return icon_; }
    void SetIcon(const QIcon& icon);
    const QString& ToolTip() const { return toolTip_; }
    // Keeps the first 62 characters.
    void SetToolTip(const QString& tip);
    void SetPopupMenu(QMenu* menu) { popupMenu_ = menu; } // not owned

    std::function<void(TTrayIcon*)> OnClick;
    std::function<void(TTrayIcon*)> OnDblClick;
    // After the popup menu: the sender, the right button, no modifiers and
    // the cursor's position on the screen.
    std::function<void(TTrayIcon*, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y)>
        OnRightClick;

    // The mouse over the icon, as the notification area reports it.
    void LeftButtonUp();
    void LeftButtonDblClick();
    void RightButtonUp(QPoint cursor);

    // The platform icon, for tests and for the window's own checks; made
    // when first needed.
    QSystemTrayIcon* PlatformIcon();
    // How often the icon was added, changed and deleted in the notification
    // area: what the shell saw.
    struct Calls {
        int add = 0, modify = 0, remove = 0;
    };
    const Calls& ShellCalls() const { return calls_; }

private:
    void Add();
    void Modify();
    void Delete();

    bool active_ = false;
    QIcon icon_;
    QString toolTip_;
    QMenu* popupMenu_ = nullptr;
    QSystemTrayIcon* tray_ = nullptr; // the window the shell reports to, once made
    Calls calls_;
};

} // namespace tallix::gui
