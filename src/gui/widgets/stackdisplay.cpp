#include "gui/widgets/stackdisplay.h"

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "gui/layout/geometry.h"
#include "gui/widgets/fonts.h"

namespace tallix::gui {

namespace {
constexpr int kToolTipDuration = 600000; // ten minutes
} // namespace

TStackDisplay::TStackDisplay(QWidget* parent, int dpi) : QFrame(parent) {
    setObjectName("PanelScreen");
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);

    // The lines stand on the window colour of the palette in force (its
    // Base role), whatever the theme.
    auto* numbers = new QWidget(this);
    numbers_ = numbers;
    numbers->setObjectName("PanelNumbers");
    numbers->setAutoFillBackground(true);
    numbers->setBackgroundRole(QPalette::Base);
    for (int k = 1; k <= 6; ++k) {
        auto* l = new QLabel(QString::number(k) + ":", numbers);
        l->setObjectName(QString("L%1").arg(k));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setForegroundRole(QPalette::Text);
        indexLabels_[k - 1] = l;
    }

    panelScrollBar_ = new QWidget(this);
    panelScrollBar_->setObjectName("PanelScrollBar");
    scrollBar_ = new QScrollBar(Qt::Vertical, panelScrollBar_);
    scrollBar_->setObjectName("ScrollBar");
    scrollBar_->setFocusPolicy(Qt::NoFocus);
    connect(scrollBar_, &QScrollBar::actionTriggered, this, &TStackDisplay::StepScrollBar);
    connect(scrollBar_, &QScrollBar::valueChanged, this, &TStackDisplay::scrolled);

    panelLines_ = new QWidget(this);
    panelLines_->setObjectName("PanelLines");
    topLines_ = new QWidget(panelLines_);
    topLines_->setObjectName("PanelTopLines");
    topLines_->setAutoFillBackground(true);
    topLines_->setBackgroundRole(QPalette::Base);
    for (int k = 1; k <= 6; ++k) {
        auto* l = new QLabel(topLines_);
        l->setObjectName(QString("Line%1").arg(k));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setTextFormat(Qt::PlainText);
        l->setToolTipDuration(kToolTipDuration);
        l->setForegroundRole(QPalette::Text);
        l->installEventFilter(this);
        lines_[k - 1] = l;
    }
    line0_ = new QLineEdit(panelLines_);
    line0_->setObjectName("Line0");
    line0_->setReadOnly(true);
    line0_->setFrame(false);
    line0_->setContextMenuPolicy(Qt::NoContextMenu);
    line0_->setAttribute(Qt::WA_InputMethodEnabled, false);
    line0_->setAcceptDrops(false);
    line0_->setTextMargins(0, 0, 0, 0);
    line0_->setAccessibleName("Entry line");
    line0_->setAccessibleDescription("The number being typed; Enter puts it on the stack");
    scrollBar_->setAccessibleName("Stack levels");
    setAccessibleName("Stack");
    Layout(dpi);
}

void TStackDisplay::Layout(int dpi) {
    auto s = [dpi](int v) { return Scale(v, dpi); };
    setGeometry(s(8), s(16), s(189), s(109));
    setFont(MonoFont(dpi));
    const QRect inner = contentsRect();
    const int row = s(15);
    designNumbersWidth_ = s(23);
    labelMargin_ = std::max(1, s(1));
    numbers_->setGeometry(inner.x(), inner.y(), designNumbersWidth_, inner.height());
    for (int k = 1; k <= 6; ++k)
        indexLabels_[k - 1]->setGeometry(0, (6 - k) * row, numbers_->width() - 1, row);
    scrollBarWidth_ = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    panelScrollBar_->setGeometry(inner.right() + 1 - scrollBarWidth_, inner.y(), scrollBarWidth_,
                                 inner.height());
    scrollBar_->setGeometry(0, 0, scrollBarWidth_, inner.height());
    panelLines_->setGeometry(inner.x() + numbers_->width(), inner.y(),
                             inner.width() - numbers_->width() - scrollBarWidth_, inner.height());
    topLines_->setGeometry(0, 0, panelLines_->width(), 6 * row);
    for (int k = 1; k <= 6; ++k)
        lines_[k - 1]->setGeometry(0, (6 - k) * row, topLines_->width(), row);
    line0_->setGeometry(0, 6 * row, panelLines_->width(), inner.height() - 6 * row);
    // The level labels are fitted again at the next refresh.
    fittedLabel_.clear();
    for (QLabel* l : indexLabels_) l->setFont(font());
}

void TStackDisplay::Announce(const QString& text) {
    // Qt has no announcement of its own: the display's accessible name
    // becomes the text, and the name change it sends is what screen
    // readers read out. The same text again (a second Enter) is sent again.
    if (accessibleName() == text) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
        return;
    }
    setAccessibleName(text);
}

void TStackDisplay::StepScrollBar(int action) {
    // Steps follow the calculator's small and large changes rather than the
    // widget's page, which is the thumb size.
    const ScrollBarState& sb = shown_;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        scrollBar_->setSliderPosition(sb.Position + sb.SmallChange);
        break;
    case QAbstractSlider::SliderSingleStepSub:
        scrollBar_->setSliderPosition(sb.Position - sb.SmallChange);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        scrollBar_->setSliderPosition(sb.Position + sb.LargeChange);
        break;
    case QAbstractSlider::SliderPageStepSub:
        scrollBar_->setSliderPosition(sb.Position - sb.LargeChange);
        break;
    default: break;
    }
}

void TStackDisplay::Refresh(const tallix::Calculator& calc) {
    shown_ = calc.ScrollBar();
    const ScrollBarState& sb = shown_;
    // The labels decide the column left for the lines, and that how much
    // of each text the lines can show.
    // The deepest level shown has the widest number; the lines themselves
    // are formatted once, below.
    FitLabels(Q(tallix::LevelLabel(calc.FirstShownIndex() + 6)));
    Arrange(numbers_->width(), sb.Visible ? scrollBarWidth_ : 0);
    const auto lines = calc.StackLines(LineColumns());
    for (int k = 0; k < 6; ++k) {
        const QString tip = Q(lines[k].full);
        // Setting a tooltip or a name sends events even when it is the same;
        // a keystroke changes one or two of the six lines.
        if (tip != lines_[k]->toolTip()) {
            FollowToolTip(k, tip);
            lines_[k]->setToolTip(tip);
        }
        lines_[k]->setText(Q(lines[k].text));
        const QString spoken = Q(lines[k].spoken);
        if (spoken != lines_[k]->accessibleName()) lines_[k]->setAccessibleName(spoken);
        indexLabels_[k]->setText(Q(lines[k].label));
    }

    {
        const QSignalBlocker block(scrollBar_);
        // The widget's maximum excludes the page: the thumb then covers six
        // of the stack's levels and its top end means Max - PageSize.
        scrollBar_->setRange(0, std::max(0, sb.Max - sb.PageSize));
        scrollBar_->setPageStep(std::max(1, sb.PageSize));
        scrollBar_->setSingleStep(std::max(1, sb.SmallChange));
        scrollBar_->setValue(sb.Position);
    }

    line0_->setText(Q(calc.Entry()));
    line0_->setCursorPosition(static_cast<int>(line0_->text().size()));
}

void TStackDisplay::FitLabels(const QString& widest) {
    // The same label in the same font needs the same column.
    if (widest == fittedLabel_ && font() == fittedFont_) return;
    fittedLabel_ = widest;
    fittedFont_ = font();
    // A pixel from the lines. The design column leaves the ink of its
    // widest label ("99:") clear of the panel's edge; a wider one keeps a
    // margin there too.
    const auto need = [&](const QFont& f) {
        const int advance = QFontMetrics(f).horizontalAdvance(widest) + 1;
        return advance <= designNumbersWidth_ ? designNumbersWidth_ : advance + labelMargin_;
    };
    // One font for every label while the column can widen: it may take from
    // the lines what leaves them the 18 digits of a number.
    const QRect inner = contentsRect();
    const qreal advance = QFontMetricsF(lines_[0]->font()).horizontalAdvance(QChar('0'));
    const int lines = static_cast<int>(std::ceil(kMinLineColumns * advance)) +
                      (lines_[0]->width() - lines_[0]->contentsRect().width());
    const int room = std::max(designNumbersWidth_, inner.width() - scrollBarWidth_ - lines);
    QFont f = font();
    const int minPixels = std::max(6, f.pixelSize() * 2 / 3);
    while (f.pixelSize() > minPixels && need(f) > room) f.setPixelSize(f.pixelSize() - 1);
    const int width = std::max(designNumbersWidth_, need(f));
    for (QLabel* l : indexLabels_)
        if (l->font() != f) l->setFont(f);
    if (numbers_->width() != width) Arrange(width, panelScrollBar_->width());
}

void TStackDisplay::Arrange(int numbersWidth, int barWidth) {
    if (numbers_->width() == numbersWidth && panelScrollBar_->width() == barWidth) return;
    const QRect inner = contentsRect();
    numbers_->setGeometry(inner.x(), inner.y(), numbersWidth, inner.height());
    for (QLabel* l : indexLabels_) l->resize(numbersWidth - 1, l->height());
    panelScrollBar_->setGeometry(inner.right() + 1 - barWidth, inner.y(), barWidth, inner.height());
    scrollBar_->setVisible(barWidth > 0);
    const int linesWidth = inner.right() + 1 - barWidth - (inner.x() + numbersWidth);
    panelLines_->setGeometry(inner.x() + numbersWidth, inner.y(), linesWidth, inner.height());
    for (QWidget* w : panelLines_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        w->resize(linesWidth, w->height());
    for (QLabel* l : lines_) l->resize(linesWidth, l->height());
}

std::size_t TStackDisplay::LineColumns() const {
    // Every character of the monospaced font has the advance of a digit.
    const qreal advance = QFontMetricsF(lines_[0]->font()).horizontalAdvance(QChar('0'));
    if (advance <= 0) return tallix::Calculator::kWholeLine;
    const qreal columns = std::floor(lines_[0]->contentsRect().width() / advance);
    return static_cast<std::size_t>(std::max<qreal>(columns, 1));
}

void TStackDisplay::FollowToolTip(int k, const QString& tip) {
    QLabel* line = lines_[k];
    if (k != tipLine_ || !QToolTip::isVisible() || tip == line->toolTip()) return;
    // Only the tooltip this line put up: another control may show its own.
    if (QToolTip::text() != line->toolTip()) return;
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(QCursor::pos(), tip, line, QRect(), kToolTipDuration);
}

bool TStackDisplay::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip)
        for (int k = 0; k < 6; ++k)
            if (watched == lines_[k]) tipLine_ = k;
    return QFrame::eventFilter(watched, event);
}

void TStackDisplay::wheelEvent(QWheelEvent* event) {
    // The scroll bar ignores a turn past its end, which then comes back
    // here through the parents; it is not sent to the bar a second time.
    if (forwardingWheel_ || !scrollBar_->isVisible()) {
        event->ignore();
        return;
    }
    forwardingWheel_ = true;
    QApplication::sendEvent(scrollBar_, event);
    forwardingWheel_ = false;
    event->accept();
}

void TStackDisplay::FocusEntry() {
    if (line0_->isVisible()) line0_->setFocus(Qt::OtherFocusReason);
    line0_->setCursorPosition(static_cast<int>(line0_->text().size()));
}

} // namespace tallix::gui
