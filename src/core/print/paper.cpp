#include "core/print/paper.h"

#include <cstdint>
#include <cstdlib>
#include <locale.h>
#ifdef __GLIBC__
#include <langinfo.h>
#endif

namespace tallix::print {

namespace {

constexpr double kMillimetresPerInch = 25.4;

// A locale that only expresses the C library's defaults: its paper (A4 in
// the GNU C library) is nobody's choice.
bool ExpressesNoPreference(const std::string& name) {
    return name.empty() || name == "C" || name == "POSIX" || name.starts_with("C.");
}

} // namespace

double TPaperSize::WidthInches() const {
    return WidthMm == 216 ? 8.5 : WidthMm / kMillimetresPerInch;
}

double TPaperSize::HeightInches() const {
    if (WidthMm == 216 && HeightMm == 279) return 11;
    if (WidthMm == 216 && HeightMm == 356) return 14;
    return HeightMm / kMillimetresPerInch;
}

TPaperSize PaperOfLocale(const std::string& localeName) {
    if (ExpressesNoPreference(localeName)) return kLetterPaper;
#if defined(__GLIBC__) && defined(LC_PAPER_MASK)
    locale_t loc = newlocale(LC_PAPER_MASK, localeName.c_str(), nullptr);
    if (!loc) return kLetterPaper;
    // Both items are 32-bit numbers handed out in place of the text pointer:
    // its low 32 bits.
    auto item = [loc](nl_item name) {
        return static_cast<std::uint32_t>(
            reinterpret_cast<std::uintptr_t>(nl_langinfo_l(name, loc)));
    };
    const std::uint32_t width = item(_NL_PAPER_WIDTH), height = item(_NL_PAPER_HEIGHT);
    freelocale(loc);
    if (width < 50 || height < 50 || width > 2000 || height > 2000) return kLetterPaper;
    return {static_cast<int>(width), static_cast<int>(height)};
#else
    return kLetterPaper;
#endif
}

TPaperSize UserPaper() {
    for (const char* variable : {"LC_ALL", "LC_PAPER", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return PaperOfLocale(value);
    }
    return kLetterPaper;
}

} // namespace tallix::print
