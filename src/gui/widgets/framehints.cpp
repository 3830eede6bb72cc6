#include "gui/widgets/framehints.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdint>

#ifdef TALLIX_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>
#endif

namespace tallix::gui {

namespace {
// The Motif hints' fields and bits, as window managers read them.
constexpr std::uint32_t kHintsFunctions = 1u << 0;
constexpr std::uint32_t kFuncMove = 1u << 2;
constexpr std::uint32_t kFuncMinimize = 1u << 3;
constexpr std::uint32_t kFuncClose = 1u << 5;
constexpr int kHintsFields = 5; // flags, functions, decorations, input mode, status
} // namespace

unsigned AskFixedFrameFunctions(QWidget* window) {
    std::uint32_t functions = kFuncMove | kFuncClose;
    if (window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint)) functions |= kFuncMinimize;
#ifdef TALLIX_HAVE_XCB
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    QWindow* handle = window->windowHandle();
    if (!x11 || !handle || !x11->connection()) return 0;
    xcb_connection_t* c = x11->connection();
    const auto id = static_cast<xcb_window_t>(handle->winId());
    static constexpr char kName[] = "_MOTIF_WM_HINTS";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof kName - 1, kName), nullptr);
    if (!atom) return 0;
    const xcb_atom_t hintsAtom = atom->atom;
    std::free(atom);
    // The toolkit's decorations stay; only the functions change.
    std::uint32_t hints[kHintsFields] = {};
    if (xcb_get_property_reply_t* old = xcb_get_property_reply(
            c, xcb_get_property(c, 0, id, hintsAtom, hintsAtom, 0, kHintsFields), nullptr)) {
        if (old->format == 32)
            std::memcpy(hints, xcb_get_property_value(old),
                        sizeof(std::uint32_t) *
                            std::min<int>(kHintsFields, xcb_get_property_value_length(old) / 4));
        std::free(old);
    }
    hints[0] |= kHintsFunctions;
    hints[1] = functions;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, hintsAtom, hintsAtom, 32, kHintsFields,
                        hints);
    xcb_flush(c);
    return functions;
#else
    (void)window;
    (void)functions;
    return 0;
#endif
}

} // namespace tallix::gui
