#include "gui/printing/pdflisting.h"

#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPrinter>
#include <cstdio>
#include <exception>

#include "core/print/paper.h"
#include "core/print/stacklisting.h"
#include "gui/printing/stackprinter.h"

namespace tallix::gui {

namespace {

// Batch mode's standard error carries its own messages only: the toolkit's
// warnings (a missing runtime folder, font fallbacks) stay out of it.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

bool PrintListingToPdf(const std::string& path, const Calculator& calc, std::string& error) {
    const QtMessageHandler previous = qInstallMessageHandler(QuietMessages);
    std::unique_ptr<QGuiApplication> app;
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "tallix";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    bool printed = false;
    {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QFile::decodeName(path.c_str()));
        // A file has no unprintable strips: the listing's margins are all.
        printer->setPageLayout(QPageLayout(PageSizeOf(print::UserPaper()), QPageLayout::Portrait,
                                           QMarginsF(0, 0, 0, 0)));
        TStackPrinter stackPrinter(std::move(printer), calc.DecimalChar(), nullptr);
        try {
            stackPrinter.Print(
                calc.StackLevels(),
                [&calc](std::string_view text) { return calc.FormatForBase(text); },
                print::kBatchDisplayFont);
            printed = true;
        } catch (const std::exception& e) {
            // The file's own reason says more than the printer's message.
            error = stackPrinter.Device().FileError().empty() ? e.what()
                                                              : stackPrinter.Device().FileError();
        }
    }
    app.reset();
    qInstallMessageHandler(previous);
    return printed;
}

} // namespace tallix::gui
