// What points at a record: every record of every table one of whose reference fields (a single
// reference or a slot of a list) holds its number. Which fields can point at a table is read from
// the catalogue's targets, so a reference field added there is found here without more code.
// Nothing is kept between queries: each reads the files as they are now. The files that may
// point at the record are scanned through a buffer, a batch of records per read (no copy of a
// whole file is made); only the records found are read again, for their labels.
//
//     db::WhatPointsHere refs(dataPath);
//     for (const db::Referrer& r : refs.Find(db::TableId::kClubs, 12))
//         print(db::TableOf(r.table).name, r.record, r.label, r.field->caption);
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database/records/catalogue.h"
#include "database/records/record_file.h"

namespace vh::db {

// One record that points at the record asked about, through one field.
struct Referrer {
    TableId table;
    std::int64_t record = -1;      // in its table's file (a person's Id)
    std::string label;             // as the lists show the record (UTF-8)
    const Field* field = nullptr;  // its caption for people, its name for files
};

// The reference fields of a table's rows that point into `target`, in the order of its page. A
// person's row also has the fields only the other persons' page shows (a player's record holds
// the nation that employs a staff member too): those follow.
std::vector<const Field*> FieldsPointingAt(const Table& table, Target target);

class WhatPointsHere {
  public:
    // The data directory as the editor keeps it (Windows-style text). Files are opened when first
    // needed, for reading only; one that cannot be read throws EInOutError naming it.
    explicit WhatPointsHere(std::string dataPath);
    ~WhatPointsHere();

    // The records a reference into the table can name are the numbers below this (for players
    // and staff: the person records of staff.dat).
    std::int64_t Count(TableId table);
    // Whether a record below Count is a row of the table: for players and staff, a person of
    // that kind (by his club job).
    bool IsRow(TableId table, std::int64_t record);
    // The label of a record below Count as the lists show it (UTF-8): a person's label, else the
    // name references to it show.
    std::string Label(TableId table, std::int64_t record);

    // Every row of every table that points at `record` of `table`: tables in the catalogue's
    // order, rows in file order, fields in page order. A field is listed once per row however
    // many slots of its list hold the record. A value that stands for none (a common name of 0)
    // points at nothing.
    std::vector<Referrer> Find(TableId table, std::int64_t record);

  private:
    RecordFile& File(std::string_view name);
    std::int64_t Persons();
    // Labels for the persons with these records (staff.dat records as read).
    std::vector<std::string> PersonLabels(const std::vector<std::vector<std::uint8_t>>& persons);

    std::string path_;
    std::map<std::string, std::unique_ptr<RecordFile>, std::less<>> files_;
    std::optional<std::int64_t> persons_;
};

}  // namespace vh::db
