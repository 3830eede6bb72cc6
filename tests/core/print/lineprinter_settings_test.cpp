// The line printer's settings, units, page geometry, line height and guards.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "core/print/lineprinter.h"
#include "fake_print_device.h"

using namespace tallix::print;
using tallix::print::testing::FakePrintDevice;

namespace {

constexpr auto kInches = TMeasureUnit::muInches;
constexpr auto kMillimetres = TMeasureUnit::muMillimeters;

template <typename F> std::string ErrorOf(F&& f) {
    try {
        f();
    } catch (const ELinePrinter& e) {
        return e.what();
    }
    return "";
}

TEST(LinePrinterDefaults, AsConstructed) {
    FakePrintDevice dev;
    TLinePrinter lp(dev);
    EXPECT_EQ(lp.MeasureUnit(), kInches);
    EXPECT_EQ(lp.LineSpacing(), TLineSpacing::lsSingleSpace);
    EXPECT_EQ(lp.TabSize(), 8u);
    EXPECT_TRUE(lp.WordWrap());
    EXPECT_TRUE(lp.Lines().empty());
    EXPECT_EQ(lp.Alignment(), TAlignment::Left);
    EXPECT_TRUE(lp.PageBorders().Empty());
    EXPECT_FALSE(lp.ShowProgress());
    EXPECT_EQ(lp.DefaultColWidth(), 0);
    EXPECT_EQ(lp.BorderOffset(), 0);
    EXPECT_FALSE(lp.TableGrid());
    EXPECT_FALSE(lp.PrintToFile());
    EXPECT_EQ(lp.FileName(), "");
    EXPECT_EQ(lp.Header() + lp.HeaderFormat() + lp.Footer() + lp.FooterFormat(), "");
    EXPECT_EQ(lp.TableFormat(), "");
    EXPECT_EQ(lp.DecimalSeparator(), '.');
    // The margins start at the unprintable strips.
    EXPECT_EQ(lp.MarginTop(), lp.OffsetTop());
    EXPECT_EQ(lp.MarginBottom(), lp.OffsetBottom());
    EXPECT_EQ(lp.MarginLeft(), lp.OffsetLeft());
    EXPECT_EQ(lp.MarginRight(), lp.OffsetRight());
    // The printer's own settings are reset.
    EXPECT_EQ(dev.title, "");
    EXPECT_EQ(dev.orientation, TPrinterOrientation::poPortrait);
    EXPECT_EQ(dev.font.Name, "Courier New");
    EXPECT_EQ(dev.font.Size, 10);
    EXPECT_EQ(dev.font.Style, 0);
    EXPECT_EQ(lp.LineHeight(), 41u);
}

TEST(LinePrinterGeometry, ToPixels) {
    struct Case {
        TMeasureUnit unit;
        int dpi;
        float value;
        std::int64_t pixels;
    };
    const Case cases[] = {
        {kInches, 300, 1, 300},
        {kInches, 300, 0.0625f, 19}, // 18.75
        {kInches, 300, 0.375f, 112}, // 112.5, half to even
        {kInches, 600, 0.0625f, 38}, // 37.5, half to even
        {kInches, 600, 0.375f, 225},
        {kInches, 200, 2.25f, 450},
        {kInches, 300, 0, 0},
        {kMillimetres, 300, 25.4f, 300},
        {kMillimetres, 300, 1.5875f, 19},
        {kMillimetres, 600, 254, 6000},
    };
    for (const Case& c : cases) {
        FakePrintDevice dev;
        dev.dpiX = dev.dpiY = c.dpi;
        TLinePrinter lp(dev);
        lp.SetMeasureUnit(c.unit);
        EXPECT_EQ(lp.ToPixelsX(c.value), c.pixels) << c.value << " at " << c.dpi;
        EXPECT_EQ(lp.ToPixelsY(c.value), c.pixels) << c.value << " at " << c.dpi;
    }
}

TEST(LinePrinterGeometry, ToPixelsOutOfRange) {
    FakePrintDevice dev;
    TLinePrinter lp(dev);
    for (float v : {-1.0f, -0.002f, 1.5e7f, INFINITY, NAN})
        EXPECT_THROW(lp.ToPixelsX(v), ERangeError) << v;
    EXPECT_EQ(lp.ToPixelsX(-0.001f), 0); // -0.3 rounds to 0
    EXPECT_EQ(lp.ToPixelsX(14316557.0f), 4294967100);
}

TEST(LinePrinterGeometry, ToUnits) {
    struct Case {
        TMeasureUnit unit;
        int dpi;
        std::int64_t pixels;
        float value;
    };
    const Case cases[] = {
        {kInches, 300, 300, 1},
        {kInches, 300, 75, 0.25f},
        {kInches, 600, 2550, 4.25f},
        {kMillimetres, 300, 300, 25.4f},
        {kMillimetres, 300, 150, 12.7f},
        // A resolution of 0 counts as 300.
        {kInches, 0, 150, 0.5f},
    };
    for (const Case& c : cases) {
        FakePrintDevice dev;
        dev.dpiX = dev.dpiY = c.dpi;
        TLinePrinter lp(dev);
        lp.SetMeasureUnit(c.unit);
        EXPECT_FLOAT_EQ(lp.ToUnitsX(c.pixels), c.value) << c.pixels << " at " << c.dpi;
        EXPECT_FLOAT_EQ(lp.ToUnitsY(c.pixels), c.value) << c.pixels << " at " << c.dpi;
    }
}

TEST(LinePrinterGeometry, PaperQuantitiesFromTheDevice) {
    // 600 dpi, A4-like sizes with uneven strips: 0.2 inch left, 0.3 top,
    // 0.1 right, 0.4 bottom.
    FakePrintDevice dev;
    dev.dpiX = dev.dpiY = 600;
    dev.physicalWidth = 4800, dev.physicalHeight = 6600;
    dev.offsetX = 120, dev.offsetY = 180;
    dev.pageWidth = 4620, dev.pageHeight = 6180;
    TLinePrinter lp(dev);
    EXPECT_FLOAT_EQ(lp.PaperWidth(), 8);
    EXPECT_FLOAT_EQ(lp.PaperHeight(), 11);
    EXPECT_FLOAT_EQ(lp.PageWidth(), 7.7f);
    EXPECT_FLOAT_EQ(lp.PageHeight(), 10.3f);
    EXPECT_FLOAT_EQ(lp.OffsetLeft(), 0.2f);
    EXPECT_FLOAT_EQ(lp.OffsetTop(), 0.3f);
    EXPECT_NEAR(lp.OffsetRight(), 0.1f, 1e-6);
    EXPECT_NEAR(lp.OffsetBottom(), 0.4f, 1e-6);

    lp.SetMarginTop(1);
    lp.SetMarginBottom(1);
    lp.SetMarginLeft(1);
    lp.SetMarginRight(1);
    EXPECT_EQ(lp.MarginLeftPixels(), 480);   // 0.8 inch
    EXPECT_EQ(lp.MarginRightPixels(), 540);  // 0.9 inch
    EXPECT_EQ(lp.MarginTopPixels(), 420);    // 0.7 inch
    EXPECT_EQ(lp.MarginBottomPixels(), 360); // 0.6 inch
    EXPECT_EQ(lp.BodyWidth(), 4620 - 480 - 540);
    EXPECT_EQ(lp.BodyHeight(), 6180 - 420 - 360);

    lp.SetMeasureUnit(kMillimetres);
    EXPECT_FLOAT_EQ(lp.PaperWidth(), 203.2f);
    EXPECT_FLOAT_EQ(lp.OffsetTop(), 7.62f);
    EXPECT_EQ(lp.BodyWidth(), 4620 - 480 - 540);
}

TEST(LinePrinterGeometry, MarginClamping) {
    // Letter paper, quarter-inch strips all round.
    using Setter = void (TLinePrinter::*)(float);
    using Getter = float (TLinePrinter::*)() const;
    struct Case {
        Setter set;
        Getter get;
        float value, stored;
    };
    const Case cases[] = {
        {&TLinePrinter::SetMarginLeft, &TLinePrinter::MarginLeft, 0, 0.25f},
        {&TLinePrinter::SetMarginLeft, &TLinePrinter::MarginLeft, 100, 8.25f},
        {&TLinePrinter::SetMarginLeft, &TLinePrinter::MarginLeft, 1, 1},
        {&TLinePrinter::SetMarginLeft, &TLinePrinter::MarginLeft, -5, 0.25f},
        {&TLinePrinter::SetMarginRight, &TLinePrinter::MarginRight, 0.1f, 0.25f},
        {&TLinePrinter::SetMarginRight, &TLinePrinter::MarginRight, 9, 8.25f},
        {&TLinePrinter::SetMarginTop, &TLinePrinter::MarginTop, 0, 0.25f},
        {&TLinePrinter::SetMarginTop, &TLinePrinter::MarginTop, 11, 10.75f},
        {&TLinePrinter::SetMarginTop, &TLinePrinter::MarginTop, 10.75f, 10.75f},
        {&TLinePrinter::SetMarginBottom, &TLinePrinter::MarginBottom, 20, 10.75f},
        {&TLinePrinter::SetMarginBottom, &TLinePrinter::MarginBottom, 2.5f, 2.5f},
    };
    for (const Case& c : cases) {
        FakePrintDevice dev;
        TLinePrinter lp(dev);
        (lp.*c.set)(c.value);
        EXPECT_EQ((lp.*c.get)(), c.stored) << c.value;
    }
}

TEST(LinePrinterGeometry, MarginsPastEachOtherMakeTheBodyFail) {
    // Each margin is clamped alone; together they cover more than the page.
    FakePrintDevice dev;
    TLinePrinter lp(dev);
    lp.SetMarginLeft(5);
    lp.SetMarginRight(5);
    EXPECT_THROW(lp.BodyWidth(), EIntOverflow);
    lp.SetMarginTop(6);
    lp.SetMarginBottom(6);
    EXPECT_THROW(lp.BodyHeight(), EIntOverflow);
}

TEST(LinePrinterUnits, SwitchingConvertsEveryLength) {
    FakePrintDevice dev;
    TLinePrinter lp(dev);
    lp.SetMarginTop(1);
    lp.SetMarginBottom(1);
    lp.SetMarginLeft(1);
    lp.SetMarginRight(1);
    lp.SetBorderOffset(0.0625f);
    lp.SetDefaultColWidth(2);
    lp.SetMeasureUnit(kMillimetres);
    EXPECT_FLOAT_EQ(lp.MarginTop(), 25.4f);
    EXPECT_FLOAT_EQ(lp.MarginLeft(), 25.4f);
    EXPECT_FLOAT_EQ(lp.BorderOffset(), 1.5875f);
    EXPECT_FLOAT_EQ(lp.DefaultColWidth(), 50.8f);
    EXPECT_EQ(lp.MarginLeftPixels(), 225);
    lp.SetMeasureUnit(kInches);
    EXPECT_FLOAT_EQ(lp.MarginTop(), 1);
    EXPECT_FLOAT_EQ(lp.MarginRight(), 1);
    EXPECT_FLOAT_EQ(lp.BorderOffset(), 0.0625f);
    EXPECT_FLOAT_EQ(lp.DefaultColWidth(), 2);
}

TEST(LinePrinterUnits, SameUnitReclampsToThePrinter) {
    FakePrintDevice dev;
    TLinePrinter lp(dev);
    lp.SetMarginRight(8);
    lp.SetMarginTop(0.25f);
    // Another paper is chosen: narrower, with wider strips.
    dev.physicalWidth = 1800;
    dev.pageWidth = 1500;
    dev.offsetY = 150;
    lp.SetMeasureUnit(kInches);
    EXPECT_FLOAT_EQ(lp.MarginRight(), 6 - 0.25f);
    EXPECT_FLOAT_EQ(lp.MarginTop(), 0.5f);
}

TEST(LinePrinterSettings, DefaultColWidthNeverNegative) {
    FakePrintDevice dev;
    TLinePrinter lp(dev);
    lp.SetDefaultColWidth(1.5f);
    EXPECT_EQ(ErrorOf([&] { lp.SetDefaultColWidth(-1); }),
              "DefaultColWidth must be greater than or equal to 0");
    EXPECT_EQ(lp.DefaultColWidth(), 0);
    lp.SetDefaultColWidth(1.5f);
    EXPECT_THROW(lp.SetDefaultColWidth(NAN), ELinePrinter);
    EXPECT_EQ(lp.DefaultColWidth(), 0);
    EXPECT_NO_THROW(lp.SetDefaultColWidth(0));
}

TEST(LinePrinterSettings, FileNameTrimmed) {
    struct Case {
        std::string given, stored;
    };
    const Case cases[] = {
        {"  out.txt ", "out.txt"},
        {"\tout file.txt\r\n", "out file.txt"},
        {"out.txt", "out.txt"},
        {"   ", ""},
    };
    for (const Case& c : cases) {
        FakePrintDevice dev;
        TLinePrinter lp(dev);
        lp.SetFileName(c.given);
        EXPECT_EQ(lp.FileName(), c.stored) << c.given;
    }
}

TEST(LinePrinterLineHeight, SpacingTimesTheTextHeight) {
    struct Case {
        TLineSpacing spacing;
        int textHeight;
        std::uint32_t lineHeight;
    };
    const Case cases[] = {
        {TLineSpacing::lsHalfSpace, 41, 20},      {TLineSpacing::lsSingleSpace, 41, 41},
        {TLineSpacing::lsSingleAndAHalf, 41, 61}, {TLineSpacing::lsDoubleSpace, 41, 82},
        {TLineSpacing::lsSingleAndAHalf, 40, 60}, {TLineSpacing::lsHalfSpace, 1, 0},
    };
    for (const Case& c : cases) {
        FakePrintDevice dev;
        dev.textHeight = c.textHeight;
        TLinePrinter lp(dev);
        lp.SetLineSpacing(c.spacing);
        EXPECT_EQ(lp.LineHeight(), c.lineHeight) << c.textHeight;
    }
}

TEST(LinePrinterLineHeight, WhilePrintingFromTheDocumentsMetrics) {
    FakePrintDevice dev;
    dev.metrics = {40, 4};
    TLinePrinter lp(dev);
    lp.BeginDoc();
    lp.SetLineSpacing(TLineSpacing::lsDoubleSpace);
    EXPECT_EQ(lp.LineHeight(), 88u);
    lp.EndDoc();
    lp.SetLineSpacing(TLineSpacing::lsSingleSpace);
    EXPECT_EQ(lp.LineHeight(), 41u);
}

TEST(LinePrinterLineHeight, NotRecomputedWhenTheFontChangesBehindItsBack) {
    FakePrintDevice dev;
    dev.textHeightBySize = {{9, 38}, {11, 46}};
    TLinePrinter lp(dev);
    TPrintFont font = lp.Font();
    font.Size = 9;
    lp.SetFont(font);
    EXPECT_EQ(lp.LineHeight(), 38u);
    font.Size = 11;
    dev.SetFont(font);
    EXPECT_EQ(lp.LineHeight(), 38u);
    lp.SetFont(font);
    EXPECT_EQ(lp.LineHeight(), 46u);
}

TEST(LinePrinterFont, AssignedWithThePrintersResolution) {
    FakePrintDevice dev;
    dev.dpiY = 600;
    TLinePrinter lp(dev);
    const TPrintFont screen{"Courier New", 9, fsBold, 96};
    lp.SetFont(screen);
    EXPECT_EQ(dev.font.Name, "Courier New");
    EXPECT_EQ(dev.font.Size, 9);
    EXPECT_EQ(dev.font.Style, fsBold);
    EXPECT_EQ(dev.font.PixelsPerInch, 600);
    EXPECT_EQ(lp.Font(), dev.font);
}

TEST(LinePrinterNoPrinter, FallbackValues) {
    struct Case {
        TMeasureUnit unit;
        float paperWidth, paperHeight, pageWidth, pageHeight, offsetLeft, offsetTop;
        float offsetRight, offsetBottom;
    };
    const Case cases[] = {
        {kInches, 8.5f, 11, 8, 10.5f, 0.25f, 0.25f, 0.25f, 0.25f},
        {kMillimetres, 210, 297, 198, 284, 6, 6, 6, 7},
    };
    for (const Case& c : cases) {
        FakePrintDevice dev;
        dev.noPrinter = true;
        TLinePrinter lp(dev);
        lp.SetMeasureUnit(c.unit);
        EXPECT_FLOAT_EQ(lp.PaperWidth(), c.paperWidth);
        EXPECT_FLOAT_EQ(lp.PaperHeight(), c.paperHeight);
        EXPECT_FLOAT_EQ(lp.PageWidth(), c.pageWidth);
        EXPECT_FLOAT_EQ(lp.PageHeight(), c.pageHeight);
        EXPECT_FLOAT_EQ(lp.OffsetLeft(), c.offsetLeft);
        EXPECT_FLOAT_EQ(lp.OffsetTop(), c.offsetTop);
        EXPECT_FLOAT_EQ(lp.OffsetRight(), c.offsetRight);
        EXPECT_FLOAT_EQ(lp.OffsetBottom(), c.offsetBottom);
    }
}

TEST(LinePrinterNoPrinter, EverythingStillAnswers) {
    FakePrintDevice dev;
    dev.noPrinter = true;
    TLinePrinter lp(dev);
    EXPECT_EQ(lp.ToPixelsX(1), 300);
    EXPECT_EQ(lp.LineHeight(), 10u);
    EXPECT_EQ(lp.Title(), "<Unknown>");
    EXPECT_EQ(lp.Orientation(), TPrinterOrientation::poPortrait);
    EXPECT_FALSE(lp.Printing());
    EXPECT_EQ(lp.PageNumber(), 0);
    const TPrintFont font{"Arial", 12, fsItalic, 96};
    EXPECT_NO_THROW(lp.SetFont(font));
    EXPECT_EQ(lp.Font(), font);
    EXPECT_EQ(lp.LineHeight(), 10u);
    EXPECT_NO_THROW(lp.SetTitle("x"));
    EXPECT_NO_THROW(lp.SetOrientation(TPrinterOrientation::poLandscape));
    EXPECT_EQ(ErrorOf([&] { lp.BeginDoc(); }), "Unable to begin printing.");
}

TEST(LinePrinterNoPrinter, FailingSettersKeepWhatWasDone) {
    FakePrintDevice dev;
    TLinePrinter lp(dev);
    lp.SetOrientation(TPrinterOrientation::poLandscape);
    dev.failing = {"SetOrientation", "SetTitle", "DeviceCaps"};
    lp.SetOrientation(TPrinterOrientation::poPortrait);
    EXPECT_EQ(lp.Orientation(), TPrinterOrientation::poLandscape);
    lp.SetTitle("new");
    EXPECT_EQ(lp.Title(), "");
    // The font is copied, but the printer's resolution cannot be applied.
    lp.SetFont({"Arial", 12, 0, 96});
    EXPECT_EQ(dev.font.Name, "Arial");
    EXPECT_EQ(dev.font.PixelsPerInch, 96);
}

TEST(LinePrinterGuards, RefusedWhilePrinting) {
    struct Case {
        std::function<void(TLinePrinter&)> change;
        std::string message;
    };
    const Case cases[] = {
        {[](TLinePrinter& lp) { lp.SetMarginTop(1); },
         "Unable to change top margin while printing"},
        {[](TLinePrinter& lp) { lp.SetMarginBottom(1); },
         "Unable to change bottom margin while printing"},
        {[](TLinePrinter& lp) { lp.SetMarginLeft(1); },
         "Unable to change left margin while printing"},
        {[](TLinePrinter& lp) { lp.SetMarginRight(1); },
         "Unable to change right margin while printing"},
        {[](TLinePrinter& lp) { lp.SetTitle("t"); }, "Unable to change title while printing"},
        {[](TLinePrinter& lp) { lp.SetOrientation(TPrinterOrientation::poLandscape); },
         "Unable to change orientation while printing"},
        {[](TLinePrinter& lp) { lp.SetPrintToFile(!lp.PrintToFile()); },
         "Can't change PrintToFile while printing."},
        {[](TLinePrinter& lp) { lp.SetFileName("other.txt"); },
         "Can't change FileName while printing."},
        // The unit is refused before it changes, so the margins never end
        // up read in the wrong unit.
        {[](TLinePrinter& lp) { lp.SetMeasureUnit(kMillimetres); },
         "Unable to change top margin while printing"},
    };
    for (bool toFile : {false, true}) {
        for (const Case& c : cases) {
            FakePrintDevice dev;
            TLinePrinter lp(dev);
            const std::string path = ::testing::TempDir() + "guard.txt";
            lp.SetFileName(path);
            lp.SetPrintToFile(toFile);
            lp.BeginDoc();
            const float top = lp.MarginTop();
            EXPECT_EQ(ErrorOf([&] { c.change(lp); }), c.message) << toFile;
            EXPECT_EQ(lp.MeasureUnit(), kInches);
            EXPECT_EQ(lp.MarginTop(), top);
            EXPECT_EQ(lp.PrintToFile(), toFile);
            lp.EndDoc();
            EXPECT_EQ(ErrorOf([&] { c.change(lp); }), "") << c.message;
        }
    }
}

TEST(LinePrinterGuards, SameValuesPassWhilePrinting) {
    FakePrintDevice dev;
    TLinePrinter lp(dev);
    lp.SetFileName("  same.txt ");
    lp.BeginDoc();
    EXPECT_NO_THROW(lp.SetFileName("same.txt"));
    EXPECT_NO_THROW(lp.SetPrintToFile(false));
    EXPECT_NO_THROW(lp.SetMeasureUnit(kInches));
    EXPECT_EQ(ErrorOf([&] { lp.SetFileName("  same.txt "); }),
              "Can't change FileName while printing.");
    lp.EndDoc();
}

} // namespace
