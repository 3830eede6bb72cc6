// The date and time a listing carries, the same in every listing: the text
// file of batch mode, a PDF and the window's printout.
#pragma once

#include <ctime>
#include <string>

#include "core/print/printdevice.h"

namespace tallix::print {

// Today's date and the time in the user's LC_TIME locale (its short date,
// "%x", and its time, "%X"), or, when SOURCE_DATE_EPOCH holds a number of
// seconds, that moment in UTC, so that a listing can be made again byte for
// byte.
// The moment a listing carries: SOURCE_DATE_EPOCH's when it holds a number
// of seconds, else now; `fixed` tells which.
std::time_t ListingMoment(bool* fixed = nullptr);
// That moment in UTC as "yyyymmddhhmmss", as a PDF file's dates write it.
std::string ListingMomentUtcDigits();

class TLocaleDateTimeTexts : public TDateTimeTexts {
public:
    std::string ShortDate() const override;
    std::string LongTime() const override;
};

} // namespace tallix::print
