// The program's printer for the line printer: a QPrinter drawn on with a
// QPainter. It measures and draws in the printer's own device pixels, at
// whatever resolution the printer has (1200 dots per inch for a PDF file).
#pragma once

#include <QFont>
#include <QPainter>
#include <QString>
#include <string>

#include "core/print/printdevice.h"

class QPrinter;

namespace tallix::gui {

class TQtPrintDevice : public print::TPrintDevice {
public:
    // The printer is not owned and must outlive the device.
    explicit TQtPrintDevice(QPrinter& printer);
    // A document still open is abandoned.
    ~TQtPrintDevice() override;
    TQtPrintDevice(const TQtPrintDevice&) = delete;
    TQtPrintDevice& operator=(const TQtPrintDevice&) = delete;

    // Whether there is a printer to print on: one of the system's printers,
    // or PDF output with a file to go to. Without one, every call but the
    // title, the orientation and the font fails with EPrinter.
    bool HasPrinter() const;
    // Why the last document's PDF file could not be written; empty when it
    // was, or when the failure was not the file's.
    const std::string& FileError() const { return fileError_; }

    std::string Title() const override;
    void SetTitle(const std::string& title) override;
    print::TPrinterOrientation Orientation() const override;
    void SetOrientation(print::TPrinterOrientation orientation) override;

    bool Printing() const override { return painter_.isActive(); }
    int PageNumber() const override;
    // A PDF is written to a temporary file first and replaces its file only
    // when the document ends, so that an abandoned or failed document never
    // spoils the file it was meant to replace.
    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;

    int PageWidth() const override;
    int PageHeight() const override;
    int DeviceCaps(print::TDeviceCap cap) const override;

    print::TPrintFont Font() const override { return font_; }
    void SetFont(const print::TPrintFont& font) override;
    void SetPenWidth(int width) override;
    void TextOut(int x, int y, std::string_view text) override;
    int TextWidth(std::string_view text) const override;
    int TextHeight(std::string_view text) const override;
    void DrawLine(int x0, int y0, int x1, int y1) override;
    print::TTextMetrics GetTextMetrics() const override;

    // The font as drawn: the family, and the point size turned into device
    // pixels at the font's pixels per inch.
    QFont QtFont() const;

private:
    void NeedPrinter() const;
    void NeedDocument() const;
    QFontMetrics Metrics() const;
    // Puts the PDF's own file name back; with `keep`, copies the finished
    // temporary file over it first. Returns the copy's failure, if any.
    std::string EndPdfFile(bool keep);

    QPrinter& printer_;
    QPainter painter_;
    print::TPrintFont font_;
    int page_ = 0;
    QString pdfTarget_; // the PDF's file while the document goes to pdfTemp_
    QString pdfTemp_;
    std::string fileError_;
};

} // namespace tallix::gui
