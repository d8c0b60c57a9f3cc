// A patch: the changed fields of a diff as a file to pass on, and its application to another data
// directory by the rules of an import. A change applies where the field still holds its old value
// and the record its label; where the field holds the new value already it was applied before and
// is skipped; anything else is a conflict, and one conflict keeps the whole patch from being
// written.
//
// The file is JSON (UTF-8):
//   {"format": "vh-editor-patch", "version": 1, "changes": [
//     {"table": "players", "record": 12, "label": "Berg, Tomas (12)", "field": "PLayerPace",
//      "old": "14", "new": "17"},
//     ...]}
// `table` and `field` are named as export names tables and columns, `old` and `new` are cells as
// export writes them (strings; numbers are read too), `label` is the record's label before the
// change and `newLabel`, present only where it differs, the label after it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "database/changes/diff.h"
#include "database/records/catalogue.h"
#include "database/tables/table_import.h"

namespace vh::db {

inline constexpr std::string_view kPatchFormat = "vh-editor-patch";
inline constexpr int kPatchVersion = 1;

struct PatchChange {
    TableId table = TableId::kStadiums;
    std::int64_t record = -1;
    std::string label;     // before the change
    std::string newLabel;  // after it; "" where it is the same
    std::string field;     // a column ("PLayerPace", "PLayerMonthOB")
    std::string before, after;
};

struct Patch {
    std::vector<PatchChange> changes;
};

// What a patch made from a diff cannot hold: bytes no value shows, and records (or whole files)
// present on one side only, since a patch changes fields of records both sides have.
struct PatchLeftOut {
    std::size_t byteRuns = 0;
    std::size_t records = 0;
    // The warning to give, "" when nothing was left out.
    std::string Warning() const;
};

Patch MakePatch(const DirectoryDiff& diff, PatchLeftOut* leftOut = nullptr);
std::string EncodePatch(const Patch& patch);

// A file that is no patch of this program, with what is wrong ("change 3: no field 'Pace' in
// players").
class EPatchError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};
Patch DecodePatch(std::string_view text);

// A change that does not fit the directory: the record is missing or labelled otherwise, or the
// field holds neither the change's old value nor its new one.
struct PatchConflict {
    TableId table = TableId::kStadiums;
    std::int64_t record = -1;
    std::string label;  // the patch's
    std::string field;  // "Record" for a missing record, "label" for another label
    std::string expected, found;
};
// "players record 12 "Berg, Tomas (12)", PLayerPace: expected 14, found 15"
std::string Describe(const PatchConflict& c);

struct PatchPlan {
    std::vector<PatchConflict> conflicts;
    std::size_t toApply = 0;        // changes to be made
    std::size_t appliedBefore = 0;  // changes the directory holds already: skipped
    // The changes to be made, checked and planned as an import does: its bad cells are changes
    // the editor's rules refuse; its writes are one write set.
    ImportPlan import;
};

// Holds the patch (taken back, new to old, with `reverse`) against the directory of `files` and
// plans its writes, labelled `label`; writes nothing.
PatchPlan PlanPatch(DataFiles& files, const Patch& patch, bool reverse, std::string label);

// A change the rules refused: "players record 12, PLayerPace '25': this value must be ...".
std::string DescribeRefused(const BadCell& bad);

}  // namespace vh::db
