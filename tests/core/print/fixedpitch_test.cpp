// The printer without a driver that measures text for the text file.
#include <gtest/gtest.h>

#include "core/print/fixedpitch.h"
#include "core/print/lineprinter.h"
#include "print_rig.h"

using namespace tallix::print;

namespace {

TEST(TFixedPitchDevice, TheWholeSheetAt300Dpi) {
    struct Case {
        const char* name;
        TPaperSize paper;
        int width, height;
    };
    const Case cases[] = {
        {"letter", kLetterPaper, 2550, 3300},
        {"legal", {216, 356}, 2550, 4200},
        {"A4", {210, 297}, 2480, 3508},
    };
    for (const Case& c : cases) {
        TFixedPitchDevice dev(c.paper);
        EXPECT_EQ(dev.DeviceCaps(TDeviceCap::PhysicalWidth), c.width) << c.name;
        EXPECT_EQ(dev.DeviceCaps(TDeviceCap::PhysicalHeight), c.height) << c.name;
        EXPECT_EQ(dev.PageWidth(), c.width) << c.name;
        EXPECT_EQ(dev.PageHeight(), c.height) << c.name;
        EXPECT_EQ(dev.DeviceCaps(TDeviceCap::PhysicalOffsetX), 0) << c.name;
        EXPECT_EQ(dev.DeviceCaps(TDeviceCap::LogPixelsY), 300) << c.name;
    }
}

TEST(TFixedPitchDevice, CharactersAreSixTenthsOfAnEm) {
    struct Case {
        const char* name;
        int points, pixelsPerInch;
        const char* text;
        int width;
    };
    const Case cases[] = {
        {"11 point at 300 dpi, 27.5 to even", 11, 300, "Page 1", 6 * 28},
        {"10 point at 300 dpi", 10, 300, "M", 25},
        {"9 point at 300 dpi, 22.5 to even", 9, 300, "12", 2 * 22},
        {"11 point at 1200 dpi", 11, 1200, "x", 110},
        {"a UTF-8 sequence is one character", 10, 300, "\xc2\xb5m", 2 * 25},
        {"stray bytes are one character each", 10, 300, "\x80\xb5\xc2", 3 * 25},
        {"nothing", 10, 300, "", 0},
        {"a font too small to measure", 0, 300, "ab", 2},
    };
    for (const Case& c : cases) {
        TFixedPitchDevice dev;
        dev.SetFont({"Courier New", c.points, 0, c.pixelsPerInch});
        EXPECT_EQ(dev.TextWidth(c.text), c.width) << c.name;
    }
}

TEST(TFixedPitchDevice, PrintsOnNoPaper) {
    TFixedPitchDevice dev;
    EXPECT_THROW(dev.BeginDoc(), EPrinter);
    EXPECT_THROW(dev.TextOut(0, 0, "x"), EPrinter);
    EXPECT_THROW(dev.DrawLine(0, 0, 1, 1), EPrinter);
    EXPECT_FALSE(dev.Printing());
    // On the line printer that is a printer that cannot begin a document,
    // while its measures stand: letter paper, 300 dpi.
    TLinePrinter lp(dev);
    EXPECT_FLOAT_EQ(lp.PaperWidth(), 8.5f);
    EXPECT_EQ(lp.ToPixelsX(1), 300);
    EXPECT_EQ(tallix::print::testing::LinePrinterError([&] { lp.BeginDoc(); }),
              "Unable to begin printing.");
    EXPECT_FALSE(lp.Printing());
}

} // namespace
