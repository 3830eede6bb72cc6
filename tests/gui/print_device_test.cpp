// The printer on Qt's QPrinter: its measures at the printer's resolution,
// documents that end, fail or are abandoned, the stack listing printed to a
// PDF through it and read back as text, and batch mode's --print into a PDF.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include "core/print/lineprinter.h"
#include "core/print/localetime.h"
#include "gui/printing/qtprintdevice.h"
#include "gui/printing/stackprinter.h"
#include "pdf_text.h"

namespace tallix::gui::test {
namespace {

using print::TDeviceCap;

const print::TPrintFont kDisplayFont{"Courier New", 9, 0, 96};

std::string Identity(std::string_view s) { return std::string(s); }

// A PDF printer on letter paper without unprintable strips.
std::unique_ptr<QPrinter> PdfPrinter(const QString& path,
                                     QPrinter::PrinterMode mode = QPrinter::HighResolution) {
    auto printer = std::make_unique<QPrinter>(mode);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageLayout(
        QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    return printer;
}

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A temporary folder of the test's own, for this process and the programs
// it starts: other tests running at the same time print PDFs too, and
// their temporary files must not count as this test's leftovers.
class PrivateTempDir {
public:
    PrivateTempDir() : old_(qgetenv("TMPDIR")), had_(qEnvironmentVariableIsSet("TMPDIR")) {
        EXPECT_TRUE(dir_.isValid());
        qputenv("TMPDIR", dir_.path().toLocal8Bit());
    }
    ~PrivateTempDir() {
        if (had_)
            qputenv("TMPDIR", old_);
        else
            qunsetenv("TMPDIR");
    }

private:
    QTemporaryDir dir_;
    QByteArray old_;
    bool had_;
};

// The temporary files the printer writes PDFs to first.
QStringList LeftoverTemporaries() {
    return QDir(QDir::tempPath()).entryList({"tallix-print-*"}, QDir::Files);
}

class QtPrinter : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return dir_.path() + "/" + name; }
    QTemporaryDir dir_;
};

TEST_F(QtPrinter, MeasuresAtThePrintersOwnResolution) {
    struct Case {
        const char* name;
        int resolution; // 0: the mode's own
        int dpi;
    };
    const Case cases[] = {
        {"high resolution: 1200 dpi for a PDF", 0, 1200},
        {"set to 300 dpi", 300, 300},
        {"set to 600 dpi", 600, 600},
    };
    for (const Case& c : cases) {
        auto printer = PdfPrinter(Path("m.pdf"));
        if (c.resolution) printer->setResolution(c.resolution);
        TQtPrintDevice dev(*printer);
        ASSERT_TRUE(dev.HasPrinter()) << c.name;
        EXPECT_EQ(dev.DeviceCaps(TDeviceCap::LogPixelsX), c.dpi) << c.name;
        EXPECT_EQ(dev.DeviceCaps(TDeviceCap::LogPixelsY), c.dpi) << c.name;
        // Letter paper, wholly printable.
        EXPECT_EQ(dev.DeviceCaps(TDeviceCap::PhysicalWidth), c.dpi * 17 / 2) << c.name;
        EXPECT_EQ(dev.DeviceCaps(TDeviceCap::PhysicalHeight), c.dpi * 11) << c.name;
        EXPECT_EQ(dev.PageWidth(), c.dpi * 17 / 2) << c.name;
        EXPECT_EQ(dev.DeviceCaps(TDeviceCap::PhysicalOffsetX), 0) << c.name;

        print::TLinePrinter lp(dev);
        EXPECT_FLOAT_EQ(lp.PaperWidth(), 8.5f) << c.name;
        EXPECT_EQ(lp.ToPixelsX(1), c.dpi) << c.name;
        // A point size is the same physical size at every resolution: an
        // 11-point em is 11/72 inch, a monospaced character 0.6 of it.
        lp.SetFont({"Courier New", 11, 0, 96});
        const double inches = dev.TextWidth("0123456789") / static_cast<double>(c.dpi);
        EXPECT_NEAR(inches, 10 * 0.6 * 11 / 72, 0.02) << c.name;
        EXPECT_EQ(dev.QtFont().pixelSize(), std::lround(11.0 * c.dpi / 72)) << c.name;
    }
}

TEST_F(QtPrinter, PrintableStripsMoveTheOrigin) {
    auto printer = PdfPrinter(Path("m.pdf"));
    // Quarter-inch strips at the left and top (18 points).
    printer->setPageMargins(QMarginsF(18, 18, 36, 36), QPageLayout::Point);
    TQtPrintDevice dev(*printer);
    EXPECT_EQ(dev.DeviceCaps(TDeviceCap::PhysicalOffsetX), 300);
    EXPECT_EQ(dev.DeviceCaps(TDeviceCap::PhysicalOffsetY), 300);
    EXPECT_EQ(dev.PageWidth(), 10200 - 300 - 600);
    print::TLinePrinter lp(dev);
    EXPECT_FLOAT_EQ(lp.OffsetLeft(), 0.25f);
    EXPECT_FLOAT_EQ(lp.OffsetRight(), 0.5f);
}

TEST_F(QtPrinter, WithoutAPrinterTheFallbacksApply) {
    // A PDF printer with no file to write to is no printer at all.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName("");
    TQtPrintDevice dev(printer);
    EXPECT_FALSE(dev.HasPrinter());
    EXPECT_THROW(dev.DeviceCaps(TDeviceCap::LogPixelsX), print::EPrinter);
    EXPECT_THROW(dev.TextWidth("x"), print::EPrinter);
    print::TLinePrinter lp(dev);
    EXPECT_FLOAT_EQ(lp.PaperWidth(), 8.5f);
    EXPECT_FLOAT_EQ(lp.PaperHeight(), 11.0f);
    EXPECT_FLOAT_EQ(lp.OffsetLeft(), 0.25f);
    EXPECT_EQ(lp.ToPixelsX(1), 300);
    EXPECT_EQ(lp.LineHeight(), 10u);
    std::string error;
    try {
        lp.BeginDoc();
    } catch (const print::ELinePrinter& e) {
        error = e.what();
    }
    EXPECT_EQ(error, "Unable to begin printing.");
    EXPECT_FALSE(lp.Printing());
    // The title is the printer object's own setting all the same.
    lp.SetTitle("Tallix - Stack Print");
    EXPECT_EQ(printer.docName(), "Tallix - Stack Print");
}

TEST_F(QtPrinter, TheFileIsReplacedOnlyByAFinishedDocument) {
    const QString path = Path("listing.pdf");
    WriteBytes(path, "old");
    const PrivateTempDir temp;
    const QStringList before = LeftoverTemporaries();
    auto printer = PdfPrinter(path);
    TQtPrintDevice dev(*printer);

    // Abandoned: the old file stays, nothing is left behind.
    dev.BeginDoc();
    EXPECT_TRUE(dev.Printing());
    EXPECT_THROW(dev.BeginDoc(), print::EPrinter); // one document at a time
    dev.TextOut(100, 100, "abandoned");
    dev.Abort();
    EXPECT_FALSE(dev.Printing());
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(printer->outputFileName(), path);

    // Finished: a whole PDF replaces it.
    dev.BeginDoc();
    EXPECT_EQ(dev.PageNumber(), 1);
    dev.NewPage();
    EXPECT_EQ(dev.PageNumber(), 2);
    dev.EndDoc();
    const QByteArray pdf = ReadBytes(path);
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
    EXPECT_EQ(LeftoverTemporaries(), before);
    // Drawing needs a document.
    EXPECT_THROW(dev.TextOut(0, 0, "x"), print::EPrinter);
    EXPECT_THROW(dev.DrawLine(0, 0, 1, 1), print::EPrinter);
}

TEST_F(QtPrinter, AFileThatCannotBeWrittenFailsTheEnd) {
    const QString path = Path("missing/listing.pdf");
    TStackPrinter printer(PdfPrinter(path), '.', nullptr);
    std::string error;
    try {
        printer.Print({"1"}, Identity, kDisplayFont);
    } catch (const print::ELinePrinter& e) {
        error = e.what();
    }
    EXPECT_EQ(error, "Unable to finish printing.");
    EXPECT_FALSE(printer.Device().FileError().empty());
    EXPECT_FALSE(QFile::exists(path));
    // Nothing stays open: the next listing can begin.
    EXPECT_FALSE(printer.LinePrinter().Printing());
    printer.Printer().setOutputFileName(Path("listing.pdf"));
    EXPECT_NO_THROW(printer.Print({"1"}, Identity, kDisplayFont));
    EXPECT_TRUE(QFile::exists(Path("listing.pdf")));
}

class PdfListing : public QtPrinter {
protected:
    void SetUp() override {
        if (!HavePdfTools()) GTEST_SKIP() << "pdftotext and pdfinfo (poppler-utils) are missing";
    }
    // Prints through the real device and reads the PDF back.
    std::optional<PdfDocument> Print(const std::vector<std::string>& levelsTopFirst) {
        const QString path = Path("listing.pdf");
        TStackPrinter printer(PdfPrinter(path), '.', nullptr);
        printer.Print(levelsTopFirst, Identity, kDisplayFont);
        return ReadPdf(path);
    }
};

TEST_F(PdfListing, ThreeEntries) {
    const std::optional<PdfDocument> doc = Print({"1.5", "-2", "30"});
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->pages, 1);
    ASSERT_EQ(doc->texts.size(), 1u);
    EXPECT_EQ(doc->title, "Tallix - Stack Print");
    EXPECT_TRUE(doc->pageSize.contains("612 x 792")) << doc->pageSize.toStdString();
    // Deepest level first, each label with its value.
    EXPECT_EQ(doc->Rows(0),
              (std::vector<std::pair<int, QString>>{{3, "30"}, {2, "-2"}, {1, "1.5"}}));
    // Title and page number above the rows, date and time below them.
    const QStringList lines = doc->Lines(0);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[0].startsWith("Tallix - Stack Print")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith("Page 1")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith("3:"));
    EXPECT_TRUE(lines[3].startsWith("1:"));
    const QString today = QString::fromStdString(print::TLocaleDateTimeTexts().ShortDate());
    EXPECT_TRUE(lines[4].startsWith(today)) << lines[4].toStdString();
}

TEST_F(PdfListing, TwoHundredEntriesOnSeveralPages) {
    std::vector<std::string> stack;
    for (int level = 1; level <= 200; ++level) stack.push_back(std::to_string(level * 7));
    const std::optional<PdfDocument> doc = Print(stack);
    ASSERT_TRUE(doc);
    ASSERT_GE(doc->pages, 2);
    ASSERT_EQ(doc->texts.size(), static_cast<std::size_t>(doc->pages));
    int level = 200;
    std::size_t fullPageRows = 0;
    for (std::size_t page = 0; page < doc->texts.size(); ++page) {
        const QStringList lines = doc->Lines(page);
        ASSERT_FALSE(lines.isEmpty());
        // Every page has its header with its own number, and its footer.
        EXPECT_TRUE(lines.first().startsWith("Tallix - Stack Print"));
        EXPECT_TRUE(lines.first().endsWith(QString("Page %1").arg(page + 1)))
            << lines.first().toStdString();
        EXPECT_TRUE(lines.last().startsWith(
            QString::fromStdString(print::TLocaleDateTimeTexts().ShortDate())));
        const auto rows = doc->Rows(page);
        ASSERT_FALSE(rows.empty()) << page;
        for (const auto& [label, value] : rows) {
            EXPECT_EQ(label, level) << "page " << page + 1;
            EXPECT_EQ(value, QString::number(label * 7)) << "level " << label;
            --level;
        }
        // Full pages after the first hold the same number of rows; the
        // first has one row fewer for the empty line at the top.
        if (page == 1) fullPageRows = rows.size();
        if (page == 0 && doc->pages > 2) {
            EXPECT_EQ(rows.size() + 1, doc->Rows(1).size());
        }
        if (page > 1 && page + 1 < doc->texts.size()) {
            EXPECT_EQ(rows.size(), fullPageRows);
        }
    }
    EXPECT_EQ(level, 0) << "every level printed once";
}

// ---- batch mode --------------------------------------------------------

struct ProcessRun {
    int status = -1;
    QString out, err;
};

// Runs the program with no display and the C locale; `epoch` fixes the
// listing's moment when set.
ProcessRun RunTallix(const QString& program, const QStringList& args, const QString& dir,
                     const QString& epoch = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* v :
         {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANG", "LC_PAPER", "SOURCE_DATE_EPOCH"})
        env.remove(v);
    env.insert("LC_ALL", "C");
    if (!epoch.isEmpty()) env.insert("SOURCE_DATE_EPOCH", epoch);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir);
    p.start(program, args);
    ProcessRun r;
    if (!p.waitForFinished(60000)) return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

TEST_F(PdfListing, BatchModePrintsAPdfWithoutADisplay) {
    const ProcessRun r =
        RunTallix(TALLIX_EXE, {"-e", "1 2 3 HEX", "--print", "out.PDF"}, dir_.path());
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "1\n2\n3\n");
    const std::optional<PdfDocument> doc = ReadPdf(Path("out.PDF"));
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->pages, 1);
    EXPECT_EQ(doc->title, "Tallix - Stack Print");
    EXPECT_TRUE(doc->pageSize.contains("(letter)")) << doc->pageSize.toStdString();
    EXPECT_EQ(doc->Rows(0), (std::vector<std::pair<int, QString>>{{3, "1"}, {2, "2"}, {1, "3"}}));
}

// The PDF and the text listing carry the same date and time, in the same
// format, and SOURCE_DATE_EPOCH fixes both.
TEST_F(PdfListing, SameDateAndTimeAsTheTextListing) {
    for (const char* epoch : {"0", "1000000000"}) {
        ProcessRun r = RunTallix(TALLIX_EXE, {"-e", "1", "--print", "out.pdf"}, dir_.path(), epoch);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        r = RunTallix(TALLIX_EXE, {"-e", "1", "--print", "out.txt"}, dir_.path(), epoch);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        const QStringList text = QString::fromUtf8(ReadBytes(Path("out.txt"))).split("\r\n");
        ASSERT_GE(text.size(), 2);
        const QStringList footer = text[1].split(' ', Qt::SkipEmptyParts);
        ASSERT_EQ(footer.size(), 2) << text[1].toStdString();
        const std::optional<PdfDocument> doc = ReadPdf(Path("out.pdf"));
        ASSERT_TRUE(doc);
        EXPECT_EQ(doc->Lines(0).last().split(' ', Qt::SkipEmptyParts), footer) << epoch;
    }
    // In the C locale, the moment itself.
    const QStringList text = QString::fromUtf8(ReadBytes(Path("out.txt"))).split("\r\n");
    EXPECT_EQ(text[1].split(' ', Qt::SkipEmptyParts), (QStringList{"09/09/01", "01:46:40"}));
}

// The file itself carries the listing's moment, not a clock of the PDF
// writer's own: a fixed moment gives the same file byte for byte.
TEST_F(PdfListing, AFixedMomentGivesTheSameFile) {
    for (const char* name : {"a.pdf", "b.pdf"}) {
        const ProcessRun r =
            RunTallix(TALLIX_EXE, {"-e", "1 2", "--print", name}, dir_.path(), "1000000000");
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
    }
    const QByteArray a = ReadBytes(Path("a.pdf"));
    EXPECT_TRUE(a.contains("/CreationDate (D:20010909014640Z)"));
    EXPECT_EQ(a, ReadBytes(Path("b.pdf")));
    ASSERT_TRUE(ReadPdf(Path("a.pdf")));
}

TEST_F(PdfListing, BatchModeFailuresKeepTheOldFile) {
    WriteBytes(Path("old.pdf"), "old");
    const PrivateTempDir temp;
    const QStringList before = LeftoverTemporaries();
    // A folder that does not exist.
    ProcessRun r = RunTallix(TALLIX_EXE, {"-e", "1", "--print", "none/x.pdf"}, dir_.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tallix: cannot print to none/x.pdf: No such file or directory\n");
    // The writing stops part-way at the process's file size limit of 8 KB.
    QString tokens;
    for (int i = 1; i <= 200; ++i) tokens += QString::number(i) + " ";
    r = RunTallix("/bin/sh",
                  {"-c", "trap '' XFSZ; ulimit -f 8; exec \"$0\" -e \"$1\" --print old.pdf",
                   TALLIX_EXE, tokens},
                  dir_.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "tallix: cannot print to old.pdf: The PDF document was not written completely\n");
    EXPECT_EQ(ReadBytes(Path("old.pdf")), "old");
    EXPECT_EQ(LeftoverTemporaries(), before);
}

} // namespace
} // namespace tallix::gui::test
