// The full-size sample for the benchmarks. It is generated once into a cache directory (under the
// build directory, or $VH_BENCH_CACHE) and reused while the generator's bytes stay the same; each
// benchmark program works on a copy of its own, so saves and restores never touch the cache.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tools/sample.h"

#ifndef VH_BENCH_CACHE_DIR
#define VH_BENCH_CACHE_DIR ""
#endif
#ifndef VH_SAMPLE_GENERATOR
#define VH_SAMPLE_GENERATOR ""
#endif

namespace vh::bench {

namespace fs = std::filesystem;

// FNV-1a of a file's bytes; 0 when it cannot be read.
inline std::uint64_t FileHash(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    if (!in) return 0;
    std::uint64_t h = 1469598103934665603ULL;
    std::vector<char> buf(1 << 16);
    while (in.read(buf.data(), static_cast<std::streamsize>(buf.size())) || in.gcount() > 0)
        for (std::streamsize i = 0; i < in.gcount(); ++i)
            h = (h ^ static_cast<unsigned char>(buf[static_cast<std::size_t>(i)])) *
                1099511628211ULL;
    return h;
}

// The cached sample: written when the stamp (the hash of the generator library that writes it)
// differs from the one stored beside it.
inline fs::path CachedSample() {
    const char* env = std::getenv("VH_BENCH_CACHE");
    fs::path cache = env && *env ? fs::path(env) : fs::path(VH_BENCH_CACHE_DIR);
    if (cache.empty()) cache = fs::temp_directory_path() / "vh-bench-cache";
    const fs::path data = cache / "full";
    const fs::path stampFile = cache / "stamp";
    const std::string stamp = std::to_string(FileHash(VH_SAMPLE_GENERATOR));
    std::string stored;
    if (std::ifstream in(stampFile); in) std::getline(in, stored);
    if (stored != stamp || stamp == "0" || !fs::exists(data / "staff.dat")) {
        fs::remove_all(data);
        fs::create_directories(cache);
        sample::SampleOptions o;
        o.size = sample::SampleSize::kFull;
        sample::WriteSample(data, o);
        std::ofstream(stampFile) << stamp << "\n";
    }
    return data;
}

struct FullSample {
    fs::path dir;  // the working copy
    FullSample() {
        const fs::path from = CachedSample();
        dir = fs::temp_directory_path() / ("vh-bench-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::copy(from, dir, fs::copy_options::recursive);
    }
    ~FullSample() { fs::remove_all(dir); }
    FullSample(const FullSample&) = delete;
    FullSample& operator=(const FullSample&) = delete;
    std::string Path() const { return dir.string(); }
};

inline FullSample& Full() {
    static FullSample s;
    return s;
}

// The reference each action is compared with: what `cat` does, reading every byte of the files
// involved through a 128 KiB buffer.
inline std::size_t ReadPlain(std::initializer_list<const char*> names) {
    static std::vector<char> buf(1 << 17);
    std::size_t total = 0;
    for (const char* n : names) {
        std::ifstream in(Full().dir / n, std::ios::binary);
        while (in.read(buf.data(), static_cast<std::streamsize>(buf.size())) || in.gcount() > 0)
            total += static_cast<std::size_t>(in.gcount());
    }
    return total;
}

}  // namespace vh::bench
