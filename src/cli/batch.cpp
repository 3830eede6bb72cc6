#include "cli/batch.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <locale.h>

#include "cli/batchprint.h"
#include "core/commands/dispatch.h"
#include "core/persist/stackfile.h"

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
        RunAsNamed(calc_, *def);
        return;
    }
    // Entering a number is an undo step, as the Enter key's is.
    Calculator::Step step(calc_);
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

char UserDecimalChar() {
    char dc = '.';
    if (locale_t loc = newlocale(LC_NUMERIC_MASK, "", nullptr)) {
        if (const char* p = nl_langinfo_l(RADIXCHAR, loc); p && p[0] && !p[1]) dc = p[0];
        freelocale(loc);
    }
    return dc;
}

namespace {

const char kUsage[] = "Usage: tallix [OPTIONS]\n"
                      "Without options, opens the calculator window.\n"
                      "\n"
                      "Batch mode (no window, no saved settings):\n"
                      "  -e, --eval TOKENS  run the tokens (may be given several times)\n"
                      "  --batch            read tokens from standard input, line by line\n"
                      "  --raw              print the stored stack texts instead of the display\n"
                      "  --load FILE        start with the stack read from a stack file\n"
                      "  --save FILE        write the final stack to a stack file (one entry\n"
                      "                     per line, level 1 first)\n"
                      "  --print FILE       print the stack listing of the window's Print command\n"
                      "                     into FILE: a PDF when the name ends in .pdf, else the\n"
                      "                     printer's plain text rendering\n"
                      "  --help             show this help\n"
                      "  --version          show the version\n"
                      "\n"
                      "Tokens are numbers (entered as Enter does) and command names such as\n"
                      "+ - * / SWAP DROP DUP SIN HEX; UNDO and REDO step back and forth through\n"
                      "the run's commands; '#' starts a comment. The stack is printed deepest\n"
                      "entry first, level 1 last. Exit status: 0 no error, 1 an error was\n"
                      "reported, a stack file could not be read or written or the listing\n"
                      "could not be printed, 2 bad usage.\n"
                      "A stack file that cannot be read stops the run before the first token.\n";

bool IsBatchOption(std::string_view a) {
    return a == "-e" || a == "--eval" || a == "--batch" || a == "--raw" || a == "--help" ||
           a == "-h" || a == "--version" || a.starts_with("--eval=") || a == "--load" ||
           a == "--save" || a.starts_with("--load=") || a.starts_with("--save=") ||
           a == "--print" || a.starts_with("--print=");
}

} // namespace

bool WantsBatch(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (IsBatchOption(argv[i])) return true;
    return false;
}

int BatchMain(int argc, char** argv) { return BatchMain(argc, argv, stdin, stdout, stderr); }

int BatchMain(int argc, char** argv, std::FILE* in, std::FILE* out, std::FILE* err) {
    std::vector<std::string> evals;
    std::string loadPath, savePath, printPath;
    bool fromStdin = false, raw = false, load = false, save = false, print = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view a = argv[i];
        if (a == "-e" || a == "--eval" || a == "--load" || a == "--save" || a == "--print") {
            if (i + 1 >= argc) {
                std::fprintf(err, "tallix: %s needs an argument\n%s", argv[i], kUsage);
                return 2;
            }
            std::string value = argv[++i];
            if (a == "--load") {
                load = true;
                loadPath = std::move(value);
            } else if (a == "--save") {
                save = true;
                savePath = std::move(value);
            } else if (a == "--print") {
                print = true;
                printPath = std::move(value);
            } else {
                evals.push_back(std::move(value));
            }
        } else if (a.starts_with("--eval=")) {
            evals.emplace_back(a.substr(7));
        } else if (a.starts_with("--load=")) {
            load = true;
            loadPath = a.substr(7);
        } else if (a.starts_with("--save=")) {
            save = true;
            savePath = a.substr(7);
        } else if (a.starts_with("--print=")) {
            print = true;
            printPath = a.substr(8);
        } else if (a == "--batch") {
            fromStdin = true;
        } else if (a == "--raw") {
            raw = true;
        } else if (a == "--help" || a == "-h") {
            std::fputs(kUsage, out);
            return 0;
        } else if (a == "--version") {
            std::fprintf(out, "tallix %s\n", TALLIX_VERSION);
            return 0;
        } else {
            std::fprintf(err, "tallix: unknown option '%s'\n%s", argv[i], kUsage);
            return 2;
        }
    }
    if (evals.empty() && !fromStdin) fromStdin = true; // options alone read standard input

    BatchRunner runner(UserDecimalChar(), err);
    // Without the stack it was asked for, the tokens would compute something
    // else, and a --save would overwrite its file with that: stop here.
    if (load) {
        if (auto st = persist::LoadStackFile(loadPath, runner.calculator()); !st) {
            std::fprintf(err, "tallix: cannot read %s: %s\n", loadPath.c_str(), st.reason.c_str());
            return 1;
        }
    }
    for (const std::string& e : evals) runner.RunLine(e);
    if (fromStdin) {
        char* line = nullptr;
        std::size_t cap = 0;
        ssize_t len;
        while ((len = getline(&line, &cap, in)) >= 0)
            runner.RunLine(std::string_view(line, static_cast<std::size_t>(len)));
        std::free(line);
    }
    bool saveFailed = false;
    if (save) {
        if (auto st = persist::SaveStackFile(savePath, runner.calculator()); !st) {
            std::fprintf(err, "tallix: cannot write %s: %s\n", savePath.c_str(), st.reason.c_str());
            std::fflush(err);
            saveFailed = true;
        }
    }
    bool printFailed = false;
    if (print) {
        std::string error;
        if (!PrintListing(printPath, runner.calculator(), error)) {
            std::fprintf(err, "tallix: %s\n", error.c_str());
            std::fflush(err);
            printFailed = true;
        }
    }
    runner.PrintStack(out, raw);
    return runner.errorCount() > 0 || saveFailed || printFailed ? 1 : 0;
}

} // namespace tallix::cli
