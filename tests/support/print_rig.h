// A line printer on the fake printer, with 1-inch margins, fixed date and
// time texts and a recording progress dialog.
#pragma once

#include <functional>
#include <optional>

#include "core/print/lineprinter.h"
#include "fake_print_device.h"

namespace tallix::print::testing {

struct PrintRig {
    FakePrintDevice dev;
    FixedDateTime clock;
    FakeProgressFactory progress;
    std::optional<TLinePrinter> lp;

    // `setup` configures the printer before the line printer takes its
    // measures.
    explicit PrintRig(const std::function<void(FakePrintDevice&)>& setup = {}) {
        if (setup) setup(dev);
        lp.emplace(dev);
        lp->SetDateTimeTexts(&clock);
        lp->SetProgressDialogFactory(&progress);
        lp->SetMarginTop(1);
        lp->SetMarginBottom(1);
        lp->SetMarginLeft(1);
        lp->SetMarginRight(1);
    }
    TLinePrinter* operator->() { return &*lp; }
    TLinePrinter& operator*() { return *lp; }
};

// The message of the ELinePrinter that `f` raises; empty when none.
template <typename F> std::string LinePrinterError(F&& f) {
    try {
        f();
    } catch (const ELinePrinter& e) {
        return e.what();
    }
    return "";
}

} // namespace tallix::print::testing
