// Stack files: the stack's entry texts, one per line, level 1 first.
// The text forms are pure functions; the file functions read and replace
// the whole file (core/persist/wholefile.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/calc/calculator.h"
#include "core/persist/wholefile.h"

namespace tallix::persist {

// The entries of a stack file's bytes, level 1 first. Reading stops at the
// first NUL; CR LF, a lone CR and a lone LF each end a line (LF then CR is
// two line ends); a last line without a line end is an entry, and a final
// line end adds none. Lines are kept exactly, empty ones included.
std::vector<std::string> SplitStackText(std::string_view bytes);
// The bytes of a stack file: every entry followed by CR LF, level 1 first.
std::string JoinStackText(const TextStack& stack);
std::string JoinStackText(const std::vector<std::string>& levelsTopFirst);

// Replaces the stack with the file's entries; on any failure the stack is
// left as it was.
FileStatus LoadStackFile(const std::string& path, Calculator::Change& calc);
// Writes the stack; the stack is never changed.
FileStatus SaveStackFile(const std::string& path, const Calculator& calc);

} // namespace tallix::persist
