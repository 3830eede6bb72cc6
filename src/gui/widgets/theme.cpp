#include "gui/widgets/theme.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QWidget>

namespace tallix::gui {

namespace {

// Tooltips come up after half a second; the stack lines rely on them to
// show texts too wide for the line. Flat keys rise under the mouse, so the
// keypad shows which key a click would press.
class TallixStyle : public QProxyStyle {
public:
    TallixStyle(QStyle* base, int focusWidth) : QProxyStyle(base), focusWidth_(focusWidth) {}

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (element == CE_PushButtonBevel) {
            const auto* b = qstyleoption_cast<const QStyleOptionButton*>(option);
            if (b && (b->features & QStyleOptionButton::Flat) && (b->state & State_MouseOver) &&
                (b->state & State_Enabled) && !(b->state & (State_Sunken | State_On))) {
                QStyleOptionButton raised(*b);
                raised.features &= ~QStyleOptionButton::Flat;
                QProxyStyle::drawControl(element, &raised, painter, widget);
                return;
            }
        }
        QProxyStyle::drawControl(element, option, painter, widget);
        // A button with the keyboard focus (a dialog's OK) shows it with the
        // theme's thick outline, over what the base style draws.
        if (element == CE_PushButton && focusWidth_ > 1 && (option->state & State_HasFocus)) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(*option);
            drawPrimitive(PE_FrameFocusRect, &focus, painter, widget);
        }
    }
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        // A thick outline in the highlight colour, where the theme asks
        // for one; a hairline is easy to miss.
        if (element == PE_FrameFocusRect && focusWidth_ > 1) {
            painter->save();
            QPen pen(option->palette.color(QPalette::Highlight), focusWidth_);
            pen.setJoinStyle(Qt::MiterJoin);
            painter->setPen(pen);
            painter->setBrush(Qt::NoBrush);
            const int inset = focusWidth_ / 2;
            painter->drawRect(option->rect.adjusted(inset, inset, -inset - 1, -inset - 1));
            painter->restore();
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ToolTip_WakeUpDelay) return 500;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
    int FocusWidth() const { return focusWidth_; }

private:
    int focusWidth_;
};

QString BaseStyleName(tallix::Theme theme) {
    return theme == tallix::Theme::System ? QString() : QStringLiteral("fusion");
}

} // namespace

tallix::Rgb ToRgb(const QColor& c) {
    const QColor rgb = c.toRgb();
    return {static_cast<std::uint8_t>(rgb.red()), static_cast<std::uint8_t>(rgb.green()),
            static_cast<std::uint8_t>(rgb.blue())};
}

QColor ToQColor(tallix::Rgb c) { return QColor(c.r, c.g, c.b); }

QStyle* NewAppStyle(tallix::Theme theme) {
    const auto colours = tallix::ThemePalette(theme);
    const QString base = BaseStyleName(theme);
    return new TallixStyle(base.isEmpty() ? nullptr : QStyleFactory::create(base),
                           colours ? colours->focusWidth : 1);
}

QPalette ThemeQPalette(const tallix::ThemeColours& t) {
    QPalette p;
    auto set = [&p](QPalette::ColorRole role, tallix::Rgb normal, tallix::Rgb dimmed) {
        p.setColor(QPalette::Active, role, ToQColor(normal));
        p.setColor(QPalette::Inactive, role, ToQColor(normal));
        p.setColor(QPalette::Disabled, role, ToQColor(dimmed));
    };
    set(QPalette::Window, t.window, t.window);
    set(QPalette::WindowText, t.windowText, t.dimmed);
    set(QPalette::Base, t.base, t.base);
    set(QPalette::AlternateBase, t.button, t.button);
    set(QPalette::Text, t.text, t.dimmed);
    set(QPalette::Button, t.button, t.button);
    set(QPalette::ButtonText, t.buttonText, t.dimmed);
    set(QPalette::BrightText, t.accent, t.accent);
    set(QPalette::Highlight, t.highlight, t.window);
    set(QPalette::HighlightedText, t.highlightedText, t.dimmed);
    set(QPalette::ToolTipBase, t.toolTipBase, t.toolTipBase);
    set(QPalette::ToolTipText, t.toolTipText, t.toolTipText);
    set(QPalette::PlaceholderText, t.dimmed, t.dimmed);
    set(QPalette::Link, t.focus, t.focus);
    // The bevels: light and dark shades of the key face.
    const QColor face = ToQColor(t.button);
    const bool dark = t.darkShades;
    set(QPalette::Light, ToRgb(dark ? face.lighter(180) : QColor(255, 255, 255)),
        ToRgb(dark ? face.lighter(180) : QColor(255, 255, 255)));
    set(QPalette::Midlight, ToRgb(dark ? face.lighter(140) : face.lighter(110)),
        ToRgb(dark ? face.lighter(140) : face.lighter(110)));
    set(QPalette::Mid, ToRgb(dark ? face.lighter(120) : face.darker(130)),
        ToRgb(dark ? face.lighter(120) : face.darker(130)));
    set(QPalette::Dark, ToRgb(dark ? face.lighter(150) : face.darker(160)),
        ToRgb(dark ? face.lighter(150) : face.darker(160)));
    set(QPalette::Shadow, ToRgb(dark ? QColor(0, 0, 0) : face.darker(300)),
        ToRgb(dark ? QColor(0, 0, 0) : face.darker(300)));
    return p;
}

void ApplyApplicationTheme(tallix::Theme theme) {
    const auto colours = tallix::ThemePalette(theme);
    // The style first: setting one hands out its own palette.
    auto* current = dynamic_cast<TallixStyle*>(QApplication::style());
    const int focusWidth = colours ? colours->focusWidth : 1;
    const QString wanted = BaseStyleName(theme);
    const bool sameBase = current && (wanted.isEmpty() ? !current->property("fusionBase").toBool()
                                                       : current->property("fusionBase").toBool());
    if (!current || !sameBase || current->FocusWidth() != focusWidth) {
        QStyle* style = NewAppStyle(theme);
        style->setProperty("fusionBase", !wanted.isEmpty());
        QApplication::setStyle(style);
    }
    // An empty palette resolves every role from the desktop's, and keeps
    // doing so when the desktop's palette changes.
    QApplication::setPalette(colours ? ThemeQPalette(*colours) : QPalette());
}

void FollowOwnerLook(QWidget* window) { window->setAttribute(Qt::WA_WindowPropagation); }

void FollowDesktopPalette() {
    // Some platform styles draw their own light faces whatever the
    // palette; a dark desktop palette is shown through Fusion instead, and
    // the platform's style comes back with a light one.
    auto* current = dynamic_cast<TallixStyle*>(QApplication::style());
    if (!current) return;
    const bool dark = IsDarkPalette(QApplication::palette());
    if (current->property("forDarkDesktop").toBool()) {
        if (!dark) QApplication::setStyle(NewAppStyle(tallix::Theme::System));
        return;
    }
    QStyle* base = current->baseStyle();
    if (!dark || current->property("fusionBase").toBool() || !base ||
        base->name().compare("fusion", Qt::CaseInsensitive) == 0)
        return;
    QStyle* style = new TallixStyle(QStyleFactory::create("fusion"), 1);
    style->setProperty("forDarkDesktop", true);
    QApplication::setStyle(style);
}

QColor DimmedCaption(const QPalette& p) {
    return ToQColor(tallix::ReadableDimmed(
        ToRgb(p.color(QPalette::Disabled, QPalette::ButtonText)),
        ToRgb(p.color(QPalette::Active, QPalette::ButtonText)),
        ToRgb(p.color(QPalette::Active, QPalette::Window)),
        tallix::MinimumContrast(tallix::Theme::System, tallix::TextKind::Dimmed)));
}

QColor AccentColour(tallix::Theme theme, const QPalette& p) {
    if (const auto colours = tallix::ThemePalette(theme)) return ToQColor(colours->accent);
    return p.color(QPalette::Active, QPalette::WindowText);
}

QColor ErrorTextColour(tallix::Theme theme, const QPalette& p) {
    return ToQColor(tallix::ErrorText(theme, ToRgb(p.color(QPalette::Active, QPalette::Text)),
                                      ToRgb(p.color(QPalette::Active, QPalette::Base))));
}

bool IsDarkPalette(const QPalette& p) {
    return tallix::IsDarkColour(ToRgb(p.color(QPalette::Active, QPalette::Window)));
}

} // namespace tallix::gui
