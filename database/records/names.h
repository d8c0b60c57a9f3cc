// In-memory tables of names: the three names files, read at every load, and the tables the lists
// are filled from. A table is an immutable snapshot: a refill makes a new one, so a list model
// still showing the old one stays valid.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "database/records/fields.h"
#include "database/records/record_file.h"

namespace vh::db {

using Names = std::vector<std::string>;  // cp1252 bytes
using NamesPtr = std::shared_ptr<const Names>;

struct NameTable {
    std::size_t capacity = 0;
    NamesPtr entries = std::make_shared<const Names>();
    std::size_t leftOut = 0;  // records of the last fill that did not fit

    std::size_t Count() const { return entries->size(); }
    // Entry n, or "" when n is outside the table.
    const std::string& At(long long n) const;
};

inline constexpr std::size_t kFirstNameCapacity = 22001;
inline constexpr std::size_t kSecondNameCapacity = 60001;
inline constexpr std::size_t kCommonNameCapacity = 7001;
inline constexpr std::size_t kNameTableWidth = 50;  // a name is kept to its first 50 characters

struct NameTables {
    NameTable first{kFirstNameCapacity};
    NameTable second{kSecondNameCapacity};
    NameTable common{kCommonNameCapacity};
};

// Fills a table from a names file (of NamesRecords): entry n = the name of record n, cut to 50
// characters; at most the table's capacity, the rest counted in leftOut.
void LoadNameTable(RecordFile& file, NameTable& table);

// Fills a table from the name field of every record of a file (of `recordSize`-byte records), up
// to the table's capacity, each name kept to its first `maxLength` characters; read in batches.
void FillNameTable(RecordFile& file, int recordSize, const Str& field, std::size_t maxLength,
                   NameTable& table);

// One notice per file whose records did not all fit its table.
struct LeftOut {
    std::string file;  // e.g. "second_names.dat"
    std::size_t count;
};
std::string LeftOutMessage(const std::vector<LeftOut>& leftOut);

}  // namespace vh::db
