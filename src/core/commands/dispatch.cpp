#include "core/commands/dispatch.h"

namespace tallix {

using Change = Calculator::Change;

namespace {

// A command inside the step that is open; `name`: it names the step when
// the step has no name yet.
void RunIn(Change& c, const CommandDef& def, bool name = true) {
    if (name) c.Label(CommandLabel(def));
    switch (def.scope) {
    case Scope::Operation: RunOp(c, def.op); break;
    case Scope::Calculator: def.handler(c); break;
    case Scope::History: // never inside a step: a command cannot undo itself
    case Scope::Window: break;
    }
}

void RunIn(Change& c, Cmd cmd) {
    if (const CommandDef* def = CommandInfo(cmd)) RunIn(c, *def);
}

void PressIn(Change& c, Key key) {
    const Calculator& calc = c.Calc();
    const bool shifted = calc.ShiftDown();
    const bool dec = calc.CurrentBase() == Base::DEC;
    const std::string& entry = calc.Entry();
    switch (key) {
    case Key::KDot:
        if (dec && entry.find('E') == std::string::npos &&
            entry.find(calc.DecimalChar()) == std::string::npos)
            c.AppendToEntry(calc.DecimalChar());
        break;
    case Key::KEex:
        if (!dec) break;
        if (shifted)
            RunIn(c, KeyCommand(key, true));
        else if (entry.empty())
            c.SetEntry("1E");
        else if (entry.find('E') == std::string::npos)
            c.AppendToEntry('E');
        break;
    case Key::KPlusMinus:
        if (!dec) break;
        if (!shifted && !entry.empty()) {
            std::size_t e = entry.find('E');
            c.SetEntry(ToggleEntrySign(entry, e == std::string::npos ? 1 : e + 2));
        } else {
            RunIn(c, KeyCommand(key, shifted));
        }
        break;
    case Key::KBackspace:
        if (!shifted && !entry.empty())
            c.SetEntry(entry.substr(0, entry.size() - 1));
        else
            RunIn(c, KeyCommand(key, shifted));
        break;
    case Key::KSpace:
        if (c.EnterEntryLine()) c.ResetEntry();
        break;
    default: {
        const Cmd cmd = KeyCommand(key, shifted);
        if (cmd == Cmd::None) // a digit key
            c.AppendToEntry(KeyInfo(key).keyboard);
        else
            RunIn(c, cmd);
        break;
    }
    }
    // The key's flash ends by switching Shift off: a Shift applies to
    // exactly one key.
    c.SetShift(false);
}

// A key that runs a command takes the command's name for its step; Space
// enters as Enter does.
std::string_view KeyStepLabel(Key key) {
    return key == Key::KSpace ? std::string_view(CommandLabel(Cmd::Dup)) : std::string_view();
}

} // namespace

void RunCommand(Calculator& calc, Cmd cmd) {
    const CommandDef* def = CommandInfo(cmd);
    if (!def) return;
    if (def->scope == Scope::History) {
        (calc.*def->history)();
        return;
    }
    // Everything the command changes is one undo step.
    calc.Apply(CommandLabel(*def), [def](Change& c) { RunIn(c, *def, false); });
}

bool PressKey(Calculator& calc, Key key, bool shifted) {
    if (key == Key::KShift) {
        calc.Apply({}, [](Change& c) { c.SetShift(!c.Calc().ShiftDown()); });
        return true;
    }
    if (!KeyEnabled(calc.CurrentBase(), key)) return false;
    calc.Apply(KeyStepLabel(key), [key, shifted](Change& c) {
        c.SetShift(shifted);
        PressIn(c, key);
    });
    return true;
}

void EndShift(Calculator& calc) {
    if (calc.ShiftDown()) calc.Apply({}, [](Change& c) { c.SetShift(false); });
}

Key TypeChar(Calculator& calc, char32_t ch, bool shifted, const std::function<void(Key)>& press) {
    const Key key = KeyForChar(ch, calc.DecimalChar(), calc.CurrentBase());
    if (key != Key::None && KeyEnabled(calc.CurrentBase(), key)) {
        // The key ends the Shift state itself as it runs. A Shift chosen
        // after that, while the window still shows the key pressed, is the
        // next key's.
        if (!press)
            PressKey(calc, key, shifted);
        else
            press(key);
        return key;
    }
    // Every other typed character, mapped or not, ends the Shift state too.
    EndShift(calc);
    return key;
}

bool CommandEnabled(Base base, const CommandDef& def) {
    return def.key.key == Key::None || KeyEnabled(base, def.key.key);
}

void RunAsNamed(Calculator& calc, const CommandDef& def) {
    if (CommandEnabled(calc.CurrentBase(), def)) RunCommand(calc, def.id);
}

std::string HistoryItemText(const Calculator& calc, Cmd cmd) {
    const CommandDef* def = CommandInfo(cmd);
    if (!def) return {};
    std::string text(def->menu.caption);
    const std::string_view label = cmd == Cmd::Undo   ? calc.UndoLabel()
                                   : cmd == Cmd::Redo ? calc.RedoLabel()
                                                      : std::string_view();
    const bool can = cmd == Cmd::Undo ? calc.CanUndo() : calc.CanRedo();
    if (!can || label.empty()) return text;
    text += ' ';
    // An ampersand in the name is shown, not taken for a mnemonic.
    for (char c : label) {
        if (c == '&') text += '&';
        text += c;
    }
    return text;
}

bool IsCurrentMode(const Calculator& calc, Cmd cmd) {
    switch (cmd) {
    case Cmd::Bin: return calc.CurrentBase() == Base::BIN;
    case Cmd::Oct: return calc.CurrentBase() == Base::OCT;
    case Cmd::Dec: return calc.CurrentBase() == Base::DEC;
    case Cmd::Hex: return calc.CurrentBase() == Base::HEX;
    case Cmd::Cyc: return calc.AngleMode() == AngleUnit::Cycles;
    case Cmd::Deg: return calc.AngleMode() == AngleUnit::Degrees;
    case Cmd::Rad: return calc.AngleMode() == AngleUnit::Radians;
    case Cmd::Grad: return calc.AngleMode() == AngleUnit::Gradients;
    default: return false;
    }
}

} // namespace tallix
