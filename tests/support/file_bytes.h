// Reading and writing a whole file's bytes in tests.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace tallix::testing {

inline std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void WriteAll(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace tallix::testing
