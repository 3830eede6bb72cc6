#include "gui/widgets/fonts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QWidget>
#include <algorithm>

#include "gui/layout/geometry.h"

namespace tallix::gui {

std::optional<QString> InstalledFamily(const QStringList& candidates) {
    // The font database also lists the generic names under which the font
    // configuration picks a family. In a list the toolkit passes over them,
    // for they draw nothing of their own; alone they are looked up anew.
    static const QStringList generic = {"Serif", "Sans Serif", "Monospace"};
    for (const QString& c : candidates)
        if (!generic.contains(c, Qt::CaseInsensitive) && !QFontDatabase::styles(c).isEmpty())
            return c;
    return std::nullopt;
}

QStringList FirstInstalled(const QStringList& candidates) {
    const std::optional<QString> family = InstalledFamily(candidates);
    return family ? QStringList{*family} : candidates;
}

QFont DialogFont(int points, int dpi) {
    static const QStringList families =
        FirstInstalled({"MS Sans Serif", "Microsoft Sans Serif", "Arial", "Liberation Sans",
                        "Nimbus Sans", "Helvetica", "DejaVu Sans"});
    QFont f;
    f.setFamilies(families);
    f.setPixelSize(FontPixels(points, dpi));
    return f;
}

QFont SmallFont(int dpi) {
    static const QStringList families =
        FirstInstalled({"Small Fonts", "Nimbus Sans Narrow", "Liberation Sans Narrow",
                        "Arial Narrow", "DejaVu Sans Condensed", "Nimbus Sans"});
    QFont f;
    f.setFamilies(families);
    f.setPixelSize(FontPixels(6, dpi));
    return f;
}

QFont MonoFont(int dpi) {
    // Looked up once, by installed names: the database's own check runs a
    // name through the font configuration's substitutions on every call.
    static const std::optional<QString> family = InstalledFamily({"Lucida Console", "Courier New"});
    QFont f;
    if (family)
        f.setFamily(*family);
    else
        f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPixelSize(FontPixels(9, dpi));
    return f;
}

void FitCaption(QWidget* w, const QString& caption, int margin) {
    QString text = caption;
    text.remove('&');
    QFont f = w->font();
    const int avail = w->width() - margin;
    const int minPixels = std::max(6, f.pixelSize() * 2 / 3);
    while (f.pixelSize() > minPixels && QFontMetrics(f).horizontalAdvance(text) > avail)
        f.setPixelSize(f.pixelSize() - 1);
    // A caption that fits keeps the font it has: setting the same font again
    // only costs every control a font change of nothing.
    if (f.pixelSize() != w->font().pixelSize()) w->setFont(f);
}

} // namespace tallix::gui
