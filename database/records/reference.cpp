#include "database/records/reference.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "database/records/errors.h"
#include "database/records/fields.h"
#include "database/records/text.h"

namespace vh::db {

bool IsNone(None rule, std::int64_t value, std::int64_t count) {
    switch (rule) {
        case None::kNegative:
            return value < 0;
        case None::kNotPositive:
            return value <= 0;
        case None::kOutsideFile:
            return value < 0 || value >= count;
    }
    return false;
}

std::string MissingText(std::int64_t value) {
    return "<missing " + std::to_string(value) + ">";
}

namespace {
bool SameField(const NameField& a, const NameField& b) {
    return a.recordSize == b.recordSize && a.nameOffset == b.nameOffset &&
           a.nameWidth == b.nameWidth && a.idOffset == b.idOffset;
}
}  // namespace

void BatchLookup::Want(RecordFile& file, const NameField& field, std::string name) {
    entries_.push_back({&file, field, std::move(name), std::nullopt});
}

void BatchLookup::Run() {
    // Only the names wanted since the last run: a page with several bindings runs each one's
    // lookups in turn with the same context, and every scan of a file costs a read of all of it.
    const std::size_t from = ran_;
    ran_ = entries_.size();
    std::vector<bool> done(entries_.size(), false);
    for (std::size_t first = from; first < entries_.size(); ++first) {
        if (done[first]) continue;
        const Entry& f = entries_[first];
        std::vector<std::size_t> group;
        std::vector<std::string> names;
        for (std::size_t i = first; i < entries_.size(); ++i)
            if (!done[i] && entries_[i].file == f.file && SameField(entries_[i].field, f.field)) {
                done[i] = true;
                group.push_back(i);
                names.push_back(entries_[i].name);
            }
        try {
            const auto ids = LookupAllByName(names, *f.file, f.field);
            for (std::size_t k = 0; k < group.size(); ++k) entries_[group[k]].id = ids[k];
        } catch (const std::exception&) {
        }
    }
}

std::optional<std::int32_t> BatchLookup::Found(const RecordFile& file, const NameField& field,
                                               std::string_view name) const {
    for (const Entry& e : entries_)
        if (e.file == &file && SameField(e.field, field) && e.name == name) return e.id;
    return std::nullopt;
}

std::string ShowReference(std::int32_t value, RecordFile& file, const NameField& field) {
    if (value < 0) return std::string(kEmptyMarker);
    file.Rewind(field.recordSize);
    file.Seek(value);
    std::vector<std::uint8_t> rec(static_cast<std::size_t>(field.recordSize));
    file.Read(rec.data());
    return Str{field.nameOffset, field.nameWidth}.Read(rec.data());
}

std::optional<std::int64_t> FindFirst(RecordFile& file, int recordSize,
                                      const std::function<bool(const std::uint8_t*)>& match) {
    file.Rewind(recordSize);
    const std::int64_t total = file.RecordCount();
    const std::int64_t perRead = ScanBatchRecords(recordSize, total);
    std::vector<std::uint8_t> batch(static_cast<std::size_t>(perRead * recordSize));
    for (std::int64_t base = 0; base < total; base += perRead) {
        const std::int64_t n = std::min(perRead, total - base);
        file.Read(batch.data(), n);
        for (std::int64_t i = 0; i < n; ++i) {
            if (match(batch.data() + i * recordSize)) return base + i;
        }
    }
    return std::nullopt;
}

std::vector<std::optional<std::int32_t>> LookupAllByName(std::span<const std::string> texts,
                                                         RecordFile& file, const NameField& field) {
    std::vector<std::optional<std::int32_t>> ids(texts.size());
    std::vector<std::string> want;  // the names still wanted, as their fields hold them
    std::vector<std::size_t> of;    // the text each stands for
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i] == kEmptyMarker) {
            ids[i] = -1;
            continue;
        }
        want.push_back(ConvertTextToArray(texts[i], field.nameWidth));
        of.push_back(i);
    }
    if (want.empty()) return ids;
    // A name is compared whole only where its first bytes agree, which rules out nearly every
    // record of a scan: a save looks several names up in files of up to 60000 records.
    const std::size_t headWidth = std::min<std::size_t>(sizeof(std::uint32_t), field.nameWidth);
    auto head = [headWidth](const void* name) {
        std::uint32_t h = 0;
        std::memcpy(&h, name, headWidth);
        return h;
    };
    std::vector<std::uint32_t> heads;
    for (const std::string& w : want) heads.push_back(head(w.data()));
    std::size_t left = want.size();
    FindFirst(file, field.recordSize, [&](const std::uint8_t* rec) {
        const std::uint8_t* name = rec + field.nameOffset;
        const std::uint32_t recordHead = head(name);
        for (std::size_t k = 0; k < want.size(); ++k) {
            if (recordHead != heads[k] || ids[of[k]] ||
                std::memcmp(name, want[k].data(), field.nameWidth) != 0)
                continue;
            ids[of[k]] = I32{field.idOffset}.Read(rec);
            --left;
        }
        return left == 0;
    });
    return ids;
}

std::int32_t LookupByName(std::string_view text, RecordFile& file, const NameField& field) {
    const std::string texts[] = {std::string(text)};
    const std::optional<std::int32_t> id = LookupAllByName(texts, file, field)[0];
    // The scan stopped at the record just past the last one.
    if (!id) throw EInOutError(kReadBeyondEnd, file.PathText(), file.RecordCount());
    return *id;
}

}  // namespace vh::db
