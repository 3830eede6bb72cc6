#include "core/print/outputfile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace tallix::print {

namespace fs = std::filesystem;

namespace {

persist::FileStatus Failure(int err) {
    return {false, std::error_code(err ? err : EIO, std::generic_category()).message()};
}

} // namespace

persist::FileStatus TOutputFile::Open(const std::string& path) {
    if (path.empty()) return Failure(ENOENT);
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (fs::is_directory(st)) return Failure(EISDIR);
    bool created = false;
    if (fs::exists(st)) {
        // A device or a pipe is written directly at the end; a regular file
        // must be open to writing, without truncating it now.
        if (fs::is_regular_file(st)) {
            errno = 0;
            std::FILE* probe = std::fopen(path.c_str(), "r+b");
            if (!probe) return Failure(errno);
            std::fclose(probe);
        }
    } else {
        errno = 0;
        std::FILE* f = std::fopen(path.c_str(), "wbx");
        if (!f) return Failure(errno);
        std::fclose(f);
        created = true;
    }
    path_ = path;
    text_.clear();
    open_ = true;
    created_ = created;
    return {};
}

persist::FileStatus TOutputFile::Commit() {
    if (!open_) return Failure(EBADF);
    persist::FileStatus status = persist::WriteWholeFile(path_, text_);
    if (!status) return status;
    open_ = false;
    created_ = false;
    text_.clear();
    text_.shrink_to_fit();
    return status;
}

void TOutputFile::Discard() {
    if (open_ && created_) {
        // Only while it is still the empty file made here.
        std::error_code ec;
        if (fs::is_regular_file(path_, ec) && fs::file_size(path_, ec) == 0 && !ec)
            fs::remove(path_, ec);
    }
    open_ = false;
    created_ = false;
    text_.clear();
    text_.shrink_to_fit();
}

} // namespace tallix::print
