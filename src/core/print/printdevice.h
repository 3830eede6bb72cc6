// What the line printer needs from the platform: the printer (document,
// pages, device capabilities, a drawing surface), a progress dialog, and the
// texts of today's date and the current time. The window implements these
// with the toolkit's printer; tests implement them with fixed metrics.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tallix::print {

// A failure of the printer: none installed, no document where one is needed,
// a document already in progress, a spooler error. The line printer tells
// this error apart from all others, so a device reports every failure of its
// own through it and through nothing else.
class EPrinter : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TPrinterOrientation : std::uint8_t { poPortrait = 0, poLandscape = 1 };

// Font styles as a set of bits.
enum TFontStyle : std::uint8_t {
    fsBold = 1 << 0,
    fsItalic = 1 << 1,
    fsUnderline = 1 << 2,
    fsStrikeOut = 1 << 3,
};
using TFontStyles = std::uint8_t;

// The printer's drawing font. Size is in points; PixelsPerInch tells how
// many device pixels a point size is drawn with (points * PixelsPerInch / 72
// pixels for the em height).
struct TPrintFont {
    std::string Name = "Courier New";
    int Size = 10;
    TFontStyles Style = 0;
    int PixelsPerInch = 96;
    bool operator==(const TPrintFont&) const = default;
};

// The device capabilities the page geometry is built from.
enum class TDeviceCap : std::uint8_t {
    LogPixelsX,      // dots per inch across
    LogPixelsY,      // dots per inch down
    PhysicalWidth,   // the paper's width in pixels
    PhysicalHeight,  // the paper's height in pixels
    PhysicalOffsetX, // the unprintable strip at the left, in pixels
    PhysicalOffsetY, // the unprintable strip at the top, in pixels
};

struct TTextMetrics {
    int Height = 0;          // ascent plus descent, in pixels
    int ExternalLeading = 0; // extra space the font suggests between lines
};

// The program's one printer. Pixel coordinates have their origin at the
// top-left corner of the printable area. Every member may throw EPrinter.
// The line printer measures (TextWidth, TextHeight, GetTextMetrics) with or
// without a document, and draws (TextOut, DrawLine, SetPenWidth) only
// between BeginDoc and EndDoc.
class TPrintDevice {
public:
    virtual ~TPrintDevice() = default;

    // The document title, which is also the job's name in the spooler.
    virtual std::string Title() const = 0;
    virtual void SetTitle(const std::string& title) = 0;
    virtual TPrinterOrientation Orientation() const = 0;
    virtual void SetOrientation(TPrinterOrientation orientation) = 0;

    // Whether a document is in progress.
    virtual bool Printing() const = 0;
    // The current page of the document in progress, 1 for the first.
    virtual int PageNumber() const = 0;
    // Starts a document and its first page; fails when one is in progress.
    virtual void BeginDoc() = 0;
    // Ends the current page and starts the next.
    virtual void NewPage() = 0;
    // Ends the document and hands it to the spooler.
    virtual void EndDoc() = 0;
    // Abandons the document in progress: nothing of it is printed.
    virtual void Abort() = 0;

    // The printable area in pixels.
    virtual int PageWidth() const = 0;
    virtual int PageHeight() const = 0;
    virtual int DeviceCaps(TDeviceCap cap) const = 0;

    // Drawing surface.
    virtual TPrintFont Font() const = 0;
    virtual void SetFont(const TPrintFont& font) = 0;
    virtual void SetPenWidth(int width) = 0;
    // Draws the text with its top-left corner at (x, y).
    virtual void TextOut(int x, int y, std::string_view text) = 0;
    virtual int TextWidth(std::string_view text) const = 0;
    virtual int TextHeight(std::string_view text) const = 0;
    virtual void DrawLine(int x0, int y0, int x1, int y1) = 0;
    virtual TTextMetrics GetTextMetrics() const = 0;
};

// The small window that shows a document's progress. It offers no way to
// cancel. The line printer creates one per document, through the factory,
// and destroys it when the document is over.
class TPrntProgDlg {
public:
    virtual ~TPrntProgDlg() = default;
    virtual bool Visible() const = 0;
    // Shows the window without making it modal.
    virtual void Show() = 0;
    virtual void Close() = 0;
    virtual void SetStatus(const std::string& status) = 0;
    virtual void SetTitle(const std::string& title) = 0;
    virtual void SetPageNumber(const std::string& pageNumber) = 0;
    // Paints the window at once, so that it shows the new texts while the
    // printing goes on.
    virtual void Repaint() = 0;
};

class TProgressDialogFactory {
public:
    virtual ~TProgressDialogFactory() = default;
    virtual std::unique_ptr<TPrntProgDlg> CreateProgressDialog() = 0;
};

// Today's date and the current time as the user's locale writes them (the
// short date and the long time format).
class TDateTimeTexts {
public:
    virtual ~TDateTimeTexts() = default;
    virtual std::string ShortDate() const = 0;
    virtual std::string LongTime() const = 0;
};

} // namespace tallix::print
