#include "core/print/stacklisting.h"

#include <algorithm>

#include "core/number/numtext.h"
#include "core/number/utf8.h"

namespace tallix::print {

namespace {

constexpr std::size_t kEntryCharacters = 255;

// Body columns: the level label in 0.375 and the value in 2.25 units.
std::string BodyFormat(char decimalSeparator) {
    std::string format = ">.375|>2.25";
    for (char& c : format)
        if (c == '.') c = decimalSeparator;
    return format;
}

std::string HalfBodyFormat(const TStackListingSettings& s) {
    const double half = static_cast<double>(
        (static_cast<long double>(s.PaperWidth) - s.MarginLeft - s.MarginRight) / 2);
    const std::string width = FormatGeneral(static_cast<Value>(half), 15, s.DecimalSeparator);
    return "<" + width + "|>" + width;
}

// A cell wider than its column would be cut from the right, and a value cut
// so is another number (its exponent or its low binary digits gone), a label
// another level. So each body column grows to hold its widest cell, the
// value column no further than the body's right edge; a listing whose cells
// fit keeps the usual columns.
std::string FittingTableFormat(TLinePrinter& printer, const TStackListing& listing) {
    try {
        TPrintDevice& device = printer.Printer();
        std::int64_t widest[2] = {0, 0};
        for (const TListingRow& row : listing.Rows) {
            widest[0] = std::max<std::int64_t>(widest[0], device.TextWidth(row.Label));
            widest[1] = std::max<std::int64_t>(widest[1], device.TextWidth(row.Value));
        }
        // Room for the text and the inset that keeps it off the column's edge.
        const std::int64_t inset = (device.DeviceCaps(TDeviceCap::LogPixelsX) / 300) * 6;
        const std::vector<std::string> formats = SplitColumns(listing.TableFormat);
        if (formats.size() != 2) return listing.TableFormat;
        std::int64_t width[2];
        for (std::size_t i = 0; i < 2; ++i)
            width[i] = printer.ToPixelsX(
                ParseColumnFormat(formats[i], printer.DefaultColWidth(), listing.DecimalSeparator)
                    .Width);
        const std::int64_t label = std::max(width[0], widest[0] + inset + 1);
        const std::int64_t room = printer.BodyWidth() - label;
        const std::int64_t value = std::max(width[1], std::min(widest[1] + inset + 1, room));
        auto column = [&](std::size_t i, std::int64_t pixels) {
            if (pixels == width[i]) return formats[i];
            return ">" + FormatColumnWidth(printer.ToUnitsX(pixels), listing.DecimalSeparator);
        };
        return column(0, label) + "|" + column(1, value);
    } catch (const std::exception&) {
        // Without a printer to measure on, the document does not begin
        // either; it reports that.
        return listing.TableFormat;
    }
}

} // namespace

TStackListing BuildStackListing(const std::vector<std::string>& entriesTopFirst,
                                const TStackListingSettings& settings,
                                const TFormatForBase& formatForBase) {
    TStackListing listing;
    listing.HeaderFormat = HalfBodyFormat(settings);
    listing.FooterFormat = listing.HeaderFormat;
    listing.TableFormat = BodyFormat(settings.DecimalSeparator);
    listing.DecimalSeparator = settings.DecimalSeparator;
    listing.Rows.reserve(entriesTopFirst.size());
    for (std::size_t i = entriesTopFirst.size(); i-- > 0;) {
        const std::string entry = CutChars(entriesTopFirst[i], kEntryCharacters);
        listing.Rows.push_back({std::to_string(i + 1) + ":", formatForBase(entry)});
    }
    return listing;
}

void ConfigureStackPrinter(TLinePrinter& printer, char decimalSeparator) {
    printer.SetDecimalSeparator(decimalSeparator);
    printer.SetMarginTop(1);
    printer.SetMarginBottom(1);
    printer.SetMarginLeft(1);
    printer.SetMarginRight(1);
    printer.SetHeader("{$TITLE}|Page {$PAGE}");
    const std::string halves =
        std::string("<3") + decimalSeparator + "25|>3" + decimalSeparator + "25";
    printer.SetHeaderFormat(halves);
    printer.SetFooter("{$DATE}|{$TIME}");
    printer.SetFooterFormat(halves);
    printer.SetPageBorders({TPageBorderStyle::pbTop, TPageBorderStyle::pbBottom});
    printer.SetShowProgress(true);
    TPrintFont font = printer.Font();
    font.Name = "Courier New";
    printer.SetFont(font);
    printer.SetTitle(kStackListingTitle);
    printer.SetTableFormat(BodyFormat(decimalSeparator));
    printer.SetBorderOffset(0.0625f);
}

void PrintStackListing(TLinePrinter& printer, const TStackListing& given,
                       const TPrintFont& displayFont) {
    // A text from a stack file may hold control bytes or broken UTF-8: they
    // print as U+FFFD, never raw into a text listing or a page.
    TStackListing listing = given;
    for (TListingRow& row : listing.Rows) {
        row.Label = VisibleText(row.Label);
        row.Value = VisibleText(row.Value);
    }
    printer.SetDecimalSeparator(listing.DecimalSeparator);
    printer.SetHeaderFormat(listing.HeaderFormat);
    printer.SetFooterFormat(listing.FooterFormat);
    printer.SetTableFormat(listing.TableFormat);
    printer.SetFont(displayFont);
    // Straight on the printer's font: the text grows, the line height stays
    // the one of the display's size.
    try {
        TPrintFont larger = printer.Printer().Font();
        larger.Size += 2;
        printer.Printer().SetFont(larger);
    } catch (const EPrinter&) {
        // Without a printer, BeginDoc reports it.
    }
    printer.SetTableFormat(FittingTableFormat(printer, listing));
    printer.BeginDoc();
    try {
        printer.NewLine();
        for (const TListingRow& row : listing.Rows) printer.WriteCells({row.Label, row.Value});
        printer.EndDoc();
    } catch (...) {
        try {
            printer.Abort();
        } catch (...) {
            // The first failure is the one to report.
        }
        throw;
    }
}

void PrintStack(TLinePrinter& printer, const std::vector<std::string>& levelsTopFirst,
                char decimalSeparator, const TFormatForBase& formatForBase,
                const TPrintFont& displayFont) {
    const TStackListing listing = BuildStackListing(
        levelsTopFirst,
        {printer.PaperWidth(), printer.MarginLeft(), printer.MarginRight(), decimalSeparator},
        formatForBase);
    PrintStackListing(printer, listing, displayFont);
}

} // namespace tallix::print
