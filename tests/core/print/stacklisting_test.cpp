// The printed stack listing: its formats and lines, and whole listings on
// the fake printer and into a file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/print/stacklisting.h"
#include "print_rig.h"

using namespace tallix::print;
using namespace tallix::print::testing;

namespace {

using Lines = std::vector<std::string>;

std::string Identity(std::string_view s) { return std::string(s); }

TEST(BuildStackListing, FormatsInTheLocalesSyntax) {
    struct Case {
        float paperWidth, marginLeft, marginRight;
        char separator;
        std::string halves, body;
    };
    const Case cases[] = {
        {8.5f, 1, 1, '.', "<3.25|>3.25", ">.375|>2.25"},
        {8.5f, 1, 1, ',', "<3,25|>3,25", ">,375|>2,25"},
        {8.5f, 1.5f, 1, '.', "<3|>3", ">.375|>2.25"},
        // A4 at 300 dpi: 2480 pixels is 8.26666641 inches as a 32-bit float.
        {2480.0f / 300, 1, 1, '.', "<3.13333320617676|>3.13333320617676", ">.375|>2.25"},
    };
    for (const Case& c : cases) {
        const TStackListing listing = BuildStackListing(
            {}, {c.paperWidth, c.marginLeft, c.marginRight, c.separator}, Identity);
        EXPECT_EQ(listing.HeaderFormat, c.halves);
        EXPECT_EQ(listing.FooterFormat, c.halves);
        EXPECT_EQ(listing.TableFormat, c.body);
        EXPECT_EQ(listing.DecimalSeparator, c.separator);
        EXPECT_TRUE(listing.Rows.empty());
        // Every width parses back in the same locale.
        const float half = (c.paperWidth - c.marginLeft - c.marginRight) / 2;
        for (const std::string& column : SplitColumns(listing.HeaderFormat))
            EXPECT_FLOAT_EQ(ParseColumnFormat(column, -1, c.separator).Width, half);
        const Lines body = SplitColumns(listing.TableFormat);
        EXPECT_EQ(ParseColumnFormat(body[0], -1, c.separator).Width, 0.375f);
        EXPECT_EQ(ParseColumnFormat(body[1], -1, c.separator).Width, 2.25f);
    }
}

TEST(BuildStackListing, DeepestLevelFirst) {
    std::vector<std::string> seen;
    auto format = [&](std::string_view entry) {
        seen.emplace_back(entry);
        return "[" + std::string(entry) + "]";
    };
    const TStackListing listing = BuildStackListing({"1.5", "-2", "abc"}, {}, format);
    EXPECT_EQ(listing.Rows,
              (std::vector<TListingRow>{{"3:", "[abc]"}, {"2:", "[-2]"}, {"1:", "[1.5]"}}));
    EXPECT_EQ(seen, (Lines{"abc", "-2", "1.5"}));
}

TEST(BuildStackListing, EntriesCutTo255Characters) {
    std::vector<std::size_t> sizes;
    auto format = [&](std::string_view entry) {
        sizes.push_back(entry.size());
        return std::string(entry);
    };
    const std::string accented = std::string(254, '1') + "\xc3\xa9" + "9";
    BuildStackListing({std::string(300, '7'), std::string(255, '8'), accented}, {}, format);
    EXPECT_EQ(sizes, (std::vector<std::size_t>{256, 255, 255}));
}

// A stack file may bring any bytes; an entry that is no UTF-8 is cut all the
// same, each stray byte counting as one character.
TEST(BuildStackListing, EntriesOfStrayBytesAreCutToo) {
    std::vector<std::string> seen;
    auto format = [&](std::string_view s) {
        seen.emplace_back(s);
        return std::string(s);
    };
    BuildStackListing({std::string(300, '\x80'), "\xc3" + std::string(299, '\xa9')}, {}, format);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], "\xc3\xa9" + std::string(254, '\xa9'));
    EXPECT_EQ(seen[1], std::string(255, '\x80'));
}

// The window's listing on the rig's letter paper: display font 9 point,
// printed at 11.
struct ListingRig : PrintRig {
    explicit ListingRig(char separator = '.')
        : PrintRig([](FakePrintDevice& d) {
              d.textHeightBySize = {{9, 38}, {11, 46}};
          }),
          separator_(separator) {
        ConfigureStackPrinter(**this, separator);
    }
    void Print(const std::vector<std::string>& entriesTopFirst) {
        const TStackListingSettings settings{(*this)->PaperWidth(), (*this)->MarginLeft(),
                                             (*this)->MarginRight(), separator_};
        PrintStackListing(**this, BuildStackListing(entriesTopFirst, settings, Identity),
                          {"Courier New", 9, 0, 96});
    }
    char separator_;
};

constexpr int kLeft = 225, kTop = 225, kRow = 38;

TEST(PrintStackListing, ThreeEntries) {
    for (char separator : {'.', ','}) {
        ListingRig rig(separator);
        rig.Print({"1.5", "-2", "30"});
        EXPECT_EQ(rig.dev.TextsOnPage(1),
                  (Lines{"Tallix - Stack Print", "Page 1", "06/05/2024", "1:02:03 PM", "3:", "30",
                         "2:", "-2", "1:", "1.5"}));
        // Labels and values right-aligned in their columns, from the second
        // body row on; drawn at 11 point with the 9-point line height.
        const auto& t = rig.dev.texts;
        ASSERT_EQ(t.size(), 10u);
        for (std::size_t row = 1; row <= 3; ++row) {
            const auto& label = t[2 + 2 * row];
            const auto& value = t[3 + 2 * row];
            const int labelW = 25 * static_cast<int>(label.text.size());
            const int valueW = 25 * static_cast<int>(value.text.size());
            EXPECT_EQ(label.x, kLeft + 112 - labelW - 6) << separator << row;
            EXPECT_EQ(value.x, kLeft + 112 + 675 - valueW - 6) << separator << row;
            EXPECT_EQ(label.y, kTop + static_cast<int>(row) * kRow) << separator << row;
            EXPECT_EQ(value.y, label.y);
            EXPECT_EQ(value.fontSize, 11);
        }
        // The header's halves span the body: "Page 1" ends at its right edge.
        EXPECT_EQ(t[1].x, kLeft + 1950 - 150 - 6);
        EXPECT_EQ(rig.dev.lines.size(), 2u); // ruled lines above and below
        EXPECT_EQ(rig.dev.calls, (Lines{"BeginDoc", "EndDoc"}));
        EXPECT_EQ(rig.dev.title, "Tallix - Stack Print");
        EXPECT_FALSE(rig->Printing());
        EXPECT_EQ(rig.progress.alive, 0);
        EXPECT_EQ(rig.progress.log.front(), "create");
    }
}

// A cell cut from the right would print another number or level: the
// columns grow instead, the value column up to the body's right edge.
TEST(PrintStackListing, ColumnsGrowRatherThanCutACell) {
    const std::string word56(56, '1'), wide(80, '7');
    struct Case {
        const char* name;
        TListingRow row;
        std::string label, value; // as printed
        int labelCol, valueCol;   // column widths in pixels
    };
    const Case cases[] = {
        {"fits", {"3:", "-1.5"}, "3:", "-1.5", 112, 675},
        {"exactly fills", {"3:", std::string(26, '9')}, "3:", std::string(26, '9'), 112, 675},
        {"56-bit binary word", {"1:", word56}, "1:", word56, 112, 56 * 25 + 7},
        {"deep level", {"12345:", "2"}, "12345:", "2", 6 * 25 + 7, 675},
        {"wider than the body", {"1:", wide}, "1:", wide.substr(0, 73), 112, 1950 - 112},
    };
    for (const Case& c : cases) {
        ListingRig rig;
        TStackListing listing = BuildStackListing({}, {8.5f, 1, 1, '.'}, Identity);
        listing.Rows = {c.row};
        PrintStackListing(*rig, listing, {"Courier New", 9, 0, 96});
        const auto& t = rig.dev.texts;
        ASSERT_EQ(t.size(), 6u) << c.name;
        EXPECT_EQ(t[4].text, c.label) << c.name;
        EXPECT_EQ(t[5].text, c.value) << c.name;
        // Right-aligned, kept 6 pixels off the column's edge when there is
        // room for that.
        auto right = [](int colEnd, int colW, int textW) {
            return colEnd - textW - (textW < colW - 6 ? 6 : 0);
        };
        const int labelW = 25 * static_cast<int>(c.label.size());
        const int valueW = 25 * static_cast<int>(c.value.size());
        EXPECT_EQ(t[4].x, right(kLeft + c.labelCol, c.labelCol, labelW)) << c.name;
        EXPECT_EQ(t[5].x, right(kLeft + c.labelCol + c.valueCol, c.valueCol, valueW)) << c.name;
    }
}

// Stack texts are printed as the display shows them: a bar does not split
// them into columns and no macro in them is expanded, on paper and in the
// text file alike.
TEST(PrintStackListing, TextsArePrintedLiterally) {
    const std::vector<std::string> stack = {"{$TITLE}", "{$PAGE}", "a|b",
                                            "|{$DATE}{$TIME}{$LINE}|"};
    ListingRig rig;
    rig.Print(stack);
    EXPECT_EQ(rig.dev.TextsOnPage(1), (Lines{"Tallix - Stack Print", "Page 1", "06/05/2024",
                                             "1:02:03 PM", "4:", "|{$DATE}{$TIME}{$LINE}|",
                                             "3:", "a|b", "2:", "{$PAGE}", "1:", "{$TITLE}"}));

    const std::filesystem::path file =
        std::filesystem::path(::testing::TempDir()) / "tallix_literal_listing.txt";
    ListingRig toFile;
    toFile->SetPrintToFile(true);
    toFile->SetFileName(file.string());
    toFile.Print(stack);
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string text = bytes.str();
    const auto sp = [](std::size_t n) { return std::string(n, ' '); };
    const std::string body = text.substr(text.find("\r\n\r\n") + 4);
    EXPECT_EQ(body, sp(2) + "4:" + sp(3) + "|{$DATE}{$TIME}{$LINE}|\r\n" + sp(2) + "3:" + sp(23) +
                        "a|b\r\n" + sp(2) + "2:" + sp(19) + "{$PAGE}\r\n" + sp(2) + "1:" + sp(18) +
                        "{$TITLE}\r\n");
    in.close(); // Windows removes no open file
    std::filesystem::remove(file);
}

TEST(PrintStackListing, EmptyStack) {
    ListingRig rig;
    rig.Print({});
    EXPECT_EQ(rig.dev.TextsOnPage(1),
              (Lines{"Tallix - Stack Print", "Page 1", "06/05/2024", "1:02:03 PM"}));
    EXPECT_EQ(rig.dev.lines.size(), 2u);
    EXPECT_EQ(rig.dev.calls, (Lines{"BeginDoc", "EndDoc"}));
}

TEST(PrintStackListing, ManyPages) {
    ListingRig rig;
    std::vector<std::string> stack;
    for (int level = 1; level <= 200; ++level) stack.push_back(std::to_string(level * 7));
    rig.Print(stack);

    // 71 rows fit the 2700-pixel body at 38 pixels (71 * 38 = 2698); the
    // first page starts with an empty row.
    const int pages = 3;
    EXPECT_EQ(rig.dev.calls, (Lines{"BeginDoc", "NewPage", "NewPage", "EndDoc"}));
    int level = 200;
    for (int page = 1; page <= pages; ++page) {
        const Lines texts = rig.dev.TextsOnPage(page);
        ASSERT_GE(texts.size(), 4u);
        EXPECT_EQ(texts[0], "Tallix - Stack Print");
        EXPECT_EQ(texts[1], "Page " + std::to_string(page));
        EXPECT_EQ(texts[2], "06/05/2024");
        EXPECT_EQ(texts[3], "1:02:03 PM");
        const std::size_t rows = page == 1 ? 70 : page == 2 ? 71 : 59;
        ASSERT_EQ(texts.size(), 4 + 2 * rows) << page;
        for (std::size_t i = 4; i < texts.size(); i += 2, --level) {
            EXPECT_EQ(texts[i], std::to_string(level) + ":");
            EXPECT_EQ(texts[i + 1], std::to_string(level * 7));
        }
        // Each page repeats the ruled lines.
        int ruled = 0;
        for (const auto& l : rig.dev.lines) ruled += l.page == page;
        EXPECT_EQ(ruled, 2);
    }
    EXPECT_EQ(level, 0);
    // Every row ends at or above the body's bottom edge.
    for (const auto& t : rig.dev.texts) {
        if (!t.text.empty() && t.text.back() == ':') {
            EXPECT_LE(t.y + kRow, kTop + 2700);
        }
    }
}

TEST(PrintStackListing, FailureAbandonsTheDocument) {
    ListingRig rig;
    std::vector<std::string> stack(100, "1");
    rig.dev.failing = {"NewPage"};
    EXPECT_EQ(LinePrinterError([&] { rig.Print(stack); }), "Unable to print a new page.");
    EXPECT_EQ(rig.dev.calls, (Lines{"BeginDoc", "Abort"}));
    EXPECT_FALSE(rig->Printing());
    EXPECT_EQ(rig.progress.alive, 0);
    // Printing again works: nothing was left open.
    rig.dev.failing.clear();
    EXPECT_NO_THROW(rig.Print(stack));
    EXPECT_EQ(rig.dev.calls.back(), "EndDoc");
}

TEST(PrintStackListing, FailuresBeforeTheDocument) {
    ListingRig rig;
    rig.dev.noPrinter = true;
    EXPECT_EQ(LinePrinterError([&] { rig.Print({"1"}); }), "Unable to begin printing.");
    rig.dev.noPrinter = false;
    EXPECT_FALSE(rig->Printing());
    EXPECT_TRUE(rig.dev.calls.empty());
}

TEST(PrintStackListing, IntoAFile) {
    const std::filesystem::path file =
        std::filesystem::path(::testing::TempDir()) / "tallix_listing.txt";
    ListingRig rig;
    rig->SetPrintToFile(true);
    rig->SetFileName(file.string());
    rig.Print({"5", "-1.25"});
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const auto sp = [](int n) { return std::string(static_cast<std::size_t>(n), ' '); };
    // Halves of 975 pixels; label column 112, value column 675.
    const std::string expected = "Tallix - Stack Print" + sp(18) + sp(32) + "Page 1\r\n" +
                                 "06/05/2024" + sp(28) + sp(28) + "1:02:03 PM\r\n" + "\r\n" +
                                 sp(2) + "2:" + sp(21) + "-1.25\r\n" + sp(2) + "1:" + sp(25) +
                                 "5\r\n";
    EXPECT_EQ(bytes.str(), expected);
    in.close();
    std::filesystem::remove(file);
}

} // namespace
