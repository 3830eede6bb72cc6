#include "cli/cmdline.h"

#include <string_view>

namespace tallix::cli {

const char kUsage[] = "Usage: tallix [/TRAY]\n"
                      "       tallix OPTIONS\n"
                      "Without arguments, opens the calculator window; with /TRAY (any case)\n"
                      "it starts as a tray icon instead.\n"
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
                      "  --tape FILE        write the run's tape (every entry, command, error\n"
                      "                     and result, one a line) into FILE after the last\n"
                      "                     token; - writes it to standard output\n"
                      "  --list-commands    list the command names, one a line\n"
                      "  -h, --help         show this help\n"
                      "  --version          show the version\n"
                      "\n"
                      "Tokens are numbers (entered as Enter does) and command names such as\n"
                      "+ - * / SWAP DROP DUP SIN HEX; UNDO and REDO step back and forth through\n"
                      "the run's commands; '#' starts a comment. A text in double quotes is\n"
                      "pushed exactly as written, in any base (\"1.50\", \"a b\"; \\\" a quote,\n"
                      "\\\\ a backslash, \\xHH any byte). LAST=Y;X, LAST=X or LAST= sets the\n"
                      "last arguments LAST gives back, each a decimal number read exactly.\n"
                      "The stack is printed deepest entry first, level 1 last. Exit status:\n"
                      "0 no error, 1 an error was reported, a stack file could not be read or\n"
                      "written or the listing could not be printed, 2 bad usage.\n"
                      "A stack file that cannot be read stops the run before the first token.\n";

namespace {

bool IsTrayOption(std::string_view a) {
    constexpr std::string_view kTray = "/TRAY";
    if (a.size() != kTray.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != kTray[i]) return false;
    }
    return true;
}

CommandLine UsageError(std::string problem) {
    CommandLine cl;
    cl.mode = StartMode::Usage;
    cl.problem = std::move(problem);
    return cl;
}

CommandLine Unexpected(std::string_view arg) {
    // An option the program does not know reads differently from a stray
    // word, which may be a token meant for -e.
    if (arg.size() > 1 && arg[0] == '-')
        return UsageError("unknown option '" + std::string(arg) + "'");
    return UsageError("unexpected argument '" + std::string(arg) + "'");
}

} // namespace

CommandLine ClassifyArgs(std::span<const char* const> args) {
    CommandLine cl;
    if (args.empty()) return cl;
    if (IsTrayOption(args[0])) {
        if (args.size() > 1) return Unexpected(args[1]);
        cl.tray = true;
        return cl;
    }
    cl.mode = StartMode::Batch;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        if (a == "-e" || a == "--eval" || a == "--load" || a == "--save" || a == "--print" ||
            a == "--tape") {
            if (i + 1 >= args.size()) return UsageError(std::string(a) + " needs an argument");
            std::string value = args[++i];
            if (a == "--load") {
                cl.load = true;
                cl.loadPath = std::move(value);
            } else if (a == "--save") {
                cl.save = true;
                cl.savePath = std::move(value);
            } else if (a == "--print") {
                cl.print = true;
                cl.printPath = std::move(value);
            } else if (a == "--tape") {
                cl.tape = true;
                cl.tapePath = std::move(value);
            } else {
                cl.evals.push_back(std::move(value));
            }
        } else if (a.starts_with("--eval=")) {
            cl.evals.emplace_back(a.substr(7));
        } else if (a.starts_with("--load=")) {
            cl.load = true;
            cl.loadPath = a.substr(7);
        } else if (a.starts_with("--save=")) {
            cl.save = true;
            cl.savePath = a.substr(7);
        } else if (a.starts_with("--print=")) {
            cl.print = true;
            cl.printPath = a.substr(8);
        } else if (a.starts_with("--tape=")) {
            cl.tape = true;
            cl.tapePath = a.substr(7);
        } else if (a == "--batch") {
            cl.fromStdin = true;
        } else if (a == "--raw") {
            cl.raw = true;
        } else if (a == "--help" || a == "-h") {
            cl.mode = StartMode::Help;
            return cl;
        } else if (a == "--version") {
            cl.mode = StartMode::Version;
            return cl;
        } else if (a == "--list-commands") {
            cl.mode = StartMode::List;
            return cl;
        } else {
            return Unexpected(a);
        }
    }
    if (cl.evals.empty()) cl.fromStdin = true; // options alone read standard input
    return cl;
}

} // namespace tallix::cli
