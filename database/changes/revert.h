// "Revert Record": one record of a data directory written back as its backup holds it, whole (the
// bytes no field names included); a person with his player or non-player record. Where a transfer
// or an appointment since the backup ties the record to others (the person and the clubs he left
// and joined), those are reverted with it, so that persons and clubs still agree.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "database/records/catalogue.h"
#include "database/write/write_set.h"

namespace vh::db {

struct RevertedRecord {
    TableId table = TableId::kStadiums;
    std::int64_t record = -1;
    std::string label;  // as the lists show it now (UTF-8)
};

struct RevertPlan {
    // The record asked for first, then the others its moves tie to it; each differs from its
    // backup.
    std::vector<RevertedRecord> records;
    WriteSet writes;  // the backup's bytes of exactly those records
};

// Plans the revert of the record (a person's Id for players and staff) to the backup in
// `dataPath`'s backup directory; writes nothing. A record the backup does not have, or that
// it holds as it is, throws EDataError saying so; files that cannot be read throw EInOutError.
RevertPlan PlanRevert(const std::string& dataPath, TableId table, std::int64_t record);

}  // namespace vh::db
