// The line printer's settings and page geometry.
#include "core/print/lineprinter.h"

#include <cmath>

namespace tallix::print {

namespace {

constexpr long double kMillimetresPerInch = 25.4L;
constexpr int kFallbackResolution = 300;

float Clamp(float v, float lower, float upper) {
    if (v < lower) return lower;
    if (v > upper) return upper;
    return v;
}

// Lengths are 32-bit floats; every sum or product is rounded to one.
float Narrow(long double v) { return static_cast<float>(v); }

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

} // namespace

TLinePrinter::TLinePrinter(TPrintDevice& printer) : printer_(printer) {
    fontWithoutPrinter_ = TPrintFont{};
    fontWithoutPrinter_.Name = "Courier New";
    fontWithoutPrinter_.Size = 10;
    fontWithoutPrinter_.Style = 0;
    try {
        TPrintFont font = printer_.Font();
        font.Name = fontWithoutPrinter_.Name;
        font.Size = fontWithoutPrinter_.Size;
        font.Style = fontWithoutPrinter_.Style;
        printer_.SetFont(font);
        fontWithoutPrinter_ = font;
    } catch (const EPrinter&) {
        // Without a printer the component still works with the fallbacks.
    }
    SetLineSpacing(TLineSpacing::lsSingleSpace);
    SetTabSize(8);
    SetWordWrap(true);
    SetAlignment(TAlignment::Left);
    SetPageBorders({});
    SetOrientation(TPrinterOrientation::poPortrait);
    SetShowProgress(false);
    SetHeader("");
    SetHeaderFormat("");
    SetFooter("");
    SetFooterFormat("");
    SetTableFormat("");
    SetTitle("");
    SetMarginTop(OffsetTop());
    SetMarginBottom(OffsetBottom());
    SetMarginLeft(OffsetLeft());
    SetMarginRight(OffsetRight());
    SetBorderOffset(0);
    SetDefaultColWidth(0);
    SetMeasureUnit(TMeasureUnit::muInches);
    SetTableGrid(false);
    SetPrintToFile(false);
}

TLinePrinter::~TLinePrinter() { outputFile_.Discard(); }

// ---- Settings ----

void TLinePrinter::SetMarginTop(float v) {
    if (Printing()) throw ELinePrinter("Unable to change top margin while printing");
    marginTop_ =
        Clamp(v, OffsetTop(), Narrow(static_cast<long double>(PaperHeight()) - OffsetBottom()));
}

void TLinePrinter::SetMarginBottom(float v) {
    if (Printing()) throw ELinePrinter("Unable to change bottom margin while printing");
    marginBottom_ =
        Clamp(v, OffsetBottom(), Narrow(static_cast<long double>(PaperHeight()) - OffsetTop()));
}

void TLinePrinter::SetMarginLeft(float v) {
    if (Printing()) throw ELinePrinter("Unable to change left margin while printing");
    marginLeft_ =
        Clamp(v, OffsetLeft(), Narrow(static_cast<long double>(PaperWidth()) - OffsetRight()));
}

void TLinePrinter::SetMarginRight(float v) {
    if (Printing()) throw ELinePrinter("Unable to change right margin while printing");
    marginRight_ =
        Clamp(v, OffsetRight(), Narrow(static_cast<long double>(PaperWidth()) - OffsetLeft()));
}

void TLinePrinter::ReclampMargins() {
    SetMarginTop(marginTop_);
    SetMarginBottom(marginBottom_);
    SetMarginLeft(marginLeft_);
    SetMarginRight(marginRight_);
}

void TLinePrinter::SetMeasureUnit(TMeasureUnit unit) {
    // Refused before anything changes: storing the unit while the margins
    // stay in the old one would misplace every later page.
    if (unit != measureUnit_ && Printing())
        throw ELinePrinter("Unable to change top margin while printing");
    const TMeasureUnit old = measureUnit_;
    measureUnit_ = unit;
    if (unit != old) {
        const bool toMillimetres = unit == TMeasureUnit::muMillimeters;
        auto convert = [toMillimetres](float v) {
            return Narrow(toMillimetres ? v * kMillimetresPerInch : v / kMillimetresPerInch);
        };
        SetMarginTop(convert(marginTop_));
        SetMarginBottom(convert(marginBottom_));
        SetMarginLeft(convert(marginLeft_));
        SetMarginRight(convert(marginRight_));
        SetBorderOffset(convert(borderOffset_));
        SetDefaultColWidth(convert(defaultColWidth_));
    }
    if (!Printing()) ReclampMargins();
}

void TLinePrinter::SetLineSpacing(TLineSpacing spacing) {
    lineSpacing_ = spacing;
    RecomputeLineHeight();
}

TPrintFont TLinePrinter::Font() const {
    try {
        return printer_.Font();
    } catch (const EPrinter&) {
        return fontWithoutPrinter_;
    }
}

void TLinePrinter::SetFont(const TPrintFont& font) {
    fontWithoutPrinter_ = font;
    try {
        printer_.SetFont(font);
        ApplyPrinterResolution();
        if (FileOpen()) textMetrics_ = printer_.GetTextMetrics();
    } catch (const EPrinter&) {
        // No printer: what was copied stays copied.
    }
    RecomputeLineHeight();
}

TPrinterOrientation TLinePrinter::Orientation() const {
    try {
        return printer_.Orientation();
    } catch (const EPrinter&) {
        return TPrinterOrientation::poPortrait;
    }
}

void TLinePrinter::SetOrientation(TPrinterOrientation orientation) {
    if (Printing()) throw ELinePrinter("Unable to change orientation while printing");
    try {
        printer_.SetOrientation(orientation);
    } catch (const EPrinter&) {
    }
}

std::string TLinePrinter::Title() const {
    try {
        return printer_.Title();
    } catch (const EPrinter&) {
        return "<Unknown>";
    }
}

void TLinePrinter::SetTitle(const std::string& title) {
    if (Printing()) throw ELinePrinter("Unable to change title while printing");
    try {
        printer_.SetTitle(title);
    } catch (const EPrinter&) {
    }
}

void TLinePrinter::SetDefaultColWidth(float v) {
    if (v >= 0) {
        defaultColWidth_ = v;
        return;
    }
    defaultColWidth_ = 0;
    throw ELinePrinter("DefaultColWidth must be greater than or equal to 0");
}

void TLinePrinter::SetPrintToFile(bool v) {
    if (v == printToFile_) return;
    if (Printing()) throw ELinePrinter("Can't change PrintToFile while printing.");
    printToFile_ = v;
}

void TLinePrinter::SetFileName(const std::string& name) {
    if (name == fileName_) return;
    if (Printing()) throw ELinePrinter("Can't change FileName while printing.");
    std::size_t first = 0, last = name.size();
    while (first < last && IsBlankOrControl(name[first])) ++first;
    while (last > first && IsBlankOrControl(name[last - 1])) --last;
    fileName_ = name.substr(first, last - first);
}

// ---- Geometry ----

bool TLinePrinter::Printing() const {
    if (printToFile_) return FileOpen();
    try {
        return printer_.Printing();
    } catch (const EPrinter&) {
        return false;
    }
}

std::int64_t TLinePrinter::PageNumber() const {
    if (printToFile_) return pageCounter_;
    try {
        return printer_.PageNumber();
    } catch (const EPrinter&) {
        return 0;
    }
}

int TLinePrinter::Resolution(TDeviceCap cap) const {
    try {
        return printer_.DeviceCaps(cap);
    } catch (const EPrinter&) {
        return kFallbackResolution;
    }
}

std::int64_t TLinePrinter::ToPixels(float v, TDeviceCap cap) const {
    if (measureUnit_ == TMeasureUnit::muMillimeters) v = Narrow(v / kMillimetresPerInch);
    const int dpi = Resolution(cap);
    // Without a resolution no length has a number of pixels.
    if (dpi <= 0) throw ERangeError();
    const long double px = std::nearbyint(static_cast<long double>(v) * dpi);
    // Also refuses NaN, which fails both comparisons.
    if (!(px >= 0 && px <= 4294967295.0L)) throw ERangeError();
    return static_cast<std::int64_t>(px);
}

float TLinePrinter::ToUnits(std::int64_t px, TDeviceCap cap) const {
    int dpi = Resolution(cap);
    if (dpi <= 0) dpi = kFallbackResolution;
    const float inches = Narrow(static_cast<long double>(px) / dpi);
    if (measureUnit_ == TMeasureUnit::muMillimeters) return Narrow(inches * kMillimetresPerInch);
    return inches;
}

std::int64_t TLinePrinter::ToPixelsX(float v) const { return ToPixels(v, TDeviceCap::LogPixelsX); }
std::int64_t TLinePrinter::ToPixelsY(float v) const { return ToPixels(v, TDeviceCap::LogPixelsY); }
float TLinePrinter::ToUnitsX(std::int64_t px) const { return ToUnits(px, TDeviceCap::LogPixelsX); }
float TLinePrinter::ToUnitsY(std::int64_t px) const { return ToUnits(px, TDeviceCap::LogPixelsY); }

float TLinePrinter::PaperQuantity(TDeviceCap cap, float inches, float millimetres,
                                  bool across) const {
    try {
        const int px = printer_.DeviceCaps(cap);
        return across ? ToUnitsX(px) : ToUnitsY(px);
    } catch (const EPrinter&) {
        return measureUnit_ == TMeasureUnit::muMillimeters ? millimetres : inches;
    }
}

float TLinePrinter::PrintableQuantity(bool across, float inches, float millimetres) const {
    try {
        return across ? ToUnitsX(printer_.PageWidth()) : ToUnitsY(printer_.PageHeight());
    } catch (const EPrinter&) {
        return measureUnit_ == TMeasureUnit::muMillimeters ? millimetres : inches;
    }
}

float TLinePrinter::PaperWidth() const {
    return PaperQuantity(TDeviceCap::PhysicalWidth, 8.5f, 210, true);
}
float TLinePrinter::PaperHeight() const {
    return PaperQuantity(TDeviceCap::PhysicalHeight, 11, 297, false);
}
float TLinePrinter::PageWidth() const { return PrintableQuantity(true, 8, 198); }
float TLinePrinter::PageHeight() const { return PrintableQuantity(false, 10.5f, 284); }
float TLinePrinter::OffsetLeft() const {
    return PaperQuantity(TDeviceCap::PhysicalOffsetX, 0.25f, 6, true);
}
float TLinePrinter::OffsetTop() const {
    return PaperQuantity(TDeviceCap::PhysicalOffsetY, 0.25f, 6, false);
}
float TLinePrinter::OffsetRight() const {
    return Narrow(static_cast<long double>(PaperWidth()) - PageWidth() - OffsetLeft());
}
float TLinePrinter::OffsetBottom() const {
    return Narrow(static_cast<long double>(PaperHeight()) - PageHeight() - OffsetTop());
}

std::int64_t TLinePrinter::MarginLeftPixels() const {
    return ToPixelsX(Narrow(static_cast<long double>(marginLeft_) - OffsetLeft()));
}
std::int64_t TLinePrinter::MarginRightPixels() const {
    return ToPixelsX(Narrow(static_cast<long double>(marginRight_) - OffsetRight()));
}
std::int64_t TLinePrinter::MarginTopPixels() const {
    return ToPixelsY(Narrow(static_cast<long double>(marginTop_) - OffsetTop()));
}
std::int64_t TLinePrinter::MarginBottomPixels() const {
    return ToPixelsY(Narrow(static_cast<long double>(marginBottom_) - OffsetBottom()));
}

std::int64_t TLinePrinter::BodyWidth() const {
    std::int64_t page = 0, left = 0, right = 0;
    try {
        page = ToPixelsX(PageWidth());
        left = MarginLeftPixels();
        right = MarginRightPixels();
    } catch (const ERangeError&) {
        return 0;
    }
    // Margins are clamped one at a time, so together they can pass the
    // printable area.
    if (page - left - right < 0) throw EIntOverflow();
    return page - left - right;
}

std::int64_t TLinePrinter::BodyHeight() const {
    std::int64_t page = 0, top = 0, bottom = 0;
    try {
        page = ToPixelsY(PageHeight());
        top = MarginTopPixels();
        bottom = MarginBottomPixels();
    } catch (const ERangeError&) {
        return 0;
    }
    if (page - top - bottom < 0) throw EIntOverflow();
    return page - top - bottom;
}

// A point size means the same physical size on the printer as on the screen.
void TLinePrinter::ApplyPrinterResolution() {
    TPrintFont font = printer_.Font();
    font.PixelsPerInch = printer_.DeviceCaps(TDeviceCap::LogPixelsY);
    printer_.SetFont(font);
}

void TLinePrinter::RecomputeLineHeight() {
    std::int64_t base = 10;
    try {
        if (Printing())
            base = static_cast<std::int64_t>(textMetrics_.Height) + textMetrics_.ExternalLeading;
        else
            base = printer_.TextHeight("M");
    } catch (const EPrinter&) {
        base = 10;
    }
    if (base < 0) base = 0;
    switch (lineSpacing_) {
    case TLineSpacing::lsHalfSpace: base = base / 2; break;
    case TLineSpacing::lsSingleSpace: break;
    case TLineSpacing::lsSingleAndAHalf: base = base + base / 2; break;
    case TLineSpacing::lsDoubleSpace: base = 2 * base; break;
    }
    lineHeight_ = static_cast<std::uint32_t>(base);
}

void TLinePrinter::Fire(const TNotifyEvent& event) {
    if (event) event(*this);
}

} // namespace tallix::print
