// The two boxes of the File menu that only inform: the keys help (F1) and
// About. Their texts come from the core.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace tallix::gui {

// The keys help as rich text: its sections side by side, each column no
// taller than the tallest section, so the box fits a small screen.
QString KeysHelpHtml(const QString& plainText);

// Shows the keys help in a modal information box.
void ShowKeysBox(QWidget* parent);

// Shows the About box; `settingsFile` is where settings and stack are kept,
// empty when they are kept nowhere.
void ShowAboutBox(QWidget* parent, const QString& settingsFile);

} // namespace tallix::gui
