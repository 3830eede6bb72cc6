// Saving and loading stack files with nothing but portable file operations,
// so that the same checks hold on Windows: the bytes, replacing a file in
// one step with no temporary file left, and failures that change nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/persist/stackfile.h"
#include "stackfile_fixture.h"
#include "test_calc.h"

namespace tallix::persist {
namespace {

namespace fs = std::filesystem;
using Entries = std::vector<std::string>;

// Through the door, as the window and batch mode do.
void Replace(Calculator& calc, Entries levels) {
    testing::Arrange(calc, [&](Calculator::Change& c) { c.ReplaceStack(std::move(levels)); });
}
FileStatus Load(const std::string& path, Calculator& calc) {
    FileStatus status;
    calc.Load([&](Calculator::Change& c) { status = LoadStackFile(path, c); });
    return status;
}

struct Stack {
    tallix::testing::RecordingShell shell;
    Calculator calc{shell, '.'};
};

using StackFileReplace = tallix::testing::StackFileIo;

TEST_F(StackFileReplace, SavesLoadsAndReplacesInPlace) {
    struct Case {
        Entries levels; // level 1 first
        std::string bytes;
    };
    const Case cases[] = {
        {{"3", "2", "1"}, "3\r\n2\r\n1\r\n"},
        {{"-1.5E-300"}, "-1.5E-300\r\n"},
        {{}, ""},
        {{"0.333333333333333333", "1E4932", ""}, "0.333333333333333333\r\n1E4932\r\n\r\n"},
    };
    const std::string path = PathOf("stack.Stk");
    for (const Case& c : cases) {
        Stack out;
        Replace(out.calc, c.levels);
        ASSERT_TRUE(SaveStackFile(path, out.calc)) << c.bytes;
        EXPECT_EQ(Get(path), c.bytes);
        // The old file is replaced, and nothing else is left in the folder.
        EXPECT_EQ(FilesInDir(), 1u) << c.bytes;

        Stack in;
        Replace(in.calc, {"left", "over"});
        ASSERT_TRUE(Load(path, in.calc)) << c.bytes;
        EXPECT_EQ(in.calc.StackLevels(), c.levels);
    }
}

TEST_F(StackFileReplace, FailuresChangeNothing) {
    Stack s;
    Replace(s.calc, {"7", "8"});
    // A folder that does not exist: no file, and a reason.
    const FileStatus missing = SaveStackFile(PathOf("no-such-folder/x.Stk"), s.calc);
    EXPECT_FALSE(missing);
    EXPECT_FALSE(missing.reason.empty());
    EXPECT_EQ(FilesInDir(), 0u);
    // A folder in place of the file is left as it was.
    fs::create_directory(dir / "folder.Stk");
    EXPECT_FALSE(SaveStackFile(PathOf("folder.Stk"), s.calc));
    EXPECT_TRUE(fs::is_directory(dir / "folder.Stk"));
    EXPECT_EQ(FilesInDir(), 1u);
    // Loading what cannot be read keeps the stack.
    EXPECT_FALSE(Load(PathOf("absent.Stk"), s.calc));
    EXPECT_FALSE(Load(PathOf("folder.Stk"), s.calc));
    EXPECT_EQ(s.calc.StackLevels(), (Entries{"7", "8"}));
}
} // namespace
} // namespace tallix::persist
