// The window's fonts, each with the nearest stand-ins where the first
// choice is missing, and the fitting of captions into their controls.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>

class QWidget;

namespace tallix::gui {

// The first of the candidates that is installed under that very name, which
// is the family the toolkit would settle on for the whole list; the whole
// list when none is. Naming that family alone spares a sort of every
// installed font for stand-ins each time a size is loaded; glyphs the
// family lacks are still found when they are drawn.
QStringList FirstInstalled(const QStringList& candidates);
// That first installed family alone; none when no candidate is installed.
std::optional<QString> InstalledFamily(const QStringList& candidates);

// Font packages often install a family twice: as Type 1 files for older
// programs and as OpenType or TrueType. Opening a Type 1 face takes about a
// millisecond (its outlines are encrypted and read whole), the other copy of
// the same design a twentieth of that, and the toolkit takes whichever copy
// it meets first. Named with the foundry of an upright, regular copy that is
// not Type 1 ("Family [foundry]"), the family is drawn from that copy; the
// name stays as it is where there is no such choice.
QString FastestCopy(const QString& family);

// The fonts of the window, by their fastest copies.
QFont DialogFont(int points, int dpi);
// The tiny indicator font.
QFont SmallFont(int dpi);
// The stack display's monospaced font.
QFont MonoFont(int dpi);

// Shrinks a control's font until its caption fits the control's width, so
// that substitute fonts wider than the intended ones never clip a caption.
void FitCaption(QWidget* w, const QString& caption, int margin);

inline QString Q(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
inline QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace tallix::gui
