#include "core/print/localetime.h"

#include <cstdlib>
#include <ctime>
#include <locale.h>
#include <time.h>

namespace tallix::print {
namespace {

// The reentrant conversions: the POSIX ones, or Windows' _s ones.
bool UtcParts(std::time_t t, std::tm& parts) {
#ifdef _WIN32
    return gmtime_s(&parts, &t) == 0;
#else
    return gmtime_r(&t, &parts) != nullptr;
#endif
}
bool LocalParts(std::time_t t, std::tm& parts) {
#ifdef _WIN32
    return localtime_s(&parts, &t) == 0;
#else
    return localtime_r(&t, &parts) != nullptr;
#endif
}

} // namespace

std::time_t ListingMoment(bool* fixed) {
    std::time_t now = std::time(nullptr);
    bool isFixed = false;
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch && *epoch) {
        char* end = nullptr;
        const long long seconds = std::strtoll(epoch, &end, 10);
        if (*end == '\0' && seconds >= 0) {
            now = static_cast<std::time_t>(seconds);
            isFixed = true;
        }
    }
    if (fixed) *fixed = isFixed;
    return now;
}

std::string ListingMomentUtcDigits() {
    const std::time_t moment = ListingMoment();
    std::tm parts{};
    if (!UtcParts(moment, parts)) return "";
    char text[32];
    const std::size_t n = std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &parts);
    return std::string(text, n);
}

namespace {

std::string FormatNow(const char* format) {
    bool fixed = false;
    const std::time_t now = ListingMoment(&fixed);
    std::tm parts{};
    if (!(fixed ? UtcParts(now, parts) : LocalParts(now, parts))) return "";
#ifdef _WIN32
    // Windows: the C runtime's strftime follows the program's own locale.
    char text[128];
    return std::string(text, std::strftime(text, sizeof text, format, &parts));
#else
    // The user's locale from the environment, whatever the program's own
    // C locale is set to.
    locale_t loc = newlocale(LC_TIME_MASK, "", nullptr);
    if (!loc) loc = newlocale(LC_TIME_MASK, "C", nullptr);
    char text[128];
    const std::size_t n = loc ? strftime_l(text, sizeof text, format, &parts, loc)
                              : std::strftime(text, sizeof text, format, &parts);
    if (loc) freelocale(loc);
    return std::string(text, n);
#endif
}

} // namespace

std::string TLocaleDateTimeTexts::ShortDate() const { return FormatNow("%x"); }
std::string TLocaleDateTimeTexts::LongTime() const { return FormatNow("%X"); }

} // namespace tallix::print
