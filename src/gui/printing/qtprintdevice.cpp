#include "gui/printing/qtprintdevice.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPen>
#include <QPrinter>
#include <QTemporaryFile>
#include <cmath>

#include "core/persist/wholefile.h"
#include "core/print/localetime.h"
#include "gui/widgets/fonts.h"

namespace tallix::gui {

using print::EPrinter;
using print::TDeviceCap;

namespace {

int Round(qreal v) { return static_cast<int>(std::lround(v)); }

// The PDF writer dates the file by a clock of its own; the file carries the
// listing's moment instead, so that a fixed moment (SOURCE_DATE_EPOCH) gives
// the same file byte for byte. The date keeps its length, and with it every
// offset the file records.
void DateLikeTheListing(QByteArray& pdf) {
    static const QByteArray key = "/CreationDate (D:";
    const qsizetype at = pdf.indexOf(key);
    if (at < 0) return;
    const qsizetype digits = at + key.size();
    const QByteArray moment = QByteArray::fromStdString(print::ListingMomentUtcDigits());
    if (moment.size() != 14 || digits + 16 > pdf.size()) return;
    for (qsizetype i = 0; i < 14; ++i)
        if (pdf[digits + i] < '0' || pdf[digits + i] > '9') return;
    if (pdf.mid(digits + 14, 2) != "Z)") return;
    pdf.replace(digits, 14, moment);
}

// Replaces the target with the finished document in one step; the reason
// when that fails.
std::string CopyFinishedPdf(const QString& temp, const QString& target) {
    QFile file(temp);
    if (!file.open(QIODevice::ReadOnly)) return file.errorString().toStdString();
    QByteArray bytes = file.readAll();
    // The PDF writer does not report a failed write (a full disk, a size
    // limit); a document cut short lacks its end marker.
    if (!bytes.trimmed().endsWith("%%EOF")) return "The PDF document was not written completely";
    DateLikeTheListing(bytes);
    const persist::FileStatus status = persist::WriteWholeFile(
        QFile::encodeName(target).toStdString(),
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return status ? std::string() : status.reason;
}

} // namespace

TQtPrintDevice::TQtPrintDevice(QPrinter& printer) : printer_(printer) {}

TQtPrintDevice::~TQtPrintDevice() {
    if (painter_.isActive()) {
        printer_.abort();
        painter_.end();
        EndPdfFile(false);
    }
}

bool TQtPrintDevice::HasPrinter() const {
    if (printer_.outputFormat() == QPrinter::PdfFormat)
        return !printer_.outputFileName().isEmpty() || painter_.isActive();
    return printer_.isValid() && !printer_.printerName().isEmpty();
}

void TQtPrintDevice::NeedPrinter() const {
    if (!HasPrinter()) throw EPrinter("There is no default printer currently selected");
}

void TQtPrintDevice::NeedDocument() const {
    NeedPrinter();
    if (!painter_.isActive()) throw EPrinter("Printer is not currently printing");
}

// ---- the printer's settings ----

std::string TQtPrintDevice::Title() const { return printer_.docName().toStdString(); }

void TQtPrintDevice::SetTitle(const std::string& title) { printer_.setDocName(Q(title)); }

print::TPrinterOrientation TQtPrintDevice::Orientation() const {
    return printer_.pageLayout().orientation() == QPageLayout::Landscape
               ? print::TPrinterOrientation::poLandscape
               : print::TPrinterOrientation::poPortrait;
}

void TQtPrintDevice::SetOrientation(print::TPrinterOrientation orientation) {
    printer_.setPageOrientation(orientation == print::TPrinterOrientation::poLandscape
                                    ? QPageLayout::Landscape
                                    : QPageLayout::Portrait);
}

// ---- the document ----

int TQtPrintDevice::PageNumber() const {
    NeedPrinter();
    return page_;
}

void TQtPrintDevice::BeginDoc() {
    NeedPrinter();
    if (painter_.isActive()) throw EPrinter("Printing in progress");
    fileError_.clear();
    if (printer_.outputFormat() == QPrinter::PdfFormat) {
        QTemporaryFile temp(QDir::tempPath() + "/tallix-print-XXXXXX.pdf");
        temp.setAutoRemove(false);
        if (!temp.open()) {
            fileError_ = temp.errorString().toStdString();
            throw EPrinter(fileError_);
        }
        pdfTemp_ = temp.fileName();
        temp.close();
        pdfTarget_ = printer_.outputFileName();
        printer_.setOutputFileName(pdfTemp_);
    }
    if (!painter_.begin(&printer_)) {
        EndPdfFile(false);
        throw EPrinter("The printer refused the document");
    }
    page_ = 1;
    painter_.setFont(QtFont());
    painter_.setPen(QPen(Qt::black, 0));
}

void TQtPrintDevice::NewPage() {
    NeedDocument();
    if (!printer_.newPage()) throw EPrinter("The printer refused a new page");
    ++page_;
}

void TQtPrintDevice::EndDoc() {
    NeedDocument();
    const bool ended = painter_.end() && printer_.printerState() != QPrinter::Error;
    page_ = 0;
    fileError_ = EndPdfFile(ended);
    if (!fileError_.empty()) throw EPrinter(fileError_);
    if (!ended) throw EPrinter("The printer could not finish the document");
}

void TQtPrintDevice::Abort() {
    NeedDocument();
    // A printer that cannot take the document back still has to close it.
    printer_.abort();
    painter_.end();
    page_ = 0;
    EndPdfFile(false);
}

std::string TQtPrintDevice::EndPdfFile(bool keep) {
    if (pdfTemp_.isEmpty()) return {};
    std::string failure;
    if (keep) failure = CopyFinishedPdf(pdfTemp_, pdfTarget_);
    QFile::remove(pdfTemp_);
    printer_.setOutputFileName(pdfTarget_);
    pdfTemp_.clear();
    pdfTarget_.clear();
    return failure;
}

// ---- the page's geometry ----

int TQtPrintDevice::PageWidth() const {
    NeedPrinter();
    return Round(printer_.pageRect(QPrinter::DevicePixel).width());
}

int TQtPrintDevice::PageHeight() const {
    NeedPrinter();
    return Round(printer_.pageRect(QPrinter::DevicePixel).height());
}

int TQtPrintDevice::DeviceCaps(TDeviceCap cap) const {
    NeedPrinter();
    switch (cap) {
    case TDeviceCap::LogPixelsX: return printer_.logicalDpiX();
    case TDeviceCap::LogPixelsY: return printer_.logicalDpiY();
    case TDeviceCap::PhysicalWidth: return Round(printer_.paperRect(QPrinter::DevicePixel).width());
    case TDeviceCap::PhysicalHeight:
        return Round(printer_.paperRect(QPrinter::DevicePixel).height());
    // The painter's origin is the printable area's corner, this far into
    // the paper.
    case TDeviceCap::PhysicalOffsetX: return Round(printer_.pageRect(QPrinter::DevicePixel).left());
    case TDeviceCap::PhysicalOffsetY: return Round(printer_.pageRect(QPrinter::DevicePixel).top());
    }
    return 0;
}

// ---- drawing ----

QFont TQtPrintDevice::QtFont() const {
    QFont f(Q(font_.Name));
    // Where the family is missing, another fixed-pitch face keeps the
    // columns.
    f.setStyleHint(QFont::TypeWriter);
    f.setBold(font_.Style & print::fsBold);
    f.setItalic(font_.Style & print::fsItalic);
    f.setUnderline(font_.Style & print::fsUnderline);
    f.setStrikeOut(font_.Style & print::fsStrikeOut);
    const int ppi = font_.PixelsPerInch > 0 ? font_.PixelsPerInch : 96;
    f.setPixelSize(std::max(1, Round(font_.Size * static_cast<qreal>(ppi) / 72)));
    return f;
}

QFontMetrics TQtPrintDevice::Metrics() const {
    NeedPrinter();
    return QFontMetrics(QtFont(), &printer_);
}

void TQtPrintDevice::SetFont(const print::TPrintFont& font) {
    font_ = font;
    if (painter_.isActive()) painter_.setFont(QtFont());
}

void TQtPrintDevice::SetPenWidth(int width) {
    NeedDocument();
    QPen pen(Qt::black, std::max(0, width));
    pen.setCapStyle(Qt::FlatCap);
    painter_.setPen(pen);
}

void TQtPrintDevice::TextOut(int x, int y, std::string_view text) {
    NeedDocument();
    // The painter places text by its baseline; the line printer by its top.
    painter_.drawText(QPoint(x, y + Metrics().ascent()), Q(text));
}

int TQtPrintDevice::TextWidth(std::string_view text) const {
    return Metrics().horizontalAdvance(Q(text));
}

int TQtPrintDevice::TextHeight(std::string_view) const { return Metrics().height(); }

void TQtPrintDevice::DrawLine(int x0, int y0, int x1, int y1) {
    NeedDocument();
    painter_.drawLine(x0, y0, x1, y1);
}

print::TTextMetrics TQtPrintDevice::GetTextMetrics() const {
    const QFontMetrics m = Metrics();
    return {m.height(), std::max(0, m.leading())};
}

} // namespace tallix::gui
