#include "test_util.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <fstream>
#include <random>
#include <stdexcept>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vh::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto p = fs::temp_directory_path() /
                 ("vhtest-" + std::to_string(rd()) + "-" + std::to_string(counter++));
        std::error_code ec;
        if (fs::create_directory(p, ec)) {
            path_ = p;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir() {
    std::error_code ec;
    // Restore write permission so that removal works after read-only tests.
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(path_, ec);
}

void WriteFile(const fs::path& p, const Bytes& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + p.string());
}

void WriteFile(const fs::path& p, const std::string& text) {
    WriteFile(p, Bytes(text.begin(), text.end()));
}

Bytes ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + p.string());
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::pair<std::string, Bytes>> Snapshot(const fs::path& dir) {
    std::vector<std::pair<std::string, Bytes>> out;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        // The write path's lock file is empty and stays: it holds no data.
        if (e.is_regular_file() && e.path().filename() != "vhedit.lock")
            out.emplace_back(fs::relative(e.path(), dir).generic_string(), ReadFile(e.path()));
    }
    std::sort(out.begin(), out.end());
    return out;
}

void PutI32(Bytes& b, std::size_t off, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) b.at(off + i) = static_cast<std::uint8_t>(u >> (8 * i));
}

void PutI16(Bytes& b, std::size_t off, std::int16_t v) {
    const auto u = static_cast<std::uint16_t>(v);
    b.at(off) = static_cast<std::uint8_t>(u);
    b.at(off + 1) = static_cast<std::uint8_t>(u >> 8);
}

void PutText(Bytes& b, std::size_t off, const std::string& text) {
    std::copy(text.begin(), text.end(), b.begin() + static_cast<std::ptrdiff_t>(off));
}

std::int32_t GetI32(const Bytes& b, std::size_t off) {
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(b.at(off + i)) << (8 * i);
    return static_cast<std::int32_t>(u);
}

bool RunningAsRoot() {
#ifdef _WIN32
    return false;
#else
    return ::geteuid() == 0;
#endif
}

void MakeReadOnly(const fs::path& p) {
#ifdef _WIN32
    const int rc = ::_wchmod(p.c_str(), _S_IREAD);  // sets the read-only attribute
#else
    const int rc = ::chmod(p.c_str(), 0444);
#endif
    if (rc != 0) throw std::runtime_error("cannot make " + p.string() + " read-only");
}

bool ReadOnlyIsEnforced(const fs::path& dir) {
    const fs::path probe = dir / "read-only-probe";
    WriteFile(probe, std::string("x"));
    MakeReadOnly(probe);
    const bool refused = !std::ofstream(probe, std::ios::binary | std::ios::app).is_open();
    std::error_code ec;
    fs::permissions(probe, fs::perms::owner_write, fs::perm_options::add, ec);
    fs::remove(probe, ec);
    return refused;
}

fs::path Utf8Path(const fs::path& dir, std::string_view name) {
    return dir / fs::path(std::u8string(name.begin(), name.end()));
}

}  // namespace vh::test
