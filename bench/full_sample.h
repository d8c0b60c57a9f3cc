// The full-size sample, written once per benchmark program into a temporary directory.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tools/sample.h"

namespace vh::bench {

struct FullSample {
    std::filesystem::path dir;
    sample::SampleSummary summary;
    FullSample() {
        dir = std::filesystem::temp_directory_path() / ("vh-bench-" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir);
        sample::SampleOptions o;
        o.size = sample::SampleSize::kFull;
        summary = sample::WriteSample(dir, o);
    }
    ~FullSample() { std::filesystem::remove_all(dir); }
    std::string Path() const { return dir.string(); }
};

inline FullSample& Full() {
    static FullSample s;
    return s;
}

}  // namespace vh::bench
