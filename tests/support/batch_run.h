// Runs batch mode in process on temporary streams.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "cli/batch.h"

namespace tallix::testing {

struct BatchRun {
    int status = 0;
    std::string out, err;
};

// Reads a temporary stream from its start and closes it.
inline std::string Drain(std::FILE* f) {
    std::string s;
    std::rewind(f);
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    std::fclose(f);
    return s;
}

// `args` without the program's name; `input` is standard input.
inline BatchRun RunBatch(std::vector<std::string> args, const std::string& input = {}) {
    args.insert(args.begin(), "tallix");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::FILE* in = std::tmpfile();
    std::fwrite(input.data(), 1, input.size(), in);
    std::rewind(in);
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    BatchRun r;
    r.status = cli::BatchMain(static_cast<int>(args.size()), argv.data(), in, out, err);
    std::fclose(in);
    r.out = Drain(out);
    r.err = Drain(err);
    return r;
}

} // namespace tallix::testing
