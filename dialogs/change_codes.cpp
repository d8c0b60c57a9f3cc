#include "change_codes.h"

#include "database/records/catalogue.h"

namespace vh::ui {

db::Target ChangeCodeInfo::PickTarget() const {
    if (FeedsAMove()) return move;
    const db::Field* f = db::FindAnyField(target);
    return f ? f->target : db::Target::kNone;
}

bool ChangeCodeInfo::TargetIsList() const {
    const db::Field* f = FeedsAMove() ? nullptr : db::FindAnyField(target);
    return f && f->kind == db::Kind::kList;
}

const ChangeCodeInfo* ChangeCodeFor(std::string_view target) {
    for (const ChangeCodeInfo& info : kChangeCodes)
        if (info.target == target) return &info;
    return nullptr;
}

}  // namespace vh::ui
