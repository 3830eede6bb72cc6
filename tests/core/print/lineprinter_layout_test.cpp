// The line printer's pages on the printer: cells and alignment, macros,
// header and footer, page breaks and events, borders and cell boxes.
#include <gtest/gtest.h>

#include "print_rig.h"
#include "scoped_env.h"

using namespace tallix::print;
using namespace tallix::print::testing;

namespace {

// On the rig's letter paper at 300 dpi with 1-inch margins.
constexpr int kLeft = 225, kTop = 225, kBodyWidth = 1950, kBodyHeight = 2700;

TEST(LinePrinterLayout, RigGeometry) {
    PrintRig rig;
    EXPECT_EQ(rig->MarginLeftPixels(), kLeft);
    EXPECT_EQ(rig->MarginTopPixels(), kTop);
    EXPECT_EQ(rig->BodyWidth(), kBodyWidth);
    EXPECT_EQ(rig->BodyHeight(), kBodyHeight);
}

TEST(LinePrinterLayout, AlignmentAndInsets) {
    // Every character is 25 pixels wide at every resolution.
    struct Case {
        int dpi;
        std::string format, text;
        int offset;
        std::string drawn;
    };
    const Case cases[] = {
        {300, ">1", "abcd", 194, "abcd"}, // 300 - 100 - 6
        {600, ">1", "abcd", 488, "abcd"}, // 600 - 100 - 12
        {200, ">1", "abcd", 100, "abcd"}, // no inset below 300 dpi
        {300, "<1", "abcd", 6, "abcd"},
        {600, "<1", "abcd", 12, "abcd"},
        {200, "<1", "abcd", 0, "abcd"},
        {300, "^1", "abcd", 100, "abcd"},
        {300, "^1", "abc", 112, "abc"}, // 112.5 truncated
        {300, ">1", "abcdefghijk", 19, "abcdefghijk"},
        // No room for the inset: the text touches the column's edges.
        {300, ">1", "abcdefghijkl", 0, "abcdefghijkl"},
        {300, "<1", "abcdefghijkl", 0, "abcdefghijkl"},
        {300, ">1", "abcdefghijklmn", 0, "abcdefghijkl"},
        {300, "^1", "abcdefghijklmn", 0, "abcdefghijkl"},
        {300, ">.375", "12:", 31, "12:"}, // 112 - 75 - 6
    };
    for (const Case& c : cases) {
        PrintRig rig([&](FakePrintDevice& d) { d.dpiX = d.dpiY = c.dpi; });
        rig->SetTableFormat(c.format);
        rig->BeginDoc();
        rig->WriteLine(c.text);
        ASSERT_EQ(rig.dev.texts.size(), 1u) << c.format << " " << c.text;
        EXPECT_EQ(rig.dev.texts[0].text, c.drawn);
        EXPECT_EQ(rig.dev.texts[0].x - rig->MarginLeftPixels(), c.offset)
            << c.dpi << " " << c.format << " " << c.text;
        EXPECT_EQ(rig.dev.texts[0].y, rig->MarginTopPixels());
        rig->EndDoc();
    }
}

TEST(LinePrinterLayout, CellsAndColumns) {
    struct Case {
        std::string format;
        float defaultWidth;
        std::string line;
        std::vector<std::string> drawn;
        std::vector<int> x;
    };
    const Case cases[] = {
        // No format and no default width: one column 0 pixels wide.
        {"", 0, "hello|x", {"h"}, {kLeft}},
        {"<1|<2", 0, "a|b|c", {"a", "b"}, {kLeft + 6, kLeft + 300 + 6}},
        {"<1|<2", 0, "a", {"a", ""}, {kLeft + 6, kLeft + 300 + 6}},
        {"<1||>",
         0.5f,
         "a|b|c",
         {"a", "b", "c"},
         {kLeft + 6, kLeft + 306, kLeft + 450 + 150 - 25 - 6}},
        {"x2|^", 1, "ab|cd", {"ab", "cd"}, {kLeft + 6, kLeft + 300 + 125}},
        {">1", 0, "", {""}, {kLeft + 300 - 6}},
    };
    for (const Case& c : cases) {
        PrintRig rig;
        rig->SetTableFormat(c.format);
        rig->SetDefaultColWidth(c.defaultWidth);
        rig->BeginDoc();
        rig->WriteLine(c.line);
        std::vector<int> x;
        for (const auto& t : rig.dev.texts) x.push_back(t.x);
        EXPECT_EQ(rig.dev.TextsOnPage(1), c.drawn) << c.format << " " << c.line;
        EXPECT_EQ(x, c.x) << c.format << " " << c.line;
        EXPECT_EQ(rig->CurrentX(), 0);
        EXPECT_EQ(rig->CurrentY(), static_cast<std::int64_t>(rig->LineHeight()));
    }
}

TEST(LinePrinterLayout, CommaFormatsParseWithACommaSeparator) {
    PrintRig rig;
    rig->SetDecimalSeparator(',');
    rig->SetTableFormat(">,375|>2,25");
    rig->BeginDoc();
    rig->WriteLine("12:|3,5");
    ASSERT_EQ(rig.dev.texts.size(), 2u);
    EXPECT_EQ(rig.dev.texts[0].x, kLeft + 31);
    EXPECT_EQ(rig.dev.texts[1].x, kLeft + 112 + 675 - 75 - 6);
}

TEST(LinePrinterLayout, Macros) {
    struct Case {
        std::string title, cell;
        int pageBreaks, linesBefore;
        std::string drawn;
    };
    const Case cases[] = {
        {"T", "Page {$PAGE}", 2, 0, "Page 3"},
        {"T", "{$LINE}", 0, 5, "5"},
        {"T", "{$DATE}", 0, 0, "06/05/2024"},
        {"T", "{$TIME}", 0, 0, "1:02:03 PM"},
        {"Report", "{$TITLE}", 0, 0, "Report"},
        {"My {$TITLE}", "{$TITLE}", 0, 0, "{$TITLE}"},
        {"T", "{$page} {$Date}", 0, 0, "{$page} {$Date}"},
        {"T", "{$PAGE}/{$PAGE}", 1, 0, "2/2"},
    };
    for (const Case& c : cases) {
        PrintRig rig;
        rig->SetTableFormat("<6");
        rig->SetTitle(c.title);
        rig->BeginDoc();
        for (int i = 0; i < c.pageBreaks; ++i) rig->NewPage();
        for (int i = 0; i < c.linesBefore; ++i) rig->NewLine();
        rig->WriteLine(c.cell);
        ASSERT_FALSE(rig.dev.texts.empty());
        EXPECT_EQ(rig.dev.texts.back().text, c.drawn) << c.cell;
    }
}

// A line printer given no date and time texts reads the same clock as every
// listing, so that a fixed moment fixes its header and footer too.
TEST(LinePrinterLayout, DateAndTimeWithoutTextsOfItsOwn) {
    tallix::testing::ScopedEnv locale("LC_ALL", "C");
    tallix::testing::ScopedEnv epoch("SOURCE_DATE_EPOCH", "1000000000");
    PrintRig rig;
    rig->SetDateTimeTexts(nullptr);
    rig->SetTableFormat("<6|<6");
    rig->BeginDoc();
    rig->WriteLine("{$DATE}|{$TIME}");
    ASSERT_EQ(rig.dev.texts.size(), 2u);
    EXPECT_EQ(rig.dev.texts[0].text, "09/09/01");
    EXPECT_EQ(rig.dev.texts[1].text, "01:46:40");
}

// Cells written as cells are printed as they are: the same texts as a line
// would be split at their bars and have their macros expanded.
TEST(LinePrinterLayout, LiteralCells) {
    struct Case {
        std::vector<std::string> cells;
        std::vector<std::string> drawn;
    };
    const Case cases[] = {
        {{"a|b", "c"}, {"a|b", "c"}},
        {{"{$PAGE}", "{$TITLE}"}, {"{$PAGE}", "{$TITLE}"}},
        {{"{$LINE}{$DATE}{$TIME}"}, {"{$LINE}{$DATE}{$TIME}", ""}},
        {{"x", "y", "more cells than columns"}, {"x", "y"}},
    };
    for (const Case& c : cases) {
        PrintRig rig;
        rig->SetTitle("T");
        rig->SetTableFormat("<3|<3");
        rig->BeginDoc();
        rig->WriteCells(c.cells);
        EXPECT_EQ(rig.dev.TextsOnPage(1), c.drawn) << c.cells[0];
        EXPECT_EQ(rig->CurrentY(), static_cast<std::int64_t>(rig->LineHeight()));
    }
    // The same texts through WriteLine keep their meaning there.
    PrintRig rig;
    rig->SetTitle("T");
    rig->SetTableFormat("<3|<3");
    rig->BeginDoc();
    rig->WriteLine("a|{$TITLE}");
    EXPECT_EQ(rig.dev.TextsOnPage(1), (std::vector<std::string>{"a", "T"}));
}

// No column reaches past the printable area's right edge (2400 pixels from
// the printable left edge, the body starting at 225): a column that would
// is cut there, one that starts beyond it has no width.
TEST(LinePrinterLayout, ColumnsEndAtThePagesEdge) {
    struct Case {
        std::string format;
        std::vector<int> x;
    };
    const Case cases[] = {
        {"<1|>1", {kLeft + 6, kLeft + 600 - 25 - 6}},
        {">14000000", {2400 - 25 - 6}},
        {">14000000|>1", {2400 - 25 - 6, 2400 - 25}},
        {"<7|>2", {kLeft + 6, 2400 - 25 - 6}},
        {">1e30", {2400 - 25 - 6}},
    };
    for (const Case& c : cases) {
        PrintRig rig;
        rig->SetTableFormat(c.format);
        rig->BeginDoc();
        rig->WriteLine("a|b");
        std::vector<int> x;
        for (const auto& t : rig.dev.texts) x.push_back(t.x);
        EXPECT_EQ(x, c.x) << c.format;
        rig->EndDoc();
    }
}

TEST(LinePrinterHeaderFooter, CentredInTheMargins) {
    struct Case {
        float marginTop, marginBottom;
        int headerY, footerY;
    };
    const Case cases[] = {
        // Top-left corners, measured from the printable area's top.
        {1, 1, (225 - 41) / 2, 225 + 2700 + (225 - 41) / 2},
        {1.1f, 0.5f, (255 - 41) / 2, 255 + 2820 + (75 - 41) / 2},
        // A margin exactly one line high leaves no space around the line.
        {0.25f + 41.0f / 300, 0.25f + 41.0f / 300, 0, 41 + 3068},
    };
    for (const Case& c : cases) {
        PrintRig rig;
        rig->SetMarginTop(c.marginTop);
        rig->SetMarginBottom(c.marginBottom);
        rig->SetHeader("H1|H2");
        rig->SetHeaderFormat("<3|>3");
        rig->SetFooter("F");
        rig->SetFooterFormat("<3");
        rig->SetTableFormat("<1");
        rig->BeginDoc();
        ASSERT_EQ(rig.dev.texts.size(), 3u) << c.marginTop;
        EXPECT_EQ(rig.dev.texts[0].text, "H1");
        EXPECT_EQ(rig.dev.texts[0].y, c.headerY) << c.marginTop;
        EXPECT_EQ(rig.dev.texts[1].text, "H2");
        EXPECT_EQ(rig.dev.texts[1].x, kLeft + 900 + 900 - 50 - 6);
        EXPECT_EQ(rig.dev.texts[2].text, "F");
        EXPECT_EQ(rig.dev.texts[2].y, c.footerY) << c.marginBottom;
        // Header and footer lines do not advance the body, and the body's
        // table format is back.
        EXPECT_EQ(rig->CurrentY(), 0);
        EXPECT_EQ(rig->LineNumber(), 0u);
        EXPECT_EQ(rig->TableFormat(), "<1");
        rig->EndDoc();
    }
}

TEST(LinePrinterHeaderFooter, LineTallerThanTheMarginFails) {
    struct Case {
        bool header;
        float margin;
    };
    const Case cases[] = {{true, 0.25f}, {true, 0.25f + 40.0f / 300}, {false, 0.3f}};
    for (const Case& c : cases) {
        PrintRig rig;
        if (c.header) {
            rig->SetMarginTop(c.margin);
            rig->SetHeader("H");
        } else {
            rig->SetMarginBottom(c.margin);
            rig->SetFooter("F");
        }
        rig->SetTableFormat("<1");
        rig->SetTableGrid(true);
        EXPECT_THROW(rig->BeginDoc(), EIntOverflow) << c.margin;
        EXPECT_EQ(rig->TableFormat(), "<1");
        EXPECT_TRUE(rig->TableGrid());
        // The document that could not start is not left open.
        EXPECT_FALSE(rig->Printing());
        EXPECT_EQ(rig.dev.calls, (std::vector<std::string>{"BeginDoc", "Abort"}));
    }
}

TEST(LinePrinterHeaderFooter, LineMacroSeesThePreviousPagesCount) {
    PrintRig rig;
    rig->SetHeader("{$LINE}|{$PAGE}");
    rig->SetHeaderFormat("<1|<1");
    rig->SetTableFormat("<1");
    rig->BeginDoc();
    for (int i = 0; i < 70; ++i) rig->WriteLine("x");
    rig->EndDoc();
    rig->BeginDoc();
    rig->EndDoc();
    // 65 lines fit a page; the 65th line's advance starts page 2.
    std::vector<std::string> headers;
    for (const auto& t : rig.dev.texts)
        if (t.text != "x") headers.push_back(t.text);
    EXPECT_EQ(headers, (std::vector<std::string>{"0", "1", "64", "2", "5", "1"}));
}

TEST(LinePrinterPages, LinesPerPage) {
    struct Case {
        int textHeight;
        int perPage;
    };
    const Case cases[] = {
        {41, 65},  // 65 * 41 = 2665 < 2700
        {45, 59},  // 60 * 45 = 2700 would touch the bottom
        {1349, 2}, // 2 * 1349 = 2698
        {1350, 1}, // 2 * 1350 = 2700
        {5000, 1}, // taller than the body: still one line a page
    };
    for (const Case& c : cases) {
        PrintRig rig([&](FakePrintDevice& d) { d.textHeight = c.textHeight; });
        rig->SetTableFormat("<1");
        rig->BeginDoc();
        const int lines = 3 * c.perPage + 1;
        for (int i = 0; i < lines; ++i) rig->WriteLine(std::to_string(i));
        rig->EndDoc();
        ASSERT_EQ(rig.dev.texts.size(), static_cast<std::size_t>(lines));
        for (int i = 0; i < lines; ++i) {
            const auto& t = rig.dev.texts[static_cast<std::size_t>(i)];
            EXPECT_EQ(t.page, 1 + i / c.perPage) << c.textHeight << " line " << i;
            EXPECT_EQ(t.y, kTop + (i % c.perPage) * c.textHeight) << c.textHeight << " line " << i;
        }
    }
}

TEST(LinePrinterPages, EventCounts) {
    struct Case {
        int lines;
        int newPages, newLines;
        std::uint32_t lineNumber;
    };
    const Case cases[] = {
        {0, 1, 1, 0},
        {1, 1, 2, 1},
        {64, 1, 65, 64},
        // The 65th advance breaks the page: the page start fires OnNewLine
        // and the advance fires it again.
        {65, 2, 67, 0},
        {66, 2, 68, 1},
        {130, 3, 133, 0},
    };
    for (const Case& c : cases) {
        PrintRig rig;
        int begins = 0, ends = 0, pages = 0, newLines = 0;
        rig->OnBeginDoc = [&](TLinePrinter&) { ++begins; };
        rig->OnEndDoc = [&](TLinePrinter&) { ++ends; };
        rig->OnNewPage = [&](TLinePrinter&) { ++pages; };
        rig->OnNewLine = [&](TLinePrinter&) { ++newLines; };
        rig->SetTableFormat("<1");
        rig->BeginDoc();
        for (int i = 0; i < c.lines; ++i) rig->WriteLine("x");
        EXPECT_EQ(pages, c.newPages) << c.lines;
        EXPECT_EQ(newLines, c.newLines) << c.lines;
        EXPECT_EQ(rig->LineNumber(), c.lineNumber) << c.lines;
        EXPECT_EQ(rig->PageCounter(), static_cast<std::uint32_t>(c.newPages));
        rig->EndDoc();
        EXPECT_EQ(begins, 1);
        EXPECT_EQ(ends, 1);
    }
}

using Line = FakePrintDevice::Line;

TEST(LinePrinterBorders, RuledLinesOutsideTheBody) {
    constexpr int b = 19, l = kLeft - b, r = kLeft + kBodyWidth + b;
    constexpr int t = kTop - b, u = kTop + kBodyHeight + b;
    const Line top{l, t, r, t, 2, 1}, bottom{l, u, r, u, 2, 1};
    const Line left{l, t, l, u, 2, 1}, right{r, t, r, u, 2, 1};
    using S = TPageBorderStyle;
    struct Case {
        TPageBorders borders;
        std::vector<Line> lines;
    };
    const Case cases[] = {
        {{}, {}},
        {{S::pbTop}, {top}},
        {{S::pbTop, S::pbBottom}, {top, bottom}},
        {{S::pbLeft, S::pbRight}, {left, right}},
        {{S::pbRight, S::pbBottom, S::pbTop, S::pbLeft}, {top, bottom, left, right}},
    };
    for (const Case& c : cases) {
        PrintRig rig;
        rig->SetPageBorders(c.borders);
        rig->SetBorderOffset(0.0625f);
        rig->BeginDoc();
        EXPECT_EQ(rig.dev.lines, c.lines) << int(c.borders.Bits());
        rig->NewPage();
        EXPECT_EQ(rig.dev.lines.size(), 2 * c.lines.size());
        rig->EndDoc();
    }
}

TEST(LinePrinterBorders, PenWidthFollowsTheResolution) {
    struct Case {
        int dpiX, dpiY, penFromY, penFromX;
    };
    const Case cases[] = {{300, 300, 2, 2}, {600, 300, 2, 4}, {300, 1200, 8, 2}, {200, 200, 0, 0}};
    for (const Case& c : cases) {
        PrintRig rig([&](FakePrintDevice& d) { d.dpiX = c.dpiX, d.dpiY = c.dpiY; });
        rig->SetPageBorders({TPageBorderStyle::pbTop, TPageBorderStyle::pbLeft});
        rig->BeginDoc();
        ASSERT_EQ(rig.dev.lines.size(), 2u);
        EXPECT_EQ(rig.dev.lines[0].pen, c.penFromY) << c.dpiY; // top
        EXPECT_EQ(rig.dev.lines[1].pen, c.penFromX) << c.dpiX; // left
    }
}

TEST(LinePrinterBorders, FailuresWhileDrawing) {
    PrintRig rig;
    rig->SetPageBorders({TPageBorderStyle::pbTop});
    rig.dev.failing = {"DrawLine"};
    EXPECT_NO_THROW(rig->BeginDoc());
    EXPECT_TRUE(rig->Printing());
    rig->EndDoc();
    // A negative offset is not a printer failure: the page cannot start.
    rig->SetBorderOffset(-0.0625f);
    EXPECT_THROW(rig->BeginDoc(), ERangeError);
    EXPECT_FALSE(rig->Printing());
}

TEST(LinePrinterCellBoxes, BoxAroundEveryBodyCell) {
    using LS = TLineSpacing;
    struct Case {
        LS spacing;
        int externalLeading, lead, lineHeight;
    };
    const Case cases[] = {
        {LS::lsSingleSpace, 4, 4, 41},    {LS::lsHalfSpace, 5, 2, 20},
        {LS::lsSingleAndAHalf, 3, 4, 61}, // 4.5, half to even
        {LS::lsSingleAndAHalf, 5, 8, 61}, // 7.5, half to even
        {LS::lsDoubleSpace, 3, 6, 82},
    };
    for (const Case& c : cases) {
        PrintRig rig([&](FakePrintDevice& d) { d.metrics = {41, c.externalLeading}; });
        rig->SetLineSpacing(c.spacing);
        ASSERT_EQ(rig->LineHeight(), static_cast<std::uint32_t>(c.lineHeight));
        rig->SetHeader("H");
        rig->SetTableFormat("<1|<.5");
        rig->SetTableGrid(true);
        rig->BeginDoc();
        EXPECT_TRUE(rig->TableGrid());
        EXPECT_TRUE(rig.dev.lines.empty()) << "no boxes around the header";
        rig->NewLine();
        rig->WriteLine("a|b");
        const int y0 = kTop + c.lineHeight - c.lead, y1 = y0 + c.lineHeight;
        const int x0 = kLeft, x1 = kLeft + 300, x2 = kLeft + 450;
        const std::vector<Line> expected = {
            {x0, y0, x1, y0, 2, 1}, {x0, y1, x1, y1, 2, 1}, {x0, y0, x0, y1, 2, 1},
            {x1, y0, x1, y1, 2, 1}, {x1, y0, x2, y0, 2, 1}, {x1, y1, x2, y1, 2, 1},
            {x1, y0, x1, y1, 2, 1}, {x2, y0, x2, y1, 2, 1},
        };
        EXPECT_EQ(rig.dev.lines, expected) << c.externalLeading;
    }
}

TEST(LinePrinterLayout, PrinterFailureSkipsOnlyThatCell) {
    PrintRig rig;
    rig->SetTableFormat("<1|<1|<1");
    rig->BeginDoc();
    rig.dev.failingTexts = {"b"};
    rig->WriteLine("a|b|c");
    ASSERT_EQ(rig.dev.TextsOnPage(1), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(rig.dev.texts[1].x, kLeft + 600 + 6);
    EXPECT_EQ(rig->CurrentY(), 41);
}

} // namespace
