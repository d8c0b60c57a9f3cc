#include "database/tables/table_data.h"

#include <algorithm>

#include "database/model/lists.h"
#include "database/records/convert.h"
#include "database/records/data_def.h"
#include "database/records/dates.h"
#include "database/records/errors.h"
#include "database/records/file_set.h"
#include "database/records/languages.h"
#include "database/records/person.h"
#include "database/records/record_file.h"
#include "database/records/text.h"
#include "platform/files.h"

namespace vh::db {

bool Column::IsWholeNumber() const {
    switch (shows) {
        case Shows::kRecord:
        case Shows::kMonth:
            return true;
        case Shows::kName:
            return false;
        case Shows::kValue:
            break;
    }
    return field->kind == Kind::kNumber || field->kind == Kind::kReference ||
           field->kind == Kind::kDate || field->kind == Kind::kCheck;
}

std::vector<Column> ColumnsOf(const Table& table) {
    std::vector<Column> columns{{Column::Shows::kRecord, nullptr, std::string(kRecordColumn)}};
    for (const Field& f : table.fields) {
        columns.push_back({Column::Shows::kValue, &f, f.name});
        if (f.kind == Kind::kDate) columns.push_back({Column::Shows::kMonth, &f, f.monthName});
        if (f.IsReference())
            columns.push_back({Column::Shows::kName, &f, f.name + std::string(kNameSuffix)});
    }
    return columns;
}

std::string ColumnList(std::span<const Column> columns) {
    std::string out;
    for (const Column& c : columns) {
        if (!out.empty()) out += ", ";
        out += c.name;
    }
    return out;
}

// --- the files -----------------------------------------------------------------------------------

DataFiles::DataFiles(std::string dataPath) : path_(std::move(dataPath)) {}

const std::vector<std::uint8_t>& DataFiles::Bytes(std::string_view file) {
    if (const auto it = files_.find(file); it != files_.end()) return it->second;
    RecordFile f;
    f.Bind(path_ + std::string(file));
    f.Reset(1, Access::kReadOnly);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(f.RecordCount()));
    if (!bytes.empty()) f.Read(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    f.Close();
    return files_.emplace(std::string(file), std::move(bytes)).first->second;
}

std::int64_t DataFiles::Count(std::string_view file, int recordSize) {
    return static_cast<std::int64_t>(Bytes(file).size()) / recordSize;
}

bool DataFiles::Has(std::string_view file) const {
    return files_.find(file) != files_.end() ||
           platform::Exists(platform::ResolveCase(platform::NativePath(path_ + std::string(file))));
}

void DataFiles::Use(std::string_view file, std::vector<std::uint8_t> bytes) {
    files_.insert_or_assign(std::string(file), std::move(bytes));
}

std::int64_t DataFiles::PersonCount() {
    if (!persons_) {
        // An index.dat given to the directory (Use) places its persons as it places its blocks.
        const auto index = files_.find(kIndexFile);
        const std::int64_t end =
            index == files_.end() ? PersonRecordsEnd(path_)
            : index->second.size() < kIndexHeaderSize
                ? -1
                : PersonRecordsEnd(std::span(index->second).subspan(kIndexHeaderSize));
        persons_ = PersonRecordCount(static_cast<std::int64_t>(Bytes(kStaffFile).size()), end);
    }
    return *persons_;
}

const std::uint8_t* DataFiles::Person(std::int64_t id) {
    return Bytes(kStaffFile).data() + static_cast<std::size_t>(id) * StaffRecord::kSize;
}

namespace {
std::optional<BlockPlace> Locate(DataFiles& files, int type) {
    const std::vector<std::uint8_t>& index = files.Bytes(kIndexFile);
    if (index.size() < kIndexHeaderSize) return std::nullopt;
    return LocateBlock(std::span(index).subspan(kIndexHeaderSize),
                       static_cast<std::int64_t>(files.Bytes(kStaffFile).size()), type);
}
}  // namespace

const std::optional<BlockPlace>& DataFiles::PlayerBlock() {
    if (!player_) player_ = Locate(*this, kPlayerBlockType);
    return *player_;
}

const std::optional<BlockPlace>& DataFiles::NonPlayerBlock() {
    if (!nonPlayer_) nonPlayer_ = Locate(*this, kNonPlayerBlockType);
    return *nonPlayer_;
}

std::int64_t DataFiles::BlockOffset(const std::uint8_t* person, Part part) {
    if (part == Part::kRecord) return -1;
    const bool player = part == Part::kPlayer;
    const std::optional<BlockPlace>& block = player ? PlayerBlock() : NonPlayerBlock();
    const int size = player ? PlayerRecord::kSize : NonPlayerRecord::kSize;
    const std::int32_t index =
        (player ? StaffRecord::PlayerIndex : StaffRecord::NonPlayerIndex).Read(person);
    if (!block || !InBlock(*block, index, size)) return -1;
    return block->blockOffset + static_cast<std::int64_t>(index) * size;
}

const std::uint8_t* DataFiles::BlockRecord(const std::uint8_t* person, Part part) {
    const std::int64_t at = BlockOffset(person, part);
    return at < 0 ? nullptr : Bytes(kStaffFile).data() + at;
}

std::int64_t DataFiles::CountOf(Target t) {
    if (const auto it = counts_.find(t); it != counts_.end()) return it->second;
    std::int64_t count = 0;
    switch (t) {
        case Target::kNone:
            break;
        case Target::kPerson:
            count = PersonCount();
            break;
        case Target::kLanguage:
            count = static_cast<std::int64_t>(kLanguageNames.size()) + 1;
            break;
        default:
            count = Count(InfoOf(t).name, InfoOf(t).naming.recordSize);
            break;
    }
    counts_.emplace(t, count);
    return count;
}

const std::vector<std::string>& DataFiles::Names(Target t) {
    if (const auto it = names_.find(t); it != names_.end()) return it->second;
    const NameField& naming = InfoOf(t).naming;
    const std::vector<std::uint8_t>& bytes = Bytes(InfoOf(t).name);
    const Str name{naming.nameOffset, naming.nameWidth};
    std::vector<std::string> names;
    const std::size_t size = static_cast<std::size_t>(naming.recordSize);
    names.reserve(bytes.size() / size);
    for (std::size_t at = 0; at + size <= bytes.size(); at += size)
        names.push_back(name.Read(bytes.data() + at));
    return names_.emplace(t, std::move(names)).first->second;
}

const NameTables& DataFiles::PersonNames() {
    if (!personNames_) {
        // As a load fills them: at most a table's capacity, each name cut to 50 characters.
        NameTables tables;
        auto fill = [&](Target t, NameTable& table) {
            auto entries = std::make_shared<db::Names>();
            for (const std::string& n : Names(t)) {
                if (entries->size() == table.capacity) break;
                entries->push_back(n.substr(0, kNameTableWidth));
            }
            table.entries = std::move(entries);
        };
        fill(Target::kFirstName, tables.first);
        fill(Target::kSecondName, tables.second);
        fill(Target::kCommonName, tables.common);
        personNames_ = std::move(tables);
    }
    return *personNames_;
}

std::string DataFiles::NameOf(Target t, std::int64_t v) {
    if (t == Target::kLanguage) return std::string(LanguageName(static_cast<int>(v)).value_or(""));
    if (t == Target::kPerson) {
        StaffRecord person;
        std::copy_n(Person(v), StaffRecord::kSize, person.bytes.begin());
        return PersonLabel(person, PersonNames());
    }
    return Names(t)[static_cast<std::size_t>(v)];
}

std::optional<std::int64_t> DataFiles::FindName(Target t, std::string_view name) {
    switch (t) {
        case Target::kNone:
            return std::nullopt;
        case Target::kPerson: {
            std::int32_t id = -1;
            try {
                id = GetStaffIdFromName(name);
            } catch (const EConvertError&) {
                return std::nullopt;
            }
            if (id < 0 || id >= PersonCount() || NameOf(t, id) != name) return std::nullopt;
            return id;
        }
        case Target::kLanguage:
            for (std::int64_t v = 1; v < CountOf(t); ++v)
                if (NameOf(t, v) == name) return v;
            return std::nullopt;
        default:
            break;
    }
    auto [at, added] = firstOfName_.try_emplace(t);
    if (added) {
        const std::vector<std::string>& names = Names(t);
        at->second.reserve(names.size());
        for (std::size_t i = 0; i < names.size(); ++i)
            at->second.emplace(names[i], static_cast<std::int64_t>(i));  // the first one stays
    }
    const auto found = at->second.find(std::string(name));
    if (found == at->second.end()) return std::nullopt;
    return found->second;
}

bool DataFiles::Apply(const WriteSet& set) {
    if (!set.Cuts().empty()) return false;
    for (const Change& c : set.Changes()) {
        if (c.file == kIndexFile) return false;  // where the blocks lie
        const auto it = files_.find(c.file);
        if (it != files_.end() && c.offset + static_cast<std::int64_t>(c.bytes.size()) >
                                      static_cast<std::int64_t>(it->second.size()))
            return false;
    }
    for (const Change& c : set.Changes()) {
        const auto it = files_.find(c.file);
        if (it == files_.end()) continue;  // not read yet: it will be read as it is now
        std::copy(c.bytes.begin(), c.bytes.end(), it->second.begin() + c.offset);
        // What was taken from the file is taken again when next needed.
        for (auto n = names_.begin(); n != names_.end();) {
            if (InfoOf(n->first).name == c.file) {
                firstOfName_.erase(n->first);
                if (IsPersonName(n->first)) personNames_.reset();
                n = names_.erase(n);
            } else {
                ++n;
            }
        }
    }
    return true;
}

// --- rows and cells ------------------------------------------------------------------------------

TableRows::TableRows(DataFiles& files, TableId table)
    : files_(files), table_(TableOf(table)), columns_(ColumnsOf(table_)) {
    if (table_.IsPersons()) {
        const bool players = table == TableId::kPlayers;
        const Part part = players ? Part::kPlayer : Part::kNonPlayer;
        const std::int64_t count = files.PersonCount();
        // staff.dat once, not looked up again for each of up to 50000 persons (a table is
        // read at every check of a table view's edit).
        const std::uint8_t* staff = files.Bytes(kStaffFile).data();
        rowOfRecord_.assign(static_cast<std::size_t>(count), -1);
        for (std::int64_t id = 0; id < count; ++id) {
            const std::uint8_t* person = staff + id * StaffRecord::kSize;
            if (IsPlayerJob(StaffRecord::ClubJob.Read(person)) != players) continue;
            rowOfRecord_[static_cast<std::size_t>(id)] = static_cast<std::int32_t>(rows_.size());
            const std::int64_t block = files.BlockOffset(person, part);
            rows_.push_back({id, person, block < 0 ? nullptr : staff + block});
        }
        return;
    }
    const std::vector<std::uint8_t>& bytes = files.Bytes(table_.file);
    const std::int64_t count = files.Count(table_.file, table_.recordSize);
    rows_.reserve(static_cast<std::size_t>(count));
    rowOfRecord_.reserve(static_cast<std::size_t>(count));
    for (std::int64_t n = 0; n < count; ++n) {
        rowOfRecord_.push_back(static_cast<std::int32_t>(n));
        rows_.push_back({n, bytes.data() + static_cast<std::size_t>(n) * table_.recordSize});
    }
}

const RowRef* TableRows::Find(std::int64_t record) const {
    if (record < 0 || record >= static_cast<std::int64_t>(rowOfRecord_.size())) return nullptr;
    const std::int32_t row = rowOfRecord_[static_cast<std::size_t>(record)];
    return row < 0 ? nullptr : &rows_[static_cast<std::size_t>(row)];
}

std::string TableRows::Label(const RowRef& row) const {
    return Cp1252ToUtf8(files_.NameOf(TargetOf(table_.id), row.record));
}

const Column* TableRows::FindColumn(std::string_view name) const {
    for (const Column& c : columns_)
        if (c.name == name) return &c;
    return nullptr;
}

std::string TableRows::Cell(const RowRef& row, const Column& c) const {
    if (c.shows == Column::Shows::kRecord) return std::to_string(row.record);
    return FormatCell(c, row.Of(*c.field), files_);
}

namespace {

template <class Each>
std::string Joined(const Field& f, Each each) {
    std::string out;
    for (std::size_t k = 0; k < f.count; ++k) {
        if (k) out += kListSeparator;
        out += each(k);
    }
    return out;
}

}  // namespace

std::string ReferenceName(const Field& f, std::int64_t v, DataFiles& files) {
    const std::int64_t count = files.CountOf(f.target);
    if (f.IsNone(v, count)) return f.NoneText();
    if (v >= count) return MissingText(v);
    return Cp1252ToUtf8(files.NameOf(f.target, v));
}

std::string FormatCell(const Column& c, const std::uint8_t* rec, DataFiles& files) {
    if (c.shows == Column::Shows::kRecord) return {};
    return FormatCell(c.shows, *c.field, rec, files);
}

std::string FormatCell(Column::Shows shows, const Field& f, const std::uint8_t* rec,
                       DataFiles& files) {
    if (!rec) return {};
    if (shows == Column::Shows::kName)
        return Joined(f, [&](std::size_t k) { return ReferenceName(f, f.Read(rec, k), files); });
    int day = 0, month = 0;
    switch (f.kind) {
        case Kind::kNumber:
        case Kind::kReference:
            return std::to_string(f.Read(rec));
        case Kind::kText:
            return Cp1252ToUtf8(f.ReadText(rec));
        case Kind::kDate:
            GetDate(static_cast<int>(f.Read(rec)), day, month);
            return std::to_string(shows == Column::Shows::kMonth ? month : day);
        case Kind::kCoordinate:
            return FormatCoordinate(f.ReadDouble(rec));
        case Kind::kList:
            return Joined(f, [&](std::size_t k) { return std::to_string(f.Read(rec, k)); });
        case Kind::kCheck:
            return f.IsChecked(f.Read(rec)) ? "1" : "0";
        case Kind::kChoice: {
            const std::int64_t v = f.Read(rec);
            if (v >= 1 && v <= static_cast<std::int64_t>(f.items.size()))
                return f.items[static_cast<std::size_t>(v - 1)];
            return std::to_string(v);
        }
    }
    return {};
}

}  // namespace vh::db
