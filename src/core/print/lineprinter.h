// The line printer: prints lines of text, each laid out as a row of columns,
// on the program's printer or into a plain text file, with a header and a
// footer line on every page, page borders and cell boxes. It knows nothing
// about the calculator.
//
// Lengths set by its user are in measure units (inches or millimetres) held
// as 32-bit floats; drawing positions are printer pixels.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/print/outputfile.h"
#include "core/print/printdevice.h"
#include "core/print/tableformat.h"

namespace tallix::print {

// The errors the line printer raises itself. A handler for printer errors
// catches them too.
class ELinePrinter : public EPrinter {
public:
    using EPrinter::EPrinter;
};

// A pixel difference of the page geometry that would become negative, such
// as a header line taller than the top margin.
class EIntOverflow : public std::overflow_error {
public:
    EIntOverflow() : std::overflow_error("Integer overflow") {}
};

// A length that converts to a negative or too large number of pixels.
class ERangeError : public std::range_error {
public:
    ERangeError() : std::range_error("Range check error") {}
};

enum class TMeasureUnit : std::uint8_t { muInches = 0, muMillimeters = 1 };

enum class TLineSpacing : std::uint8_t {
    lsHalfSpace = 0,
    lsSingleSpace = 1,
    lsSingleAndAHalf = 2,
    lsDoubleSpace = 3,
};

enum class TPageBorderStyle : std::uint8_t { pbTop = 0, pbBottom = 1, pbLeft = 2, pbRight = 3 };

// A set of page-border sides, one bit each.
class TPageBorders {
public:
    constexpr TPageBorders() = default;
    constexpr TPageBorders(std::initializer_list<TPageBorderStyle> sides) {
        for (TPageBorderStyle s : sides) Include(s);
    }
    constexpr bool Contains(TPageBorderStyle s) const { return bits_ & Bit(s); }
    constexpr void Include(TPageBorderStyle s) {
        bits_ = static_cast<std::uint8_t>(bits_ | Bit(s));
    }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr std::uint8_t Bits() const { return bits_; }
    constexpr bool operator==(const TPageBorders&) const = default;

private:
    static constexpr std::uint8_t Bit(TPageBorderStyle s) {
        return static_cast<std::uint8_t>(1u << static_cast<unsigned>(s));
    }
    std::uint8_t bits_ = 0;
};

class TLinePrinter;
using TNotifyEvent = std::function<void(TLinePrinter&)>;

class TLinePrinter {
public:
    // The printer is shared with the rest of the program and not owned; it
    // must outlive the line printer. Constructing resets the printer's
    // orientation to portrait and its title to empty.
    explicit TLinePrinter(TPrintDevice& printer);
    TLinePrinter(const TLinePrinter&) = delete;
    TLinePrinter& operator=(const TLinePrinter&) = delete;
    // An open document is not closed.
    ~TLinePrinter();

    // Settings. The four margins are distances of the body from the paper
    // edges, clamped to the paper's unprintable strips.
    float MarginTop() const { return marginTop_; }
    float MarginBottom() const { return marginBottom_; }
    float MarginLeft() const { return marginLeft_; }
    float MarginRight() const { return marginRight_; }
    void SetMarginTop(float v);
    void SetMarginBottom(float v);
    void SetMarginLeft(float v);
    void SetMarginRight(float v);
    TMeasureUnit MeasureUnit() const { return measureUnit_; }
    // Converts every stored length to the new unit.
    void SetMeasureUnit(TMeasureUnit unit);
    TLineSpacing LineSpacing() const { return lineSpacing_; }
    void SetLineSpacing(TLineSpacing spacing);

    // Held but not used by the layout.
    std::uint32_t TabSize() const { return tabSize_; }
    void SetTabSize(std::uint32_t v) { tabSize_ = v; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v) { wordWrap_ = v; }
    const std::vector<std::string>& Lines() const { return lines_; }
    void SetLines(std::vector<std::string> lines) { lines_ = std::move(lines); }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v) { alignment_ = v; }

    // Cells of the header and footer lines, separated by "|", and their
    // column formats.
    const std::string& Header() const { return header_; }
    void SetHeader(std::string v) { header_ = std::move(v); }
    const std::string& HeaderFormat() const { return headerFormat_; }
    void SetHeaderFormat(std::string v) { headerFormat_ = std::move(v); }
    const std::string& Footer() const { return footer_; }
    void SetFooter(std::string v) { footer_ = std::move(v); }
    const std::string& FooterFormat() const { return footerFormat_; }
    void SetFooterFormat(std::string v) { footerFormat_ = std::move(v); }
    TPageBorders PageBorders() const { return pageBorders_; }
    void SetPageBorders(TPageBorders v) { pageBorders_ = v; }
    bool ShowProgress() const { return showProgress_; }
    void SetShowProgress(bool v) { showProgress_ = v; }

    // The printer's own settings, read and written through. Without a
    // printer the setters change nothing there, and Font gives the font
    // last assigned.
    TPrintFont Font() const;
    void SetFont(const TPrintFont& font);
    TPrinterOrientation Orientation() const;
    void SetOrientation(TPrinterOrientation orientation);
    std::string Title() const;
    void SetTitle(const std::string& title);

    // Column formats of body lines, separated by "|".
    const std::string& TableFormat() const { return tableFormat_; }
    void SetTableFormat(std::string v) { tableFormat_ = std::move(v); }
    float DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(float v);
    // Distance of the page border lines outside the body.
    float BorderOffset() const { return borderOffset_; }
    void SetBorderOffset(float v) { borderOffset_ = v; }
    bool TableGrid() const { return tableGrid_; }
    void SetTableGrid(bool v) { tableGrid_ = v; }
    bool PrintToFile() const { return printToFile_; }
    void SetPrintToFile(bool v);
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& name);

    // The decimal separator of column widths in table formats.
    char DecimalSeparator() const { return decimalSeparator_; }
    void SetDecimalSeparator(char c) { decimalSeparator_ = c; }
    // Where the date and time macros come from; not owned, null for the
    // listings' clock (localetime.h), which every listing reads.
    void SetDateTimeTexts(const TDateTimeTexts* texts) { dateTime_ = texts; }
    // Makes the progress dialog; not owned, null for none.
    void SetProgressDialogFactory(TProgressDialogFactory* factory) { progressFactory_ = factory; }

    TNotifyEvent OnBeginDoc;
    TNotifyEvent OnEndDoc;
    // Fired when an open document is abandoned.
    TNotifyEvent OnAbortDoc;
    TNotifyEvent OnNewLine;
    TNotifyEvent OnNewPage;

    // Page geometry, computed afresh on every use.
    bool Printing() const;
    std::int64_t PageNumber() const;
    float PaperWidth() const;
    float PaperHeight() const;
    float PageWidth() const;
    float PageHeight() const;
    float OffsetLeft() const;
    float OffsetTop() const;
    float OffsetRight() const;
    float OffsetBottom() const;
    std::int64_t MarginLeftPixels() const;
    std::int64_t MarginRightPixels() const;
    std::int64_t MarginTopPixels() const;
    std::int64_t MarginBottomPixels() const;
    std::int64_t BodyWidth() const;
    std::int64_t BodyHeight() const;
    // Lengths to pixels, rounded half to even; ERangeError outside 0 to
    // 2^32 - 1, and when the printer reports a resolution of 0 or less.
    std::int64_t ToPixelsX(float v) const;
    std::int64_t ToPixelsY(float v) const;
    float ToUnitsX(std::int64_t px) const;
    float ToUnitsY(std::int64_t px) const;

    // The document: BeginDoc, then any number of WriteLine, NewLine and
    // NewPage, then EndDoc, or Abort to abandon it.
    void BeginDoc();
    // A line whose cells are separated by "|" and may hold macros.
    void WriteLine(std::string_view text);
    // A line of literal cells: printed as they are, whatever "|" or macro
    // they hold. Texts that come from the user go this way.
    void WriteCells(const std::vector<std::string>& cells);
    void NewLine();
    void NewPage();
    void EndDoc();
    void Abort();

    // The state of the page being laid out.
    std::uint32_t LineHeight() const { return lineHeight_; }
    std::uint32_t LineNumber() const { return lineNumber_; }
    std::uint32_t PageCounter() const { return pageCounter_; }
    std::int64_t CurrentX() const { return currentX_; }
    std::int64_t CurrentY() const { return currentY_; }
    bool ProgressDialogExists() const { return progressDialog_ != nullptr; }
    TPrintDevice& Printer() { return printer_; }

private:
    TPrintDevice& printer_;
    float marginTop_ = 0, marginBottom_ = 0, marginLeft_ = 0, marginRight_ = 0;
    TMeasureUnit measureUnit_ = TMeasureUnit::muInches;
    TLineSpacing lineSpacing_ = TLineSpacing::lsSingleSpace;
    std::uint32_t tabSize_ = 8;
    bool wordWrap_ = true;
    std::vector<std::string> lines_;
    TAlignment alignment_ = TAlignment::Left;
    std::string header_, headerFormat_, footer_, footerFormat_;
    TPageBorders pageBorders_;
    bool showProgress_ = false;
    TPrintFont fontWithoutPrinter_;
    std::string tableFormat_;
    float defaultColWidth_ = 0;
    float borderOffset_ = 0;
    bool tableGrid_ = false;
    bool printToFile_ = false;
    std::string fileName_;
    char decimalSeparator_ = '.';
    const TDateTimeTexts* dateTime_ = nullptr;
    TProgressDialogFactory* progressFactory_ = nullptr;

    std::unique_ptr<TPrntProgDlg> progressDialog_;
    std::uint32_t lineNumber_ = 0;
    std::uint32_t pageCounter_ = 0;
    TTextMetrics textMetrics_;
    TOutputFile outputFile_;
    std::int64_t currentX_ = 0;
    std::int64_t currentY_ = 0;
    std::uint32_t lineHeight_ = 0;

    bool FileOpen() const { return outputFile_.IsOpen(); }
    int Resolution(TDeviceCap cap) const;
    float PaperQuantity(TDeviceCap cap, float inches, float millimetres, bool across) const;
    float PrintableQuantity(bool across, float inches, float millimetres) const;
    std::int64_t ToPixels(float v, TDeviceCap cap) const;
    float ToUnits(std::int64_t px, TDeviceCap cap) const;
    void ReclampMargins();
    void ApplyPrinterResolution();
    void RecomputeLineHeight();
    void Fire(const TNotifyEvent& event);

    void StartPage();
    void WriteCell(TAlignment alignment, std::int64_t colW, std::string cell);
    void DrawCellBox(std::int64_t colW);
    TMacroValues MacroValues() const;
    void UpdateProgress(const std::string& status);
};

} // namespace tallix::print
