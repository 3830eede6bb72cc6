// The line printer's documents on the printer: beginning, ending and
// abandoning them, their failures, and the progress dialog.
#include <gtest/gtest.h>

#include "print_rig.h"

using namespace tallix::print;
using namespace tallix::print::testing;

namespace {

using Calls = std::vector<std::string>;

TEST(LinePrinterDocument, FailuresBecomeLinePrinterErrors) {
    struct Case {
        std::string failingCall;
        std::function<void(TLinePrinter&)> step;
        std::string message;
        Calls calls;
    };
    const Case cases[] = {
        {"BeginDoc", [](TLinePrinter& lp) { lp.BeginDoc(); }, "Unable to begin printing.", {}},
        {"DeviceCaps", [](TLinePrinter& lp) { lp.BeginDoc(); }, "Unable to begin printing.", {}},
        // The document had begun: it is abandoned, not left open.
        {"GetTextMetrics",
         [](TLinePrinter& lp) { lp.BeginDoc(); },
         "Unable to begin printing.",
         {"BeginDoc", "Abort"}},
        {"NewPage",
         [](TLinePrinter& lp) {
             lp.BeginDoc();
             lp.NewPage();
         },
         "Unable to print a new page.",
         {"BeginDoc"}},
        {"EndDoc",
         [](TLinePrinter& lp) {
             lp.BeginDoc();
             lp.EndDoc();
         },
         "Unable to finish printing.",
         {"BeginDoc"}},
    };
    for (const Case& c : cases) {
        PrintRig rig;
        int ends = 0;
        rig->OnEndDoc = [&](TLinePrinter&) { ++ends; };
        rig.dev.failing = {c.failingCall};
        EXPECT_EQ(LinePrinterError([&] { c.step(*rig); }), c.message) << c.failingCall;
        EXPECT_EQ(rig.dev.calls, c.calls) << c.failingCall;
        EXPECT_EQ(ends, 0);
    }
}

TEST(LinePrinterDocument, ErrorsAreAlsoPrinterErrors) {
    PrintRig rig;
    rig.dev.failing = {"BeginDoc"};
    EXPECT_THROW(rig->BeginDoc(), EPrinter);
}

TEST(LinePrinterDocument, BusyPrinterIsNotTakenOver) {
    PrintRig rig;
    rig.dev.BeginDoc(); // someone else's document
    EXPECT_EQ(LinePrinterError([&] { rig->BeginDoc(); }), "Unable to begin printing.");
    EXPECT_TRUE(rig.dev.printing);
    EXPECT_EQ(rig.dev.calls, Calls{"BeginDoc"});
}

TEST(LinePrinterDocument, DocumentUsesTheTitleAndResolution) {
    PrintRig rig([](FakePrintDevice& d) { d.dpiY = 600; });
    rig->SetTitle("Listing");
    rig->SetFont({"Arial", 11, 0, 96});
    rig.dev.font.PixelsPerInch = 72; // changed behind the component's back
    std::string titleAtBegin;
    rig->OnBeginDoc = [&](TLinePrinter& lp) { titleAtBegin = lp.Title(); };
    rig->BeginDoc();
    EXPECT_EQ(titleAtBegin, "Listing");
    EXPECT_EQ(rig.dev.title, "Listing");
    EXPECT_EQ(rig.dev.font.PixelsPerInch, 600);
    EXPECT_EQ(rig.dev.font.Size, 11);
    EXPECT_EQ(rig->PageNumber(), 1);
    rig->NewPage();
    EXPECT_EQ(rig->PageNumber(), 2);
    rig->EndDoc();
    EXPECT_EQ(rig.dev.calls, (Calls{"BeginDoc", "NewPage", "EndDoc"}));
}

TEST(LinePrinterDocument, AbortAbandonsAnOpenDocument) {
    PrintRig rig;
    int aborts = 0;
    rig->OnAbortDoc = [&](TLinePrinter&) { ++aborts; };
    rig->Abort(); // nothing open: nothing to do
    EXPECT_EQ(aborts, 0);
    rig->SetShowProgress(true);
    rig->BeginDoc();
    rig->WriteLine("x");
    rig->Abort();
    EXPECT_EQ(aborts, 1);
    EXPECT_FALSE(rig->Printing());
    EXPECT_FALSE(rig->ProgressDialogExists());
    EXPECT_EQ(rig.dev.calls, (Calls{"BeginDoc", "Abort"}));
    // The printer is free again.
    EXPECT_NO_THROW(rig->BeginDoc());
    rig.dev.failing = {"Abort"};
    EXPECT_EQ(LinePrinterError([&] { rig->Abort(); }), "Unable to abort printing.");
}

TEST(LinePrinterProgress, NoDialogUnlessAsked) {
    PrintRig rig;
    rig->BeginDoc();
    rig->NewPage();
    rig->EndDoc();
    EXPECT_TRUE(rig.progress.log.empty());
    EXPECT_FALSE(rig->ProgressDialogExists());
}

TEST(LinePrinterProgress, StatusTitleAndPageNumber) {
    PrintRig rig;
    rig->SetShowProgress(true);
    rig->SetTitle("Stack");
    rig->BeginDoc();
    EXPECT_TRUE(rig->ProgressDialogExists());
    rig->NewPage();
    rig->EndDoc();
    const Calls expected = {
        "create",
        "show",
        "status Preparing to Print",
        "title Stack",
        "page 1",
        "repaint",
        "status Currently Printing",
        "title Stack",
        "page 1",
        "repaint",
        "status Currently Printing",
        "title Stack",
        "page 2",
        "repaint",
        "status Finished Printing",
        "title Stack",
        "page 2",
        "repaint",
        "close",
        "destroy",
    };
    EXPECT_EQ(rig.progress.log, expected);
    EXPECT_EQ(rig.progress.alive, 0);
    EXPECT_FALSE(rig->ProgressDialogExists());
}

TEST(LinePrinterProgress, StaysWhileTheDocumentStaysOpen) {
    PrintRig rig;
    rig->SetShowProgress(true);
    rig->BeginDoc();
    rig.dev.failing = {"EndDoc"};
    EXPECT_THROW(rig->EndDoc(), ELinePrinter);
    EXPECT_TRUE(rig->Printing());
    EXPECT_TRUE(rig->ProgressDialogExists());
    EXPECT_EQ(rig.progress.log.back(), "repaint");
    rig.dev.failing.clear();
    rig->EndDoc();
    EXPECT_EQ(rig.progress.alive, 0);
}

TEST(LinePrinterProgress, WithoutAFactoryNothingIsShown) {
    PrintRig rig;
    rig->SetProgressDialogFactory(nullptr);
    rig->SetShowProgress(true);
    EXPECT_NO_THROW(rig->BeginDoc());
    EXPECT_FALSE(rig->ProgressDialogExists());
    rig->EndDoc();
}

TEST(LinePrinterDocument, DestroyingLeavesThePrinterAlone) {
    FakePrintDevice dev;
    {
        TLinePrinter lp(dev);
        lp.BeginDoc();
    }
    EXPECT_TRUE(dev.printing);
    EXPECT_EQ(dev.calls, Calls{"BeginDoc"});
}

} // namespace
