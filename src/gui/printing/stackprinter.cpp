#include "gui/printing/stackprinter.h"

#include <QPrinter>

namespace tallix::gui {

QPageSize PageSizeOf(const print::TPaperSize& paper) {
    if (paper.IsLetter()) return QPageSize(QPageSize::Letter);
    if (paper.IsA4()) return QPageSize(QPageSize::A4);
    return QPageSize(QSizeF(paper.WidthMm, paper.HeightMm), QPageSize::Millimeter, QString(),
                     QPageSize::FuzzyMatch);
}

TStackPrinter::TStackPrinter(std::unique_ptr<QPrinter> printer, char decimalChar,
                             print::TProgressDialogFactory* progress)
    : printer_(std::move(printer)), device_(*printer_), linePrinter_(device_),
      decimalChar_(decimalChar) {
    linePrinter_.SetProgressDialogFactory(progress);
    print::ConfigureStackPrinter(linePrinter_, decimalChar);
}

TStackPrinter::~TStackPrinter() = default;

void TStackPrinter::Print(const std::vector<std::string>& levelsTopFirst,
                          const print::TFormatForBase& formatForBase,
                          const print::TPrintFont& displayFont) {
    print::PrintStack(linePrinter_, levelsTopFirst, decimalChar_, formatForBase, displayFont);
}

} // namespace tallix::gui
