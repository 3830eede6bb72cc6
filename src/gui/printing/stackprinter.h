// The program's one printer and the line printer that lays the stack
// listing out on it, as the window's Print command and batch mode's PDF
// output use them.
#pragma once

#include <QPageSize>
#include <memory>
#include <string>
#include <vector>

#include "core/print/lineprinter.h"
#include "core/print/paper.h"
#include "core/print/stacklisting.h"
#include "gui/printing/qtprintdevice.h"

class QPrinter;

namespace tallix::gui {

// The page size of a paper.
QPageSize PageSizeOf(const print::TPaperSize& paper);

class TStackPrinter {
public:
    // Takes the printer over and sets the line printer up on it with the
    // listing's settings. progress: makes the progress dialog of each
    // document, not owned; null for none.
    TStackPrinter(std::unique_ptr<QPrinter> printer, char decimalChar,
                  print::TProgressDialogFactory* progress);
    ~TStackPrinter();

    QPrinter& Printer() { return *printer_; }
    TQtPrintDevice& Device() { return device_; }
    print::TLinePrinter& LinePrinter() { return linePrinter_; }

    // Prints the listing of a copy of the stack's texts, level 1 first, on
    // the printer as it is set now. Raises what the line printer raises; a
    // document that began is abandoned first.
    void Print(const std::vector<std::string>& levelsTopFirst,
               const print::TFormatForBase& formatForBase, const print::TPrintFont& displayFont);

private:
    std::unique_ptr<QPrinter> printer_;
    TQtPrintDevice device_;
    print::TLinePrinter linePrinter_;
    char decimalChar_;
};

} // namespace tallix::gui
