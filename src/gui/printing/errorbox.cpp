#include "gui/printing/errorbox.h"

#include <QMessageBox>

#include "gui/widgets/fonts.h"

namespace tallix::gui {

QString DefaultErrorText(const QString& message) {
    if (!message.isEmpty() && message.back() > QChar('.')) return message + '.';
    return message;
}

void ShowDefaultErrorBox(QWidget* parent, const std::string& message) {
    QMessageBox box(QMessageBox::Critical, "Tallix", DefaultErrorText(Q(message)), QMessageBox::Ok,
                    parent);
    box.setObjectName("DefaultErrorBox");
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace tallix::gui
