// Small helpers for tests: a temporary directory that removes itself, and whole-file I/O.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
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

// Marks a file read-only as the user would: mode 0444 (POSIX) or the read-only attribute.
void MakeReadOnly(const std::filesystem::path& p);
// Whether a file made read-only in `dir` really refuses to be opened for writing: not for root,
// nor under Wine run by root (Wine keeps the attribute as the Unix mode bits).
bool ReadOnlyIsEnforced(const std::filesystem::path& dir);
// A path below `dir` from UTF-8 text (a std::string is not read as UTF-8 on Windows).
std::filesystem::path Utf8Path(const std::filesystem::path& dir, std::string_view name);

}  // namespace vh::test
