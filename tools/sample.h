// The sample data directory: a complete, consistent world of every file the editor opens, made
// up from a seed. Tests build their fixtures with it, the demo runs on it, the benchmarks use the
// full size. The same options always give the same bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vh::sample {

enum class SampleSize {
    kSmall,  // a few hundred persons, a few dozen of everything else
    kFull,   // the largest tables the editor can hold (50000 persons, 29998 clubs, ...)
};

struct SampleOptions {
    SampleSize size = SampleSize::kSmall;
    std::uint64_t seed = 1;
    bool clubcomp = true;    // write clubcomp.dat (opaque bytes; no editor reads it)
    bool overwrite = false;  // write over a directory that already holds data files
    // Give pairs of records one name (the IdPairs of SampleSummary), for tests of the rule that
    // the first record of a name wins; the check warns about each pair. Without it every name a
    // search or pick goes by is unique.
    bool sharedNames = false;
};

// A failure to write the sample, with a message for the user.
class SampleError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct IdPair {
    std::int32_t first = -1;  // the lower record number, the one a lookup by name finds
    std::int32_t second = -1;
};

// What was written, and records with properties that tests of other parts look for. Every Id is a
// record number of its file; people are staff.dat Ids.
struct SampleSummary {
    int continents = 0, colours = 0, competitions = 0, nations = 0, cities = 0, stadiums = 0,
        clubs = 0;
    int firstNames = 0, secondNames = 0, commonNames = 0;
    int persons = 0;                     // person records at the start of staff.dat
    int players = 0;                     // records of the player block
    int nonPlayers = 0;                  // records of the non-player block
    std::int32_t playerBlockOffset = 0;  // byte offsets in staff.dat
    std::int32_t nonPlayerBlockOffset = 0;

    // People. The player and the manager have a block index different from their Id.
    std::int32_t player = -1;            // at clubWithFullPosts, labelled "second, first (Id)"
    std::int32_t commonNamePlayer = -1;  // at clubWithFullPosts, labelled by a common name
    std::int32_t freePlayer = -1;        // Club -1
    std::int32_t manager = -1;           // Manager (ClubJob 5) of clubWithFullPosts
    std::int32_t noPostStaff = -1;       // ClubJob 7 at clubWithGaps: at a club, in no post
    std::int32_t freeStaff = -1;         // staff with Club -1, no national side
    std::int32_t nationalManager = -1;   // staff with Club -1, NationEmployer set, NationJob 5

    // Clubs.
    std::int32_t clubWithFullPosts = -1;   // every post filled: 3 directors, 5 coaches, 7 scouts,
                                           // physio slots 0..2; slots 3 and 4 of physios empty
    std::int32_t clubWithGaps = -1;        // -1 between filled slots of Players and Directors
    std::int32_t clubWithoutManager = -1;  // Manager -1 (and a squad)
    std::int32_t clubWithoutStadium = -1;  // Stadium -1
    std::int32_t clubWithoutSquad = -1;    // all 50 Players slots -1
    // Pairs of one name, with SampleOptions::sharedNames only (else -1, -1).
    IdPair clubsSharingShortName;  // both "Athletic"; no other club is so named
    IdPair stadiumsSharingName;    // "Central Park"
    IdPair citiesSharingName;      // "Halberg"

    // Places and names.
    IdPair secondNamesAlike;            // "Berg" (second_names.dat; no search goes by it alone)
    std::int32_t longNameStadium = -1;  // a name of exactly 51 characters (no terminator)
    std::int32_t albanianNation = -1;   // Language1 34, the second "ALBANIAN"
};

struct SampleFile {
    std::string name;  // e.g. "stadium.dat"
    std::vector<std::uint8_t> bytes;
};

struct SampleData {
    std::vector<SampleFile> files;
    SampleSummary summary;
};

// Builds every file in memory.
SampleData BuildSample(const SampleOptions& options);

// Writes the sample into dir, creating the directory if needed. Unless options.overwrite is set,
// a directory holding any data file (stadium.dat, staff.dat, ... in any letter case) is refused
// before anything is written. Throws SampleError.
SampleSummary WriteSample(const std::filesystem::path& dir, const SampleOptions& options);

// The first data file that dir already holds (its name as found there), if any.
std::optional<std::string> ExistingDataFile(const std::filesystem::path& dir);

std::string_view SizeName(SampleSize size);
std::optional<SampleSize> ParseSize(std::string_view text);

}  // namespace vh::sample
