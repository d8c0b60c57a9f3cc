// What the editor holds while it runs: the open file set of the data directory that was loaded,
// the name tables, the list tables, the scratch files it created and what Undo can take back.
#pragma once

#include <string>

#include "database/model/blocks.h"
#include "database/model/lists.h"
#include "database/records/file_set.h"
#include "database/records/names.h"
#include "database/write/history.h"

namespace vh::db {

struct Session {
    FileSet files;
    NameTables names;
    ListTables lists;
    ScratchFiles scratch;
    WriteHistory history;  // every commit of this session, for Undo and Redo
    std::string dataPath;  // the directory the open file set belongs to
    bool dataLoaded = false;
};

}  // namespace vh::db
