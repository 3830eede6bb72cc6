#include "batch.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <locale.h>

#include "engine/keys.h"

#ifndef TALLIX_VERSION
#define TALLIX_VERSION "dev"
#endif

namespace tallix::cli {

BatchRunner::BatchRunner(char decimalChar, std::FILE* errors)
    : errorsOut_(errors), calc_(*this, decimalChar) {}

void BatchRunner::ShowError(const std::string& message) {
    ++errors_;
    std::string line;
    line.reserve(message.size());
    for (char c : message)
        if (c != '\r' && c != '\n') line += c;
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), errorsOut_);
    std::fflush(errorsOut_);
}

void BatchRunner::RunToken(std::string_view token) {
    if (const CommandDef* def = FindCommand(token)) {
        if (def->key == Key::None) {
            calc_.Run(def->cmd);
            return;
        }
        // Through the key, as a click with the matching Shift state; a key
        // disabled in this base does nothing.
        if (!calc_.KeyEnabled(def->key)) return;
        calc_.ShiftDown = def->shifted;
        calc_.PressKey(def->key);
        return;
    }
    calc_.Entry.assign(token);
    if (calc_.EnterEntryLine())
        calc_.ResetEntry();
    else
        calc_.Entry.clear(); // discard it so the next tokens run normally
}

void BatchRunner::RunLine(std::string_view line) {
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (i < n) {
        while (i < n && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r' || line[i] == '\n' ||
                         line[i] == '\f' || line[i] == '\v'))
            ++i;
        if (i >= n || line[i] == '#') return;
        std::size_t j = i;
        while (j < n && line[j] != ' ' && line[j] != '\t' && line[j] != '\r' && line[j] != '\n' &&
               line[j] != '\f' && line[j] != '\v' && line[j] != '#')
            ++j;
        RunToken(line.substr(i, j - i));
        i = j;
    }
}

void BatchRunner::PrintStack(std::FILE* out, bool raw) const {
    std::string buf;
    buf.reserve(1 << 16);
    for (std::size_t i = calc_.Stack.size(); i-- > 0;) {
        const std::string& text = calc_.Stack.at(i);
        if (raw)
            buf += text;
        else
            buf += calc_.FormatForBase(text);
        buf += '\n';
        if (buf.size() > (1 << 16) - 200) {
            std::fwrite(buf.data(), 1, buf.size(), out);
            buf.clear();
        }
    }
    std::fwrite(buf.data(), 1, buf.size(), out);
    std::fflush(out);
}

char UserDecimalChar() {
    char dc = '.';
    if (locale_t loc = newlocale(LC_NUMERIC_MASK, "", nullptr)) {
        if (const char* p = nl_langinfo_l(RADIXCHAR, loc); p && p[0] && !p[1]) dc = p[0];
        freelocale(loc);
    }
    return dc;
}

namespace {

const char kUsage[] =
    "Usage: tallix [OPTIONS]\n"
    "Without options, opens the calculator window.\n"
    "\n"
    "Batch mode (no window, no saved settings):\n"
    "  -e, --eval TOKENS  run the tokens (may be given several times)\n"
    "  --batch            read tokens from standard input, line by line\n"
    "  --raw              print the stored stack texts instead of the display\n"
    "  --help             show this help\n"
    "  --version          show the version\n"
    "\n"
    "Tokens are numbers (entered as Enter does) and command names such as\n"
    "+ - * / SWAP DROP DUP SIN HEX; '#' starts a comment. The stack is printed\n"
    "deepest entry first, level 1 last. Exit status: 0 no error, 1 an error\n"
    "was reported, 2 bad usage.\n";

bool IsBatchOption(std::string_view a) {
    return a == "-e" || a == "--eval" || a == "--batch" || a == "--raw" || a == "--help" ||
           a == "-h" || a == "--version" || a.starts_with("--eval=");
}

} // namespace

bool WantsBatch(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (IsBatchOption(argv[i])) return true;
    return false;
}

int BatchMain(int argc, char** argv) {
    std::vector<std::string> evals;
    bool fromStdin = false, raw = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view a = argv[i];
        if (a == "-e" || a == "--eval") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "tallix: %s needs an argument\n%s", argv[i], kUsage);
                return 2;
            }
            evals.emplace_back(argv[++i]);
        } else if (a.starts_with("--eval=")) {
            evals.emplace_back(a.substr(7));
        } else if (a == "--batch") {
            fromStdin = true;
        } else if (a == "--raw") {
            raw = true;
        } else if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (a == "--version") {
            std::printf("tallix %s\n", TALLIX_VERSION);
            return 0;
        } else {
            std::fprintf(stderr, "tallix: unknown option '%s'\n%s", argv[i], kUsage);
            return 2;
        }
    }
    if (evals.empty() && !fromStdin) fromStdin = true; // --raw alone reads standard input

    BatchRunner runner(UserDecimalChar(), stderr);
    for (const std::string& e : evals) runner.RunLine(e);
    if (fromStdin) {
        char* line = nullptr;
        std::size_t cap = 0;
        ssize_t len;
        while ((len = getline(&line, &cap, stdin)) >= 0)
            runner.RunLine(std::string_view(line, static_cast<std::size_t>(len)));
        std::free(line);
    }
    runner.PrintStack(stdout, raw);
    return runner.errorCount() > 0 ? 1 : 0;
}

} // namespace tallix::cli
