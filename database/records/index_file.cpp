#include "database/records/index_file.h"

#include "database/records/data_def.h"
#include "database/records/errors.h"
#include "database/records/file_set.h"
#include "database/records/record_file.h"

namespace vh::db {

std::vector<std::uint8_t> ReadIndexEntries(const std::string& dataPath) {
    RecordFile index;
    index.Bind(dataPath + std::string(kIndexFile));
    index.Reset(1, Access::kReadOnly);
    const std::int64_t size = index.RecordCount();
    if (size < kIndexHeaderSize) throw EInOutError(kReadBeyondEnd, index.PathText());
    std::vector<std::uint8_t> body(static_cast<std::size_t>(size - kIndexHeaderSize));
    index.Seek(kIndexHeaderSize);
    index.Read(body.data(), static_cast<std::int64_t>(body.size()));
    index.Close();
    return body;
}

}  // namespace vh::db
