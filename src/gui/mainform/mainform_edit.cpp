// The Edit menu's clipboard commands. What is copied and how pasted text is
// read are the core's; the window carries the texts to and from the system
// clipboard.
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

#include "core/commands/clipboard.h"
#include "gui/mainform/mainform.h"
#include "gui/widgets/fonts.h"

namespace tallix::gui {

void TMainForm::PutOnClipboard(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(text, QClipboard::Clipboard);
    // Under X a copied text can also be pasted with the middle button.
    if (clipboard->supportsSelection()) clipboard->setText(text, QClipboard::Selection);
}

void TMainForm::Copy1Click() {
    // A selection in the entry line is copied as any text field copies it.
    const QString text =
        Line0()->hasSelectedText() ? Line0()->selectedText() : Q(tallix::CopyText(calc_));
    if (!text.isEmpty()) PutOnClipboard(text);
    EndCommand();
}

void TMainForm::CopyStack1Click() {
    const std::string text = tallix::CopyStackText(calc_);
    if (!text.empty()) PutOnClipboard(Q(text));
    EndCommand();
}

void TMainForm::Paste1Click() {
    const QString text = QGuiApplication::clipboard()->text(QClipboard::Clipboard);
    tallix::PasteText(calc_, text.toStdString());
    EndCommand();
}

// Like every command, a clipboard command uses up a Shift.
void TMainForm::EndCommand() {
    tallix::EndShift(calc_);
    FocusEntry();
}

} // namespace tallix::gui
