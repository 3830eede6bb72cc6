// The tape's lines as a list model: the view of the core's tape, updated
// line by line as the tape tells of its changes.
#pragma once

#include <QAbstractListModel>
#include <QStyledItemDelegate>

#include "core/tape/tape.h"

namespace tallix::gui {

class TTapeModel : public QAbstractListModel, public tape::TapeView {
    Q_OBJECT
public:
    enum Role {
        CaptionRole = Qt::UserRole + 1, // the text at the left
        ShownRole,                      // the value at the right
        ValueRole,                      // the exact stack text a push gives back
        UndoneRole,
        ErrorRole,
    };
    explicit TTapeModel(const tape::Tape& tape, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // tape::TapeView
    void LinesInserted(std::size_t first, std::size_t count) override;
    void LinesRemoved(std::size_t first, std::size_t count) override;
    void LinesChanged(std::size_t first, std::size_t count) override;
    void LinesReset() override;

Q_SIGNALS:
    // Lines arrived at the end: the view scrolls to them.
    void appended();

private:
    const tape::Tape& tape_;
};

// Paints a line: the caption at the left, the value right-aligned; an error
// in red, an undone line grey and struck through.
class TTapeDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    void SetErrorColour(const QColor& colour) { error_ = colour; }

private:
    QColor error_{176, 0, 0};
};

} // namespace tallix::gui
