// Batch mode's --load and --save.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "batch_run.h"
#include "stackfile_fixture.h"

using namespace tallix;
namespace fs = std::filesystem;

namespace {

using tallix::testing::StackFileIo;

std::string ErrText(int err) { return std::error_code(err, std::generic_category()).message(); }

using tallix::testing::BatchRun;
using tallix::testing::RunBatch;

using BatchStackFiles = StackFileIo;

TEST_F(BatchStackFiles, LoadRunsBeforeTheTokensAndSaveAfterThem) {
    const std::string in = PathOf("in.stk"), out = PathOf("out.stk");
    Put(in, "3\n2\r\nabc\r\r\n");
    BatchRun r = RunBatch({"--raw", "--load", in, "--save=" + out, "-e", "+"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "\nabc\n5\n"); // deepest first
    EXPECT_EQ(Get(out), "5\r\nabc\r\n\r\n");

    r = RunBatch({"--raw", "--load=" + in, "--save", out, "-e", "1"});
    EXPECT_EQ(r.out, "\nabc\n2\n3\n1\n");
    EXPECT_EQ(Get(out), "1\r\n3\r\n2\r\nabc\r\n\r\n");
}

TEST_F(BatchStackFiles, FileErrorsGoToStandardErrorWithStatusOne) {
    fs::create_directory(dir / "sub");
    const std::string missing = PathOf("missing.stk"), out = PathOf("out.stk");
    Put(out, "old\r\n");
    // A load that fails runs no token and saves nothing.
    BatchRun r = RunBatch({"--load", missing, "--save", out, "-e", "1 2"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tallix: cannot read " + missing + ": " + ErrText(ENOENT) + "\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(Get(out), "old\r\n");

    // A save that fails still shows the stack.
    const std::string sub = PathOf("sub");
    r = RunBatch({"--save", sub, "-e", "1 2"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tallix: cannot write " + sub + ": " + ErrText(EISDIR) + "\n");
    EXPECT_EQ(r.out, "1\n2\n");

    r = RunBatch({"-e", "1", "--load"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--load needs an argument"), std::string::npos);
}

} // namespace
