#include "core/print/fixedpitch.h"

#include <cmath>

#include "core/number/utf8.h"

namespace tallix::print {

namespace {

constexpr double kCharWidthEm = 0.6;
// Ascent plus descent of the common monospaced faces.
constexpr double kTextHeightEm = 1.133;

int Pixels(double inches) {
    return static_cast<int>(std::nearbyint(inches * TFixedPitchDevice::kResolution));
}

[[noreturn]] void NoPaper() { throw EPrinter("This printer only measures text"); }

} // namespace

TFixedPitchDevice::TFixedPitchDevice(const TPaperSize& paper)
    : paperWidth_(Pixels(paper.WidthInches())), paperHeight_(Pixels(paper.HeightInches())) {}

void TFixedPitchDevice::BeginDoc() { NoPaper(); }
void TFixedPitchDevice::NewPage() { NoPaper(); }
void TFixedPitchDevice::EndDoc() { NoPaper(); }
void TFixedPitchDevice::Abort() { NoPaper(); }
void TFixedPitchDevice::SetPenWidth(int) { NoPaper(); }
void TFixedPitchDevice::TextOut(int, int, std::string_view) { NoPaper(); }
void TFixedPitchDevice::DrawLine(int, int, int, int) { NoPaper(); }

int TFixedPitchDevice::PageWidth() const { return paperWidth_; }
int TFixedPitchDevice::PageHeight() const { return paperHeight_; }

int TFixedPitchDevice::DeviceCaps(TDeviceCap cap) const {
    switch (cap) {
    case TDeviceCap::LogPixelsX:
    case TDeviceCap::LogPixelsY: return kResolution;
    case TDeviceCap::PhysicalWidth: return paperWidth_;
    case TDeviceCap::PhysicalHeight: return paperHeight_;
    case TDeviceCap::PhysicalOffsetX:
    case TDeviceCap::PhysicalOffsetY: return 0;
    }
    return 0;
}

double TFixedPitchDevice::EmPixels() const {
    const int ppi = font_.PixelsPerInch > 0 ? font_.PixelsPerInch : kResolution;
    return font_.Size * static_cast<double>(ppi) / 72;
}

int TFixedPitchDevice::CharWidth() const {
    // Never zero: a text of no width would fit every column whole.
    const int width = static_cast<int>(std::nearbyint(EmPixels() * kCharWidthEm));
    return width > 0 ? width : 1;
}

int TFixedPitchDevice::TextWidth(std::string_view text) const {
    return static_cast<int>(CountChars(text)) * CharWidth();
}

int TFixedPitchDevice::TextHeight(std::string_view) const {
    return static_cast<int>(std::nearbyint(EmPixels() * kTextHeightEm));
}

TTextMetrics TFixedPitchDevice::GetTextMetrics() const { return {TextHeight("M"), 0}; }

} // namespace tallix::print
