// Data directories as another generator might write them: a sample directory rewritten wherever
// the documented layouts leave the choice to the writer. The editor opens and edits them as it
// does the sample, so the check must find nothing on them either.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "database/records/data_def.h"
#include "support/test_util.h"
#include "tools/sample.h"

namespace vh::test {

// What another generator may do differently; any combination.
enum Shape : unsigned {
    kIndexNoise = 1u << 0,     // index.dat's header and the entry bytes the editor never reads
    kIndexOrder = 1u << 1,     // the entries in another order than by offset
    kPersonsEntry = 1u << 2,   // a first entry of a type of its own at offset 0 (the persons)
    kRecordNoise = 1u << 3,    // every byte of every record that no field names
    kEveryLetter = 1u << 4,    // names spelled with every letter of cp1252
    kNoCommonNames = 1u << 5,  // an empty common_names.dat, every CommonName 0 (none)
    kAllShapes = (1u << 6) - 1,
};

namespace real_shaped {

// Deterministic noise, zeros included.
class Noise {
  public:
    explicit Noise(std::uint64_t seed) : state_(seed) {}
    std::uint8_t Byte() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return static_cast<std::uint8_t>(z ^ (z >> 31));
    }
    void Fill(Bytes& b, std::size_t from, std::size_t to) {  // both included
        for (std::size_t i = from; i <= to && i < b.size(); ++i) b[i] = Byte();
    }

  private:
    std::uint64_t state_;
};

using Ranges = std::vector<std::pair<std::size_t, std::size_t>>;

// Bytes of each layout that no field names, as the layouts document them.
inline void NoiseInRecords(Bytes& file, std::size_t from, std::size_t to, std::size_t size,
                           const Ranges& unread, Noise& noise) {
    for (std::size_t at = from; at + size <= to; at += size)
        for (const auto& [a, b] : unread) noise.Fill(file, at + a, at + b);
}

inline void NoiseInFile(const std::filesystem::path& file, std::size_t size, const Ranges& unread,
                        Noise& noise) {
    Bytes b = ReadFile(file);
    NoiseInRecords(b, 0, b.size(), size, unread, noise);
    WriteFile(file, b);
}

// Every letter of cp1252, eight to a name.
inline std::vector<std::string> LetterNames() {
    std::string letters;
    for (int c = 0; c < 256; ++c) {
        const bool ascii = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        const bool high = c == 0x83 || c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9A ||
                          c == 0x9C || c == 0x9E || c == 0x9F || c == 0xAA || c == 0xB5 ||
                          c == 0xBA || (c >= 0xC0 && c != 0xD7 && c != 0xF7);
        if (ascii || high) letters += static_cast<char>(c);
    }
    std::vector<std::string> names;
    for (std::size_t i = 0; i < letters.size(); i += 8) names.push_back(letters.substr(i, 8));
    return names;
}

// Records 1, 2, ... of a file get the letter names in a name field (whole, zero-padded).
inline void SpellWithEveryLetter(const std::filesystem::path& file, std::size_t size,
                                 std::size_t offset, std::size_t width) {
    Bytes b = ReadFile(file);
    const auto names = LetterNames();
    for (std::size_t k = 0; k < names.size() && (k + 2) * size <= b.size(); ++k) {
        const std::size_t at = (k + 1) * size + offset;
        std::fill_n(b.begin() + static_cast<std::ptrdiff_t>(at), width, 0);
        std::copy(names[k].begin(), names[k].end(), b.begin() + static_cast<std::ptrdiff_t>(at));
    }
    WriteFile(file, b);
}

}  // namespace real_shaped

// Rewrites the sample in `dir` (written with summary `s`) in the shapes asked for.
inline void Reshape(const std::filesystem::path& dir, const sample::SampleSummary& s,
                    unsigned shapes, std::uint64_t seed = 7) {
    using namespace real_shaped;
    using namespace db;
    Noise noise(seed);

    Bytes index = ReadFile(dir / "index.dat");
    std::vector<Bytes> entries;
    for (std::size_t at = kIndexHeaderSize; at + IndexEntry::kSize <= index.size();
         at += IndexEntry::kSize)
        entries.emplace_back(index.begin() + static_cast<std::ptrdiff_t>(at),
                             index.begin() + static_cast<std::ptrdiff_t>(at + IndexEntry::kSize));
    if (shapes & kPersonsEntry) {
        Bytes persons(IndexEntry::kSize, 0);
        PutText(persons, 0, "staff");
        PutI32(persons, 51, 3);  // BlockType: neither block
        PutI32(persons, 55, s.persons);
        PutI32(persons, 59, 0);  // BlockOffset
        PutI32(persons, 63, static_cast<std::int32_t>(StaffRecord::kSize));
        entries.insert(entries.begin(), persons);
    }
    if (shapes & kIndexOrder) std::reverse(entries.begin(), entries.end());
    index.resize(kIndexHeaderSize);
    if (shapes & kIndexNoise) noise.Fill(index, 0, kIndexHeaderSize - 1);
    for (Bytes& e : entries) {
        if (shapes & kIndexNoise)
            for (const auto& [a, b] : Ranges{{0, 50}, {55, 58}, {63, 66}}) noise.Fill(e, a, b);
        index.insert(index.end(), e.begin(), e.end());
    }
    WriteFile(dir / "index.dat", index);

    if (shapes & kRecordNoise) {
        NoiseInFile(dir / "first_names.dat", NamesRecord::kSize, {{55, 59}}, noise);
        NoiseInFile(dir / "second_names.dat", NamesRecord::kSize, {{55, 59}}, noise);
        NoiseInFile(dir / "common_names.dat", NamesRecord::kSize, {{55, 59}}, noise);
        NoiseInFile(dir / "stadium.dat", StadiumRecord::kSize, {{55, 55}, {68, 71}}, noise);
        NoiseInFile(dir / "city.dat", CityRecord::kSize, {{30, 30}, {52, 55}}, noise);
        NoiseInFile(dir / "club.dat", ClubRecord::kSize, {{55, 55}, {82, 82}, {96, 99}, {483, 580}},
                    noise);
        NoiseInFile(dir / "club_comp.dat", ClubCompRecord::kSize, {{55, 106}}, noise);
        NoiseInFile(dir / "colour.dat", ColourRecord::kSize, {{55, 57}}, noise);
        NoiseInFile(dir / "nation.dat", NationRecord::kSize,
                    {{55, 55}, {82, 82}, {118, 118}, {134, 141}, {168, 271}, {284, 289}}, noise);
        NoiseInFile(dir / "continent.dat", ContinentRecord::kSize, {{30, 197}}, noise);
        Bytes staff = ReadFile(dir / "staff.dat");
        const auto players = static_cast<std::size_t>(s.playerBlockOffset);
        const auto nonPlayers = static_cast<std::size_t>(s.nonPlayerBlockOffset);
        NoiseInRecords(staff, 0, players, StaffRecord::kSize,
                       {{20, 25}, {41, 56}, {66, 69}, {74, 77}, {95, 96}, {149, 152}}, noise);
        NoiseInRecords(staff, players, nonPlayers, PlayerRecord::kSize, {{69, 69}}, noise);
        NoiseInRecords(staff, nonPlayers, staff.size(), NonPlayerRecord::kSize,
                       {{27, 27}, {67, 67}}, noise);
        WriteFile(dir / "staff.dat", staff);
    }

    if (shapes & kEveryLetter) {
        for (const char* names : {"first_names.dat", "second_names.dat", "common_names.dat"})
            SpellWithEveryLetter(dir / names, NamesRecord::kSize, 0, 51);
        SpellWithEveryLetter(dir / "city.dat", CityRecord::kSize, 4, 26);
        SpellWithEveryLetter(dir / "stadium.dat", StadiumRecord::kSize, 4, 51);
        SpellWithEveryLetter(dir / "club.dat", ClubRecord::kSize, 56, 26);
    }

    if (shapes & kNoCommonNames) {
        WriteFile(dir / "common_names.dat", Bytes{});
        Bytes staff = ReadFile(dir / "staff.dat");
        for (std::size_t at = 0; at < static_cast<std::size_t>(s.playerBlockOffset);
             at += StaffRecord::kSize)
            PutI32(staff, at + 12, 0);
        WriteFile(dir / "staff.dat", staff);
    }
}

}  // namespace vh::test
