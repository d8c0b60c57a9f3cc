// Small helpers for tests: a temporary directory that removes itself, and whole-file I/O.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vh::test {

using Bytes = std::vector<std::uint8_t>;

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::string Str() const { return path_.string(); }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

void WriteFile(const std::filesystem::path& p, const Bytes& bytes);
void WriteFile(const std::filesystem::path& p, const std::string& text);
Bytes ReadFile(const std::filesystem::path& p);
// Every regular file below dir (relative name -> contents), for before/after comparisons.
std::vector<std::pair<std::string, Bytes>> Snapshot(const std::filesystem::path& dir);

// Little-endian writers for golden-byte tests.
void PutI32(Bytes& b, std::size_t off, std::int32_t v);
void PutI16(Bytes& b, std::size_t off, std::int16_t v);
void PutText(Bytes& b, std::size_t off, const std::string& text);
std::int32_t GetI32(const Bytes& b, std::size_t off);

// Running as root ignores permission bits, so tests of real read-only files skip then.
bool RunningAsRoot();

}  // namespace vh::test
