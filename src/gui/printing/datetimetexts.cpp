#include "gui/printing/datetimetexts.h"

#include <QDate>
#include <QTime>

namespace tallix::gui {

QString TimeFormatWithoutZone(const QString& format) {
    QString out;
    bool quoted = false;
    for (QChar c : format) {
        if (c == '\'') quoted = !quoted;
        if (!quoted && c == 't') continue;
        out += c;
    }
    // The blank that stood before or after the zone.
    return out.simplified();
}

std::string TQtDateTimeTexts::ShortDate() const {
    return locale_.toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
}

std::string TQtDateTimeTexts::LongTime() const {
    const QString format = TimeFormatWithoutZone(locale_.timeFormat(QLocale::LongFormat));
    return locale_.toString(QTime::currentTime(), format).toStdString();
}

} // namespace tallix::gui
