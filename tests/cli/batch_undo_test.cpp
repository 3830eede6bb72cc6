// Batch mode's UNDO and REDO, and Copy Stack's text pasted back against
// batch output.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cli/batch.h"
#include "core/commands/clipboard.h"

namespace {

std::string Printed(const tallix::cli::BatchRunner& runner) {
    std::FILE* f = std::tmpfile();
    runner.PrintStack(f, false);
    std::rewind(f);
    std::string s;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    std::fclose(f);
    return s;
}

std::string Repeat(const std::string& token, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += token + " ";
    return s;
}

TEST(BatchUndo, StepsBackAndForth) {
    std::string sixty;
    for (int i = 1; i <= 61; ++i) sixty += std::to_string(i) + " ";
    std::string start;
    for (int i = 1; i <= 61; ++i) start += std::to_string(i) + "\n";
    struct Case {
        const char* name;
        std::string line;
        std::string printed;
        int errors;
    };
    const Case cases[] = {
        {"an addition", "1 2 + UNDO", "1\n2\n", 0},
        {"a clear", "1 2 3 CLR UNDO", "1\n2\n3\n", 0},
        {"sixty additions", sixty + Repeat("+", 60) + Repeat("UNDO", 60), start, 0},
        {"and again", sixty + Repeat("+", 60) + Repeat("UNDO", 60) + Repeat("REDO", 60), "1891\n",
         0},
        {"redo", "1 2 + UNDO REDO", "3\n", 0},
        {"lower case", "1 2 + undo redo undo", "1\n2\n", 0},
        {"a new command drops the redo", "1 2 + UNDO * REDO", "2\n", 0},
        {"a failed command is no step", "2 0 / UNDO", "2\n", 1},
        {"a bad number is no step", "5 abc UNDO", "", 1},
        {"modes", "HEX 3 FIX DEG UNDO UNDO UNDO", "", 0},
        {"the mode comes back", "255 HEX UNDO", "255\n", 0},
        {"word size", "-1 HEX 8 STWS UNDO", "FFFF\n8\n", 0},
        {"word size and its argument", "-1 HEX 8 STWS UNDO UNDO", "FFFF\n", 0},
        {"nothing to undo", "UNDO REDO 7", "7\n", 0},
        // A failed command's last arguments are the same whether the state is
        // reached directly or by an undo and a redo.
        {"failed last arguments", "1 0 / LAST", "1\n0\n1\n0\n", 1},
        {"failed last arguments after undo and redo", "1 0 / UNDO REDO LAST", "1\n0\n1\n0\n", 1},
        {"failed last arguments, back and forth", "1 0 / 5 UNDO REDO UNDO LAST", "1\n0\n1\n0\n", 1},
        // What changes nothing that can be seen is no step.
        {"the sum of one value", "7 SUM UNDO", "", 0},
        {"a rotation of equal values", "1 1 1 ROT UNDO", "1\n1\n", 0},
        {"a roll of equal values", "2 2 2 3 ROLL UNDO", "2\n2\n2\n3\n", 0},
        {"a clear that clears nothing", "CLR UNDO", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::FILE* err = std::tmpfile();
        tallix::cli::BatchRunner runner('.', err);
        runner.RunLine(c.line);
        EXPECT_EQ(Printed(runner), c.printed);
        EXPECT_EQ(runner.errorCount(), c.errors);
        std::fclose(err);
    }
}

// Copy Stack gives a text that Paste reads back as the stack batch mode
// printed, in every base and Fix.
TEST(BatchUndo, CopyStackPastesBackToWhatBatchModePrints) {
    const char* lines[] = {"1 3 / 2 7 * 1E20", "255 -1 10 1E25 2,5 HEX", "1 3 / 3 FIX 4",
                           "8 STWS 5 -3 2,5 1E25 BIN", "15091 HEX 6 STWS"};
    for (const char* line : lines) {
        SCOPED_TRACE(line);
        std::FILE* err = std::tmpfile();
        tallix::cli::BatchRunner runner(',', err);
        runner.RunLine(line);
        const std::string printed = Printed(runner);
        const std::string copied = tallix::CopyStackText(runner.calculator());
        runner.RunLine("CLR");
        ASSERT_TRUE(tallix::PasteText(runner.calculator(), copied)) << copied;
        EXPECT_EQ(Printed(runner), printed) << copied;
        EXPECT_EQ(runner.errorCount(), 0);
        std::fclose(err);
    }
}

} // namespace
