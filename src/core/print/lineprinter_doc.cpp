// The line printer's documents: pages, lines, cells, header and footer,
// borders, the text file of print-to-file mode and the progress dialog.
#include <algorithm>
#include <climits>
#include <cmath>

#include "core/print/lineprinter.h"
#include "core/print/localetime.h"

namespace tallix::print {

namespace {

// A pixel position as the device takes it.
int DeviceCoord(std::int64_t v) {
    if (v < INT_MIN || v > INT_MAX) throw ERangeError();
    return static_cast<int>(v);
}

// Border and box lines are two pixels wide per 300 dots per inch.
int PenWidth(int dpi) { return (dpi / 300) * 2; }

// Puts the body's table format and grid back when the header and footer
// are done, also when writing them fails.
class TableSettingsKeeper {
public:
    TableSettingsKeeper(TLinePrinter& printer)
        : printer_(printer), format_(printer.TableFormat()), grid_(printer.TableGrid()) {}
    ~TableSettingsKeeper() {
        printer_.SetTableFormat(std::move(format_));
        printer_.SetTableGrid(grid_);
    }
    TableSettingsKeeper(const TableSettingsKeeper&) = delete;
    TableSettingsKeeper& operator=(const TableSettingsKeeper&) = delete;

private:
    TLinePrinter& printer_;
    std::string format_;
    bool grid_;
};

} // namespace

void TLinePrinter::BeginDoc() {
    Fire(OnBeginDoc);
    bool deviceDocument = false;
    try {
        // Every length becomes pixels through the resolution: none, or a
        // negative one, would turn the page into nothing or a negative
        // column into a huge one.
        if (printer_.DeviceCaps(TDeviceCap::LogPixelsX) <= 0 ||
            printer_.DeviceCaps(TDeviceCap::LogPixelsY) <= 0)
            throw ELinePrinter("Unable to begin printing: the printer reports no resolution.");
        ApplyPrinterResolution();
        if (printToFile_) {
            // A second document into the same file would lose the first.
            if (FileOpen()) throw EPrinter("a document is already open");
            const persist::FileStatus status = outputFile_.Open(fileName_);
            if (!status) throw ELinePrinter(status.reason);
        } else {
            printer_.BeginDoc();
            deviceDocument = true;
            textMetrics_ = printer_.GetTextMetrics();
            ApplyPrinterResolution();
        }
    } catch (const ELinePrinter&) {
        throw;
    } catch (const EPrinter&) {
        // A document that began but cannot be used would block every later
        // one.
        if (deviceDocument) {
            try {
                printer_.Abort();
            } catch (const EPrinter&) {
            }
        }
        throw ELinePrinter("Unable to begin printing.");
    }
    try {
        UpdateProgress("Preparing to Print");
        pageCounter_ = 1;
        StartPage();
    } catch (...) {
        // The caller learns that the document did not begin, so it will not
        // end it either: leave nothing open.
        try {
            Abort();
        } catch (...) {
        }
        throw;
    }
}

void TLinePrinter::StartPage() {
    UpdateProgress("Currently Printing");
    {
        TableSettingsKeeper keep(*this);
        tableGrid_ = false;
        if (!header_.empty()) {
            const std::int64_t top = MarginTopPixels();
            if (top < lineHeight_) throw EIntOverflow();
            // Centred in the top margin: above the body, so negative.
            currentY_ = (top - lineHeight_) / 2 - top;
            tableFormat_ = headerFormat_;
            WriteLine(header_);
        }
        if (!footer_.empty()) {
            const std::int64_t bottom = MarginBottomPixels();
            if (bottom < lineHeight_) throw EIntOverflow();
            currentY_ = (bottom - lineHeight_) / 2 + BodyHeight();
            tableFormat_ = footerFormat_;
            WriteLine(footer_);
        }
    }
    currentX_ = 0;
    currentY_ = 0;
    lineNumber_ = 0;
    Fire(OnNewPage);
    Fire(OnNewLine);
    // Borders are drawn on the printer only; the text file has none.
    if (pageBorders_.Empty() || FileOpen()) return;
    const std::int64_t L = MarginLeftPixels(), T = MarginTopPixels();
    const std::int64_t W = BodyWidth(), H = BodyHeight();
    try {
        printer_.SetPenWidth(PenWidth(printer_.DeviceCaps(TDeviceCap::LogPixelsY)));
        std::int64_t b = ToPixelsY(borderOffset_);
        if (pageBorders_.Contains(TPageBorderStyle::pbTop))
            printer_.DrawLine(DeviceCoord(L - b), DeviceCoord(T - b), DeviceCoord(L + W + b),
                              DeviceCoord(T - b));
        if (pageBorders_.Contains(TPageBorderStyle::pbBottom))
            printer_.DrawLine(DeviceCoord(L - b), DeviceCoord(T + H + b), DeviceCoord(L + W + b),
                              DeviceCoord(T + H + b));
        printer_.SetPenWidth(PenWidth(printer_.DeviceCaps(TDeviceCap::LogPixelsX)));
        b = ToPixelsX(borderOffset_);
        if (pageBorders_.Contains(TPageBorderStyle::pbLeft))
            printer_.DrawLine(DeviceCoord(L - b), DeviceCoord(T - b), DeviceCoord(L - b),
                              DeviceCoord(T + H + b));
        if (pageBorders_.Contains(TPageBorderStyle::pbRight))
            printer_.DrawLine(DeviceCoord(L + W + b), DeviceCoord(T - b), DeviceCoord(L + W + b),
                              DeviceCoord(T + H + b));
    } catch (const EPrinter&) {
        // A border that cannot be drawn does not stop the page.
    }
}

void TLinePrinter::WriteLine(std::string_view text) {
    std::vector<std::string> cells = SplitColumns(text);
    const TMacroValues values = MacroValues();
    for (std::string& cell : cells)
        if (cell.find("{$") != std::string::npos) cell = ExpandMacros(std::move(cell), values);
    WriteCells(cells);
}

void TLinePrinter::WriteCells(const std::vector<std::string>& cells) {
    const std::vector<std::string> formats = SplitColumns(tableFormat_);
    currentX_ = MarginLeftPixels();
    // No column reaches past the printable area's right edge: a format of
    // millions of inches would otherwise pad a text file line with as many
    // blanks, and place text where no paper is.
    const std::int64_t pageRight = ToPixelsX(PageWidth());
    for (std::size_t i = 0; i < formats.size(); ++i) {
        const TColumnFormat column =
            ParseColumnFormat(formats[i], defaultColWidth_, decimalSeparator_);
        const std::int64_t room = std::max<std::int64_t>(0, pageRight - currentX_);
        const std::int64_t colW =
            column.Width >= PageWidth() ? room : std::min(room, ToPixelsX(column.Width));
        std::string cell = i < cells.size() ? cells[i] : std::string();
        cell = FitText(cell, colW, [this](std::string_view s) { return printer_.TextWidth(s); });
        try {
            WriteCell(column.Alignment, colW, std::move(cell));
        } catch (const EPrinter&) {
            // The cell is skipped; the row goes on.
        }
        currentX_ += colW;
    }
    if (FileOpen() || (currentY_ >= 0 && currentY_ < BodyHeight())) NewLine();
}

void TLinePrinter::WriteCell(TAlignment alignment, std::int64_t colW, std::string cell) {
    const std::int64_t textW = printer_.TextWidth(cell);
    std::int64_t offset = 0;
    if (alignment == TAlignment::Right) offset = colW - textW;
    if (alignment == TAlignment::Centre) offset = (colW - textW) / 2;
    // Keep text that has room a little away from the column's edge.
    const std::int64_t pad = (printer_.DeviceCaps(TDeviceCap::LogPixelsX) / 300) * 6;
    if (textW < colW - pad) {
        if (alignment == TAlignment::Right) offset -= pad;
        if (alignment == TAlignment::Left) offset += pad;
    }
    if (FileOpen()) {
        const std::int64_t space = printer_.TextWidth(" ");
        // A font without a measurable space cannot pad; the text still goes
        // out rather than dividing by zero.
        if (space > 0) outputFile_.Write(Spaces(offset / space));
        outputFile_.Write(cell);
        if (space > 0) outputFile_.Write(Spaces((colW - (offset + textW)) / space));
        return;
    }
    printer_.TextOut(DeviceCoord(currentX_ + offset), DeviceCoord(MarginTopPixels() + currentY_),
                     cell);
    if (tableGrid_) DrawCellBox(colW);
}

void TLinePrinter::DrawCellBox(std::int64_t colW) {
    const std::int64_t e = textMetrics_.ExternalLeading;
    std::int64_t lead = e;
    switch (lineSpacing_) {
    case TLineSpacing::lsHalfSpace: lead = e / 2; break;
    case TLineSpacing::lsSingleSpace: lead = e; break;
    case TLineSpacing::lsSingleAndAHalf:
        lead = static_cast<std::int64_t>(std::nearbyint(static_cast<long double>(e) * 1.5L));
        break;
    case TLineSpacing::lsDoubleSpace: lead = 2 * e; break;
    }
    const int y0 = DeviceCoord(MarginTopPixels() + currentY_ - lead);
    const int y1 = DeviceCoord(static_cast<std::int64_t>(y0) + lineHeight_);
    const int x0 = DeviceCoord(currentX_);
    const int x1 = DeviceCoord(currentX_ + colW);
    printer_.SetPenWidth(PenWidth(printer_.DeviceCaps(TDeviceCap::LogPixelsY)));
    printer_.DrawLine(x0, y0, x1, y0);
    printer_.DrawLine(x0, y1, x1, y1);
    printer_.SetPenWidth(PenWidth(printer_.DeviceCaps(TDeviceCap::LogPixelsX)));
    printer_.DrawLine(x0, y0, x0, y1);
    printer_.DrawLine(x1, y0, x1, y1);
}

void TLinePrinter::NewLine() {
    currentX_ = 0;
    currentY_ += lineHeight_;
    if (!FileOpen() && currentY_ + lineHeight_ >= BodyHeight()) {
        NewPage();
    } else {
        if (FileOpen()) outputFile_.Write("\r\n");
        ++lineNumber_;
    }
    Fire(OnNewLine);
}

void TLinePrinter::NewPage() {
    try {
        if (FileOpen())
            outputFile_.Write("\f\r\n");
        else
            printer_.NewPage();
        ++pageCounter_;
    } catch (const EPrinter&) {
        throw ELinePrinter("Unable to print a new page.");
    }
    StartPage();
}

void TLinePrinter::EndDoc() {
    UpdateProgress("Finished Printing");
    const char* failure = nullptr;
    if (printToFile_) {
        // The file is replaced only now, in one step; on failure the text
        // stays and the document stays open.
        if (!outputFile_.Commit()) failure = "Unable to finish printing to file.";
    } else {
        try {
            printer_.EndDoc();
        } catch (const EPrinter&) {
            failure = "Unable to finish printing.";
        }
    }
    UpdateProgress("");
    if (failure) throw ELinePrinter(failure);
    Fire(OnEndDoc);
}

void TLinePrinter::Abort() {
    bool aborted = false;
    const char* failure = nullptr;
    if (FileOpen()) {
        outputFile_.Discard();
        aborted = true;
    } else if (!printToFile_) {
        try {
            if (printer_.Printing()) {
                printer_.Abort();
                aborted = true;
            }
        } catch (const EPrinter&) {
            failure = "Unable to abort printing.";
        }
    }
    UpdateProgress("");
    if (failure) throw ELinePrinter(failure);
    if (aborted) Fire(OnAbortDoc);
}

TMacroValues TLinePrinter::MacroValues() const {
    // Without texts of its own, the one clock every listing reads.
    static const TLocaleDateTimeTexts listingClock;
    const TDateTimeTexts& clock = dateTime_ ? *dateTime_ : listingClock;
    TMacroValues values;
    values.Line = lineNumber_;
    values.Page = PageNumber();
    values.Date = clock.ShortDate();
    values.Time = clock.LongTime();
    values.Title = Title();
    return values;
}

void TLinePrinter::UpdateProgress(const std::string& status) {
    if (showProgress_ && Printing()) {
        if (!progressDialog_ && progressFactory_)
            progressDialog_ = progressFactory_->CreateProgressDialog();
        if (!progressDialog_) return;
        if (!progressDialog_->Visible()) progressDialog_->Show();
        if (!status.empty()) progressDialog_->SetStatus(status);
        progressDialog_->SetTitle(Title());
        progressDialog_->SetPageNumber(std::to_string(PageNumber()));
        progressDialog_->Repaint();
    } else if (progressDialog_) {
        if (progressDialog_->Visible()) progressDialog_->Close();
        progressDialog_.reset();
    }
}

} // namespace tallix::print
