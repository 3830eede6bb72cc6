// The small window that shows how far a document has come: its status, its
// title and the page being printed. It stays on top, cannot be resized and
// offers no way to cancel.
#pragma once

#include <QDialog>

#include "core/print/printdevice.h"

class QFrame;
class QLabel;

namespace tallix::gui {

class TQtPrntProgDlg : public QDialog, public print::TPrntProgDlg {
    Q_OBJECT
public:
    explicit TQtPrntProgDlg(int dpi);

    bool Visible() const override { return isVisible(); }
    // Shows the window, not modal, centred on the screen.
    void Show() override;
    void Close() override { close(); }
    void SetStatus(const std::string& status) override;
    void SetTitle(const std::string& title) override;
    void SetPageNumber(const std::string& pageNumber) override;
    // Paints the new texts at once; the printing goes on afterwards.
    void Repaint() override;

    QFrame* Bevel = nullptr;
    QLabel* lblStatus = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblPageNumDesc = nullptr;
    QLabel* lblPageNumber = nullptr;
};

// Makes one progress window per document, at the window's resolution.
class TQtProgressDialogFactory : public print::TProgressDialogFactory {
public:
    explicit TQtProgressDialogFactory(int dpi) : dpi_(dpi) {}
    std::unique_ptr<print::TPrntProgDlg> CreateProgressDialog() override;

private:
    int dpi_;
};

} // namespace tallix::gui
