// Stack files: their bytes, and reading and replacing files.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <system_error>
#include <unistd.h>

#include "core/persist/stackfile.h"
#include "stackfile_fixture.h"
#include "test_calc.h"

using namespace tallix;
using namespace tallix::persist;
namespace fs = std::filesystem;

namespace {

using tallix::testing::StackFileIo;
using Entries = std::vector<std::string>;

std::string ErrText(int err) { return std::error_code(err, std::generic_category()).message(); }

TEST(SplitStackText, LineEndsNulAndEmptyLines) {
    struct Case {
        std::string bytes;
        Entries entries;
    };
    using namespace std::string_literals;
    const Case cases[] = {
        {"", {}},
        {"3\r\n2\r\n1\r\n", {"3", "2", "1"}},
        {"3\n2\n1\n", {"3", "2", "1"}},
        {"3\r2\r1\r", {"3", "2", "1"}},
        {"3\r\n2\n1\r", {"3", "2", "1"}},
        {"5", {"5"}},
        {"5\r\n\r\n", {"5", ""}},
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\rb", {"a", "", "b"}},
        {"a\n\nb\n", {"a", "", "b"}},
        {"\r\n", {""}},
        {"\n", {""}},
        {"\r", {""}},
        {"\n\r", {"", ""}},
        {"\r\n\r\n\r\n", {"", "", ""}},
        {"7\0"
         "8"s,
         {"7"}},
        {"7\r\n\0"
         "8\r\n"s,
         {"7"}},
        {"\0"
         "1"s,
         {}},
        {"7\0"s, {"7"}},
        {"1\r\0"s, {"1"}},
        {"  1.5 \r\n\t-2\t\r\n", {"  1.5 ", "\t-2\t"}},
        {"abc\r\n1,5\r\n", {"abc", "1,5"}},
        {"\xc3\xa9\xff\r\n", {"\xc3\xa9\xff"}},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (unsigned char ch : c.bytes) shown += std::to_string(ch) + " ";
        EXPECT_EQ(SplitStackText(c.bytes), c.entries) << shown;
    }
}

TEST(JoinStackText, EveryEntryEndsWithCrLf) {
    struct Case {
        Entries entries;
        std::string bytes;
    };
    const Case cases[] = {
        {{}, ""},
        {{"3", "2", "1"}, "3\r\n2\r\n1\r\n"},
        {{""}, "\r\n"},
        {{"5", ""}, "5\r\n\r\n"},
        {{" a ", "", "b"}, " a \r\n\r\nb\r\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JoinStackText(c.entries), c.bytes);
        TextStack stack;
        stack.assignLevels(c.entries);
        EXPECT_EQ(JoinStackText(stack), c.bytes);
        EXPECT_EQ(SplitStackText(c.bytes), c.entries); // and back
    }
}

// A calculator whose stack the file functions read and replace.
struct StackHolder {
    tallix::testing::RecordingShell shell;
    Calculator calc{shell, '.'};
    void assignLevels(Entries e) {
        tallix::testing::Arrange(calc,
                                 [&](Calculator::Change& c) { c.ReplaceStack(std::move(e)); });
    }
    Entries levels() const { return calc.StackLevels(); }
    std::size_t size() const { return calc.Depth(); }
    void push(std::string text) {
        tallix::testing::Arrange(calc, [&](Calculator::Change& c) { c.PushText(std::move(text)); });
    }
    operator Calculator&() { return calc; }
    operator const Calculator&() const { return calc; }
};

// Loads a stack file into the holder's calculator as the program's start does.
tallix::persist::FileStatus LoadStackFile(const std::string& path, StackHolder& h) {
    tallix::persist::FileStatus st;
    tallix::testing::Arrange(
        h.calc, [&](Calculator::Change& c) { st = tallix::persist::LoadStackFile(path, c); });
    return st;
}

// A private folder per test, removed afterwards.

TEST_F(StackFileIo, SaveGivesTheExactBytesAndOpenGivesTheStackBack) {
    const std::string path = PathOf("s.stk");
    struct Case {
        Entries entries;
        std::string bytes;
    };
    const Case cases[] = {
        {{"3", "2", "1"}, "3\r\n2\r\n1\r\n"}, {{}, ""}, {{"abc", "", " 1 "}, "abc\r\n\r\n 1 \r\n"}};
    for (const Case& c : cases) {
        StackHolder stack;
        stack.assignLevels(c.entries);
        ASSERT_TRUE(SaveStackFile(path, stack));
        EXPECT_EQ(Get(path), c.bytes);
        EXPECT_EQ(fs::file_size(path), c.bytes.size());
        StackHolder back;
        back.assignLevels({"old"});
        ASSERT_TRUE(LoadStackFile(path, back));
        EXPECT_EQ(back.levels(), c.entries);
    }
    EXPECT_EQ(FilesInDir(), 1u); // no temporary file left behind
}

TEST_F(StackFileIo, OpenReadsEveryLineEndMix) {
    using namespace std::string_literals;
    struct Case {
        std::string bytes;
        Entries entries;
    };
    const Case cases[] = {
        {"1\r\n2\n3\r4\n\r5", {"1", "2", "3", "4", "", "5"}},
        {"7\0"
         "8\r\n"s,
         {"7"}},
        {"5", {"5"}},
        {"", {}},
        {"\r\n\r\n", {"", ""}},
    };
    const std::string path = PathOf("mix.stk");
    for (const Case& c : cases) {
        Put(path, c.bytes);
        StackHolder stack;
        stack.assignLevels({"replaced"});
        ASSERT_TRUE(LoadStackFile(path, stack));
        EXPECT_EQ(stack.levels(), c.entries);
    }
}

TEST_F(StackFileIo, TenMegabyteFile) {
    std::string bytes;
    Entries expected;
    const char* ends[] = {"\r\n", "\n", "\r", "\n\r"};
    for (int i = 0; bytes.size() < 10u * 1024 * 1024; ++i) {
        std::string text =
            std::to_string(static_cast<long long>(i) * 7919) + "." + std::to_string(i);
        bytes += text;
        bytes += ends[i % 4];
        expected.push_back(text);
        if (i % 4 == 3) expected.push_back(""); // LF then CR ends two lines
    }
    const std::string path = PathOf("big.stk");
    Put(path, bytes);
    StackHolder stack;
    ASSERT_TRUE(LoadStackFile(path, stack));
    EXPECT_EQ(stack.size(), expected.size());
    EXPECT_EQ(stack.levels(), expected);
    ASSERT_TRUE(SaveStackFile(path, stack));
    EXPECT_EQ(Get(path), JoinStackText(expected));
}

TEST_F(StackFileIo, OpenFailuresLeaveTheStackAsItWas) {
    fs::create_directory(dir / "sub");
    struct Case {
        std::string path;
        int err;
    };
    const Case cases[] = {
        {PathOf("missing.stk"), ENOENT},
        {PathOf("nofolder/x.stk"), ENOENT},
        {PathOf("sub"), EISDIR},
        {"", ENOENT},
    };
    for (const Case& c : cases) {
        StackHolder stack;
        stack.assignLevels({"1", "2"});
        FileStatus st = LoadStackFile(c.path, stack);
        EXPECT_FALSE(st) << c.path;
        EXPECT_EQ(st.reason, ErrText(c.err)) << c.path;
        EXPECT_EQ(stack.levels(), (Entries{"1", "2"})) << c.path;
    }
}

TEST_F(StackFileIo, UnreadableFileIsReported) {
    const std::string path = PathOf("secret.stk");
    Put(path, "1\r\n");
    fs::permissions(path, fs::perms::none);
    if (BypassesPermissions(path, "rb"))
        GTEST_SKIP() << "this process reads files whatever their permissions (root)";
    StackHolder stack;
    stack.assignLevels({"keep"});
    FileStatus st = LoadStackFile(path, stack);
    EXPECT_FALSE(st);
    EXPECT_EQ(st.reason, ErrText(EACCES));
    EXPECT_EQ(stack.levels(), Entries{"keep"});
}

TEST_F(StackFileIo, SaveFailuresKeepTheOldFileAndLeaveNoTemporary) {
    fs::create_directory(dir / "sub");
    StackHolder stack;
    stack.assignLevels({"new"});
    struct Case {
        std::string path;
        int err;
    };
    const Case cases[] = {
        {PathOf("sub"), EISDIR},
        {PathOf("nofolder/x.stk"), ENOENT},
        {"", ENOENT},
    };
    Put(PathOf("old.stk"), "old\r\n");
    for (const Case& c : cases) {
        FileStatus st = SaveStackFile(c.path, stack);
        EXPECT_FALSE(st) << c.path;
        EXPECT_EQ(st.reason, ErrText(c.err)) << c.path;
    }
    EXPECT_EQ(FilesInDir(), 2u);
    EXPECT_TRUE(fs::is_empty(dir / "sub"));
    EXPECT_EQ(stack.levels(), Entries{"new"});
}

TEST_F(StackFileIo, ReadOnlyFolderOrFileIsReported) {
    const std::string path = PathOf("old.stk");
    Put(path, "old\r\n");
    StackHolder stack;
    stack.assignLevels({"new"});

    fs::permissions(path, fs::perms::owner_read);
    if (BypassesPermissions(path, "r+b"))
        GTEST_SKIP() << "this process writes files whatever their permissions (root)";
    FileStatus st = SaveStackFile(path, stack);
    EXPECT_FALSE(st);
    EXPECT_EQ(st.reason, ErrText(EACCES));
    EXPECT_EQ(Get(path), "old\r\n");

    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    st = SaveStackFile(path, stack);
    EXPECT_FALSE(st);
    EXPECT_EQ(st.reason, ErrText(EACCES));
    EXPECT_EQ(Get(path), "old\r\n");
    st = SaveStackFile(PathOf("fresh.stk"), stack);
    EXPECT_FALSE(st);
    EXPECT_FALSE(fs::exists(PathOf("fresh.stk")));
}

TEST_F(StackFileIo, FullDeviceIsReported) {
    if (!fs::is_character_file("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    StackHolder stack;
    stack.assignLevels({"1", "2"});
    FileStatus st = SaveStackFile("/dev/full", stack);
    EXPECT_FALSE(st);
    EXPECT_EQ(st.reason, ErrText(ENOSPC));
    EXPECT_TRUE(fs::is_character_file("/dev/full")); // written to, never replaced
}

// A disk that fills up part way: the file-size limit makes the write fail
// after the first bytes, exactly where a full disk would.
TEST_F(StackFileIo, WriteFailingPartWayKeepsTheOldFile) {
    const std::string path = PathOf("old.stk");
    Put(path, "old\r\n");
    StackHolder stack;
    for (int i = 0; i < 100000; ++i) stack.push(std::to_string(i));

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    FileStatus st = SaveStackFile(path, stack);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(st);
    EXPECT_EQ(st.reason, ErrText(EFBIG));
    EXPECT_EQ(Get(path), "old\r\n");
    EXPECT_EQ(FilesInDir(), 1u);
    EXPECT_EQ(stack.size(), 100000u);
}

TEST_F(StackFileIo, ReplacingKeepsPermissionsAndSymbolicLinks) {
    const std::string path = PathOf("real.stk");
    Put(path, "old\r\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("real.stk", dir / "link.stk");
    StackHolder stack;
    stack.assignLevels({"1"});
    ASSERT_TRUE(SaveStackFile(PathOf("link.stk"), stack));
    EXPECT_TRUE(fs::is_symlink(dir / "link.stk"));
    EXPECT_EQ(Get(path), "1\r\n");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

} // namespace
