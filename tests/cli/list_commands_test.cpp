// `tallix --list-commands`: the names completion and the manual page are
// built from must be exactly the names a token may use.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "batch_run.h"
#include "core/commands/registry.h"

namespace tallix {
namespace {

TEST(ListCommands, PrintsEveryBatchNameOnceAndNothingElse) {
    const testing::BatchRun r = testing::RunBatch({"--list-commands"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    ASSERT_FALSE(r.out.empty());
    EXPECT_EQ(r.out.back(), '\n');

    std::set<std::string> listed;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_FALSE(line.empty());
        EXPECT_EQ(line.find_first_of(" \t\r"), std::string::npos) << line;
        EXPECT_TRUE(listed.insert(line).second) << "listed twice: " << line;
        // Each name runs a command in batch mode, in any case.
        const CommandDef* def = FindCommand(line);
        ASSERT_NE(def, nullptr) << line;
        EXPECT_NE(def->scope, Scope::Window) << line;
    }
    std::set<std::string> known;
    for (const CommandDef& def : CommandTable())
        for (std::string_view n : def.batch)
            if (!n.empty()) known.emplace(n);
    EXPECT_EQ(listed, known);
    // Names users type most, including the second spelling of an operator.
    for (const char* name : {"+", "×", "SIN", "ASIN", "UNDO", "HEX", "DUP"})
        EXPECT_TRUE(listed.count(name)) << name;
}

} // namespace
} // namespace tallix
