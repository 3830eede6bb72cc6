#include "gui/widgets/tapewindow.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include "core/tape/tapefile.h"
#include "gui/widgets/tapemodel.h"

namespace tallix::gui {

TTapeWindow::TTapeWindow(tape::Tape& tape, QWidget* owner) : QWidget(owner, Qt::Tool), tape_(tape) {
    setObjectName("TapeWindow");
    setWindowTitle("Tallix - Tape");
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // A one-column table rather than a list view: a list lays every row
    // out again when one is added, a table with fixed row heights does not.
    list_ = new QTableView(this);
    list_->setObjectName("TapeList");
    list_->setAccessibleName("Tape");
    list_->setAccessibleDescription("Every entry, command and result, newest last");
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    list_->setShowGrid(false);
    list_->setWordWrap(false);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->horizontalHeader()->hide();
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->verticalHeader()->hide();
    QFont mono = list_->font();
    mono.setFamily("Monospace");
    mono.setStyleHint(QFont::TypeWriter);
    list_->setFont(mono);
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    FitRows();
    model_ = new TTapeModel(tape_, this);
    list_->setModel(model_);
    delegate_ = new TTapeDelegate(list_);
    list_->setItemDelegate(delegate_);
    layout->addWidget(list_);
    tape_.SetView(model_);
    // Scrolled to the newest line once the table has taken the new rows,
    // once for any number of lines in between.
    connect(model_, &TTapeModel::appended, this, [this] {
        if (scrollPending_) return;
        scrollPending_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                scrollPending_ = false;
                list_->scrollToBottom();
            },
            Qt::QueuedConnection);
    });
    connect(list_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        list_->setCurrentIndex(index);
        PushCurrent();
    });
    list_->installEventFilter(this);

    menu_ = new QMenu(this);
    menu_->setObjectName("TapeMenu");
    auto add = [this](const char* text, const char* name, auto slot, QKeySequence key = {}) {
        QAction* a = menu_->addAction(text);
        a->setObjectName(name);
        // Shown in the menu only: the list takes the key itself (see
        // eventFilter), before the calculator's own Copy would.
        if (!key.isEmpty()) a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetShortcut);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    add(
        "&Copy", "TapeCopy", [this] { CopySelection(); }, QKeySequence::Copy);
    add("&Push value", "TapePush", [this] { PushCurrent(); });
    menu_->addSeparator();
    add("Save Tape &As...", "TapeSaveAs", [this] { SaveTapeAs(); });
    add("Save as &Script...", "TapeSaveScript", [this] { SaveScript(); });
    add("P&rint Tape...", "TapePrint", [this] { Q_EMIT printRequested(); });
    menu_->addSeparator();
    add("C&lear Tape", "TapeClear", [this] { Q_EMIT clearRequested(); });
    connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const bool any = tape_.Size() > 0;
        const QModelIndex current = list_->currentIndex();
        for (QAction* a : menu_->actions()) {
            const QString name = a->objectName();
            if (name == "TapePush")
                a->setEnabled(current.isValid() &&
                              !current.data(TTapeModel::ValueRole).toString().isEmpty());
            else if (name == "TapeCopy")
                a->setEnabled(current.isValid() ||
                              !list_->selectionModel()->selectedRows().isEmpty());
            else if (!a->isSeparator())
                a->setEnabled(any || name == "TapeSaveScript");
        }
        menu_->popup(list_->viewport()->mapToGlobal(at));
    });
    list_->scrollToBottom();
}

TTapeWindow::~TTapeWindow() { tape_.SetView(nullptr); }

std::vector<std::size_t> TTapeWindow::SelectedRows() const {
    std::vector<std::size_t> rows;
    for (const QModelIndex& i : list_->selectionModel()->selectedRows())
        rows.push_back(static_cast<std::size_t>(i.row()));
    std::sort(rows.begin(), rows.end());
    if (rows.empty() && list_->currentIndex().isValid())
        rows.push_back(static_cast<std::size_t>(list_->currentIndex().row()));
    return rows;
}

QString TTapeWindow::SelectedText() const {
    return QString::fromStdString(tape_.TextOf(SelectedRows()));
}

void TTapeWindow::CopySelection() {
    const QString text = SelectedText();
    if (text.isEmpty()) return;
    QApplication::clipboard()->setText(text);
}

void TTapeWindow::PushCurrent() {
    const QModelIndex current = list_->currentIndex();
    if (!current.isValid()) return;
    const QString value = current.data(TTapeModel::ValueRole).toString();
    if (!value.isEmpty()) Q_EMIT pushRequested(value);
}

bool TTapeWindow::AskPath(const QString& title, const QString& filter, const QString& suffix,
                          QString& path) {
    QFileDialog dialog(this, title);
    dialog.setObjectName("TapeFileDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    path = dialog.selectedFiles().first();
    return true;
}

bool TTapeWindow::WriteFile(const QString& path, const std::string& bytes) {
    const persist::FileStatus st = tape::SaveTapeFile(QFile::encodeName(path).toStdString(), bytes);
    if (!st) {
        QMessageBox box(
            QMessageBox::Warning, "Tallix",
            QString("Cannot write \"%1\":\n%2").arg(path, QString::fromStdString(st.reason)),
            QMessageBox::Ok, this);
        box.setObjectName("TapeFileWarning");
        box.exec();
    }
    return st.ok;
}

void TTapeWindow::SaveTapeAs() {
    QString path;
    if (AskPath("Save Tape As", "Text files (*.txt);;All files (*)", "txt", path))
        WriteFile(path, tape_.Text());
}

void TTapeWindow::SaveScript() {
    QString path;
    if (AskPath("Save as Script", "Tallix scripts (*.rpn *.txt);;All files (*)", "rpn", path))
        WriteFile(path, tape_.Script());
}

void TTapeWindow::PlaceBeside(const QRect& owner, const QRect& screen, const QMargins& frame) {
    const QSize outer = size().grownBy(frame);
    int x = owner.right() + 1;
    if (x + outer.width() > screen.right() + 1) x = owner.left() - outer.width();
    // The whole frame on the screen, its title bar above all: a window that
    // cannot be taken by its title cannot be moved.
    x = std::clamp(x, screen.left(), std::max(screen.left(), screen.right() + 1 - outer.width()));
    const int y = std::clamp(owner.top(), screen.top(),
                             std::max(screen.top(), screen.bottom() + 1 - outer.height()));
    // By the inner area where the frame is known: a position given with
    // the frame is taken for the inner area once the window has been shown
    // and hidden again. Before any window had a frame, the window manager
    // places the frame where it is asked to.
    if (frame.isNull())
        move(x, y);
    else
        setGeometry(QRect(QPoint(x + frame.left(), y + frame.top()), size()));
}

void TTapeWindow::SetErrorColour(const QColor& colour) {
    delegate_->SetErrorColour(colour);
    list_->viewport()->update();
}

void TTapeWindow::FitRows() {
    list_->verticalHeader()->setDefaultSectionSize(QFontMetrics(list_->font()).height() + 2);
}

void TTapeWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    Q_EMIT closed();
}

void TTapeWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Q_EMIT resized();
}

bool TTapeWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != list_) return QWidget::eventFilter(watched, event);
    // The zoom's font: rows as tall as its lines.
    if (event->type() == QEvent::FontChange) FitRows();
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool copy = key->matches(QKeySequence::Copy);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (event->type() == QEvent::ShortcutOverride) {
            // The tape's keys, not the calculator window's shortcuts.
            if (copy || enter) key->accept();
            return false;
        }
        if (copy) {
            CopySelection();
            return true;
        }
        if (enter) {
            PushCurrent();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tallix::gui
