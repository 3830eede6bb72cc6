#include "gui/widgets/infoboxes.h"

#include <QMessageBox>
#include <algorithm>

#include "core/commands/about.h"
#include "core/commands/registry.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/icon.h"
#include "gui/widgets/theme.h"

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
    FollowOwnerLook(&box);
    box.setTextFormat(Qt::RichText);
    box.exec();
}

void ShowAboutBox(QWidget* parent, const QString& settingsFile) {
    const std::string version = TALLIX_GUI_VERSION;
    const std::string file = settingsFile.toStdString();
    const QString text = Q(AboutText({version, qVersion(), file}));
    QMessageBox box(QMessageBox::NoIcon, "About Tallix", text, QMessageBox::Ok, parent);
    box.setObjectName("AboutBox");
    FollowOwnerLook(&box);
    box.setTextFormat(Qt::PlainText);
    // The settings file's name can be copied from the box.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.setIconPixmap(AppPixmap());
    box.exec();
}

} // namespace tallix::gui
