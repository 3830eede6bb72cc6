// Today's date and the current time as the user's locale writes them.
#pragma once

#include <QLocale>
#include <QString>

#include "core/print/printdevice.h"

namespace tallix::gui {

// The long time format without its time zone: hours, minutes and seconds
// as the locale arranges them. Quoted literal text is kept.
QString TimeFormatWithoutZone(const QString& format);

class TQtDateTimeTexts : public print::TDateTimeTexts {
public:
    explicit TQtDateTimeTexts(QLocale locale = QLocale()) : locale_(std::move(locale)) {}
    // The locale's short date format.
    std::string ShortDate() const override;
    // The locale's long time format, time zone left out.
    std::string LongTime() const override;

private:
    QLocale locale_;
};

} // namespace tallix::gui
