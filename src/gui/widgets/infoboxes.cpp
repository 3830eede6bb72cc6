#include "gui/widgets/infoboxes.h"

#include <QMessageBox>
#include <algorithm>

#include "core/commands/registry.h"
#include "gui/widgets/fonts.h"

namespace tallix::gui {

QString KeysHelpHtml(const QString& plainText) {
    QString text = plainText;
    text.replace("\r\n", "\n");
    // The sections are separated by an empty line.
    std::vector<QStringList> sections;
    qsizetype tallest = 0;
    for (const QString& section : text.split("\n\n")) {
        sections.push_back(section.split('\n'));
        tallest = std::max(tallest, sections.back().size());
    }
    std::vector<QStringList> columns;
    for (const QStringList& lines : sections) {
        if (!columns.empty() && columns.back().size() + 1 + lines.size() <= tallest)
            columns.back() << QString() << lines;
        else
            columns.push_back(lines);
    }
    QString html = "<table cellspacing=\"0\" cellpadding=\"0\"><tr>";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        QStringList escaped;
        for (const QString& line : columns[i]) escaped << line.toHtmlEscaped();
        html += QString("<td valign=\"top\" style=\"padding-right: %1px\">")
                    .arg(i + 1 < columns.size() ? 24 : 0);
        // A line is never broken: the box would rather grow.
        html += "<p style=\"white-space: pre\">" + escaped.join("<br>") + "</p></td>";
    }
    return html + "</tr></table>";
}

void ShowKeysBox(QWidget* parent) {
    QMessageBox box(QMessageBox::Information, "Information", KeysHelpHtml(Q(KeysHelpText())),
                    QMessageBox::Ok, parent);
    box.setObjectName("KeysBox");
    box.setTextFormat(Qt::RichText);
    box.exec();
}

} // namespace tallix::gui
