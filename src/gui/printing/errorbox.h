// The application's error box for errors that no command reports itself.
#pragma once

#include <QString>
#include <string>

class QWidget;

namespace tallix::gui {

// The box's text: the message with a full stop added when its last
// character sorts after ".".
QString DefaultErrorText(const QString& message);

// Shows the message in a modal box with the error icon and an OK button,
// captioned "Tallix".
void ShowDefaultErrorBox(QWidget* parent, const std::string& message);

} // namespace tallix::gui
