// The keys help (F1), written from the keypad table: the named keys, the
// digit ranges, the letter keys in alphabetical order, then the operators.
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

std::string BuildKeysHelp() {
    std::vector<std::pair<std::string_view, std::string_view>> named;
    std::vector<const KeyDef*> letters, operators;
    for (const KeyDef& k : KeyTable()) {
        if (!KeyName(k).empty())
            named.emplace_back(KeyName(k), k.help);
        else if (k.keyboard >= 'A' && k.keyboard <= 'Z' && !IsDigitKey(k.keyboard))
            letters.push_back(&k);
        else if (k.keyboard != 0 && !IsDigitKey(k.keyboard))
            operators.push_back(&k);
    }
    std::sort(named.begin(), named.end());
    std::sort(letters.begin(), letters.end(),
              [](const KeyDef* a, const KeyDef* b) { return a->keyboard < b->keyboard; });

    std::vector<std::string> lines;
    for (const auto& [name, help] : named)
        lines.push_back(std::string(name) + " : " + std::string(help));
    lines.push_back(Range(KeyInfo(Key::K0).keyboard, KeyInfo(Key::K9).keyboard));
    lines.push_back(Range(KeyInfo(Key::KA).keyboard, KeyInfo(Key::KF).keyboard));
    for (const KeyDef* k : letters)
        lines.push_back(std::string(1, k->keyboard) + " : " + std::string(k->help));
    for (const KeyDef* k : operators)
        lines.push_back(std::string(1, k->keyboard) + " : " + std::string(k->help));

    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty()) text += "\r\n";
        text += line;
    }
    return text;
}

} // namespace

std::string_view KeysHelpText() {
    static const std::string text = BuildKeysHelp();
    return text;
}

} // namespace tallix
