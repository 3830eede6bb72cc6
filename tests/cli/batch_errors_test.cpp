// Batch mode's error lines: a token that is neither a number nor a command
// is named with where it stands; the operations' messages stay as they are.
#include <gtest/gtest.h>

#include "batch_run.h"

namespace {

using tallix::testing::BatchRun;
using tallix::testing::RunBatch;

TEST(BatchErrors, ABadTokenIsNamedWithItsLine) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string input;
        std::string err;
        std::string out;
    };
    const Case cases[] = {
        {"standard input",
         {"--batch"},
         "3 4 *\nfoo\n",
         "Entry Error: Invalid Syntax: \"foo\" (line 2)\n",
         "12\n"},
        {"several on a line, after a comment line",
         {"--batch"},
         "# numbers\n1 x 2 y\n",
         "Entry Error: Invalid Syntax: \"x\" (line 2)\nEntry Error: Invalid Syntax: \"y\" (line "
         "2)\n",
         "1\n2\n"},
        {"one -e names the token only",
         {"-e", "1 bar"},
         "",
         "Entry Error: Invalid Syntax: \"bar\"\n",
         "1\n"},
        {"several -e count from one",
         {"-e", "1", "-e", "2 1.2.3", "-e", "zz"},
         "",
         "Entry Error: Invalid Syntax: \"1.2.3\" (line 2)\nEntry Error: Invalid Syntax: \"zz\" "
         "(line 3)\n",
         "1\n2\n"},
        {"a digit the base lacks",
         {"--batch"},
         "HEX\nFG\n",
         "Entry Error: Invalid Syntax: \"FG\" (line 2)\n",
         ""},
        {"a literal without its end, a bad escape, bad last arguments",
         {"--batch"},
         "\"a\\\" b\n\"\\q\" LAST=1;x\n",
         "Entry Error: Invalid Syntax: \"\"a\\\" b\" (line 1)\nEntry Error: Invalid Syntax: "
         "\"\"\\q\"\" (line 2)\nEntry Error: Invalid Syntax: \"LAST=1;x\" (line 2)\n",
         ""},
        {"a long token is cut",
         {"-e", std::string(60, 'q')},
         "",
         "Entry Error: Invalid Syntax: \"" + std::string(40, 'q') + "...\"\n",
         ""},
        {"operation errors keep their text",
         {"--batch"},
         "2 0 /\n+ DROP DROP DROP\n",
         "\xC3\xB7 Error: Infinite Result\nDROP Error: Too Few Arguments\n"
         "DROP Error: Too Few Arguments\n",
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const BatchRun r = RunBatch(c.args, c.input);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.status, 1);
    }
}

// A bad token is no step: Undo goes back past it to the step before.
TEST(BatchErrors, ABadTokenChangesNothing) {
    const BatchRun r = RunBatch({"-e", "1 2 + foo UNDO"});
    EXPECT_EQ(r.out, "1\n2\n");
    EXPECT_EQ(r.status, 1);
}

} // namespace
