// index.dat, which places the blocks of player and non-player records in staff.dat: its entries
// as bytes, for the block rules (blocks.h) and for naming the records a journal touched.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vh::db {

// index.dat without its 8-byte header: the block entries (IndexEntry), as bytes. A file shorter
// than its header throws "Read beyond end of file".
std::vector<std::uint8_t> ReadIndexEntries(const std::string& dataPath);

}  // namespace vh::db
