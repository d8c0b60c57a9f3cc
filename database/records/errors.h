// The two errors every command may stop with, shown by the window's handler guard.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vh::db {

// Input/output failure with the classic code of the game's platform:
// 2 "File not found", 3 "Invalid filename", 4 "Too many open files", 5 "File access denied",
// 100 "Read beyond end of file", 101 "Disk full", 106 "Invalid numeric input",
// anything else "I/O error <code>".
class EInOutError : public std::runtime_error {
  public:
    explicit EInOutError(int code);
    // `record` is the record number the failure concerns; -1, the files' own "none", when there
    // is none. Other negative numbers are kept: a seek to record -4 says so.
    EInOutError(int code, const std::string& path, std::int64_t record = -1);
    int Code() const { return code_; }
    // The file the failure concerns, as the program named it ("" when not known).
    const std::string& Path() const { return path_; }
    std::int64_t Record() const { return record_; }
    // Where it happened, for the line under the classic text: the file's name without its
    // directory, then ", record N" when the record is known ("city.dat, record 12"); "" when no
    // file is known.
    std::string Where() const;

    static std::string MessageFor(int code);
    // The one place where operating-system errors become classic codes. Errors without a
    // classic counterpart get 1000 + errno, so they never pass for one of the codes above.
    static int CodeFromErrno(int err);

  private:
    int code_;
    std::string path_;
    std::int64_t record_ = -1;
};

inline constexpr int kFileNotFound = 2;
inline constexpr int kInvalidFilename = 3;
inline constexpr int kTooManyOpenFiles = 4;
inline constexpr int kAccessDenied = 5;
inline constexpr int kReadBeyondEnd = 100;
inline constexpr int kDiskFull = 101;
inline constexpr int kInvalidNumericInput = 106;
inline constexpr int kNegativeSeek = 131;

// A text that is not the number a field needs.
class EConvertError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The data say something the editor must refuse (a person without a player record, ...).
class EDataError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace vh::db
