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

#ifdef TALLIX_HAVE_XCB
constexpr char kHintsName[] = "_MOTIF_WM_HINTS";

xcb_connection_t* Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// The hints' atom, asked for once per run. The question can go out early
// (see AskFrameHintsAtom), so that the first window's showing does not
// wait for the answer.
struct HintsAtom {
    xcb_connection_t* connection = nullptr;
    bool asked = false;
    xcb_intern_atom_cookie_t cookie{};
    xcb_atom_t atom = XCB_ATOM_NONE;
};
HintsAtom& Hints() {
    static HintsAtom hints;
    return hints;
}

void Ask(xcb_connection_t* c) {
    HintsAtom& h = Hints();
    if (h.asked && h.connection == c) return;
    h = HintsAtom{c, true, xcb_intern_atom(c, 0, sizeof kHintsName - 1, kHintsName), XCB_ATOM_NONE};
}

xcb_atom_t Atom(xcb_connection_t* c) {
    Ask(c);
    HintsAtom& h = Hints();
    if (h.atom == XCB_ATOM_NONE) {
        if (xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, h.cookie, nullptr)) {
            h.atom = reply->atom;
            std::free(reply);
        } else {
            h.asked = false; // ask again next time
        }
    }
    return h.atom;
}
#endif
} // namespace

void AskFrameHintsAtom() {
#ifdef TALLIX_HAVE_XCB
    if (xcb_connection_t* c = Connection()) {
        Ask(c);
        xcb_flush(c);
    }
#endif
}

unsigned AskFixedFrameFunctions(QWidget* window) {
    std::uint32_t functions = kFuncMove | kFuncClose;
    if (window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint)) functions |= kFuncMinimize;
#ifdef TALLIX_HAVE_XCB
    xcb_connection_t* c = Connection();
    QWindow* handle = window->windowHandle();
    if (!c || !handle) return 0;
    const auto id = static_cast<xcb_window_t>(handle->winId());
    const xcb_atom_t hintsAtom = Atom(c);
    if (hintsAtom == XCB_ATOM_NONE) return 0;
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
