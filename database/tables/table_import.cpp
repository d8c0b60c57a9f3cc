#include "database/tables/table_import.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <utility>

#include "database/model/squad.h"
#include "database/records/convert.h"
#include "database/records/data_def.h"
#include "database/records/dates.h"
#include "database/records/errors.h"
#include "database/records/file_set.h"
#include "database/records/person.h"
#include "database/records/text.h"

namespace vh::db {

namespace {

std::string Quoted(std::string_view s) {
    std::string out;
    out.reserve(s.size() + 2);
    out.append(1, '\'').append(s).append(1, '\'');
    return out;
}

std::string NotAnInteger(std::string_view s) {
    return Quoted(s) + " is not a valid integer value";
}

std::string Utf8Of(char32_t cp) {
    std::string out;
    AppendUtf8(out, cp);
    return out;
}

// The post a field of a club's staff stands for; kNone for the squad.
Post PostOf(const Field& f) {
    const std::string_view m = f.member;
    if (m == "Chairman") return Post::kChairman;
    if (m == "Directors") return Post::kDirectors;
    if (m == "Manager") return Post::kManager;
    if (m == "AssistantManager") return Post::kAssistantManager;
    if (m == "Coaches") return Post::kCoaches;
    if (m == "Scouts") return Post::kScouts;
    if (m == "Physios") return Post::kPhysios;
    return Post::kNone;
}

std::string Joined(const std::vector<std::int64_t>& values) {
    std::string out;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i) out += kListSeparator;
        out += std::to_string(values[i]);
    }
    return out;
}

// A record the plan works on: its bytes as read and as the plan leaves them, and where a listing
// of its changes finds its columns.
struct Work {
    std::string file;
    std::int64_t offset = 0;
    std::vector<std::uint8_t> before, now;
    TableId table;
    std::int64_t record = 0;
    Part part = Part::kRecord;
};

// A change that goes through the transfer and appointment rules, made once every cell is read.
struct Move {
    std::size_t line;
    std::string recordText;
    const Field* field;
    std::string column, given;
    std::int64_t record;
    std::vector<std::int64_t> values;
};

// What the tables of one plan share: every record as the plan leaves it, and the plan.
struct Shared {
    std::map<std::pair<std::string, std::int64_t>, Work> work;
    ImportPlan plan;
    bool keepSlots = false;
};

class Importer {
  public:
    Importer(DataFiles& files, TableId table, const CellTable& input, Shared& shared)
        : files_(files),
          table_(TableOf(table)),
          input_(input),
          rows_(files, table),
          plan_(shared.plan),
          work_(shared.work),
          keepSlots_(shared.keepSlots) {}

    // Every row's cells; the moves they ask for wait for ApplyMoves, so that the moves of every
    // table of a plan see the cells of all of them.
    void ReadRows() {
        if (!MapColumns()) return;
        for (const CellTable::Row& row : input_.rows) ReadRow(row);
    }
    void ApplyMoves() {
        for (const Move& m : moves_) Apply(m);
    }
    // The lists of clubs as the rules left them, against what the file asked for.
    void CheckLists() {
        for (const Move& m : moves_) CheckList(m);
    }

  private:
    // Which field each column of the file is, with a date's day and month together.
    struct Given {
        const Field* field;
        std::optional<std::size_t> value, month, name;  // columns of the file
    };

    void Bad(std::size_t line, std::string record, std::string column, std::string value,
             std::string reason) {
        plan_.bad.push_back({line, std::move(record), std::move(column), std::move(value),
                             std::move(reason), table_.name});
    }

    bool MapColumns() {
        const std::size_t badBefore = plan_.bad.size();
        std::set<std::string_view> seen;
        for (std::size_t i = 0; i < input_.columns.size(); ++i) {
            const std::string& name = input_.columns[i];
            if (!seen.insert(name).second) {
                Bad(0, "", name, "", "the column is given twice");
                continue;
            }
            if (name == kRecordColumn) {
                recordColumn_ = i;
                continue;
            }
            const Column* c = rows_.FindColumn(name);
            if (!c) {
                Bad(0, "", name, "",
                    "no such column in " + std::string(table_.name) +
                        "; its columns are: " + ColumnList(rows_.Columns()));
                continue;
            }
            auto at = std::find_if(given_.begin(), given_.end(),
                                   [&](const Given& g) { return g.field == c->field; });
            if (at == given_.end()) at = given_.insert(given_.end(), Given{c->field, {}, {}, {}});
            (c->shows == Column::Shows::kMonth  ? at->month
             : c->shows == Column::Shows::kName ? at->name
                                                : at->value) = i;
        }
        if (!recordColumn_)
            Bad(0, "", std::string(kRecordColumn), "",
                "the file has no Record column: each row must name the record it changes");
        // The page's order, so that a row's cells are read as its page saves them.
        std::sort(given_.begin(), given_.end(),
                  [](const Given& a, const Given& b) { return a.field < b.field; });
        return plan_.bad.size() == badBefore;
    }

    std::string NoRow(std::int64_t record) {
        if (table_.IsPersons()) {
            const std::int64_t persons = files_.PersonCount();
            if (record >= 0 && record < persons)
                return "person " + std::to_string(record) + " is " +
                       (table_.id == TableId::kPlayers ? "no player: import him into staff"
                                                       : "a player: import him into players");
            return "no person " + std::to_string(record) + " in staff.dat (it has " +
                   std::to_string(persons) + ")";
        }
        return "no record " + std::to_string(record) + " in " + std::string(table_.file.substr(1)) +
               " (it has " + std::to_string(rows_.Size()) + ")";
    }

    std::vector<std::uint8_t>& Now(std::string_view file, std::int64_t offset, std::size_t size,
                                   TableId table, std::int64_t record, Part part) {
        const auto key = std::make_pair(std::string(file), offset);
        auto it = work_.find(key);
        if (it == work_.end()) {
            const std::vector<std::uint8_t>& bytes = files_.Bytes(file);
            const auto from = bytes.begin() + offset;
            Work w{std::string(file),
                   offset,
                   std::vector<std::uint8_t>(from, from + static_cast<std::ptrdiff_t>(size)),
                   {},
                   table,
                   record,
                   part};
            w.now = w.before;
            it = work_.emplace(key, std::move(w)).first;
        }
        return it->second.now;
    }

    // The working bytes of the record a field of a row lies in.
    std::uint8_t* NowOf(const RowRef& row, const Field& f) {
        if (f.part == Part::kRecord)
            return Now(table_.file, row.record * table_.recordSize,
                       static_cast<std::size_t>(table_.recordSize), table_.id, row.record,
                       Part::kRecord)
                .data();
        const std::size_t size =
            f.part == Part::kPlayer ? PlayerRecord::kSize : NonPlayerRecord::kSize;
        return Now(kStaffFile, files_.BlockOffset(row.rec, f.part), size, table_.id, row.record,
                   f.part)
            .data();
    }

    StaffRecord Person(std::int64_t id) {
        StaffRecord p;
        const std::vector<std::uint8_t>& bytes =
            Now(kStaffFile, id * StaffRecord::kSize, StaffRecord::kSize, TableId::kPlayers, id,
                Part::kRecord);
        std::copy(bytes.begin(), bytes.end(), p.bytes.begin());
        return p;
    }
    void SetPerson(const StaffRecord& p) {
        const std::int64_t id = p.Get(StaffRecord::Id);
        std::vector<std::uint8_t>& bytes =
            Now(kStaffFile, id * StaffRecord::kSize, StaffRecord::kSize, TableId::kPlayers, id,
                Part::kRecord);
        std::copy(p.bytes.begin(), p.bytes.end(), bytes.begin());
    }
    ClubRecord Club(std::int64_t n) {
        ClubRecord c;
        const std::vector<std::uint8_t>& bytes =
            Now(TableOf(TableId::kClubs).file, n * ClubRecord::kSize, ClubRecord::kSize,
                TableId::kClubs, n, Part::kRecord);
        std::copy(bytes.begin(), bytes.end(), c.bytes.begin());
        return c;
    }
    void SetClub(std::int64_t n, const ClubRecord& c) {
        std::vector<std::uint8_t>& bytes =
            Now(TableOf(TableId::kClubs).file, n * ClubRecord::kSize, ClubRecord::kSize,
                TableId::kClubs, n, Part::kRecord);
        std::copy(c.bytes.begin(), c.bytes.end(), bytes.begin());
    }

    // --- one row ------------------------------------------------------------------------------

    void ReadRow(const CellTable::Row& in) {
        const std::string recordText = in.cells[*recordColumn_].value_or("");
        auto bad = [&](std::string column, std::string value, std::string reason) {
            Bad(in.line, recordText, std::move(column), std::move(value), std::move(reason));
        };
        std::int32_t record = -1;
        if (!TryStrToInt(recordText, record)) {
            bad(std::string(kRecordColumn), recordText,
                recordText.empty() ? "the row names no record" : NotAnInteger(recordText));
            return;
        }
        const RowRef* row = rows_.Find(record);
        if (!row) {
            bad(std::string(kRecordColumn), recordText, NoRow(record));
            return;
        }
        if (const auto [at, added] = linesOf_.emplace(record, in.line); !added) {
            bad(std::string(kRecordColumn), recordText,
                "the record is given twice (also on line " + std::to_string(at->second) + ")");
            return;
        }
        bool changed = false;
        for (const Given& g : given_) {
            const std::optional<std::string> value = g.value ? in.cells[*g.value] : std::nullopt;
            const std::optional<std::string> month = g.month ? in.cells[*g.month] : std::nullopt;
            // The name a reference shows is read only where its number is not given.
            const std::optional<std::string> name =
                g.name && !value ? in.cells[*g.name] : std::nullopt;
            if (!value && !month && !name) continue;
            Cell cell{in, recordText, *g.field, value, month, name, *row};
            changed |= ReadCell(cell);
        }
        if (changed && !table_.IsPersons())
            ApplyRecordRules(table_.id, Now(table_.file, record * table_.recordSize,
                                            static_cast<std::size_t>(table_.recordSize), table_.id,
                                            record, Part::kRecord)
                                            .data());
    }

    struct Cell {
        const CellTable::Row& in;
        const std::string& recordText;
        const Field& f;
        std::optional<std::string> value, month, name;
        const RowRef& row;
    };

    // Reads one field's cells of a row; true when it changes the record.
    bool ReadCell(const Cell& c) {
        const Field& f = c.f;
        auto bad = [&](std::string reason, bool monthColumn = false) {
            Bad(c.in.line, c.recordText, monthColumn ? f.monthName : f.name,
                (monthColumn ? c.month : c.value).value_or(""), std::move(reason));
            return false;
        };
        const std::uint8_t* stored = c.row.Of(f);
        if (!stored) {
            // A person without a block record exports empty cells there.
            if (c.value.value_or("").empty() && c.month.value_or("").empty() &&
                c.name.value_or("").empty())
                return false;
            return bad(f.part == Part::kPlayer ? kNoPlayerRecord : kNoStaffRecord,
                       f.kind == Kind::kDate && c.value.value_or("").empty());
        }
        if (c.value && !c.month && *c.value == FormatCell(Column::Shows::kValue, f, stored, files_))
            return false;  // as exported
        if (f.kind == Kind::kDate) return ReadDate(c, stored, bad);
        if (c.name) return ReadNames(c, stored);
        const std::string& text = *c.value;
        if (f.edit == Edit::kShownOnly) return bad("the page only shows it: it cannot be changed");

        switch (f.kind) {
            case Kind::kNumber: {
                std::int32_t v = 0;
                if (!TryStrToInt(text, v)) return bad(NotAnInteger(text));
                if (v == f.Read(stored)) return false;
                if (v < f.min || v > f.max)
                    return bad("this value must be in the range " + std::to_string(f.min) + " to " +
                               std::to_string(f.max));
                f.Write(NowOf(c.row, f), v);
                return true;
            }
            case Kind::kText: {
                char32_t odd = 0;
                const std::optional<std::string> bytes = Utf8ToCp1252(text, &odd);
                if (!bytes)
                    return bad("holds the character '" + Utf8Of(odd) +
                               "', which the game's files cannot store");
                if (*bytes == f.ReadText(stored)) return false;
                for (char ch : *bytes) {
                    const auto b = static_cast<std::uint8_t>(ch);
                    if (b < 0x20 || IsUndefinedCp1252(b))
                        return bad("holds a control character, which a name cannot hold");
                }
                if (bytes->size() > static_cast<std::size_t>(f.max))
                    return bad("longer than the " + std::to_string(f.max) +
                               " characters the field holds");
                f.WriteText(NowOf(c.row, f), *bytes);
                return true;
            }
            case Kind::kCoordinate: {
                std::int64_t typed = 0, was = 0;
                try {
                    typed = ParseDecimal4(text, ',');
                } catch (const EConvertError&) {
                    return bad(Quoted(text) + " is not a valid floating point value");
                }
                if (TryToDecimal4(f.ReadDouble(stored), was) && was == typed) return false;
                f.WriteDouble(NowOf(c.row, f), static_cast<double>(typed) / 10000.0);
                return true;
            }
            case Kind::kCheck: {
                if (text != "0" && text != "1") return bad("1 for checked, 0 for not");
                const bool checked = text == "1";
                if (checked == f.IsChecked(f.Read(stored))) return false;
                f.Write(NowOf(c.row, f), checked ? f.checkedValue : f.uncheckedValue);
                return true;
            }
            case Kind::kChoice: {
                std::int64_t v = 0;
                for (std::size_t i = 0; i < f.items.size(); ++i)
                    if (text == f.items[i]) v = static_cast<std::int64_t>(i) + 1;
                if (!v) {
                    std::string items;
                    for (const char* item : f.items)
                        items += (items.empty() ? "" : ", ") + std::string(item);
                    return bad("one of: " + items);
                }
                if (v == f.Read(stored)) return false;
                f.Write(NowOf(c.row, f), v);
                return true;
            }
            case Kind::kReference:
            case Kind::kList:
                return ReadReferences(c, stored, text, bad);
            case Kind::kDate:
                break;
        }
        return false;
    }

    template <class Bad>
    bool ReadDate(const Cell& c, const std::uint8_t* stored, Bad bad) {
        const Field& f = c.f;
        int day = 0, month = 0;
        GetDate(static_cast<int>(f.Read(stored)), day, month);
        const int storedDay = day, storedMonth = month;
        std::int32_t v = 0;
        if (c.value) {
            if (!TryStrToInt(*c.value, v)) return bad(NotAnInteger(*c.value));
            day = v;
        }
        if (c.month) {
            if (!TryStrToInt(*c.month, v)) return bad(NotAnInteger(*c.month), true);
            month = v;
        }
        if (day == storedDay && month == storedMonth) return false;
        if (day < 0 || day > 31) return bad("this value must be in the range 0 to 31");
        if (month < 0 || month > 12) return bad("this value must be in the range 0 to 12", true);
        const std::optional<int> doy = MakeDate(day, month);
        if (!doy) return bad("a month of 0 gives no date: give a month from 1 to 12", true);
        if (f.edit != Edit::kStored) return bad("the page only shows it: it cannot be changed");
        f.Write(NowOf(c.row, f), *doy);
        return true;
    }

    // Why a number cannot stand in a reference of this field; "" when it can.
    std::string NotARecord(const Field& f, std::int64_t v) {
        const std::int64_t count = files_.CountOf(f.target);
        if (f.target == Target::kLanguage)
            return v >= 0 && v < count
                       ? ""
                       : "no language " + std::to_string(v) + " (0 for none, or 1 to " +
                             std::to_string(count - 1) + ")";
        if (v == -1 || (v >= 0 && v < count)) return "";
        return "no record " + std::to_string(v) + " in " + std::string(FileNameOf(f.target)) +
               " (it has " + std::to_string(count) + "; -1 for none)";
    }

    template <class Bad>
    bool ReadReferences(const Cell& c, const std::uint8_t* stored, const std::string& text,
                        Bad bad) {
        const Field& f = c.f;
        std::vector<std::int64_t> values;
        std::size_t from = 0;
        for (;;) {
            const std::size_t end =
                f.kind == Kind::kList ? text.find(kListSeparator, from) : std::string::npos;
            const std::string part = text.substr(from, end == std::string::npos ? end : end - from);
            std::int32_t v = 0;
            if (!TryStrToInt(part, v)) return bad(NotAnInteger(part));
            values.push_back(v);
            if (end == std::string::npos) break;
            from = end + 1;
        }
        if (values.size() != f.count)
            return bad("a list of " + std::to_string(f.count) + ": give " +
                       std::to_string(f.count) + " numbers separated by ';'");
        return SetReferences(c, stored, text, values, bad);
    }

    // A reference given by the names it shows: each slot is the first record of its name (a
    // person by his label), or none; a slot that shows the same name keeps what it holds.
    bool ReadNames(const Cell& c, const std::uint8_t* stored) {
        const Field& f = c.f;
        const std::string& text = *c.name;
        auto bad = [&](std::string reason) {
            Bad(c.in.line, c.recordText, f.name + std::string(kNameSuffix), text,
                std::move(reason));
            return false;
        };
        if (f.edit == Edit::kShownOnly) return bad("the page only shows it: it cannot be changed");
        std::vector<std::string_view> names;
        for (std::size_t from = 0;;) {
            const std::size_t end =
                f.kind == Kind::kList ? text.find(kListSeparator, from) : std::string::npos;
            std::string_view name = std::string_view(text).substr(from, end - from);
            if (from > 0 && name.starts_with(' ')) name.remove_prefix(1);  // as a table view joins
            names.push_back(name);
            if (end == std::string::npos) break;
            from = end + 1;
        }
        if (names.size() != f.count)
            return bad("a list of " + std::to_string(f.count) + ": give " +
                       std::to_string(f.count) + " names separated by ';'");
        std::vector<std::int64_t> values;
        for (std::size_t k = 0; k < f.count; ++k) {
            const std::int64_t was = f.Read(stored, k);
            if (names[k] == ReferenceName(f, was, files_)) {
                values.push_back(was);
                continue;
            }
            if (names[k] == f.NoneText() || names[k] == "<empty>") {
                values.push_back(f.NoneValue());
                continue;
            }
            const std::optional<std::string> bytes = Utf8ToCp1252(names[k]);
            const std::optional<std::int64_t> v =
                bytes ? files_.FindName(f.target, *bytes) : std::nullopt;
            if (!v) return bad(NoName(f.target, names[k]));
            values.push_back(*v);
        }
        auto badValue = [&](std::string reason, bool = false) { return bad(std::move(reason)); };
        return SetReferences(c, stored, text, values, badValue);
    }

    static std::string NoName(Target t, std::string_view name) {
        if (t == Target::kPerson) return "no person's label is " + Quoted(name) + " in staff.dat";
        if (t == Target::kLanguage) return "no language is named " + Quoted(name);
        return "no record of " + std::string(FileNameOf(t)) + " is named " + Quoted(name);
    }

    // The values of a reference's slots, as read: stored when they differ, or moved by the rules.
    template <class Bad>
    bool SetReferences(const Cell& c, const std::uint8_t* stored, const std::string& given,
                       const std::vector<std::int64_t>& values, Bad bad) {
        const Field& f = c.f;
        bool same = true;
        for (std::size_t k = 0; k < f.count; ++k) same = same && values[k] == f.Read(stored, k);
        if (same) return false;
        for (std::size_t k = 0; k < f.count; ++k)
            if (values[k] != f.Read(stored, k))
                if (const std::string why = NotARecord(f, values[k]); !why.empty()) return bad(why);
        if (f.edit == Edit::kMove) {
            const std::string column = c.value ? f.name : f.name + std::string(kNameSuffix);
            moves_.push_back({c.in.line, c.recordText, &f, column, given, c.row.record, values});
            return false;
        }
        for (std::size_t k = 0; k < f.count; ++k) f.Write(NowOf(c.row, f), values[k], k);
        return true;
    }

    // --- the transfer and appointment rules
    // -------------------------------------------------------

    void Refused(const Move& m, const std::string& reason) {
        Bad(m.line, m.recordText, m.column, m.given, reason);
    }

    // A person as a move reads him: a club outside club.dat holds nobody.
    StaffRecord Mover(std::int64_t id) {
        StaffRecord p = Person(id);
        if (p.Get(StaffRecord::Club) >=
            files_.Count(TableOf(TableId::kClubs).file, ClubRecord::kSize))
            p.Set(StaffRecord::Club, -1);
        return p;
    }

    // Moves a person to club `target` (-1: releases him) by the rule of his kind: a transfer for
    // a player, an appointment for anyone else. Refusal: its message.
    std::optional<std::string> MoveToClub(StaffRecord person, std::int64_t target) {
        const std::int32_t old = person.Get(StaffRecord::Club);
        std::optional<ClubRecord> left, joined;
        if (old >= 0) left = Club(old);
        if (target >= 0 && target != old) joined = Club(target);
        const ClubRecord* from = left ? &*left : nullptr;
        const ClubRecord* to = joined ? &*joined : nullptr;
        const auto t = static_cast<std::int32_t>(target);
        const MoveResult r = IsPlayerJob(person.Get(StaffRecord::ClubJob))
                                 ? TransferPlayer(person, t, from, to)
                                 : MoveStaffToClub(person, t, from, to);
        if (r.refusal) return r.refusal;
        for (const auto& [n, club] : r.clubs) SetClub(n, club);
        SetPerson(r.person);
        return std::nullopt;
    }

    void Apply(const Move& m) {
        const Field& f = *m.field;
        if (table_.IsPersons()) {
            const std::int64_t target = m.values.front();
            // A move of another table of this plan may have made it already.
            if (std::string_view(f.member) == "NationEmployer") {
                if (Person(m.record).Get(StaffRecord::NationEmployer) != target)
                    SetPerson(
                        MoveStaffToNation(Person(m.record), static_cast<std::int32_t>(target)));
            } else if (Person(m.record).Get(StaffRecord::Club) == target) {
                return;
            } else if (const auto refusal = MoveToClub(Mover(m.record), target)) {
                Refused(m, *refusal);
            }
            return;
        }
        // A club's squad or a post: the persons it gains join it and the persons it loses leave
        // it, each by the rules of a transfer or an appointment.
        const ClubRecord stored = Club(m.record);
        std::set<std::int64_t> was, wanted;
        std::vector<std::int64_t> before;
        for (std::size_t k = 0; k < f.count; ++k) {
            before.push_back(f.Read(stored.data(), k));
            if (before.back() >= 0) was.insert(before.back());
            if (m.values[k] >= 0) wanted.insert(m.values[k]);
        }
        // Earlier moves of this plan (a person who left this club for another) may have left
        // the list as asked.
        if (before == m.values) return;
        if (was == wanted) {
            if (!keepSlots_)
                Refused(m,
                        "the slots are filled by the transfer and appointment rules: add or "
                        "remove persons, but do not move them between slots");
            return;
        }
        const Post post = PostOf(f);
        const std::int64_t persons = files_.PersonCount();
        for (std::int64_t id : was) {
            if (wanted.count(id)) continue;
            if (id < persons && Person(id).Get(StaffRecord::Club) == m.record) {
                if (const auto refusal = MoveToClub(Mover(id), -1)) Refused(m, *refusal);
                continue;
            }
            // Nobody, or a person who names another club: the slot alone is emptied.
            ClubRecord club = Club(m.record);
            for (std::size_t k = 0; k < f.count; ++k)
                if (f.Read(club.data(), k) == id) f.Write(club.data(), -1, k);
            SetClub(m.record, club);
        }
        for (std::int64_t id : wanted) {
            if (was.count(id)) continue;
            if (id >= persons) {
                Refused(m, "no person " + std::to_string(id) + " in staff.dat (it has " +
                               std::to_string(persons) + ")");
                continue;
            }
            const StaffRecord person = Mover(id);
            const int job = person.Get(StaffRecord::ClubJob);
            if (post == Post::kNone ? !IsPlayerJob(job) : PostOfJob(job) != post) {
                Refused(m,
                        "person " + std::to_string(id) + " (ClubJob " + std::to_string(job) +
                            (post == Post::kNone ? ") is no player" : ") does not hold this post"));
                continue;
            }
            if (const auto refusal = MoveToClub(person, m.record)) Refused(m, *refusal);
        }
    }

    void CheckList(const Move& m) {
        if (table_.id != TableId::kClubs) return;
        ClubRecord club = Club(m.record);
        std::set<std::int64_t> now, wanted;
        std::vector<std::int64_t> values;
        for (std::size_t k = 0; k < m.field->count; ++k) {
            values.push_back(m.field->Read(club.data(), k));
            if (values.back() >= 0) now.insert(values.back());
            if (m.values[k] >= 0) wanted.insert(m.values[k]);
        }
        if (now != wanted) {
            if (!HasBad(m))
                Refused(m, "the transfers and appointments of this import leave it as " +
                               Joined(values));
            return;
        }
        // The same persons, in the slots the rules chose. A patch gives the slots they hold where
        // it was made (moves made in another order may have filled others): a club's own order
        // of its list, which no person's record depends on.
        if (keepSlots_ && values != m.values) {
            for (std::size_t k = 0; k < m.field->count; ++k)
                m.field->Write(club.data(), m.values[k], k);
            SetClub(m.record, club);
        }
    }

    bool HasBad(const Move& m) const {
        return std::any_of(plan_.bad.begin(), plan_.bad.end(), [&](const BadCell& b) {
            return b.line == m.line && b.column == m.column && b.table == table_.name;
        });
    }

    DataFiles& files_;
    const Table& table_;
    const CellTable& input_;
    TableRows rows_;
    ImportPlan& plan_;
    std::map<std::pair<std::string, std::int64_t>, Work>& work_;
    const bool keepSlots_;
    std::optional<std::size_t> recordColumn_;
    std::vector<Given> given_;
    std::map<std::int64_t, std::size_t> linesOf_;
    std::vector<Move> moves_;
};

// The writes of the records the plan changed, and a listing of their changed cells.
void Finish(DataFiles& files, Shared& shared, std::string label) {
    ImportPlan& plan = shared.plan;
    plan.writes.SetLabel(std::move(label));
    std::set<std::pair<TableId, std::int64_t>> records;
    std::map<TableId, std::vector<Column>> columns;
    for (auto& [key, w] : shared.work) {
        if (w.before == w.now) continue;
        plan.writes.Put(w.file, w.offset, w.now, w.before);
        // A person is listed by the page that shows him.
        TableId table = w.table;
        if (w.file == kStaffFile && w.part == Part::kRecord)
            table = IsPlayerJob(StaffRecord::ClubJob.Read(w.now.data())) ? TableId::kPlayers
                                                                         : TableId::kStaff;
        records.emplace(table, w.record);
        auto [at, added] = columns.try_emplace(table);
        if (added) at->second = ColumnsOf(TableOf(table));
        for (const Column& c : at->second) {
            if (c.shows == Column::Shows::kName || c.shows == Column::Shows::kRecord ||
                c.field->part != w.part)
                continue;
            std::string before = FormatCell(c, w.before.data(), files);
            std::string after = FormatCell(c, w.now.data(), files);
            if (before != after)
                plan.changes.push_back(
                    {table, w.record, c.name, std::move(before), std::move(after)});
        }
    }
    plan.records = records.size();
}

ImportPlan Plan(DataFiles& files, std::span<const TableCells> tables, std::string label,
                bool keepSlots) {
    Shared shared;
    shared.keepSlots = keepSlots;
    std::vector<std::unique_ptr<Importer>> importers;
    for (const TableCells& t : tables)
        importers.push_back(std::make_unique<Importer>(files, t.table, t.cells, shared));
    for (auto& i : importers) i->ReadRows();
    for (auto& i : importers) i->ApplyMoves();
    for (auto& i : importers) i->CheckLists();
    if (shared.plan.bad.empty()) Finish(files, shared, std::move(label));
    return std::move(shared.plan);
}

}  // namespace

ImportPlan PlanImport(DataFiles& files, TableId table, const CellTable& input) {
    const TableCells one{table, input};
    return Plan(files, std::span(&one, 1), "Import of " + std::string(TableOf(table).name), false);
}

ImportPlan PlanImport(DataFiles& files, std::span<const TableCells> tables, std::string label) {
    return Plan(files, tables, std::move(label), true);
}

std::string Describe(const BadCell& bad) {
    std::string out;
    if (bad.line) out += "line " + std::to_string(bad.line) + ", ";
    if (!bad.record.empty()) out += "record " + bad.record + ", ";
    out += bad.column;
    if (!bad.value.empty()) out += " " + Quoted(bad.value);
    return out + ": " + bad.reason;
}

}  // namespace vh::db
