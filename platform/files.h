// Paths and whole-file operations. Paths arrive as the Windows-style text the user and the game
// use ("C:\Game\data" + "\stadium.dat"); NativePath turns such text into a path of this system.
// Every function returns 0 or an errno value, or a plain answer; nothing throws.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vh::platform {

// The text as a path of this system: on POSIX a backslash is a separator. The text is UTF-8.
std::filesystem::path NativePath(std::string_view text);
// UTF-8 text as a path, nothing else changed (Windows reads a plain std::string in the C runtime's
// locale, not as UTF-8).
std::filesystem::path Utf8Path(std::string_view text);
// Text for showing a path to the user, with this system's separators.
std::string NativeText(std::string_view text);
// Whether two names are equal ignoring ASCII letter case, as Windows compares file names.
bool EqualNoCase(std::string_view a, std::string_view b);
// The path itself if it exists; else the entry of its directory whose name equals its file name
// ignoring ASCII letter case (files copied from a Windows disc may read STADIUM.DAT); else the
// path unchanged.
std::filesystem::path ResolveCase(const std::filesystem::path& path);

bool Exists(const std::filesystem::path& path);
// 0 when the path exists; else the errno of looking for it (ENOENT or ENOTDIR: it does not exist,
// EACCES: a folder on the way may not be looked into).
int LookUp(const std::filesystem::path& path);
bool IsDirectory(const std::filesystem::path& path);
// The size of the file the path names (following links), without opening it; EISDIR for a folder.
int FileSize(const std::filesystem::path& path, std::uint64_t& size);
// What the path names, the path itself and not what a symbolic link there points to.
enum class EntryKind { kMissing, kFile, kDirectory, kLink, kOther };
EntryKind KindOf(const std::filesystem::path& path);
// Read-only means the owner may not write (POSIX) or the read-only attribute (Windows).
int GetReadOnly(const std::filesystem::path& path, bool& readOnly);
int ClearReadOnly(const std::filesystem::path& path);
int RemoveFile(const std::filesystem::path& path);
int MakeDirectory(const std::filesystem::path& path);
// Copies contents and permission bits. Without overwrite an existing target gives EEXIST.
// The copy is flushed to the disk before the call returns.
int CopyFileTo(const std::filesystem::path& from, const std::filesystem::path& to, bool overwrite);
// A file the user names (a patch, a table to import), read or written whole.
int ReadWholeFile(const std::filesystem::path& path, std::string& bytes);
int WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);
// Renames, replacing an existing target in one step.
int RenameReplace(const std::filesystem::path& from, const std::filesystem::path& to);
int ListDirectory(const std::filesystem::path& dir, std::vector<std::string>& names);

}  // namespace vh::platform
