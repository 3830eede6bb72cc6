// The file of print-to-file mode. Its text is gathered in memory and
// replaces the file in one step when the document ends, so a document that
// fails or is abandoned never leaves a half-written file behind, nor spoils
// the file it was meant to replace.
#pragma once

#include <string>
#include <string_view>

#include "core/persist/wholefile.h"

namespace tallix::print {

class TOutputFile {
public:
    // Checks at once that the file can be written, so that a wrong name is
    // reported when the document begins: an existing file must be writable
    // (it is left as it is), a new one is created empty.
    persist::FileStatus Open(const std::string& path);
    bool IsOpen() const { return open_; }
    void Write(std::string_view bytes) { text_ += bytes; }
    // Replaces the file with everything written and closes it. On failure
    // the old file is untouched and everything stays open, ready for
    // another try.
    persist::FileStatus Commit();
    // Closes without writing; the empty file that Open created goes again.
    void Discard();

private:
    std::string path_;
    std::string text_;
    bool open_ = false;
    bool created_ = false;
};

} // namespace tallix::print
