#include "cli/batch.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#ifdef _WIN32
#include <windows.h>
#else
#include <langinfo.h>
#include <locale.h>
#endif

#include "cli/batchprint.h"
#include "core/commands/dispatch.h"
#include "core/commands/tokens.h"
#include "core/number/utf8.h"
#include "core/persist/stackfile.h"
#include "core/tape/tapefile.h"

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

void BatchRunner::RunToken(std::string_view token, int lineNo) {
    // Entering a number is an undo step, as the Enter key's is; the entry
    // line takes no part in it, so nothing is left there for the next token.
    if (tallix::RunToken(calc_, token)) return;
    // The entry's message, with what was not understood and where.
    constexpr std::size_t kShown = 40;
    std::string shown = CutChars(token, kShown);
    if (shown.size() < token.size()) shown += "...";
    std::string message = "Entry Error: \r\n";
    message += ReasonText(Reason::InvalidSyntax);
    message += ": \"" + shown + "\"";
    if (lineNo > 0) message += " (line " + std::to_string(lineNo) + ")";
    ShowError(message);
}

void BatchRunner::RunLine(std::string_view line, int lineNo) {
    std::size_t pos = 0;
    std::string_view token;
    while (NextToken(line, pos, token)) RunToken(token, lineNo);
}

void BatchRunner::PrintStack(std::FILE* out, bool raw) const {
    std::string buf;
    buf.reserve(1 << 16);
    for (std::size_t i = calc_.Depth(); i-- > 0;) {
        const std::string& text = calc_.Stack().at(i);
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

#ifdef _WIN32
namespace {
// getline(3) for a C library without it: one line with its line break, of
// any length; -1 at the end of the input.
ssize_t getline(char** line, std::size_t* cap, std::FILE* in) {
    std::size_t len = 0;
    int c;
    while ((c = std::getc(in)) != EOF) {
        if (len + 2 > *cap) {
            const std::size_t grown = *cap < 128 ? 128 : *cap * 2;
            char* p = static_cast<char*>(std::realloc(*line, grown));
            if (!p) return -1;
            *line = p;
            *cap = grown;
        }
        (*line)[len++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    if (len == 0) return -1;
    (*line)[len] = '\0';
    return static_cast<ssize_t>(len);
}
} // namespace

// The decimal separator of the user's regional settings.
char UserDecimalChar() {
    wchar_t sep[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, sep, 8) == 2 && sep[0] < 0x80)
        return static_cast<char>(sep[0]);
    return '.';
}
#else
char UserDecimalChar() {
    char dc = '.';
    if (locale_t loc = newlocale(LC_NUMERIC_MASK, "", nullptr)) {
        if (const char* p = nl_langinfo_l(RADIXCHAR, loc); p && p[0] && !p[1]) dc = p[0];
        freelocale(loc);
    }
    return dc;
}
#endif

void PrintCommandNames(std::FILE* out) {
    // Every name a token may use, in the registry's order: shell completion
    // and the manual page are built from this list.
    std::string buf;
    for (const CommandDef& def : CommandTable()) {
        if (def.scope == Scope::Window) continue;
        for (std::string_view name : def.batch) {
            if (name.empty()) continue;
            buf += name;
            buf += '\n';
        }
    }
    std::fwrite(buf.data(), 1, buf.size(), out);
    std::fflush(out);
}

int BatchMain(int argc, char** argv, std::FILE* in, std::FILE* out, std::FILE* err) {
    const auto args = std::span<const char* const>(argv, static_cast<std::size_t>(argc));
    return BatchMain(ClassifyArgs(args.subspan(args.empty() ? 0 : 1)), in, out, err);
}

int BatchMain(const CommandLine& cl, std::FILE* in, std::FILE* out, std::FILE* err) {
    switch (cl.mode) {
    case StartMode::Usage:
        std::fprintf(err, "tallix: %s\n%s", cl.problem.c_str(), kUsage);
        return 2;
    case StartMode::Help: std::fputs(kUsage, out); return 0;
    case StartMode::Version: std::fprintf(out, "tallix %s\n", TALLIX_VERSION); return 0;
    case StartMode::List: PrintCommandNames(out); return 0;
    case StartMode::Window:
        if (cl.tray) {
            std::fputs("tallix: this build has no calculator window\n", err);
            return 1;
        }
        break; // without arguments and without a window, read standard input
    case StartMode::Batch: break;
    }
    const bool fromStdin = cl.fromStdin || cl.mode == StartMode::Window;

    BatchRunner runner(UserDecimalChar(), err);
    // Without the stack it was asked for, the tokens would compute something
    // else, and a --save would overwrite its file with that: stop here.
    if (cl.load) {
        // The loaded stack is where the run starts, not a step to undo.
        persist::FileStatus st;
        runner.calculator().Load(
            [&](Calculator::Change& c) { st = persist::LoadStackFile(cl.loadPath, c); });
        if (!st) {
            std::fprintf(err, "tallix: cannot read %s: %s\n", cl.loadPath.c_str(),
                         st.reason.c_str());
            return 1;
        }
    }
    // The tape listens from here on, starting from the loaded stack; a run
    // without --tape has none and pays nothing for it.
    std::optional<tape::Tape> runTape;
    if (cl.tape) runTape.emplace().Attach(runner.calculator());
    // A message names the line of standard input, or the -e among several,
    // where its token stands.
    const bool numberEvals = cl.evals.size() > 1;
    int evalNo = 0;
    for (const std::string& e : cl.evals) runner.RunLine(e, numberEvals ? ++evalNo : 0);
    if (fromStdin) {
        char* line = nullptr;
        std::size_t cap = 0;
        ssize_t len;
        int lineNo = 0;
        while ((len = getline(&line, &cap, in)) >= 0)
            runner.RunLine(std::string_view(line, static_cast<std::size_t>(len)), ++lineNo);
        std::free(line);
    }
    bool saveFailed = false;
    if (cl.save) {
        if (auto st = persist::SaveStackFile(cl.savePath, runner.calculator()); !st) {
            std::fprintf(err, "tallix: cannot write %s: %s\n", cl.savePath.c_str(),
                         st.reason.c_str());
            std::fflush(err);
            saveFailed = true;
        }
    }
    bool printFailed = false;
    if (cl.print) {
        std::string error;
        if (!PrintListing(cl.printPath, runner.calculator(), error)) {
            std::fprintf(err, "tallix: %s\n", error.c_str());
            std::fflush(err);
            printFailed = true;
        }
    }
    bool tapeFailed = false;
    if (runTape) {
        const std::string text = runTape->Text();
        if (cl.tapePath == "-") {
            std::fwrite(text.data(), 1, text.size(), out);
            std::fflush(out);
        } else if (auto st = tape::SaveTapeFile(cl.tapePath, text); !st) {
            std::fprintf(err, "tallix: cannot write %s: %s\n", cl.tapePath.c_str(),
                         st.reason.c_str());
            std::fflush(err);
            tapeFailed = true;
        }
    }
    runner.PrintStack(out, cl.raw);
    return runner.errorCount() > 0 || saveFailed || printFailed || tapeFailed ? 1 : 0;
}

} // namespace tallix::cli
