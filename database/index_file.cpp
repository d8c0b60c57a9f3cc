#include "index_file.h"

#include "data_def.h"
#include "errors.h"
#include "file_set.h"
#include "record_file.h"

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
