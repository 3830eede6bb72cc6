// The command registry: one row per command with everything that is said
// about it: its batch names, the operation it runs (NAME, arguments,
// function, fault reason) or its handler, the key that carries it and its
// place in the menus. The keypad, the menus, the keys help and batch mode
// all read this one table; adding a command is one row plus its function.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/calc/appearance.h"
#include "core/commands/keys.h"
#include "core/ops/opframe.h"

namespace tallix {

// clang-format off
enum class Cmd : std::uint8_t {
    None,
    // stack and arithmetic
    Add, Sub, Mul, Div, Swap, Last, Clr, Sum, Dup2, Depth, Rotate, Roll,
    Dup, Drop, Neg, Abs, Fix, Edit,
    // scientific
    Pi, Inv, Sin, Cos, Tan, ASin, ACos, ATan, Sqrt, Sq, Pow, XRoot, Log, Alog, Ln, Exp,
    SinH, ASinH, CosH, ACosH, TanH, ATanH,
    // whole-number and number-part functions
    Mod, Fact, Gcd, Lcm, Reduce, ToFrac, Comb, Perm, Round, Floor, Ceil, CropR, CropT,
    IP, FP, Mant, Xpon, Hypot, Random,
    // integer mode
    And, Or, Xor, Not, SL, SR, RL, RR, STWS, RCWS,
    // modes
    Bin, Oct, Dec, Hex, Cyc, Deg, Rad, Grad,
    // undo and redo
    Undo, Redo,
    // the window's own commands
    Open, Save, Print, TrayIcon, Keys, About, Exit, StayOnTop, HideKeyboard, HideNumbers, Tape,
    Copy, CopyStack, Paste,
    // the window's look: its theme and its zoom
    ThemeSystem, ThemeLight, ThemeDark, ThemeHighContrast,
    Zoom100, Zoom125, Zoom150, Zoom200, ZoomIn, ZoomOut,
    // the tray icon's popup menu
    Restore, TrayClose, AboutTallix,
    Count
};
// clang-format on

// The menus, as the menu bar nests them.
enum class Menu : std::uint8_t {
    None,
    File,
    Edit,
    Menus,
    Hyp,
    Logic,
    Misc,
    Parts,
    Stack,
    Stat,
    Options,
    Angle,
    Base,
    Theme,
    Zoom,
    Popup, // the tray icon's popup menu
    Count
};

struct MenuDef {
    Menu id;
    Menu parent; // Menu::None: on the menu bar
    std::string_view caption;
    std::string_view object; // the Qt object name
    bool popup = false;      // a popup menu of its own, not on the menu bar
};
// Parents come before their submenus.
std::span<const MenuDef> MenuTable();

enum class Check : std::uint8_t {
    None,
    Radio,  // one of a group (the angle units, the bases): the core says which
    Toggle, // a window option with its own check mark
    Choice, // one of a group of window options (the themes, the zoom steps): the window says which
};

// The mouse wheel turned with Ctrl held, anywhere over the window.
enum class Wheel : std::uint8_t { None, CtrlUp, CtrlDown };

struct MenuPlace {
    Menu menu = Menu::None;
    std::string_view caption;       // with its & mnemonic
    std::string_view object;        // the Qt object name
    std::string_view shortcut = {}; // portable key text, e.g. "Ctrl+2"
    bool separatorBefore = false;
    std::string_view separatorName = {};
    Check check = Check::None;
    bool isDefault = false;          // the default item of a popup menu, shown in bold
    std::string_view shortcut2 = {}; // a second key for the same item
    Wheel wheel = Wheel::None;       // a turn of the wheel that runs it too
};

struct KeyPlace {
    Key key = Key::None;
    bool shifted = false; // the key's function with Shift on
};

// Calculator commands that are not operations in the command frame.
using Handler = void (*)(Calculator::Change& calc);
// Undo and Redo, which run outside any step.
using HistoryHandler = bool (Calculator::*)();

enum class Scope : std::uint8_t {
    Operation,  // runs `op` in the command frame
    Calculator, // runs `handler`
    History,    // runs `handler` outside any undo step: undo and redo
    Window,     // the window runs it; batch mode does not know it
};

struct CommandDef {
    Cmd id;
    Scope scope;
    std::array<std::string_view, 2> batch; // batch-mode names (upper case)
    OpSpec op;
    Handler handler = nullptr;
    KeyPlace key = {};
    MenuPlace menu = {};
    // What the Edit menu calls the command's undo step, where neither its
    // NAME nor its menu caption says it.
    std::string_view label = {};
    HistoryHandler history = nullptr; // Scope::History
};

std::span<const CommandDef> CommandTable();
// The name of a command's undo step: its label, else its NAME ("+",
// "SIN"), else its menu caption without the mnemonic and the dots ("Open").
// Made once for every row: every command names its step.
const std::string& CommandLabel(const CommandDef& def);
const std::string& CommandLabel(Cmd id);
// The row of a command, or nullptr for Cmd::None and ids without a row.
const CommandDef* CommandInfo(Cmd id);
// Looks a batch name up case-insensitively ("sin", "×" and "*" included).
const CommandDef* FindCommand(std::string_view name);
// The command a key carries with Shift off or on. A key with one function
// runs it in both states.
Cmd KeyCommand(Key key, bool shifted);
// The keys that carry a second function, in keypad order.
std::span<const Key> ShiftedKeys();

// The theme a Theme item chooses, the zoom a Zoom step item chooses
// (ZoomIn and ZoomOut are steps from the current one, not steps of their
// own); nothing for other commands.
std::optional<Theme> ThemeOfCommand(Cmd id);
std::optional<int> ZoomOfCommand(Cmd id);
// The item of a theme and of a zoom step.
Cmd ThemeCommand(Theme theme);
Cmd ZoomCommand(int percent);

// The command a turn of the wheel runs, or Cmd::None.
Cmd WheelCommand(Wheel wheel);

// The keyboard help: one "key : function" line per mapped key (and per
// character that presses another key in one base), then, each after an
// empty line, one per function under Shift, per key that scrolls the stack
// and per Ctrl shortcut of the menus (the wheel's included). Lines are
// separated by CR LF, with no line break after the last.
std::string_view KeysHelpText();

} // namespace tallix
