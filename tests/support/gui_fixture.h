// Drives the real calculator window on Qt's offscreen platform.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "gui/app/app.h"
#include "gui/mainform/mainform.h"
#include "gui/widgets/dblclicklabel.h"
#include "gui/widgets/errdlg.h"
#include "test_calc.h"

namespace tallix::gui::test {

// What a modal dialog showed before the closer dismissed it.
struct SeenDialog {
    QString title;
    QString text;
    QRect frame;
    QString objectName;
    int fontPixels = 0;
};

// Dismisses every modal dialog shortly after it opens and records it.
class ModalCloser : public QObject {
public:
    ModalCloser() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }
    const std::vector<SeenDialog>& Seen() const { return seen_; }
    void Clear() { seen_.clear(); }

private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        // File and print dialogs are answered by the test that opens them.
        if (modal->inherits("QFileDialog") || modal->inherits("QPrintDialog")) return;
        SeenDialog d{modal->windowTitle(),
                     {},
                     modal->frameGeometry(),
                     modal->objectName(),
                     modal->font().pixelSize()};
        if (auto* box = qobject_cast<QMessageBox*>(modal)) d.text = box->text();
        if (auto* err = qobject_cast<TErrDlg*>(modal)) d.text = err->ErrL->text();
        seen_.push_back(d);
        if (auto* dlg = qobject_cast<QDialog*>(modal)) dlg->done(QDialog::Accepted);
    }
    QTimer timer_;
    std::vector<SeenDialog> seen_;
};

// Where a control's caption puts ink: the box of the pixels that stand out
// from the control's own background.
inline QRect InkBox(QWidget* w) {
    const QImage image = w->grab().toImage();
    const int background = qGray(image.pixel(1, 1));
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (std::abs(qGray(image.pixel(x, y)) - background) > 80)
                box = box.united(QRect(x, y, 1, 1));
    return box;
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { Open('.'); }

    void Open(char decimalChar) {
        form_.reset();
        form_ = CreateMainWindow(decimalChar);
        form_->SetButtonTime(1);
        form_->move(40, 40);
        form_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
        form_->activateWindow();
    }

    TMainForm& Form() { return *form_; }
    tallix::Calculator& Calc() { return form_->Calc(); }
    QWidget* Target() { return form_->Line0(); }

    // Keys as a user presses them: one after the other, each key's flash
    // over before the next.
    void Type(const QString& text) {
        for (QChar c : text) {
            if (c == '\r')
                QTest::keyClick(Target(), Qt::Key_Return);
            else if (c == '\b')
                QTest::keyClick(Target(), Qt::Key_Backspace);
            else
                QTest::keyClick(Target(), c.toLatin1());
            EndFlash();
        }
    }
    void Press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(Target(), key, mods);
        EndFlash();
    }
    void Click(tallix::Key key) {
        QTest::mouseClick(Form().KeyButton(key), Qt::LeftButton);
        EndFlash();
    }
    void EndFlash() {
        auto* timer = form_->findChild<QTimer*>("KeyTimer");
        QTRY_VERIFY_WITH_TIMEOUT(!timer->isActive(), 5000);
    }

    std::vector<std::string> StackTexts() {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < Calc().Depth(); ++i) out.push_back(Calc().Stack().at(i));
        return out;
    }
    void Push(const std::vector<std::string>& deepestFirst) {
        for (const std::string& s : deepestFirst)
            tallix::testing::Arrange(Calc(),
                                     [&](tallix::Calculator::Change& ch) { ch.PushText(s); });
        tallix::testing::Arrange(Calc(), [&](tallix::Calculator::Change& ch) { ch.ResetEntry(); });
        Form().RefreshView();
    }
    bool ShiftShown() { return Form().KeyButton(tallix::Key::KShift)->isChecked(); }

    ModalCloser closer_;
    std::unique_ptr<TMainForm> form_;
};

} // namespace tallix::gui::test
