// Print-to-file mode: the exact bytes, and replacing the file safely.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "file_bytes.h"
#include "print_rig.h"

using namespace tallix::print;
using namespace tallix::print::testing;
namespace fs = std::filesystem;

namespace {

using tallix::testing::ReadAll;
using tallix::testing::WriteAll;

class PrintToFile : public ::testing::Test {
protected:
    fs::path dir;
    fs::path file;
    PrintRig rig;

    void SetUp() override {
        dir = fs::path(::testing::TempDir()) /
              ("tallix_print_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        file = dir / "out.txt";
        rig->SetPrintToFile(true);
        rig->SetFileName(file.string());
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

TEST_F(PrintToFile, ExactBytes) {
    struct Case {
        std::string header, footer, tableFormat;
        std::vector<std::string> lines; // "\f" stands for NewPage, "" for NewLine
        std::string bytes;
    };
    const std::string pad23(23, ' ');
    const Case cases[] = {
        // 0.375 inch = 112 pixels; "12:" is 75 wide, 31 from the left edge:
        // one blank before it at 25 pixels a blank, none after.
        {"", "", ">.375|>2.25", {"12:|3.5"}, " 12:" + pad23 + "3.5\r\n"},
        // Left-aligned: the 6-pixel inset gives no blank; the rest of the
        // column is filled.
        {"",
         "",
         "<1|<1",
         {"ab|c"},
         "ab" + std::string(9, ' ') + "c" + std::string(10, ' ') + "\r\n"},
        {"", "", "^1", {"abcd"}, "    abcd    \r\n"},
        // The header and footer come first on every page, one after the
        // other; page breaks are a form feed, CR and LF.
        {"T|P{$PAGE}",
         "F",
         "<.5",
         {"a", "\f", "b", ""},
         "T" + std::string(10 + 9, ' ') + "P1\r\n" + "F" + std::string(10, ' ') + "\r\n" +
             "a    \r\n" + "\f\r\n" + "T" + std::string(10 + 9, ' ') + "P2\r\n" + "F" +
             std::string(10, ' ') + "\r\n" + "b    \r\n" + "\r\n"},
        {"", "", "<1", {}, ""},
        // An empty format and no default width: one empty column, only the
        // first character shows.
        {"", "", "", {"hello"}, "h\r\n"},
    };
    for (const Case& c : cases) {
        rig->SetHeader(c.header);
        rig->SetHeaderFormat("<1|>1");
        rig->SetFooter(c.footer);
        rig->SetFooterFormat("<1");
        rig->SetTableFormat(c.tableFormat);
        rig->BeginDoc();
        for (const std::string& line : c.lines) {
            if (line == "\f")
                rig->NewPage();
            else if (line.empty())
                rig->NewLine();
            else
                rig->WriteLine(line);
        }
        rig->EndDoc();
        EXPECT_EQ(ReadAll(file), c.bytes) << c.tableFormat;
        EXPECT_TRUE(rig.dev.texts.empty());
        EXPECT_TRUE(rig.dev.lines.empty());
    }
}

// A column is never wider than the page: a width of millions of inches
// pads the line only to the printable area's right edge (2175 pixels from
// the left margin at 25 pixels a blank).
TEST_F(PrintToFile, HugeColumnsEndAtThePagesEdge) {
    struct Case {
        std::string format, line, bytes;
    };
    const Case cases[] = {
        {"<14000000", "ab", "ab" + std::string(84, ' ') + "\r\n"},
        {">14000000", "ab", std::string(84, ' ') + "ab\r\n"},
        {"<14000000|>14000000", "a|b", "a" + std::string(85, ' ') + "b\r\n"},
    };
    for (const Case& c : cases) {
        rig->SetTableFormat(c.format);
        rig->BeginDoc();
        rig->WriteLine(c.line);
        rig->EndDoc();
        EXPECT_EQ(ReadAll(file), c.bytes) << c.format;
    }
}

// A printer without a resolution, or with a negative one, is refused before
// anything is written: every length in pixels would be wrong.
TEST_F(PrintToFile, AResolutionOfZeroOrLessIsRefused) {
    WriteAll(file, "old");
    for (const auto& [x, y] : {std::pair{0, 300}, {300, 0}, {-300, -300}, {-1, 300}}) {
        rig.dev.dpiX = x;
        rig.dev.dpiY = y;
        rig->SetTableFormat("<-14000000");
        EXPECT_EQ(LinePrinterError([&] { rig->BeginDoc(); }),
                  "Unable to begin printing: the printer reports no resolution.")
            << x << " " << y;
        EXPECT_FALSE(rig->Printing());
        EXPECT_EQ(ReadAll(file), "old");
        if (x <= 0) {
            EXPECT_THROW(rig->ToPixelsX(1), ERangeError);
        }
    }
}

TEST_F(PrintToFile, NoPageBreakByItself) {
    rig->SetTableFormat("<.25");
    rig->SetPageBorders({TPageBorderStyle::pbTop});
    rig->SetTableGrid(true);
    rig->BeginDoc();
    for (int i = 0; i < 500; ++i) rig->WriteLine("x");
    EXPECT_EQ(rig->PageCounter(), 1u);
    EXPECT_EQ(rig->PageNumber(), 1);
    EXPECT_EQ(rig->LineNumber(), 500u);
    rig->EndDoc();
    std::string expected;
    for (int i = 0; i < 500; ++i) expected += "x \r\n";
    EXPECT_EQ(ReadAll(file), expected);
    EXPECT_TRUE(rig.dev.lines.empty()); // no borders, no boxes
    EXPECT_TRUE(rig.dev.calls.empty()); // the printer had no document
}

TEST_F(PrintToFile, HeaderAndFooterAdvanceTheLine) {
    int newLines = 0;
    rig->OnNewLine = [&](TLinePrinter&) { ++newLines; };
    rig->SetHeader("H");
    rig->SetFooter("F");
    rig->BeginDoc();
    EXPECT_EQ(newLines, 3);
    EXPECT_EQ(rig->LineNumber(), 0u);
    rig->NewPage();
    EXPECT_EQ(newLines, 6);
    EXPECT_EQ(rig->PageNumber(), 2);
    rig->EndDoc();
}

TEST_F(PrintToFile, ExistingFileReplacedOnlyAtTheEnd) {
    WriteAll(file, "old listing\r\n");
    rig->SetTableFormat("<1");
    rig->BeginDoc();
    rig->WriteLine("new");
    EXPECT_EQ(ReadAll(file), "old listing\r\n");
    EXPECT_TRUE(rig->Printing());
    rig->EndDoc();
    EXPECT_FALSE(rig->Printing());
    EXPECT_EQ(ReadAll(file), "new" + std::string(8, ' ') + "\r\n");
}

TEST_F(PrintToFile, AbortKeepsTheOldFile) {
    WriteAll(file, "old listing\r\n");
    rig->SetTableFormat("<1");
    rig->BeginDoc();
    rig->WriteLine("new");
    rig->Abort();
    EXPECT_FALSE(rig->Printing());
    EXPECT_EQ(ReadAll(file), "old listing\r\n");
    // A file that did not exist before is not left behind empty.
    const fs::path fresh = dir / "fresh.txt";
    rig->SetFileName(fresh.string());
    rig->BeginDoc();
    EXPECT_TRUE(fs::exists(fresh));
    rig->Abort();
    EXPECT_FALSE(fs::exists(fresh));
}

TEST_F(PrintToFile, FileErrorsAtTheBeginning) {
    struct Case {
        fs::path name;
        std::string message;
    };
    const Case cases[] = {
        {dir / "missing" / "out.txt", "No such file or directory"},
        {dir, "Is a directory"},
        {"", "No such file or directory"},
    };
    for (const Case& c : cases) {
        rig->SetFileName(c.name.string());
        EXPECT_EQ(LinePrinterError([&] { rig->BeginDoc(); }), c.message) << c.name;
        EXPECT_FALSE(rig->Printing());
    }
}

TEST_F(PrintToFile, FailureAtTheEndKeepsTheDocumentOpen) {
    rig->SetShowProgress(true);
    rig->SetTableFormat("<1");
    rig->BeginDoc();
    rig->WriteLine("new");
    // The folder goes away before the file can be written.
    fs::remove_all(dir);
    EXPECT_EQ(LinePrinterError([&] { rig->EndDoc(); }), "Unable to finish printing to file.");
    EXPECT_TRUE(rig->Printing());
    EXPECT_TRUE(rig->ProgressDialogExists());
    // Once the folder is back, ending the document writes everything.
    fs::create_directories(dir);
    rig->EndDoc();
    EXPECT_FALSE(rig->Printing());
    EXPECT_FALSE(rig->ProgressDialogExists());
    EXPECT_EQ(ReadAll(file), "new" + std::string(8, ' ') + "\r\n");
}

TEST_F(PrintToFile, EndWithoutBeginFails) {
    EXPECT_EQ(LinePrinterError([&] { rig->EndDoc(); }), "Unable to finish printing to file.");
}

TEST_F(PrintToFile, SecondBeginKeepsTheFirstDocument) {
    rig->SetTableFormat("<1");
    rig->BeginDoc();
    rig->WriteLine("first");
    EXPECT_EQ(LinePrinterError([&] { rig->BeginDoc(); }), "Unable to begin printing.");
    rig->EndDoc();
    EXPECT_EQ(ReadAll(file), "first" + std::string(6, ' ') + "\r\n");
}

TEST_F(PrintToFile, FontWithoutASpaceWidth) {
    // Blanks cannot be counted: the cell is written without them.
    rig.dev.charWidths = {{' ', 0}};
    rig->SetTableFormat(">1|<1");
    rig->BeginDoc();
    rig->WriteLine("ab|cd");
    rig->EndDoc();
    EXPECT_EQ(ReadAll(file), "abcd\r\n");
}

TEST_F(PrintToFile, FontAssignedDuringTheDocumentTakesItsMetrics) {
    rig.dev.metrics = {50, 10};
    rig->BeginDoc();
    rig->SetFont(rig->Font());
    EXPECT_EQ(rig->LineHeight(), 60u);
    rig->EndDoc();
}

} // namespace
