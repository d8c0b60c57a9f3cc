#include "reference.h"

#include <cstring>
#include <vector>

#include "errors.h"
#include "fields.h"
#include "text.h"

namespace vh::db {

std::string ShowReference(std::int32_t value, RecordFile& file, const NameField& field) {
    if (value < 0) return std::string(kEmptyMarker);
    file.Reset(field.recordSize);
    file.Seek(value);
    std::vector<std::uint8_t> rec(static_cast<std::size_t>(field.recordSize));
    file.Read(rec.data());
    return Str{field.nameOffset, field.nameWidth}.Read(rec.data());
}

std::optional<std::int64_t> FindFirst(RecordFile& file, int recordSize,
                                      const std::function<bool(const std::uint8_t*)>& match) {
    file.Reset(recordSize);
    const std::int64_t total = file.RecordCount();
    constexpr std::int64_t kBatch = 256;
    std::vector<std::uint8_t> batch(static_cast<std::size_t>(kBatch * recordSize));
    for (std::int64_t base = 0; base < total; base += kBatch) {
        const std::int64_t n = std::min(kBatch, total - base);
        file.Read(batch.data(), n);
        for (std::int64_t i = 0; i < n; ++i) {
            if (match(batch.data() + i * recordSize)) return base + i;
        }
    }
    return std::nullopt;
}

std::int32_t LookupByName(std::string_view text, RecordFile& file, const NameField& field) {
    if (text == kEmptyMarker) return -1;
    const std::string want = ConvertTextToArray(text, field.nameWidth);
    std::int32_t id = 0;
    const auto found = FindFirst(file, field.recordSize, [&](const std::uint8_t* rec) {
        if (std::memcmp(rec + field.nameOffset, want.data(), field.nameWidth) != 0) return false;
        id = I32{field.idOffset}.Read(rec);
        return true;
    });
    // The scan stopped at the record just past the last one.
    if (!found) throw EInOutError(kReadBeyondEnd, file.PathText(), file.RecordCount());
    return id;
}

}  // namespace vh::db
