#include "gui/widgets/tapemodel.h"

#include <QApplication>
#include <QPainter>

#include "core/calc/appearance.h"
#include "gui/widgets/theme.h"

namespace tallix::gui {

namespace {
QString ToQ(const std::string& s) { return QString::fromStdString(s); }
} // namespace

TTapeModel::TTapeModel(const tape::Tape& tape, QObject* parent)
    : QAbstractListModel(parent), tape_(tape) {}

int TTapeModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(tape_.Size());
}

QVariant TTapeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= tape_.Size()) return {};
    const tape::Line& line = tape_.At(static_cast<std::size_t>(index.row()));
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole: return ToQ(tape::Tape::Spoken(line));
    case CaptionRole: return ToQ(line.caption);
    case ShownRole: return ToQ(line.shown);
    case ValueRole: return ToQ(line.value);
    case UndoneRole: return line.undone;
    case ErrorRole: return line.kind == tape::Kind::Error;
    default: return {};
    }
}

void TTapeModel::LinesInserted(std::size_t first, std::size_t count) {
    const int f = static_cast<int>(first);
    beginInsertRows({}, f, f + static_cast<int>(count) - 1);
    endInsertRows();
    if (first + count == tape_.Size()) Q_EMIT appended();
}

void TTapeModel::LinesRemoved(std::size_t first, std::size_t count) {
    const int f = static_cast<int>(first);
    beginRemoveRows({}, f, f + static_cast<int>(count) - 1);
    endRemoveRows();
}

void TTapeModel::LinesChanged(std::size_t first, std::size_t count) {
    Q_EMIT dataChanged(index(static_cast<int>(first)), index(static_cast<int>(first + count) - 1));
}

void TTapeModel::LinesReset() {
    beginResetModel();
    endResetModel();
    Q_EMIT appended();
}

void TTapeDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString caption = index.data(TTapeModel::CaptionRole).toString();
    const QString shown = index.data(TTapeModel::ShownRole).toString();
    const bool undone = index.data(TTapeModel::UndoneRole).toBool();
    const bool error = index.data(TTapeModel::ErrorRole).toBool();
    // The background and the selection as the style draws them, no text.
    opt.text.clear();
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    painter->save();
    QFont font = opt.font;
    font.setStrikeOut(undone);
    painter->setFont(font);
    const bool selected = opt.state & QStyle::State_Selected;
    QColor color = opt.palette.color(QPalette::Text);
    if (selected)
        color = ToQColor(tallix::ReadableOn(
            ToRgb(opt.palette.color(QPalette::HighlightedText)),
            ToRgb(opt.palette.color(QPalette::Highlight)),
            tallix::MinimumContrast(tallix::Theme::System, tallix::TextKind::Normal)));
    if (error && !selected) color = error_;
    if (undone) color = opt.palette.color(QPalette::Disabled, QPalette::Text);
    painter->setPen(color);
    const QRect r = opt.rect.adjusted(4, 0, -4, 0);
    const QFontMetrics fm(font);
    const int shownWidth =
        shown.isEmpty() ? 0 : fm.horizontalAdvance(shown) + fm.averageCharWidth();
    painter->drawText(r.adjusted(0, 0, -shownWidth, 0), Qt::AlignLeft | Qt::AlignVCenter,
                      fm.elidedText(caption, Qt::ElideRight, r.width() - shownWidth));
    if (!shown.isEmpty())
        painter->drawText(r, Qt::AlignRight | Qt::AlignVCenter,
                          fm.elidedText(shown, Qt::ElideLeft, r.width()));
    painter->restore();
}

} // namespace tallix::gui
