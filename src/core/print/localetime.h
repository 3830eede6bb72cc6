// The date and time a listing carries, the same in every listing: the text
// file of batch mode, a PDF and the window's printout.
#pragma once

#include <string>

#include "core/print/printdevice.h"

namespace tallix::print {

// Today's date and the time in the user's LC_TIME locale (its short date,
// "%x", and its time, "%X"), or, when SOURCE_DATE_EPOCH holds a number of
// seconds, that moment in UTC, so that a listing can be made again byte for
// byte.
class TLocaleDateTimeTexts : public TDateTimeTexts {
public:
    std::string ShortDate() const override;
    std::string LongTime() const override;
};

} // namespace tallix::print
