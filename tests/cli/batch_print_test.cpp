// Batch mode's --print: the stack listing as the line printer's text file,
// its failures, and PDF names without the window program.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

#include "batch_run.h"
#include "cli/batchprint.h"
#include "core/number/utf8.h"
#include "core/print/localetime.h"
#include "file_bytes.h"

using namespace tallix;
using tallix::testing::BatchRun;
using tallix::testing::RunBatch;
namespace fs = std::filesystem;

namespace {

std::string ErrText(int err) { return std::error_code(err, std::generic_category()).message(); }

using tallix::testing::ReadAll;
using tallix::testing::WriteAll;

// Sets an environment variable for one scope.
class EnvVar {
public:
    EnvVar(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~EnvVar() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    EnvVar(const EnvVar&) = delete;
    EnvVar& operator=(const EnvVar&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// The C locale's formats and letter paper, and a fixed moment in time.
class BatchPrint : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::path(::testing::TempDir()) / ("tallix-print-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    std::string PathOf(const std::string& name) const { return (dir / name).string(); }

    EnvVar lcAll{"LC_ALL", "C"};
    EnvVar lcPaper{"LC_PAPER", nullptr};
    EnvVar lang{"LANG", nullptr};
    EnvVar epoch{"SOURCE_DATE_EPOCH", "0"};
    fs::path dir;
};

TEST_F(BatchPrint, ThreeEntriesAsTheGoldenText) {
    const std::string out = PathOf("three.txt");
    const BatchRun r = RunBatch({"-e", "1.5 -2 30", "--print", out});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "1.5\n-2\n30\n"); // the stack is still shown
    EXPECT_EQ(ReadAll(out), ReadAll(fs::path(TALLIX_GOLDEN_DIR) / "listing_three.txt"));
}

// The body lines as the display shows each value, deepest level first,
// right-aligned in 26 characters (4 for the label, 24 for the value); the
// header, footer and the empty first line come before them.
TEST_F(BatchPrint, ValuesAsTheDisplayShowsThem) {
    const std::string word56(56, '1');
    struct Case {
        const char* name;
        std::string tokens;
        std::vector<std::string> body;
    };
    const Case cases[] = {
        {"empty stack", "", {}},
        {"hexadecimal", "255 10 HEX", {" 2:                     FF", " 1:                      A"}},
        {"fixed decimals", "1.5 2 FIX", {" 1:                   1.50"}},
        {"after the last token", "1 2 +", {" 1:                      3"}},
        // Too wide for the usual column: the column grows, and the rows
        // stay right-aligned with each other.
        {"a 56-bit word, whole", "56 STWS 1 NEG BIN", {" 1:" + word56}},
        {"fixed decimals, whole",
         "7 -123456789.5 18 FIX",
         {" 2:" + std::string(9, ' ') + "7.000000000000000000",
          " 1:-123456789.500000000000000000"}},
    };
    for (const Case& c : cases) {
        const std::string out = PathOf("listing.txt");
        const BatchRun r = RunBatch({"-e", c.tokens, "--print=" + out});
        EXPECT_EQ(r.status, 0) << c.name << r.err;
        std::string expected = "Tallix - Stack Print" + std::string(42, ' ') + "Page 1\r\n" +
                               "01/01/70" + std::string(52, ' ') + "00:00:00\r\n\r\n";
        for (const std::string& line : c.body) expected += line + "\r\n";
        EXPECT_EQ(ReadAll(out), expected) << c.name;
    }
}

// A loaded text holding the line printer's bar or macros prints as the
// display shows it; a control byte or a byte of broken UTF-8 prints as
// U+FFFD, never raw.
TEST_F(BatchPrint, StackTextsArePrintedLiterally) {
    const std::string kBad = "\xEF\xBF\xBD";
    const struct {
        std::string entry, printed;
    } cases[] = {
        {"a|b", "a|b"},
        {"{$PAGE}", "{$PAGE}"},
        {"|{$DATE}", "|{$DATE}"},
        {"\xC3\xA9\xC3\xB7", "\xC3\xA9\xC3\xB7"},
        {"\x1B[31mred\ttab", kBad + "[31mred" + kBad + "tab"},
        {"\x7F\xC2\x85", kBad + kBad + kBad},
        {"\xFF\xC0\xAF\xED\xA0\x80\xE2\x82",
         std::string() + kBad + kBad + kBad + kBad + kBad + kBad + kBad + kBad},
    };
    for (const auto& c : cases) {
        const std::string stk = PathOf("p.stk"), out = PathOf("p.txt");
        WriteAll(stk, c.entry + "\r\n");
        const BatchRun r = RunBatch({"--load", stk, "--print", out});
        EXPECT_EQ(r.status, 0) << r.err;
        const std::string text = ReadAll(out);
        const std::size_t width = tallix::CountChars(c.printed);
        EXPECT_EQ(text.substr(text.find("\r\n\r\n") + 4),
                  " 1:" + std::string(width < 23 ? 23 - width : 0, ' ') + c.printed + "\r\n")
            << c.entry;
    }
}

TEST_F(BatchPrint, TheLocalesPaperSetsTheHeaderWidth) {
    // Without a paper preference: letter, 8.5 inches less two 1-inch
    // margins, in two halves of 34 characters.
    const std::string out = PathOf("letter.txt");
    ASSERT_EQ(RunBatch({"-e", "1", "--print", out}).status, 0);
    const std::string text = ReadAll(out);
    EXPECT_EQ(text.substr(0, text.find("\r\n")).size(), 68u);
}

TEST_F(BatchPrint, DateAndTimeOfAFixedMoment) {
    struct Case {
        const char* epoch;
        const char* date;
        const char* time;
    };
    const Case cases[] = {{"0", "01/01/70", "00:00:00"}, {"1000000000", "09/09/01", "01:46:40"}};
    for (const Case& c : cases) {
        EnvVar fixed("SOURCE_DATE_EPOCH", c.epoch);
        print::TLocaleDateTimeTexts texts;
        EXPECT_EQ(texts.ShortDate(), c.date) << c.epoch;
        EXPECT_EQ(texts.LongTime(), c.time) << c.epoch;
    }
}

TEST_F(BatchPrint, FailuresGoToStandardErrorAndChangeNothing) {
    fs::create_directory(dir / "folder");
    struct Case {
        const char* name;
        std::string path;
        std::string error;
    };
    const Case cases[] = {
        {"missing folder", PathOf("none/x.txt"),
         "tallix: cannot print to " + PathOf("none/x.txt") + ": " + ErrText(ENOENT)},
        {"a folder", PathOf("folder"),
         "tallix: cannot print to " + PathOf("folder") + ": " + ErrText(EISDIR)},
        {"a blank at the end", PathOf("x.txt "),
         "tallix: cannot print to " + PathOf("x.txt ") +
             ": a file name that begins or ends with a blank is not supported"},
        {"PDF without the window program", PathOf("x.pdf"),
         "tallix: printing to PDF needs the window program"},
        {"PDF in capitals", PathOf("x.PDF"), "tallix: printing to PDF needs the window program"},
    };
    for (const Case& c : cases) {
        const BatchRun r = RunBatch({"-e", "1 2", "--print", c.path});
        EXPECT_EQ(r.status, 1) << c.name;
        EXPECT_EQ(r.err, c.error + "\n") << c.name;
        EXPECT_EQ(r.out, "1\n2\n") << c.name;
    }
    EXPECT_FALSE(fs::exists(PathOf("x.pdf")));
    EXPECT_FALSE(fs::exists(PathOf("x.PDF")));
    EXPECT_FALSE(fs::exists(PathOf("x.txt ")));
    EXPECT_TRUE(fs::is_directory(PathOf("folder")));
}

TEST_F(BatchPrint, WithoutAFileNameIsBadUsage) {
    const BatchRun r = RunBatch({"-e", "1", "--print"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("tallix: --print needs an argument\n", 0), 0u) << r.err;
}

// A write that fails part-way (the file size limit of the process) leaves
// the old listing as it was: the new one replaces it only when complete.
TEST_F(BatchPrint, AFailedWriteKeepsTheOldFile) {
    const std::string out = PathOf("old.txt");
    WriteAll(out, "old listing\r\n");
    std::string tokens;
    for (int i = 1; i <= 200; ++i) tokens += std::to_string(i) + " ";
    std::FILE* err = std::tmpfile();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::string args[] = {"tallix", "-e", tokens, "--print", out};
        char* argv[] = {args[0].data(), args[1].data(), args[2].data(),
                        args[3].data(), args[4].data(), nullptr};
        std::FILE* devnull = std::fopen("/dev/null", "w");
        ::_exit(cli::BatchMain(5, argv, stdin, devnull, err));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(tallix::testing::Drain(err),
              "tallix: cannot print to " + out + ": Unable to finish printing to file.\n");
    EXPECT_EQ(ReadAll(out), "old listing\r\n");
    // Nothing else was left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST(IsPdfName, TheSuffixInAnyCase) {
    struct Case {
        const char* path;
        bool pdf;
    };
    const Case cases[] = {
        {"a.pdf", true},      {"A.PDF", true}, {"dir/x.Pdf", true}, {".pdf", true},
        {"a.pdf.txt", false}, {"pdf", false},  {"a_pdf", false},    {"a.txt", false},
        {"", false},          {"a.pd", false},
    };
    for (const Case& c : cases) EXPECT_EQ(cli::IsPdfName(c.path), c.pdf) << c.path;
}

} // namespace
