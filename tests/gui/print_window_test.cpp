// The window's Print command: the menu item, the print dialog, the listing
// on the printer the dialog leaves, the progress window and the error box.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <functional>

#include "core/print/lineprinter.h"
#include "gui/printing/errorbox.h"
#include "gui/printing/progressdialog.h"
#include "gui/printing/stackprinter.h"
#include "gui_fixture.h"
#include "pdf_text.h"

namespace tallix::gui::test {
namespace {

// Answers the next print dialog: accepts it (after `beforeAccept`, which
// may change the dialog's printer) or cancels it.
class PrintDialogAnswer : public QObject {
public:
    explicit PrintDialogAnswer(bool accept, std::function<void(QPrintDialog*)> beforeAccept = {})
        : accept_(accept), beforeAccept_(std::move(beforeAccept)) {
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* d = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            if (!d || !d->isVisible()) return;
            timer_.stop();
            shown = true;
            objectName = d->objectName();
            if (!accept_) {
                d->reject();
                return;
            }
            if (beforeAccept_)
                QObject::connect(d, qOverload<QPrinter*>(&QPrintDialog::accepted),
                                 [this, d](QPrinter*) { beforeAccept_(d); });
            QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);
        });
        timer_.start();
    }
    bool shown = false;
    QString objectName;

private:
    bool accept_;
    std::function<void(QPrintDialog*)> beforeAccept_;
    QTimer timer_;
};

// What the progress window showed at a page start.
struct ProgressSeen {
    QString caption, status, title, page;
};

class PrintCommand : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        // The dialog offers printing to this file.
        Form().StackPrinter().Printer().setOutputFileName(Path());
    }
    QString Path() const { return dir_.path() + "/listing.pdf"; }
    QStringList ErrorBoxes() const {
        QStringList out;
        for (const SeenDialog& d : closer_.Seen())
            if (d.objectName == "DefaultErrorBox") out << d.title + "|" + d.text;
        return out;
    }
    // Ctrl+P, the print dialog answered with OK: the PDF printed, read back.
    std::optional<PdfDocument> PrintWithCtrlP() {
        {
            PrintDialogAnswer answer(true);
            Press(Qt::Key_P, Qt::ControlModifier);
            EXPECT_TRUE(answer.shown);
        }
        EXPECT_TRUE(ErrorBoxes().isEmpty()) << ErrorBoxes().join(";").toStdString();
        return ReadPdf(Path());
    }
    static std::vector<QWidget*> ProgressWindows() {
        std::vector<QWidget*> out;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<TQtPrntProgDlg*>(w)) out.push_back(w);
        return out;
    }
    QTemporaryDir dir_;
};

TEST_F(PrintCommand, TheFileMenuItem) {
    QAction* print = Form().Action("Print1");
    ASSERT_TRUE(print);
    EXPECT_EQ(print->text(), "&Print...");
    EXPECT_EQ(print->shortcut(), QKeySequence("Ctrl+P"));
    // After Save; then the tray item between its separators, then Keys.
    const QList<QAction*> items = Form().findChild<QMenu*>("File1")->actions();
    QStringList names;
    for (QAction* a : items) names << (a->isSeparator() ? "-" : a->objectName());
    EXPECT_EQ(names, (QStringList{"Open1", "Save1", "Print1", "-", "TrayIcon1", "-", "Keys1",
                                  "About1", "-", "Exit1"}));
}

TEST_F(PrintCommand, CancellingPrintsNothingButEntersTheNumber) {
    Push({"1"});
    Type("5");
    PrintDialogAnswer answer(false);
    Press(Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(answer.shown);
    EXPECT_EQ(answer.objectName, "PrintDialog1");
    EXPECT_FALSE(QFile::exists(Path()));
    EXPECT_EQ(StackTexts(), (std::vector<std::string>{"5", "1"}));
    EXPECT_EQ(Calc().Entry(), "");
    EXPECT_TRUE(ErrorBoxes().isEmpty());
}

TEST_F(PrintCommand, AnInvalidEntryShowsItsErrorAndNoDialog) {
    tallix::testing::SetEntry(Calc(), "-");
    Form().RefreshView();
    PrintDialogAnswer answer(true);
    Press(Qt::Key_P, Qt::ControlModifier);
    EXPECT_FALSE(answer.shown);
    EXPECT_FALSE(QFile::exists(Path()));
    ASSERT_EQ(closer_.Seen().size(), 1u);
    EXPECT_EQ(closer_.Seen().back().text, "Entry Error: \nInvalid Syntax");
}

TEST_F(PrintCommand, PrintsTheDisplayedValuesWithProgress) {
    if (!HavePdfTools()) GTEST_SKIP() << "pdftotext and pdfinfo (poppler-utils) are missing";
    Push({"255", "10"});
    Form().MenuCommand(Cmd::Hex);
    Type("1F");
    std::vector<ProgressSeen> progress;
    Form().StackPrinter().LinePrinter().OnNewPage = [&](print::TLinePrinter&) {
        for (QWidget* w : ProgressWindows()) {
            auto* d = static_cast<TQtPrntProgDlg*>(w);
            if (d->isVisible())
                progress.push_back({d->windowTitle(), d->lblStatus->text(), d->lblTitle->text(),
                                    d->lblPageNumber->text()});
        }
    };
    const std::optional<PdfDocument> doc = PrintWithCtrlP();
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->pages, 1);
    EXPECT_EQ(doc->title, "Tallix - Stack Print");
    // The typed number was entered first; values as the display shows them.
    EXPECT_EQ(doc->Rows(0), (std::vector<std::pair<int, QString>>{{3, "FF"}, {2, "A"}, {1, "1F"}}));
    ASSERT_EQ(progress.size(), 1u);
    EXPECT_EQ(progress[0].caption, "Print Progress");
    EXPECT_EQ(progress[0].status, "Currently Printing");
    EXPECT_EQ(progress[0].title, "Tallix - Stack Print");
    EXPECT_EQ(progress[0].page, "1");
    EXPECT_TRUE(ProgressWindows().empty()) << "the progress window is gone";
    EXPECT_EQ(StackTexts(), (std::vector<std::string>{"31", "10", "255"}));
}

// Texts holding the line printer's bar or macros print as the display
// shows them.
TEST_F(PrintCommand, PrintsStackTextsLiterally) {
    if (!HavePdfTools()) GTEST_SKIP() << "pdftotext and pdfinfo (poppler-utils) are missing";
    Push({"{$TITLE}", "{$PAGE}", "a|b"});
    const std::optional<PdfDocument> doc = PrintWithCtrlP();
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->Rows(0),
              (std::vector<std::pair<int, QString>>{{3, "{$TITLE}"}, {2, "{$PAGE}"}, {1, "a|b"}}));
}

TEST_F(PrintCommand, AFailedPrintShowsTheErrorBoxAndLeavesNothingOpen) {
    // The dialog checks the file it is given; the folder goes away after.
    const QString lost = dir_.path() + "/gone/listing.pdf";
    Push({"1"});
    {
        PrintDialogAnswer answer(true,
                                 [&](QPrintDialog* d) { d->printer()->setOutputFileName(lost); });
        Form().Print1Click();
    }
    EXPECT_EQ(ErrorBoxes(), QStringList{"Tallix|Unable to finish printing."});
    EXPECT_FALSE(QFile::exists(lost));
    EXPECT_FALSE(Form().StackPrinter().LinePrinter().Printing());
    EXPECT_TRUE(ProgressWindows().empty());
    // The next print begins as usual.
    Form().StackPrinter().Printer().setOutputFileName(Path());
    {
        PrintDialogAnswer answer(true);
        Form().Print1Click();
    }
    EXPECT_EQ(ErrorBoxes().size(), 1);
    EXPECT_TRUE(QFile::exists(Path()));
    EXPECT_EQ(StackTexts(), (std::vector<std::string>{"1"}));
}

TEST(DefaultErrorBox, AFullStopAfterTextsEndingAboveIt) {
    struct Case {
        const char* message;
        const char* shown;
    };
    const Case cases[] = {
        {"Integer overflow", "Integer overflow."},
        {"Range check error", "Range check error."},
        {"Unable to begin printing.", "Unable to begin printing."},
        {"Disk full!", "Disk full!"}, // "!" sorts before "."
        {"(none)", "(none)"},
        {"a/b/", "a/b/."}, // "/" sorts right after "."
        {"at 5", "at 5."},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(DefaultErrorText(c.message), c.shown) << c.message;
}

TEST_F(PrintCommand, TheDefaultErrorBoxCaptionAndFullStop) {
    ShowDefaultErrorBox(&Form(), "Integer overflow");
    ASSERT_EQ(closer_.Seen().size(), 1u);
    EXPECT_EQ(closer_.Seen()[0].title, "Tallix");
    EXPECT_EQ(closer_.Seen()[0].text, "Integer overflow.");
    EXPECT_EQ(closer_.Seen()[0].objectName, "DefaultErrorBox");
}

TEST(PrintProgressWindow, SmallFixedAndNotModal) {
    TQtPrntProgDlg dialog(96);
    EXPECT_EQ(dialog.windowTitle(), "Print Progress");
    EXPECT_EQ(dialog.size(), QSize(284, 85));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_EQ(dialog.lblPageNumDesc->text(), "Page Number:");
    dialog.Show();
    EXPECT_TRUE(dialog.Visible());
    EXPECT_FALSE(dialog.isModal());
    dialog.SetStatus("Currently Printing");
    dialog.SetPageNumber("12");
    dialog.Repaint();
    EXPECT_EQ(dialog.lblStatus->text(), "Currently Printing");
    EXPECT_EQ(dialog.lblPageNumber->text(), "12");
    dialog.Close();
    EXPECT_FALSE(dialog.Visible());
}

} // namespace
} // namespace tallix::gui::test
