// The keys help (F1), written from the keypad table and the registry: the
// keys (the named keys, the digit ranges, the letter keys in alphabetical
// order, then the operators), then the functions under Shift, the keys that
// scroll the stack, and the Ctrl shortcuts of the menus.
#include <algorithm>
#include <string>
#include <vector>

#include "core/commands/registry.h"

namespace tallix {
namespace {

std::string_view KeyName(const KeyDef& k) {
    if (k.key == Key::KShift) return "Shift";
    switch (k.keyboard) {
    case '\b': return "Backspace";
    case '\r': return "Enter";
    case ' ': return "Space";
    default: return {};
    }
}

bool IsDigitKey(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

// "0 - 9 : 0 - 9" for the keys that type the characters from..to.
std::string Range(char from, char to) {
    std::string r{from};
    r += " - ";
    r += to;
    return r + " : " + r;
}

// How the help names the key that types a character.
std::string KeyLabel(const KeyDef& k) {
    return KeyName(k).empty() ? std::string(1, k.keyboard) : std::string(KeyName(k));
}

// The named keys in alphabetical order, then the letters in alphabetical
// order, then every other key in keypad order.
void SortForHelp(std::vector<const KeyDef*>& keys) {
    auto rank = [](const KeyDef* k) {
        if (!KeyName(*k).empty()) return 0;
        return k->keyboard >= 'A' && k->keyboard <= 'Z' ? 1 : 2;
    };
    std::stable_sort(keys.begin(), keys.end(), [&](const KeyDef* a, const KeyDef* b) {
        if (rank(a) != rank(b)) return rank(a) < rank(b);
        if (rank(a) == 0) return KeyName(*a) < KeyName(*b);
        return rank(a) == 1 && a->keyboard < b->keyboard;
    });
}

std::vector<std::string> KeyLines() {
    std::vector<const KeyDef*> named, others;
    for (const KeyDef& k : KeyTable()) {
        if (!KeyName(k).empty())
            named.push_back(&k);
        else if (k.keyboard != 0 && !IsDigitKey(k.keyboard))
            others.push_back(&k);
    }
    SortForHelp(named);
    SortForHelp(others);
    std::vector<std::string> lines;
    for (const KeyDef* k : named) lines.push_back(KeyLabel(*k) + " : " + std::string(k->help));
    lines.push_back(Range(KeyInfo(Key::K0).keyboard, KeyInfo(Key::K9).keyboard));
    lines.push_back(Range(KeyInfo(Key::KA).keyboard, KeyInfo(Key::KF).keyboard));
    for (const KeyAlias& a : KeyAliasTable())
        lines.push_back(std::string(1, a.keyboard) + " : " + std::string(KeyInfo(a.key).help) +
                        " in " + BaseCaption(a.base));
    for (const KeyDef* k : others) lines.push_back(KeyLabel(*k) + " : " + std::string(k->help));
    return lines;
}

// Shift, then the key: the second function of every key that has one.
std::vector<std::string> ShiftedLines() {
    std::vector<const KeyDef*> keys;
    for (Key key : ShiftedKeys()) keys.push_back(&KeyInfo(key));
    SortForHelp(keys);
    std::vector<std::string> lines;
    for (const KeyDef* k : keys)
        lines.push_back("Shift+" + KeyLabel(*k) + " : " + std::string(k->spokenShifted));
    return lines;
}

std::vector<std::string> ScrollLines() {
    std::vector<std::string> lines;
    for (const ScrollKeyDef& k : ScrollKeyTable())
        lines.push_back(std::string(k.name) + " : " + std::string(k.help));
    return lines;
}

// A menu caption as the help names it: without its mnemonic and dots.
std::string PlainCaption(std::string_view caption) {
    std::string out;
    for (char c : caption)
        if (c != '&') out += c;
    while (!out.empty() && out.back() == '.') out.pop_back();
    return out;
}

std::string_view WheelName(Wheel wheel) {
    switch (wheel) {
    case Wheel::CtrlUp: return "Ctrl+Wheel up";
    case Wheel::CtrlDown: return "Ctrl+Wheel down";
    case Wheel::None: break;
    }
    return {};
}

// In the order of the menus.
std::vector<std::string> CtrlLines() {
    std::vector<std::string> lines;
    for (const CommandDef& c : CommandTable())
        for (std::string_view shortcut :
             {c.menu.shortcut, c.menu.shortcut2, WheelName(c.menu.wheel)})
            if (shortcut.starts_with("Ctrl+"))
                lines.push_back(std::string(shortcut) + " : " + PlainCaption(c.menu.caption));
    return lines;
}

std::string BuildKeysHelp() {
    std::string text;
    for (const auto& section : {KeyLines(), ShiftedLines(), ScrollLines(), CtrlLines()}) {
        if (!text.empty()) text += "\r\n";
        for (const std::string& line : section) {
            if (!text.empty()) text += "\r\n";
            text += line;
        }
    }
    return text;
}

} // namespace

std::string_view KeysHelpText() {
    static const std::string text = BuildKeysHelp();
    return text;
}

} // namespace tallix
