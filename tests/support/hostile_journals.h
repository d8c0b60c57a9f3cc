// Journals that no commit of this editor writes, as a data folder shared as a download may carry
// them: each must be refused before a byte is written, inside the folder or outside it, and
// without reading more than the journal's header. Used through every door that recovers: the
// database call, vhtool and the window's "Load Data".
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "database/write/journal.h"
#include "support/test_util.h"

namespace vh::test {

struct HostileJournal {
    const char* name;
    // Makes the journal in `data`; `outside` is a folder beside it that must stay as it is.
    std::function<void(const std::filesystem::path& data, const std::filesystem::path& outside)>
        make;
    bool posixOnly = false;
};

// Everything a journal might reach: the data folder, the folder beside it and the file a
// name without a separator lands on. A journal file is taken by its size only (one of them is
// 2 GiB), the lock file not at all.
inline std::vector<std::pair<std::string, Bytes>> Reachable(const std::filesystem::path& data,
                                                            const std::filesystem::path& outside) {
    namespace fs = std::filesystem;
    std::vector<std::pair<std::string, Bytes>> out;
    for (const fs::path& root : {data, outside})
        for (const auto& e : fs::recursive_directory_iterator(root)) {
            const std::string name = e.path().filename().string();
            if (name == "vhedit.lock" || !e.is_regular_file()) continue;
            const std::string key = (root == data ? "data/" : "outside/") + name;
            if (name == "vhedit.journal")
                out.emplace_back(key, Bytes(std::to_string(fs::file_size(e.path())).size()));
            else
                out.emplace_back(key, ReadFile(e.path()));
        }
    const fs::path sibling = data.string() + "_victim.dat";
    if (fs::exists(sibling)) out.emplace_back("sibling", ReadFile(sibling));
    std::sort(out.begin(), out.end());
    return out;
}

inline std::vector<HostileJournal> HostileJournals() {
    namespace fs = std::filesystem;
    using db::EncodeJournal;
    using db::Journal;
    auto entry = [](std::string file, std::int64_t sizeBefore, std::int64_t offset,
                    std::size_t length) {
        return db::JournalEntry{std::move(file), sizeBefore, offset, Bytes(length, 0x66)};
    };
    auto size = [](const fs::path& p) { return static_cast<std::int64_t>(fs::file_size(p)); };
    auto one = [](const fs::path& data, db::JournalEntry e) {
        WriteFile(data / "vhedit.journal", EncodeJournal(Journal{"Save of Club Oslund", {e}}));
    };
    // A name that climbs out of the folder into the one beside it, in the spelling given.
    auto climbing = [=](std::string prefix, std::string sep) {
        return [=](const fs::path& data, const fs::path& outside) {
            const std::string name = prefix + outside.filename().string() + sep + "victim.dat";
            one(data, entry(name, 0, 0, 8));
        };
    };
    return {
        {"a parent, backslashes", climbing("\\..\\", "\\")},
        {"a parent, slashes", climbing("/../", "/")},
        {"two parents and back in",
         [=](const fs::path& data, const fs::path& outside) {
             const std::string name = "\\..\\..\\" + outside.parent_path().filename().string() +
                                      "\\" + outside.filename().string() + "\\victim.dat";
             one(data, entry(name, 0, 0, 8));
         }},
        {"no separator: beside the folder",
         [=](const fs::path& data, const fs::path&) {
             WriteFile(fs::path(data.string() + "_victim.dat"), Bytes(64, 0x11));
             one(data, entry("_victim.dat", 64, 0, 8));
         }},
        {"a drive", [=](const fs::path& data,
                        const fs::path&) { one(data, entry("\\C:victim.dat", 0, 0, 8)); }},
        {"an image past its size before",
         [=](const fs::path& data, const fs::path&) {
             one(data, entry("\\club.dat", 581, 577, 8));
         }},
        {"a size before above the file's size",
         [=](const fs::path& data, const fs::path&) {
             one(data, entry("\\staff.dat", size(data / "staff.dat") + 4096, 0, 157));
         }},
        {"a size before of 0 for staff.dat",
         [=](const fs::path& data, const fs::path&) { one(data, entry("\\staff.dat", 0, 0, 0)); }},
        {"a missing file",
         [=](const fs::path& data, const fs::path&) {
             fs::remove(data / "continent.dat");
             one(data, entry("\\continent.dat", 198, 0, 198));
         }},
        {"a stated length of 2^63",
         [=](const fs::path& data, const fs::path&) {
             Bytes j = EncodeJournal(Journal{"Save", {entry("\\club.dat", 581, 0, 8)}});
             j[16 + 7] = 0x80;
             WriteFile(data / "vhedit.journal", j);
         }},
        {"a 2 GiB file",
         [=](const fs::path& data, const fs::path&) {
             Bytes j = EncodeJournal(Journal{"Save", {entry("\\club.dat", 581, 0, 8)}});
             const std::uint64_t big = std::uint64_t{1} << 31;
             for (int i = 0; i < 8; ++i) j[16 + i] = static_cast<std::uint8_t>(big >> (8 * i));
             WriteFile(data / "vhedit.journal", j);
             fs::resize_file(data / "vhedit.journal", big);  // sparse: nothing is on the disk
         }},
        {"a directory", [=](const fs::path& data,
                            const fs::path&) { fs::create_directory(data / "vhedit.journal"); }},
#ifndef _WIN32
        {"a named pipe",
         [=](const fs::path& data, const fs::path&) {
             ASSERT_EQ(::mkfifo((data / "vhedit.journal").c_str(), 0644), 0);
         },
         true},
        {"a link to a file outside",
         [=](const fs::path& data, const fs::path& outside) {
             WriteFile(outside / "journal.bin",
                       EncodeJournal(Journal{"Save", {entry("\\club.dat", 581, 0, 8)}}));
             fs::create_symlink(outside / "journal.bin", data / "vhedit.journal");
         },
         true},
#endif
    };
}

// The folder beside the data folder, with a file a climbing name would reach.
inline void MakeVictims(const std::filesystem::path& outside) {
    WriteFile(outside / "victim.dat", Bytes(64, 0x11));
}

}  // namespace vh::test
