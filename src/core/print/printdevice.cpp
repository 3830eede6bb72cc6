#include "core/print/printdevice.h"

#include <cstdio>
#include <ctime>

namespace tallix::print {

namespace {

std::tm LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    if (const std::tm* local = std::localtime(&now)) parts = *local;
    return parts;
}

} // namespace

std::string TPlainDateTimeTexts::ShortDate() const {
    const std::tm t = LocalNow();
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
    return text;
}

std::string TPlainDateTimeTexts::LongTime() const {
    const std::tm t = LocalNow();
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
    return text;
}

} // namespace tallix::print
