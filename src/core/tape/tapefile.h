// The tape's file, Tallix.tape beside the settings: plain UTF-8 text, one
// event a line, holding what rebuilds the tape (its start, every line's
// kind, mark, caption, value and script):
//
//   Tallix tape 1
//   start <base> <angle> <word size> <fix> [<last count> <last x> <last y>]
//   = <stack text>                        (the start's stack, deepest first)
//   <kind><u|-><s|-> <caption>\t<shown>\t<value>\t<script>
//
// kind: N number, C command, E error, O open, P paste; u: undone; s: an undo
// step. The start's last arguments, when it has any, are exact decimal
// texts with a point. Tabs, line ends and backslashes in a field are written \t, \n, \r
// and \\.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "core/persist/wholefile.h"
#include "core/tape/tape.h"

namespace tallix::tape {

inline constexpr std::string_view kTapeFileName = "Tallix.tape";

std::string Serialize(const Start& start, const std::deque<Line>& lines);
std::string Serialize(const Tape& tape);
// Reads a tape file's bytes; false, with the reason, for anything that is
// not one.
bool Parse(std::string_view bytes, Start& start, std::deque<Line>& lines, std::string& why);

// Reads the tape's file into the tape. A missing file leaves the tape as
// it is. A file that cannot be read as a tape is moved aside to
// `path` + ".bad" (never deleted) and the warning to show is returned.
std::optional<std::string> LoadTapeFile(const std::string& path, Tape& tape);
// Replaces the file with the bytes in one step (see WriteWholeFile),
// making its folder first when there is none.
persist::FileStatus SaveTapeFile(const std::string& path, std::string_view bytes);

} // namespace tallix::tape
