// The program's 32 x 32 icon: a small desktop calculator in the classic
// sixteen-colour palette. Used for the windows and the error dialog.
#include "gui/widgets/icon.h"

#include <QPixmap>

namespace tallix::gui {
namespace {
// clang-format off
const char* const kIconXpm[] = {
"32 32 8 1",
"  c None",
"k c #000000",
"g c #C0C0C0",
"w c #FFFFFF",
"d c #808080",
"l c #B8D8A0",
"r c #C00000",
"b c #000080",
"                                ",
"    kkkkkkkkkkkkkkkkkkkkkkkk    ",
"    kwwwwwwwwwwwwwwwwwwwwwwk    ",
"    kwggggggggggggggggggggdk    ",
"    kwgkkkkkkkkkkkkkkkkkkgdk    ",
"    kwgkllllllllllllllllkgdk    ",
"    kwgklllllllkkklkkkllkgdk    ",
"    kwgkllllkklllklllkllkgdk    ",
"    kwgklllllllkkklkkkllkgdk    ",
"    kwgkllllllllllllllllkgdk    ",
"    kwgkkkkkkkkkkkkkkkkkkgdk    ",
"    kwggggggggggggggggggggdk    ",
"    kwggggggggggggggggggggdk    ",
"    kwgbbbbgbbbbgbbbbgrrrrdk    ",
"    kwgbbbbgbbbbgbbbbgrrrrdk    ",
"    kwgbbbbgbbbbgbbbbgrrrrdk    ",
"    kwggggggggggggggggggggdk    ",
"    kwgwwwwgwwwwgwwwwgrrrrdk    ",
"    kwgwwwwgwwwwgwwwwgrrrrdk    ",
"    kwgwdddgwdddgwdddgrrrrdk    ",
"    kwggggggggggggggggggggdk    ",
"    kwgwwwwgwwwwgwwwwgrrrrdk    ",
"    kwgwwwwgwwwwgwwwwgrrrrdk    ",
"    kwgwdddgwdddgwdddgrrrrdk    ",
"    kwggggggggggggggggggggdk    ",
"    kwgwwwwgwwwwgwwwwgrrrrdk    ",
"    kwgwwwwgwwwwgwwwwgrrrrdk    ",
"    kwgwdddgwdddgwdddgrrrrdk    ",
"    kwggggggggggggggggggggdk    ",
"    kwdddddddddddddddddddddk    ",
"    kkkkkkkkkkkkkkkkkkkkkkkk    ",
"                                "
};
// clang-format on
} // namespace

QIcon AppIcon() { return QIcon(AppPixmap()); }

QPixmap AppPixmap() { return QPixmap(kIconXpm); }

} // namespace tallix::gui
