// Whole files: read every byte, or replace a file in one step. Every file
// the program writes (stack files, print-to-file, a finished PDF) goes
// through WriteWholeFile.
#pragma once

#include <string>
#include <string_view>

namespace tallix::persist {

// How a file operation ended; `reason` says why it failed ("No such file or
// directory", "Is a directory", ...).
struct FileStatus {
    bool ok = true;
    std::string reason;
    explicit operator bool() const { return ok; }
};

// Reads every byte of a file. A pipe that nothing writes to (none within a
// quarter of a second) is reported rather than waited on.
FileStatus ReadWholeFile(const std::string& path, std::string& bytes);

// Replaces the file with `bytes` so that a failure at any point leaves the
// old file as it was: the bytes go to a new file in the same folder, which is
// flushed to the disk and then renamed over the old one. The new file keeps
// the old one's permissions. A name that denotes a device or a pipe rather
// than a regular file is written directly, since it cannot be replaced (and
// must not become a plain file); a pipe that nothing reads from fails at
// once instead of waiting for a reader.
FileStatus WriteWholeFile(const std::string& path, std::string_view bytes);

} // namespace tallix::persist
