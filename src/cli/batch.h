// Batch mode: tokens in, stack out, errors on standard error.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cmdline.h"
#include "core/calc/calculator.h"

namespace tallix::cli {

class BatchRunner : public Shell {
public:
    BatchRunner(char decimalChar, std::FILE* errors);

    // Runs one line of tokens; "#" starts a comment. `lineNo` (from 1)
    // is named in the message of a token that is neither a number nor a
    // command; 0 names none.
    void RunLine(std::string_view line, int lineNo = 0);
    void RunToken(std::string_view token, int lineNo = 0);
    // Writes the stack deepest first, as displayed or as stored.
    void PrintStack(std::FILE* out, bool raw) const;

    void ShowError(const std::string& message) override;

    Calculator& calculator() { return calc_; }
    int errorCount() const { return errors_; }

private:
    std::FILE* errorsOut_;
    int errors_ = 0;
    Calculator calc_;
};

// The decimal separator of the user's numeric locale (LC_NUMERIC, LANG).
char UserDecimalChar();

// Writes every command name batch mode knows, one a line, in the registry's
// order.
void PrintCommandNames(std::FILE* out);

// Runs what the command line asks for other than the window: batch mode,
// help, version or a usage message. Without arguments (a build without the
// window) it reads standard input. Returns the process exit status.
int BatchMain(const CommandLine& cl, std::FILE* in, std::FILE* out, std::FILE* err);
// The same from the program's arguments.
int BatchMain(int argc, char** argv, std::FILE* in, std::FILE* out, std::FILE* err);

} // namespace tallix::cli
