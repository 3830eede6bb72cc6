// A fresh folder for each test that reads and writes stack files.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/persist/stackfile.h"

namespace tallix::testing {

class StackFileIo : public ::testing::Test {
protected:
    std::filesystem::path dir;
    void SetUp() override {
#ifdef _WIN32
        // No mkdtemp: a name of its own, made only if it is new.
        for (unsigned i = 0;; ++i) {
            dir = std::filesystem::temp_directory_path() /
                  ("tallix-stk-" + std::to_string(std::rand()) + "-" + std::to_string(i));
            std::error_code ec;
            if (std::filesystem::create_directory(dir, ec)) break;
            ASSERT_LT(i, 1000u) << ec.message();
        }
#else
        std::string tmpl = (std::filesystem::temp_directory_path() / "tallix-stk-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        dir = tmpl;
#endif
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(dir, ec);
    }
    std::string PathOf(const char* name) const { return (dir / name).string(); }
    static void Put(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Get(const std::string& path) {
        std::string bytes;
        EXPECT_TRUE(persist::ReadWholeFile(path, bytes));
        return bytes;
    }
    std::size_t FilesInDir() const {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(dir), {}));
    }
    // Whether this process can open a file despite its permissions (root).
    static bool BypassesPermissions(const std::string& path, const char* mode) {
        std::FILE* f = std::fopen(path.c_str(), mode);
        if (f) std::fclose(f);
        return f != nullptr;
    }
};

} // namespace tallix::testing
