// What points at a record: every record of every table one of whose reference fields (a single
// reference or a slot of a list) holds its number. Which fields can point at a table is read from
// the catalogue's targets, so a reference field added there is found here without more code. The
// files are read whole, once each, through DataFiles: nothing is kept between queries, so the
// answer is always what the files hold now.
//
//     db::DataFiles files(dataPath);
//     for (const db::Referrer& r : db::FindReferrers(files, db::TableId::kClubs, 12))
//         print(db::TableOf(r.table).name, r.record, r.label, r.field->caption);
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue.h"
#include "table_data.h"

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

// Every row of every table that points at record `record` of `table`: tables in the catalogue's
// order, rows in file order, fields in page order. A field is listed once per row however many
// slots of its list hold the record. A value that stands for none (a common name of 0) points at
// nothing.
std::vector<Referrer> FindReferrers(DataFiles& files, TableId table, std::int64_t record);

}  // namespace vh::db
