// The paper a listing goes on when nobody chose one: letter, unless the
// user's locale prefers another size.
#pragma once

#include <string>

namespace tallix::print {

struct TPaperSize {
    // Millimetres, as the locale states them (letter is 216 x 279).
    int WidthMm = 216;
    int HeightMm = 279;
    bool operator==(const TPaperSize&) const = default;

    bool IsLetter() const { return WidthMm == 216 && HeightMm == 279; }
    bool IsA4() const { return WidthMm == 210 && HeightMm == 297; }
    // The width and height in inches; letter and legal are exact.
    double WidthInches() const;
    double HeightInches() const;
};

inline constexpr TPaperSize kLetterPaper{216, 279};

// The paper of a named locale's LC_PAPER category. Letter when the name is
// empty, "C" or "POSIX" (a locale that expresses no preference), when the
// locale is not installed, or where the C library cannot tell.
TPaperSize PaperOfLocale(const std::string& localeName);

// The paper of the user's locale, from LC_ALL, LC_PAPER or LANG in that
// order, as the C library picks them.
TPaperSize UserPaper();

} // namespace tallix::print
