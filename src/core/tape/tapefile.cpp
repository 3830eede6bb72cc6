#include "core/tape/tapefile.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <system_error>

#include "core/number/numtext.h"

namespace tallix::tape {

namespace {

constexpr std::string_view kHeader = "Tallix tape 1";

void PutField(std::string& out, std::string_view s) {
    for (char c : s) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
}

bool GetField(std::string_view s, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') {
            out += s[i];
            continue;
        }
        if (++i >= s.size()) return false;
        switch (s[i]) {
        case '\\': out += '\\'; break;
        case 't': out += '\t'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        default: return false;
        }
    }
    return true;
}

int BaseDigit(Base b) { return static_cast<int>(b); }

bool ReadInt(std::string_view s, std::int32_t& v) {
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && p == s.data() + s.size();
}

} // namespace

std::string Serialize(const Start& start, const std::deque<Line>& lines) {
    std::string out;
    out.reserve(64 + lines.size() * 64);
    out += kHeader;
    out += "\nstart ";
    out += std::to_string(BaseDigit(start.base)) + ' ' +
           std::to_string(AngleUnitNumber(start.angle)) + ' ' + std::to_string(start.wordSize) +
           ' ' + std::to_string(start.fixLength);
    // Exact texts, so that the start's last arguments come back to the bit.
    if (start.lastNum != 0 || start.lastX != 0 || start.lastY != 0)
        out += ' ' + std::to_string(start.lastNum) + ' ' + FormatExact(start.lastX, '.') + ' ' +
               FormatExact(start.lastY, '.');
    out += '\n';
    for (const std::string& text : start.stack) {
        out += "= ";
        PutField(out, text);
        out += '\n';
    }
    for (const Line& line : lines) {
        out += static_cast<char>(line.kind);
        out += line.undone ? 'u' : '-';
        out += line.step ? 's' : '-';
        out += ' ';
        PutField(out, line.caption);
        out += '\t';
        PutField(out, line.shown);
        out += '\t';
        PutField(out, line.value);
        out += '\t';
        PutField(out, line.script);
        out += '\n';
    }
    return out;
}

std::string Serialize(const Tape& tape) { return Serialize(tape.StartState(), tape.Lines()); }

bool Parse(std::string_view bytes, Start& start, std::deque<Line>& lines, std::string& why) {
    start = Start();
    lines.clear();
    std::size_t pos = 0;
    std::size_t lineNo = 0;
    auto next = [&](std::string_view& line) {
        if (pos >= bytes.size()) return false;
        std::size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos) end = bytes.size();
        line = bytes.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pos = end + 1;
        ++lineNo;
        return true;
    };
    auto fail = [&](std::string_view what) {
        why = "line " + std::to_string(lineNo) + ": " + std::string(what);
        lines.clear();
        return false;
    };
    std::string_view line;
    if (!next(line) || line != kHeader) return fail("not a tape file");
    if (!next(line) || !line.starts_with("start ")) return fail("no start");
    {
        std::int32_t v[5] = {};
        std::optional<Value> last[2] = {0.0L, 0.0L};
        std::string_view rest = line.substr(6);
        // The last arguments are there when the start has any.
        const int fields = std::count(rest.begin(), rest.end(), ' ') >= 4 ? 7 : 4;
        for (int i = 0; i < fields; ++i) {
            const std::size_t sp = rest.find(' ');
            const std::string_view field = rest.substr(0, sp);
            if (i < 5 ? !ReadInt(field, v[i]) : !(last[i - 5] = ParseReal(field, '.')))
                return fail("bad start");
            rest = sp == std::string_view::npos ? std::string_view() : rest.substr(sp + 1);
        }
        if (v[0] < 0 || v[0] > 3 || v[1] < 0 || v[1] > 3 || v[2] < 1 || v[2] > 56 || v[3] < -1 ||
            v[3] > 18)
            return fail("bad start");
        start.base = static_cast<Base>(v[0]);
        start.angle = AngleUnitFromNumber(v[1]);
        start.wordSize = v[2];
        start.fixLength = v[3];
        start.lastNum = static_cast<std::uint32_t>(v[4] < 0 ? 0 : v[4]);
        start.lastX = *last[0];
        start.lastY = *last[1];
    }
    std::string field[4];
    while (next(line)) {
        if (line.empty() && pos >= bytes.size()) break;
        if (line.starts_with("= ")) {
            if (!lines.empty()) return fail("start entry after the lines");
            std::string text;
            if (!GetField(line.substr(2), text)) return fail("bad escape");
            start.stack.push_back(std::move(text));
            continue;
        }
        if (line.size() < 4 || line[3] != ' ') return fail("bad line");
        Line l;
        const char k = line[0];
        if (k != 'N' && k != 'C' && k != 'E' && k != 'O' && k != 'P') return fail("bad kind");
        if ((line[1] != 'u' && line[1] != '-') || (line[2] != 's' && line[2] != '-'))
            return fail("bad mark");
        l.kind = static_cast<Kind>(k);
        l.undone = line[1] == 'u';
        l.step = line[2] == 's';
        std::string_view rest = line.substr(4);
        for (int i = 0; i < 4; ++i) {
            const std::size_t tab = i < 3 ? rest.find('\t') : rest.size();
            if (tab == std::string_view::npos) return fail("missing field");
            if (!GetField(rest.substr(0, tab), field[i])) return fail("bad escape");
            rest = i < 3 ? rest.substr(tab + 1) : std::string_view();
        }
        l.caption = std::move(field[0]);
        l.shown = std::move(field[1]);
        l.value = std::move(field[2]);
        l.script = std::move(field[3]);
        lines.push_back(std::move(l));
    }
    return true;
}

std::optional<std::string> LoadTapeFile(const std::string& path, Tape& tape) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return std::nullopt;
    std::string bytes;
    std::string why;
    Start start;
    std::deque<Line> lines;
    if (persist::FileStatus st = persist::ReadWholeFile(path, bytes); !st)
        why = st.reason;
    else if (Parse(bytes, start, lines, why)) {
        tape.Assign(std::move(start), std::move(lines));
        return std::nullopt;
    }
    // Kept for whoever wants to look at it; the tape starts afresh.
    const std::string bad = path + ".bad";
    std::filesystem::rename(path, bad, ec);
    std::string warning = "The tape file \"" + path + "\" cannot be read (" + why + ").";
    warning += ec ? " It could not be moved aside: " + ec.message() + "."
                  : " It was moved to \"" + bad + "\".";
    return warning;
}

persist::FileStatus SaveTapeFile(const std::string& path, std::string_view bytes) {
    // On a new account the settings' folder may not exist yet.
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code ec;
    if (!folder.empty() && !std::filesystem::exists(folder, ec))
        std::filesystem::create_directories(folder, ec);
    return persist::WriteWholeFile(path, bytes);
}

} // namespace tallix::tape
