#include "core/persist/wholefile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#define TALLIX_POSIX_FILES 1
#elif defined(_WIN32)
#include <io.h>
#endif

namespace tallix::persist {

namespace fs = std::filesystem;

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
#ifdef TALLIX_POSIX_FILES
    // Without this a crash soon after the rename could leave an empty file
    // in place of both the old and the new content.
    if (!err && sync && ::fsync(fileno(f)) != 0) err = errno;
#elif defined(_WIN32)
    // The same on Windows: the file's data on the disk before the rename.
    if (!err && sync && ::_commit(::_fileno(f)) != 0) err = errno;
#else
    (void)sync;
#endif
    if (std::fclose(f) != 0 && !err) err = errno ? errno : EIO;
    return err ? Failure(err) : FileStatus{};
}

// A device or a pipe, written in place. A pipe without a reader would hold
// the caller until one came; it is reported instead.
FileStatus WriteDevice(const std::string& path, std::string_view bytes) {
#ifdef TALLIX_POSIX_FILES
    errno = 0;
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENXIO) return {false, "Nothing is reading from the pipe"};
        return Failure(errno);
    }
    // Once open, the bytes are written as to any file, waiting where a
    // reader is slow.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
        const int err = errno;
        ::close(fd);
        return Failure(err);
    }
    std::FILE* f = ::fdopen(fd, "wb");
    if (!f) {
        const int err = errno;
        ::close(fd);
        return Failure(err);
    }
#else
    errno = 0;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return Failure(errno);
#endif
    return WriteAndClose(f, bytes, false);
}

// Opens a pipe to read from it to its end. A pipe that nothing writes to
// would hold the caller until a writer came; a writer is given a moment to
// appear, and without one the pipe is reported.
FileStatus OpenPipeForReading(const std::string& path, std::FILE*& f) {
#ifdef TALLIX_POSIX_FILES
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Failure(errno);
    pollfd p{fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, 250);
    char first = 0;
    const ssize_t got = ::read(fd, &first, 1);
    const bool writerGone = ready > 0 && (p.revents & POLLHUP);
    if (got == 0 && !writerGone) {
        ::close(fd);
        return {false, "Nothing is writing to the pipe"};
    }
    if (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
        const int err = errno;
        ::close(fd);
        return Failure(err);
    }
    // A writer is there: the rest is read as from any file, waiting for it.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
        const int err = errno;
        ::close(fd);
        return Failure(err);
    }
    f = ::fdopen(fd, "rb");
    if (!f) {
        const int err = errno;
        ::close(fd);
        return Failure(err);
    }
    if (got == 1) std::ungetc(static_cast<unsigned char>(first), f);
    return {};
#else
    f = std::fopen(path.c_str(), "rb");
    return f ? FileStatus{} : Failure(errno);
#endif
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
    std::FILE* f = nullptr;
    if (fs::is_fifo(st)) {
        FileStatus opened = OpenPipeForReading(path, f);
        if (!opened) return opened;
    } else {
        f = std::fopen(path.c_str(), "rb");
    }
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
    if (exists && !fs::is_regular_file(st)) return WriteDevice(target.string(), bytes);
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

} // namespace tallix::persist
