// Where WriteWholeFile puts the bytes: an ordinary file is replaced in one
// step, a device or a pipe is written in place and never replaced, and a
// pipe that nothing reads from is reported at once.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

#include "core/persist/wholefile.h"
#include "stackfile_fixture.h"

using namespace tallix::persist;
namespace fs = std::filesystem;

namespace {

using tallix::testing::StackFileIo;

std::string ErrText(int err) { return std::error_code(err, std::generic_category()).message(); }

// Writes with a time limit: a write that waits for a reader that never comes
// is released by opening the pipe's read end, and counts as a failure.
FileStatus WriteWithin(const std::string& path, const std::string& bytes, bool& waited) {
    auto done = std::async(std::launch::async, [&] { return WriteWholeFile(path, bytes); });
    waited = done.wait_for(std::chrono::seconds(5)) != std::future_status::ready;
    if (waited) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
        const FileStatus st = done.get();
        if (fd >= 0) ::close(fd);
        return st;
    }
    return done.get();
}

std::string ReadAvailable(int fd) {
    std::string got;
    char buf[256];
    for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;)
        got.append(buf, static_cast<std::size_t>(n));
    return got;
}

TEST_F(StackFileIo, WhereTheBytesGo) {
    const std::string fresh = PathOf("fresh.stk"), old = PathOf("old.stk"), fifo = PathOf("pipe");
    Put(old, "old\r\n");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    enum class Kind { Regular, CharDevice, Fifo };
    struct Case {
        const char* name;
        std::string path;
        bool reader; // a pipe's read end is open
        bool ok;
        std::string reason;
        Kind stays;
    };
    const Case cases[] = {
        {"a new ordinary file", fresh, false, true, "", Kind::Regular},
        {"an ordinary file replaced", old, false, true, "", Kind::Regular},
        {"a device that takes everything", "/dev/null", false, true, "", Kind::CharDevice},
        {"a full device", "/dev/full", false, false, ErrText(ENOSPC), Kind::CharDevice},
        {"a pipe being read", fifo, true, true, "", Kind::Fifo},
        {"a pipe that nothing reads", fifo, false, false, "Nothing is reading from the pipe",
         Kind::Fifo},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.path.rfind("/dev/", 0) == 0 && !fs::is_character_file(c.path)) continue;
        const int readEnd = c.reader ? ::open(c.path.c_str(), O_RDONLY | O_NONBLOCK) : -1;
        if (c.reader) {
            ASSERT_GE(readEnd, 0);
        }
        bool waited = false;
        const FileStatus st = WriteWithin(c.path, "1\r\n2\r\n", waited);
        EXPECT_FALSE(waited) << "the write waited for a reader";
        EXPECT_EQ(st.ok, c.ok) << st.reason;
        EXPECT_EQ(st.reason, c.reason);
        if (readEnd >= 0) {
            EXPECT_EQ(ReadAvailable(readEnd), "1\r\n2\r\n");
            ::close(readEnd);
        }
        const fs::file_status after = fs::status(c.path);
        switch (c.stays) {
        case Kind::Regular:
            EXPECT_TRUE(fs::is_regular_file(after));
            EXPECT_EQ(Get(c.path), "1\r\n2\r\n");
            break;
        case Kind::CharDevice: EXPECT_TRUE(fs::is_character_file(after)); break;
        case Kind::Fifo: EXPECT_TRUE(fs::is_fifo(after)); break;
        }
    }
    // Nothing is left beside them: no temporary file, no plain file for the pipe.
    EXPECT_EQ(FilesInDir(), 3u);
}

// Reading a pipe: what a writer sends arrives whole; a pipe that nothing
// writes to is reported instead of holding the reader.
TEST_F(StackFileIo, ReadingAPipe) {
    const std::string fifo = PathOf("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        const char* name;
        const char* sent; // null: no writer
        bool ok;
        std::string reason;
    };
    const Case cases[] = {
        {"a pipe being written", "1\r\n2\r\n", true, ""},
        {"a writer that sends nothing", "", true, ""},
        {"a pipe that nothing writes", nullptr, false, "Nothing is writing to the pipe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::thread writer;
        if (c.sent) {
            writer = std::thread([&] {
                const int fd = ::open(fifo.c_str(), O_WRONLY); // waits for the reader
                if (fd < 0) return;
                const std::string bytes = c.sent;
                if (!bytes.empty()) {
                    EXPECT_EQ(::write(fd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
                }
                ::close(fd);
            });
        }
        std::string got = "unchanged";
        auto done = std::async(std::launch::async, [&] { return ReadWholeFile(fifo, got); });
        const bool waited = done.wait_for(std::chrono::seconds(5)) != std::future_status::ready;
        if (waited) {
            // Releases a reader that waits for a writer.
            const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
        }
        const FileStatus st = done.get();
        if (writer.joinable()) writer.join();
        EXPECT_FALSE(waited) << "the read waited for a writer";
        EXPECT_EQ(st.ok, c.ok) << st.reason;
        EXPECT_EQ(st.reason, c.reason);
        EXPECT_EQ(got, c.ok ? std::string(c.sent) : "unchanged");
        EXPECT_TRUE(fs::is_fifo(fifo));
    }
}

} // namespace
