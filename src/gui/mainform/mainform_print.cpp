// The window's Print command: the stack listing on the printer the user
// picks, or into a PDF file.
#include <QFontInfo>
#include <QFrame>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>
#include <exception>
#include <optional>

#include "core/print/paper.h"
#include "gui/mainform/mainform.h"
#include "gui/printing/errorbox.h"
#include "gui/printing/progressdialog.h"
#include "gui/printing/stackprinter.h"
#include "gui/widgets/fonts.h"

namespace tallix::gui {

TStackPrinter& TMainForm::StackPrinter() {
    if (!stackPrinter_) {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // Without a printer of its own, the first PDF goes on the paper of
        // the user's locale rather than the toolkit's fixed default.
        if (QPrinterInfo::defaultPrinter().isNull())
            printer->setPageSize(PageSizeOf(print::UserPaper()));
        printProgress_ = std::make_unique<TQtProgressDialogFactory>(dpi_);
        stackPrinter_ = std::make_unique<TStackPrinter>(std::move(printer), calc_.DecimalChar(),
                                                        printProgress_.get());
    }
    return *stackPrinter_;
}

print::TPrintFont TMainForm::ShownPrintFont() const {
    const QFont shown = PanelScreen()->font();
    print::TPrintFont font;
    font.Name = QFontInfo(shown).family().toStdString();
    font.Size = shown.pointSize() > 0
                    ? shown.pointSize()
                    : static_cast<int>(std::lround(shown.pixelSize() * 72.0 / dpi_));
    return font;
}

void TMainForm::Print1Click() {
    // The progress window lets paint events through while a listing is
    // printed; a second listing waits for the first.
    if (printing_) return;
    // The typed number is entered as an undo step of its own, as Save and
    // Open enter it.
    const bool entered = CommitEntry();
    if (!entered) return;

    TStackPrinter& printer = StackPrinter();
    QPrintDialog dialog(&printer.Printer(), this);
    dialog.setObjectName("PrintDialog1");
    // Page ranges, a selection and the current page mean nothing to a
    // listing; the printer, its paper and a PDF file do.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted) {
        FocusEntry();
        return;
    }

    const print::TPrintFont font = ShownPrintFont();

    // A copy of the stack: the listing does not depend on what happens to
    // the stack while the pages go out.
    const std::vector<std::string> levels = calc_.StackLevels();
    std::optional<std::string> failure;
    printing_ = true;
    try {
        printer.Print(
            levels, [this](std::string_view text) { return calc_.FormatForBase(text); }, font);
    } catch (const std::exception& e) {
        failure = e.what();
    }
    printing_ = false;
    if (failure) ShowDefaultErrorBox(this, *failure);
    FocusEntry();
}

} // namespace tallix::gui
