#include "core/persist/stackfile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#define TALLIX_HAVE_FSYNC 1
#endif

namespace tallix::persist {

namespace fs = std::filesystem;

std::vector<std::string> SplitStackText(std::string_view bytes) {
    std::vector<std::string> entries;
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    while (p != end && *p != '\0') {
        const char* start = p;
        while (p != end && *p != '\0' && *p != '\r' && *p != '\n') ++p;
        entries.emplace_back(start, p);
        if (p != end && *p == '\r') ++p;
        if (p != end && *p == '\n') ++p;
    }
    return entries;
}

namespace {

// Every entry followed by CR LF, for any list that hands out its entries
// level 1 first.
template <typename EntryAt> std::string Join(std::size_t n, EntryAt entryAt) {
    std::size_t total = 0;
    for (std::size_t i = 0; i < n; ++i) total += entryAt(i).size() + 2;
    std::string out;
    out.reserve(total);
    for (std::size_t i = 0; i < n; ++i) {
        out += entryAt(i);
        out += "\r\n";
    }
    return out;
}

} // namespace

std::string JoinStackText(const TextStack& stack) {
    return Join(stack.size(), [&](std::size_t i) -> const std::string& { return stack.at(i); });
}

std::string JoinStackText(const std::vector<std::string>& levelsTopFirst) {
    return Join(levelsTopFirst.size(),
                [&](std::size_t i) -> const std::string& { return levelsTopFirst[i]; });
}

namespace {

FileStatus Failure(int err) {
    return {false, std::error_code(err ? err : EIO, std::generic_category()).message()};
}
FileStatus Failure(const std::error_code& ec) { return {false, ec.message()}; }

// Writes all bytes and closes the stream, reporting the first failure; the
// stream is closed in every case.
FileStatus WriteAndClose(std::FILE* f, std::string_view bytes, bool sync) {
    int err = 0;
    errno = 0;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())
        err = errno ? errno : EIO;
    if (!err && std::fflush(f) != 0) err = errno ? errno : EIO;
#ifdef TALLIX_HAVE_FSYNC
    // Without this a crash soon after the rename could leave an empty file
    // in place of both the old and the new content.
    if (!err && sync && ::fsync(fileno(f)) != 0) err = errno;
#else
    (void)sync;
#endif
    if (std::fclose(f) != 0 && !err) err = errno ? errno : EIO;
    return err ? Failure(err) : FileStatus{};
}

std::string TemporaryName(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    const auto now = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, ".%llx-%x.tmp", now, counter.fetch_add(1));
    fs::path name = target.parent_path() / ("." + target.filename().string() + suffix);
    return name.string();
}

} // namespace

FileStatus ReadWholeFile(const std::string& path, std::string& bytes) {
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (fs::is_directory(st)) return Failure(EISDIR);
    errno = 0;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return Failure(errno ? errno : ENOENT);
    std::string out;
    if (fs::is_regular_file(st)) {
        const auto size = fs::file_size(path, ec);
        if (!ec) out.reserve(static_cast<std::size_t>(size));
    }
    char buf[1 << 16];
    int err = 0;
    for (;;) {
        errno = 0;
        const std::size_t got = std::fread(buf, 1, sizeof buf, f);
        out.append(buf, got);
        if (got < sizeof buf) {
            if (std::ferror(f)) err = errno ? errno : EIO;
            break;
        }
    }
    std::fclose(f);
    if (err) return Failure(err);
    bytes = std::move(out);
    return {};
}

FileStatus WriteWholeFile(const std::string& path, std::string_view bytes) {
    if (path.empty()) return Failure(ENOENT);
    std::error_code ec;
    fs::path target = path;
    // Through a symbolic link the file it points at is replaced, not the link.
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec) target = resolved;
    }
    const fs::file_status st = fs::status(target, ec);
    const bool exists = fs::exists(st);
    if (fs::is_directory(st)) return Failure(EISDIR);
    if (exists && !fs::is_regular_file(st)) {
        errno = 0;
        std::FILE* f = std::fopen(target.string().c_str(), "wb");
        if (!f) return Failure(errno);
        return WriteAndClose(f, bytes, false);
    }
    if (exists) {
        // Replacing goes by the folder's permissions; a file the user may not
        // write to must not be replaced all the same.
        errno = 0;
        std::FILE* probe = std::fopen(target.string().c_str(), "r+b");
        if (!probe) return Failure(errno);
        std::fclose(probe);
    }

    std::string temp;
    std::FILE* f = nullptr;
    for (int attempt = 0; attempt < 100 && !f; ++attempt) {
        temp = TemporaryName(target);
        errno = 0;
        f = std::fopen(temp.c_str(), "wbx");
        if (!f && errno != EEXIST) return Failure(errno);
    }
    if (!f) return Failure(EEXIST);
    FileStatus status = WriteAndClose(f, bytes, true);
    if (status && exists) fs::permissions(temp, st.permissions(), ec); // best effort
    if (status) {
        fs::rename(temp, target, ec);
        if (ec) status = Failure(ec);
    }
    if (!status) fs::remove(temp, ec);
    return status;
}

FileStatus LoadStackFile(const std::string& path, Calculator::Change& calc) {
    std::string bytes;
    FileStatus status = ReadWholeFile(path, bytes);
    if (status) calc.ReplaceStack(SplitStackText(bytes));
    return status;
}

FileStatus SaveStackFile(const std::string& path, const Calculator& calc) {
    return WriteWholeFile(path, JoinStackText(calc.Stack()));
}

} // namespace tallix::persist
