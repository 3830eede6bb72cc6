#include "gui/widgets/fonts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QWidget>
#include <algorithm>
#ifdef TALLIX_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

#include "gui/layout/geometry.h"

namespace tallix::gui {

#ifdef TALLIX_HAVE_FONTCONFIG
QString FastestCopy(const QString& family) {
    const QByteArray name = family.toUtf8();
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.constData()));
    FcObjectSet* objects =
        FcObjectSetBuild(FC_FOUNDRY, FC_FONTFORMAT, FC_WEIGHT, FC_SLANT, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    if (!fonts) return family;
    const auto text = [](const FcPattern* font, const char* object) -> std::string_view {
        FcChar8* value = nullptr;
        if (FcPatternGetString(font, object, 0, &value) != FcResultMatch) return {};
        return reinterpret_cast<const char*>(value);
    };
    const auto number = [](const FcPattern* font, const char* object) {
        int value = -1;
        return FcPatternGetInteger(font, object, 0, &value) == FcResultMatch ? value : -1;
    };
    bool type1 = false;
    QString foundry;
    for (int i = 0; i < fonts->nfont; ++i) {
        const FcPattern* font = fonts->fonts[i];
        if (text(font, FC_FONTFORMAT) == "Type 1") {
            type1 = true;
            continue;
        }
        const std::string_view maker = text(font, FC_FOUNDRY);
        if (foundry.isEmpty() && !maker.empty() && number(font, FC_WEIGHT) == FC_WEIGHT_REGULAR &&
            number(font, FC_SLANT) == FC_SLANT_ROMAN)
            foundry = Q(maker);
    }
    FcFontSetDestroy(fonts);
    return type1 && !foundry.isEmpty() ? family + " [" + foundry + "]" : family;
}
#else
QString FastestCopy(const QString& family) { return family; }
#endif

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

namespace {

// Each family of the list by the name of its fastest copy.
QStringList FastestCopies(QStringList families) {
    for (QString& family : families) family = FastestCopy(family);
    return families;
}

} // namespace

QFont DialogFont(int points, int dpi) {
    static const QStringList families = FastestCopies(
        FirstInstalled({"MS Sans Serif", "Microsoft Sans Serif", "Arial", "Liberation Sans",
                        "Nimbus Sans", "Helvetica", "DejaVu Sans"}));
    QFont f;
    f.setFamilies(families);
    f.setPixelSize(FontPixels(points, dpi));
    return f;
}

QFont SmallFont(int dpi) {
    static const QStringList families =
        FastestCopies(FirstInstalled({"Small Fonts", "Nimbus Sans Narrow", "Liberation Sans Narrow",
                                      "Arial Narrow", "DejaVu Sans Condensed", "Nimbus Sans"}));
    QFont f;
    f.setFamilies(families);
    f.setPixelSize(FontPixels(6, dpi));
    return f;
}

QFont MonoFont(int dpi) {
    // Looked up once, by installed names: the database's own check runs a
    // name through the font configuration's substitutions on every call.
    static const std::optional<QString> family = [] {
        const std::optional<QString> installed = InstalledFamily({"Lucida Console", "Courier New"});
        return installed ? std::optional(FastestCopy(*installed)) : std::nullopt;
    }();
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
