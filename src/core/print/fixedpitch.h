// A printer without a driver, for the line printer's print-to-file mode
// where no toolkit is at hand: it measures text as a monospaced font on
// paper of a given size and draws nothing. Every character is 0.6 em wide,
// as in the common monospaced faces, so the text file comes out as the
// columns would stand on paper.
#pragma once

#include "core/print/paper.h"
#include "core/print/printdevice.h"

namespace tallix::print {

class TFixedPitchDevice : public TPrintDevice {
public:
    static constexpr int kResolution = 300;

    explicit TFixedPitchDevice(const TPaperSize& paper = kLetterPaper);

    std::string Title() const override { return title_; }
    void SetTitle(const std::string& title) override { title_ = title; }
    TPrinterOrientation Orientation() const override { return orientation_; }
    void SetOrientation(TPrinterOrientation orientation) override { orientation_ = orientation; }

    // It prints on no paper: a document never begins.
    bool Printing() const override { return false; }
    int PageNumber() const override { return 0; }
    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;

    // The whole sheet is printable.
    int PageWidth() const override;
    int PageHeight() const override;
    int DeviceCaps(TDeviceCap cap) const override;

    TPrintFont Font() const override { return font_; }
    void SetFont(const TPrintFont& font) override { font_ = font; }
    void SetPenWidth(int) override;
    void TextOut(int x, int y, std::string_view text) override;
    // Characters, not bytes, times the width of one character.
    int TextWidth(std::string_view text) const override;
    int TextHeight(std::string_view text) const override;
    void DrawLine(int x0, int y0, int x1, int y1) override;
    TTextMetrics GetTextMetrics() const override;

    // The advance of one character in pixels for the current font.
    int CharWidth() const;

private:
    // The em height in pixels for the current font.
    double EmPixels() const;

    int paperWidth_;
    int paperHeight_;
    std::string title_;
    TPrinterOrientation orientation_ = TPrinterOrientation::poPortrait;
    TPrintFont font_;
};

} // namespace tallix::print
