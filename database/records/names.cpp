#include "database/records/names.h"

#include <algorithm>
#include <vector>

#include "database/records/data_def.h"

namespace vh::db {

const std::string& NameTable::At(long long n) const {
    static const std::string kNone;
    if (n < 0 || static_cast<std::size_t>(n) >= entries->size()) return kNone;
    return (*entries)[static_cast<std::size_t>(n)];
}

void FillNameTable(RecordFile& file, int recordSize, const Str& field, std::size_t maxLength,
                   NameTable& table) {
    file.Reset(recordSize);
    const auto total = static_cast<std::size_t>(file.RecordCount());
    const std::size_t keep = std::min(total, table.capacity);
    const auto size = static_cast<std::size_t>(recordSize);
    auto names = std::make_shared<Names>();
    names->reserve(keep);
    // In batches of records: a read per record cost more than the names themselves.
    const auto perRead =
        static_cast<std::size_t>(ScanBatchRecords(recordSize, static_cast<std::int64_t>(keep)));
    std::vector<std::uint8_t> batch(perRead * size);
    for (std::size_t base = 0; base < keep; base += perRead) {
        const std::size_t n = std::min(perRead, keep - base);
        file.Read(batch.data(), static_cast<std::int64_t>(n));
        for (std::size_t i = 0; i < n; ++i) {
            std::string name = field.Read(batch.data() + i * size);
            if (name.size() > maxLength) name.resize(maxLength);
            names->push_back(std::move(name));
        }
    }
    table.entries = std::move(names);
    table.leftOut = total - keep;
}

void LoadNameTable(RecordFile& file, NameTable& table) {
    FillNameTable(file, NamesRecord::kSize, NamesRecord::Name, kNameTableWidth, table);
}

std::string LeftOutMessage(const std::vector<LeftOut>& leftOut) {
    std::string text;
    for (const auto& l : leftOut) {
        if (!text.empty()) text += "\n";
        text += l.file + ": " + std::to_string(l.count) + (l.count == 1 ? " record" : " records") +
                " beyond what the editor can list " + (l.count == 1 ? "was" : "were") +
                " left out.";
    }
    return text;
}

}  // namespace vh::db
