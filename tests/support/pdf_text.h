// Reads a printed PDF back through poppler's command-line tools: its text
// page by page (pdftotext -layout), its page count and title (pdfinfo).
#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

namespace tallix::gui::test {

inline bool HavePdfTools() {
    return !QStandardPaths::findExecutable("pdftotext").isEmpty() &&
           !QStandardPaths::findExecutable("pdfinfo").isEmpty();
}

struct PdfDocument {
    int pages = 0;
    QString title;
    QString pageSize;           // pdfinfo's "Page size", e.g. "612 x 792 pts (letter)"
    std::vector<QString> texts; // one per page, laid out as on paper

    // The listing's rows of one page: level label without its colon, and
    // the value.
    std::vector<std::pair<int, QString>> Rows(std::size_t page) const {
        static const QRegularExpression row(R"(^\s*(\d+):\s+(\S+)\s*$)");
        std::vector<std::pair<int, QString>> out;
        for (const QString& line : texts.at(page).split('\n')) {
            const QRegularExpressionMatch m = row.match(line);
            if (m.hasMatch()) out.emplace_back(m.captured(1).toInt(), m.captured(2));
        }
        return out;
    }
    // The page's non-empty lines.
    QStringList Lines(std::size_t page) const {
        QStringList out;
        for (const QString& line : texts.at(page).split('\n'))
            if (!line.trimmed().isEmpty()) out << line.trimmed();
        return out;
    }
};

inline QString RunTool(const QString& tool, const QStringList& args) {
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Nothing when the file is no readable PDF.
inline std::optional<PdfDocument> ReadPdf(const QString& path) {
    const QString info = RunTool("pdfinfo", {path});
    if (info.isEmpty()) return std::nullopt;
    PdfDocument doc;
    for (const QString& line : info.split('\n')) {
        const int colon = line.indexOf(':');
        if (colon < 0) continue;
        const QString key = line.left(colon), value = line.mid(colon + 1).trimmed();
        if (key == "Pages") doc.pages = value.toInt();
        if (key == "Title") doc.title = value;
        if (key == "Page size") doc.pageSize = value;
    }
    const QString text = RunTool("pdftotext", {"-layout", path, "-"});
    QStringList pages = text.split('\f');
    // The text ends with a form feed after the last page.
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    for (const QString& page : pages) doc.texts.push_back(page);
    return doc;
}

} // namespace tallix::gui::test
