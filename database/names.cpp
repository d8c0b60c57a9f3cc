#include "names.h"

#include "data_def.h"

namespace vh::db {

const std::string& NameTable::At(long long n) const {
    static const std::string kNone;
    if (n < 0 || static_cast<std::size_t>(n) >= entries->size()) return kNone;
    return (*entries)[static_cast<std::size_t>(n)];
}

void LoadNameTable(RecordFile& file, NameTable& table) {
    file.Reset(NamesRecord::kSize);
    const auto total = static_cast<std::size_t>(file.RecordCount());
    const std::size_t keep = std::min(total, table.capacity);
    auto names = std::make_shared<Names>();
    names->reserve(keep);
    NamesRecord rec;
    for (std::size_t i = 0; i < keep; ++i) {
        file.Read(rec.bytes);
        std::string name = rec.Get(NamesRecord::Name);
        if (name.size() > kNameTableWidth) name.resize(kNameTableWidth);
        names->push_back(std::move(name));
    }
    table.entries = std::move(names);
    table.leftOut = total - keep;
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
