#include "core/commands/dispatch.h"

namespace tallix {

void RunCommand(Calculator& calc, Cmd cmd) {
    const CommandDef* def = CommandInfo(cmd);
    if (!def) return;
    if (def->scope == Scope::History) {
        def->handler(calc);
        return;
    }
    // Everything the command changes is one undo step.
    Calculator::Step step(calc, CommandLabel(*def));
    switch (def->scope) {
    case Scope::Operation: RunOp(calc, def->op); break;
    case Scope::Calculator: def->handler(calc); break;
    case Scope::History:
    case Scope::Window: break;
    }
}

bool PressKey(Calculator& calc, Key key) {
    if (key == Key::KShift) {
        calc.ShiftDown = !calc.ShiftDown;
        return true;
    }
    if (!KeyEnabled(calc.CurrentBase, key)) return false;
    // A key that runs a command takes the command's name for its step;
    // Space enters as Enter does.
    Calculator::Step step(calc, key == Key::KSpace ? CommandLabel(Cmd::Dup) : std::string());
    const bool shifted = calc.ShiftDown;
    const bool dec = calc.CurrentBase == Base::DEC;
    std::string& entry = calc.Entry;
    switch (key) {
    case Key::KDot:
        if (dec && entry.find('E') == std::string::npos &&
            entry.find(calc.DecimalChar) == std::string::npos)
            calc.AppendToEntry(calc.DecimalChar);
        break;
    case Key::KEex:
        if (!dec) break;
        if (shifted)
            RunCommand(calc, KeyCommand(key, true));
        else if (entry.empty())
            entry = "1E";
        else if (entry.find('E') == std::string::npos)
            calc.AppendToEntry('E');
        break;
    case Key::KPlusMinus:
        if (!dec) break;
        if (!shifted && !entry.empty()) {
            std::size_t e = entry.find('E');
            entry = ToggleEntrySign(entry, e == std::string::npos ? 1 : e + 2);
        } else {
            RunCommand(calc, KeyCommand(key, shifted));
        }
        break;
    case Key::KBackspace:
        if (!shifted && !entry.empty())
            entry.pop_back();
        else
            RunCommand(calc, KeyCommand(key, shifted));
        break;
    case Key::KSpace:
        if (calc.EnterEntryLine()) calc.ResetEntry();
        break;
    default: {
        const Cmd cmd = KeyCommand(key, shifted);
        if (cmd == Cmd::None) // a digit key
            calc.AppendToEntry(KeyInfo(key).keyboard);
        else
            RunCommand(calc, cmd);
        break;
    }
    }
    // The key's flash ends by switching Shift off: a Shift applies to
    // exactly one key.
    calc.ShiftDown = false;
    return true;
}

Key TypeChar(Calculator& calc, char32_t ch, const std::function<bool(Key)>& press) {
    Key key = KeyForChar(ch, calc.DecimalChar);
    // In DEC the hex digit E is off, and "e" is what people type for the
    // exponent (1e20), as pasted text reads it: it acts as EEX there.
    if (key == Key::KE && calc.CurrentBase == Base::DEC) key = Key::KEex;
    if (key != Key::None && KeyEnabled(calc.CurrentBase, key)) {
        if (!press)
            PressKey(calc, key);
        else if (!press(key))
            return key;
    }
    // Every typed character, mapped or not, ends the Shift state.
    calc.ShiftDown = false;
    return key;
}

void RunAsNamed(Calculator& calc, const CommandDef& def) {
    if (def.key.key == Key::None) {
        RunCommand(calc, def.id);
        return;
    }
    if (!KeyEnabled(calc.CurrentBase, def.key.key)) return;
    calc.ShiftDown = def.key.shifted;
    PressKey(calc, def.key.key);
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
    case Cmd::Bin: return calc.CurrentBase == Base::BIN;
    case Cmd::Oct: return calc.CurrentBase == Base::OCT;
    case Cmd::Dec: return calc.CurrentBase == Base::DEC;
    case Cmd::Hex: return calc.CurrentBase == Base::HEX;
    case Cmd::Cyc: return calc.AngleMode == 0;
    case Cmd::Deg: return calc.AngleMode == 1;
    case Cmd::Rad: return calc.AngleMode == 2;
    case Cmd::Grad: return calc.AngleMode == 3;
    default: return false;
    }
}

} // namespace tallix
