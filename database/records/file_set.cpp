#include "database/records/file_set.h"

#include "database/records/errors.h"
#include "platform/files.h"

namespace vh::db {

void FileSet::CloseAll() {
    for (RecordFile* f : InLoadOrder()) {
        try {
            f->Close();
        } catch (const EInOutError&) {
            // A failed close of a file we only read and positioned loses nothing.
        }
    }
}

RecordFile* FileSet::Of(Target t) {
    auto files = InLoadOrder();
    for (std::size_t i = 0; i < files.size(); ++i)
        if (kLoadList[i].target == t) return files[i];
    return nullptr;
}

void FileSet::Open(const std::string& dataPath) {
    Open(dataPath, Access::kReadWrite);
}

void FileSet::Open(const std::string& dataPath, Access how) {
    access = how;
    auto files = InLoadOrder();
    for (std::size_t i = 0; i < files.size(); ++i) {
        files[i]->Bind(dataPath + std::string(kLoadList[i].name));
        files[i]->Reset(kLoadList[i].recordSize, how);
    }
}

Access FileSet::OpenWritableOrReadOnly(const std::string& dataPath) {
    try {
        Open(dataPath, Access::kReadWrite);
    } catch (const EInOutError& e) {
        if (e.Code() != kAccessDenied) throw;
        Open(dataPath, Access::kReadOnly);
    }
    return access;
}

void UnReadOnly(const std::string& dataPath) {
    for (std::string_view name : kAttributeList) {
        const auto path = platform::ResolveCase(platform::NativePath(dataPath + std::string(name)));
        bool readOnly = false;
        if (platform::GetReadOnly(path, readOnly) != 0) continue;
        if (readOnly) platform::ClearReadOnly(path);
    }
}

bool HasStadiumFile(const std::string& dataPath) {
    return platform::Exists(
        platform::ResolveCase(platform::NativePath(dataPath + std::string(kStadiumFile))));
}

}  // namespace vh::db
