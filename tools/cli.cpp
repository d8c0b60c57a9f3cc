#include "cli.h"

#include <charconv>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <nlohmann/json.hpp>

#include "database/changes/diff.h"
#include "database/changes/patch.h"
#include "database/model/check.h"
#include "database/records/errors.h"
#include "database/records/text.h"
#include "database/tables/formula.h"
#include "database/tables/refs.h"
#include "database/tables/table_import.h"
#include "database/tables/table_io.h"
#include "database/write/backup.h"
#include "database/write/journal.h"
#include "database/write/write_set.h"
#include "platform/files.h"
#include "sample.h"
#include "vh_version.h"

namespace vh::cli {

using sample::SampleOptions;
using sample::SampleSize;
using sample::SampleSummary;

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kBadArguments = 2;
constexpr int kNoRowChosen = 3;

constexpr std::string_view kUsage =
    "Usage: vhtool sample DIR [--size small|full] [--seed N] [--no-clubcomp] [--force]\n"
    "       vhtool check DIR [--json]\n"
    "       vhtool export DIR TABLE [--format csv|json] [-o FILE] [--where EXPR]...\n"
    "       vhtool import DIR TABLE FILE [--dry-run] [--verbose]\n"
    "       vhtool set DIR TABLE [--where EXPR]... FIELD=EXPR... [--dry-run] [--verbose]\n"
    "                  [--clamp]\n"
    "       vhtool diff DIR [--against OTHER] [--json] [--patch FILE]\n"
    "       vhtool apply DIR PATCH [--dry-run] [--reverse]\n"
    "       vhtool refs DIR TABLE RECORD [--json]\n"
    "       vhtool --help | --version\n"
    "\n"
    "  sample DIR         Write a sample data directory into DIR (created if needed): every\n"
    "                     file the editor opens, plus clubcomp.dat and index.dat.\n"
    "  --size small|full  small: a few hundred persons (the default); full: the largest\n"
    "                     tables the editor holds (50000 persons, 29998 clubs, ...).\n"
    "  --seed N           A whole number from 0 to 18446744073709551615 (default 1). The\n"
    "                     same seed and size always write the same files.\n"
    "  --no-clubcomp      Leave clubcomp.dat out.\n"
    "  --force            Write over the data files DIR already holds. Without it, a\n"
    "                     directory holding any of them is left untouched.\n"
    "\n"
    "  check DIR          Check the data directory DIR without changing it: file sizes,\n"
    "                     references, squads and staff posts, the blocks of staff.dat,\n"
    "                     names, duplicate names. A change of the editor's that a crash\n"
    "                     interrupted is rolled back first, as the editor's load does.\n"
    "                     Exit status 0 when no error was found\n"
    "                     (warnings allowed), 1 when errors were found, 2 when the\n"
    "                     directory could not be read.\n"
    "  --json             One JSON object per finding, one per line.\n"
    "\n"
    "  export DIR TABLE   Write one table of the data directory DIR as rows of cells, one\n"
    "                     row per record: the column Record (the record number), then one\n"
    "                     column per field of the table's page, named as the page's control.\n"
    "                     A reference is a record number, with the name it points to in a\n"
    "                     column beside it (ClubNation.name); a list of references is one\n"
    "                     cell, numbers separated by ';'; a date is its day and month columns.\n"
    "                     TABLE is one of: stadiums cities clubs nations players staff\n"
    "                     competitions colours continents first-names second-names\n"
    "                     common-names. Nothing in DIR is changed but a change of the\n"
    "                     editor's that a crash interrupted, rolled back as by check.\n"
    "  --format csv|json  csv (the default): RFC 4180, UTF-8, a header line. json: an array\n"
    "                     of objects with the same keys.\n"
    "  -o FILE            Write to FILE (a CSV file then starts with the UTF-8 byte order\n"
    "                     mark spreadsheets look for) instead of standard output.\n"
    "  --where EXPR       Only the rows where FIELD OP VALUE holds, OP one of = != < <= > >=\n"
    "                     ~ (contains, whatever the case); numbers compare as numbers, and a\n"
    "                     reference is given by its number or by the name it shows. Join\n"
    "                     conditions with 'and', or give --where again: a row must meet them\n"
    "                     all. Example: --where 'PLayerPace>=18 and PlayerNation=Norland'\n"
    "                     Exit status 0 when written, 1 when DIR could not be read or FILE\n"
    "                     written, 2 for an unknown table, field or condition.\n"
    "\n"
    "  import DIR TABLE FILE\n"
    "                     Apply FILE, as export writes it (CSV or JSON, told apart by their\n"
    "                     content), to TABLE of the data directory DIR. Rows are matched by\n"
    "                     Record; any rows and columns may be left out. A .name column is\n"
    "                     read only where its number column is not given: a name stands for\n"
    "                     the first record of that name, a person's label for that person,\n"
    "                     <empty> for none. Only a cell that differs from what is stored is\n"
    "                     applied, after the checks of the editor's page: so an unchanged\n"
    "                     export changes nothing. A person's club, a club's squad and its\n"
    "                     staff posts change by the transfer and appointment rules. Any bad\n"
    "                     cell: every one is listed with its line, record, column, value and\n"
    "                     reason, and nothing is written. Otherwise the changes are written\n"
    "                     together: all of them or, should the writing fail, none. The backup\n"
    "                     directory is never touched.\n"
    "  --dry-run          Check and count the changes, write nothing.\n"
    "  --verbose          List every field changed, before and after.\n"
    "                     Exit status 0 when done, 1 for bad cells or a file or directory\n"
    "                     that could not be read or written, 2 for an unknown table.\n"
    "\n"
    "  set DIR TABLE FIELD=EXPR...\n"
    "                     Set FIELD of every row of TABLE that meets the --where conditions\n"
    "                     (of every row without them) to EXPR, worked out for each row:\n"
    "                     numbers (2, 0.9), the row's fields by their export names, + - * /,\n"
    "                     parentheses, min(a,b,...), max(a,b,...), clamp(x,lo,hi), round(x),\n"
    "                     and text in double quotes (\"Oslund\"): a reference takes a name\n"
    "                     as import does. A whole-number field takes the result rounded, halves\n"
    "                     away from zero. Every EXPR reads the row as it was before any\n"
    "                     FIELD=EXPR. Every result is checked as import checks a cell; any bad\n"
    "                     one: all are listed with record, field, value and reason, and\n"
    "                     nothing is written. Otherwise all the rows change together, or none.\n"
    "                     Example: set DIR players --where PlayerNation=Norland\n"
    "                              'PLayerPace=PLayerPace+2'\n"
    "  --where EXPR       As for export; several are all to hold.\n"
    "  --clamp            Bring a number outside its field's range into it (and say how many\n"
    "                     were) instead of refusing it.\n"
    "  --dry-run          Check and count the changes, write nothing.\n"
    "  --verbose          List every field changed, before and after.\n"
    "                     Exit status 0 when done, 1 for bad results or a directory that could\n"
    "                     not be read or written, 2 for an unknown table or field or an\n"
    "                     expression that does not parse, 3 when no row meets the conditions.\n"
    "\n"
    "  diff DIR           List what differs between the data directory DIR and its backup\n"
    "                     (DIR/backup, as the editor's Backup Files writes it), record by\n"
    "                     record: each changed field by name, old -> new, as export writes\n"
    "                     it; bytes no field shows as byte offsets and hex; records one side\n"
    "                     has only. A person's player or staff record belongs to the person.\n"
    "                     Nothing is changed but a change of the editor's that a crash\n"
    "                     interrupted, rolled back as by check.\n"
    "  --against OTHER    Compare with the directory OTHER instead of the backup.\n"
    "  --json             One JSON object per changed record, one per line.\n"
    "  --patch FILE       Also write the changed fields as a patch for vhtool apply.\n"
    "                     Exit status 0 when nothing differs, 1 when something does, 2\n"
    "                     when a file is missing or cannot be read, or FILE written.\n"
    "\n"
    "  apply DIR PATCH    Apply the patch PATCH (written by diff --patch, or the editor's\n"
    "                     Save As Patch) to the data directory DIR, which need not be a copy\n"
    "                     of the one it was made from. A change applies where the field\n"
    "                     still holds its old value and the record its label; one that\n"
    "                     holds the new value already is skipped; anything else is a\n"
    "                     conflict. Every value is checked as by import (clubs, squads and\n"
    "                     posts by the transfer and appointment rules). Any conflict or\n"
    "                     refused value: all are listed and nothing is written. Otherwise\n"
    "                     the changes are written together, or none. The backup directory\n"
    "                     is never touched.\n"
    "  --dry-run          Check and list the changes, write nothing.\n"
    "  --reverse          Take the patch back: new values to old, with the same checks.\n"
    "                     Exit status 0 when done (or nothing was left to change), 1 for\n"
    "                     conflicts, refused values or a file that could not be read or\n"
    "                     written, 2 for bad arguments.\n"
    "\n"
    "  refs DIR TABLE RECORD\n"
    "                     List every record of the data directory DIR that points at record\n"
    "                     RECORD of TABLE through one of its reference fields (a club's\n"
    "                     players, staff and rivals, the persons whose favourite it is, ...):\n"
    "                     its table, record number, label and the field's caption. TABLE as\n"
    "                     for export; RECORD a record number (a person's Id), or the name the\n"
    "                     record shows where another record points at it (a club's short\n"
    "                     name, a person's label). Nothing in DIR is changed but a change of\n"
    "                     the editor's that a crash interrupted, rolled back as by check.\n"
    "  --json             One JSON object per record and field, one per line.\n"
    "                     Exit status 0 when listed (nothing pointing at it included), 1 when\n"
    "                     DIR could not be read, 2 for an unknown table or record.\n";

std::optional<std::uint64_t> ParseSeed(std::string_view text) {
    std::uint64_t v = 0;
    const char* end = text.data() + text.size();
    if (text.empty() || text[0] < '0' || text[0] > '9') return std::nullopt;
    const auto [p, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || p != end) return std::nullopt;
    return v;
}

std::string Quoted(std::string_view before, std::string_view text) {
    std::string s(before);
    s.append("'").append(text).append("'");
    return s;
}

int Usage(std::ostream& err, const std::string& problem) {
    err << "vhtool: " << problem << "\nTry 'vhtool --help'.\n";
    return kBadArguments;
}

int Sample(const SampleOptions& opt, const std::string& dir, std::ostream& out, std::ostream& err) {
    const std::filesystem::path path = platform::Utf8Path(dir);
    // A journal left by an interrupted command belongs to the files it would roll back: it goes
    // with them (--force), or keeps the directory from being written like they do.
    const std::filesystem::path journal =
        platform::ResolveCase(path / std::string(db::kJournalFile.substr(1)));
    std::optional<std::string> existing = sample::ExistingDataFile(path);
    if (!existing && platform::Exists(journal)) existing = journal.filename().string();
    if (!opt.overwrite && existing) {
        err << "vhtool: " << dir << " already holds " << *existing
            << "; nothing was written. Use --force to write over its data files.\n";
        return kFailed;
    }
    // Written over only while no other program writes there; a journal goes with the files.
    std::optional<db::WriteLock> lock;
    try {
        if (existing) lock.emplace(dir);
    } catch (const db::EBusyError& e) {
        err << "vhtool: " << e.what() << "\n";
        return kFailed;
    }
    if (platform::Exists(journal)) {
        if (const int e = platform::RemoveFile(journal)) {
            err << "vhtool: cannot remove " << journal.string() << ": "
                << db::EInOutError::MessageFor(db::EInOutError::CodeFromErrno(e)) << "\n";
            return kFailed;
        }
    }
    const auto start = std::chrono::steady_clock::now();
    SampleSummary s;
    try {
        s = sample::WriteSample(path, opt);
    } catch (const std::exception& e) {
        err << "vhtool: " << e.what() << "\n";
        return kFailed;
    }
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    out << "Wrote a " << sample::SizeName(opt.size) << " sample (seed " << opt.seed << ") to "
        << dir << " in " << ms << " ms:\n"
        << "  " << s.persons << " persons (" << s.players << " players, " << s.nonPlayers
        << " staff), " << s.clubs << " clubs, " << s.nations << " nations, " << s.cities
        << " cities, " << s.stadiums << " stadiums,\n"
        << "  " << s.competitions << " competitions, " << s.colours << " colours, " << s.continents
        << " continents, " << s.firstNames << " first, " << s.secondNames << " second and "
        << s.commonNames << " common names" << (opt.clubcomp ? "" : "; no clubcomp.dat") << ".\n";
    return kOk;
}

// The reason a data directory could not be read: "staff.dat: File not found".
std::string ReadFailure(const db::EInOutError& e) {
    const std::string where = e.Where();
    std::string text = (where.empty() ? e.Path() : where) + ": " + e.what();
    if (e.Code() == db::kDiskFull)
        text +=
            " (the disk that holds the directory is full: free some space on it, then run "
            "the command again)";
    return text;
}

// How a command names what it was doing when the core failed: "cannot import into DIR".
struct Failing {
    std::string doing;
    int status = kFailed;
    // An I/O failure adds that nothing was written (the commands that write).
    bool nothingWritten = false;
    // Any other exception is said as a data error is; else it is not the core's and goes on.
    bool anyException = false;
};

// The one mapping of the core's exceptions to vhtool's messages and exit status, called inside a
// catch block: an I/O failure names its file and record, a data error says what it found.
int CoreFailure(const Failing& how, std::ostream& err) {
    try {
        throw;
    } catch (const db::EInOutError& e) {
        err << "vhtool: " << how.doing << ": " << ReadFailure(e)
            << (how.nothingWritten ? "; nothing was written.\n" : "\n");
    } catch (const db::EDataError& e) {
        err << "vhtool: " << how.doing << ": " << e.what() << "\n";
    } catch (const std::exception& e) {
        if (!how.anyException) throw;
        err << "vhtool: " << how.doing << ": " << e.what() << "\n";
    }
    return how.status;
}

std::string Plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

void PrintFinding(std::ostream& out, const db::Finding& f) {
    out << "  " << db::SeverityName(f.severity)
        << (f.severity == db::Severity::kError ? "   " : " ") << f.file;
    if (f.record >= 0) out << " record " << f.record;
    if (!f.field.empty()) out << " " << f.field;
    if (!f.value.empty()) out << " = " << f.value;
    out << ": " << f.message << "\n";
}

// A command interrupted by a crash is rolled back before a directory is read or written, as the
// editor's load does (a read-only directory is left as it is); the notice says what was undone.
// A journal that is not obeyed leaves the directory for reading only: a command that writes
// stops there (it throws EDataError with the notice, which has been printed).
db::Recovery Recover(const std::string& dir, std::ostream& err, bool writing = false) {
    db::Recovery r = db::RecoverJournal(dir);
    const std::string notice = r.Notice();
    if (!notice.empty()) err << "vhtool: " << db::Cp1252ToUtf8(notice) << "\n";
    if (writing && r.JournalLeft()) throw db::EDataError("nothing was written.");
    return r;
}

int Check(const std::string& dir, bool json, std::ostream& out, std::ostream& err) {
    db::CheckReport report;
    bool refused = false;
    try {
        // What is checked is what the editor will load: a command interrupted by a crash is
        // rolled back first, as the editor's load does (a read-only directory is left as it is).
        refused = Recover(dir, err).outcome == db::Recovery::Outcome::kRefused;
        report = db::CheckDataDirectory(dir);
    } catch (...) {
        return CoreFailure({"cannot check " + dir, kBadArguments, false, true}, err);
    }

    if (json) {
        for (const db::Finding& f : report.findings) {
            nlohmann::ordered_json j;
            j["severity"] = db::SeverityName(f.severity);
            j["kind"] = db::KindName(f.kind);
            j["file"] = f.file;
            j["record"] = f.record;
            j["field"] = f.field;
            j["value"] = f.value;
            j["message"] = f.message;
            j["subject"] = db::SubjectName(f.subject);
            out << j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
        }
    } else {
        for (std::size_t k = 0; k < db::kCheckKindCount; ++k) {
            const auto kind = static_cast<db::CheckKind>(k);
            const auto n = static_cast<std::size_t>(
                std::count_if(report.findings.begin(), report.findings.end(),
                              [&](const db::Finding& f) { return f.kind == kind; }));
            if (n == 0) continue;
            out << db::KindName(kind) << " (" << n << ")\n";
            // Errors first within a kind, each in file order.
            for (auto sev : {db::Severity::kError, db::Severity::kWarning})
                for (const db::Finding& f : report.findings)
                    if (f.kind == kind && f.severity == sev) PrintFinding(out, f);
        }
        out << dir << ": " << Plural(report.Errors(), "error", "errors") << ", "
            << Plural(report.Warnings(), "warning", "warnings");
        if (report.omitted) out << " (" << report.omitted << " of them not listed)";
        out << ".\n";
    }
    return report.Errors() > 0 || refused ? kFailed : kOk;
}

std::string ErrnoText(int err) {
    return std::error_code(err, std::generic_category()).message();
}

// A file named by the user, written whole; 0 or an errno value.
int WriteUserFile(const std::string& name, std::string_view bytes) {
    return platform::WriteWholeFile(platform::Utf8Path(name), bytes);
}

struct ExportOptions {
    std::string dir, table, format = "csv", output;
    std::vector<std::string> where;
};

int Export(const ExportOptions& o, std::ostream& out, std::ostream& err) {
    const db::Table* table = db::FindTable(o.table);
    if (!table)
        return Usage(err, "unknown table '" + o.table + "': use one of " + db::TableNames());
    if (o.format != "csv" && o.format != "json")
        return Usage(err, "unknown format '" + o.format + "': use csv or json");
    std::string text;
    std::size_t rows = 0;
    try {
        // What is exported is what the editor will load: a change a crash interrupted is rolled
        // back first.
        Recover(o.dir, err);
        db::DataFiles files(o.dir);
        const db::TableRows table_rows(files, table->id);
        std::vector<db::Condition> where;
        for (const std::string& w : o.where)
            for (db::Condition& c : db::ParseFilter(w, table_rows.Columns()))
                where.push_back(std::move(c));
        rows = db::WriteTable(table_rows,
                              o.format == "json" ? db::TableFormat::kJson : db::TableFormat::kCsv,
                              where, !o.output.empty(), text);
    } catch (const db::ETableError& e) {
        return Usage(err, e.what());
    } catch (...) {
        return CoreFailure({"cannot export from " + o.dir}, err);
    }
    if (o.output.empty()) {
        out << text;
        return kOk;
    }
    if (const int e = WriteUserFile(o.output, text)) {
        err << "vhtool: cannot write " << o.output << ": " << ErrnoText(e) << "\n";
        return kFailed;
    }
    err << "Wrote " << rows << " " << o.table << " rows to " << o.output << ".\n";
    return kOk;
}

// Commits an import's or a patch's writes; false, with the reason said, when nothing was written.
bool CommitPlan(const std::string& dir, const db::WriteSet& writes, std::ostream& err) {
    try {
        db::Commit(dir, writes);
        return true;
    } catch (...) {
        CoreFailure({"cannot write to " + dir, kFailed, true}, err);
    }
    return false;
}

void PrintChanges(std::ostream& out, const std::vector<db::CellChange>& changes) {
    for (const db::CellChange& c : changes)
        out << "  " << db::TableOf(c.table).name << " record " << c.record << " " << c.column
            << ": " << c.before << " -> " << c.after << "\n";
}

// A file named by the user, read whole; false, with the reason said, when it cannot be.
bool ReadUserFile(const std::string& name, std::string& bytes, std::ostream& err) {
    if (const int e = platform::ReadWholeFile(platform::Utf8Path(name), bytes)) {
        err << "vhtool: cannot read " << name << ": " << ErrnoText(e) << "\n";
        return false;
    }
    return true;
}

struct ImportOptions {
    std::string dir, table, file;
    bool dryRun = false, verbose = false;
};

int Import(const ImportOptions& o, std::ostream& out, std::ostream& err) {
    const db::Table* table = db::FindTable(o.table);
    if (!table)
        return Usage(err, "unknown table '" + o.table + "': use one of " + db::TableNames());
    std::string text;
    if (!ReadUserFile(o.file, text, err)) return kFailed;
    db::ImportPlan plan;
    std::optional<db::WriteLock> lock;  // from the first read to the end of the commit
    try {
        const db::CellTable cells = db::ReadCellTable(text);
        lock.emplace(o.dir);
        Recover(o.dir, err, true);
        db::DataFiles files(o.dir);
        plan = db::PlanImport(files, table->id, cells);
    } catch (const db::ETableError& e) {
        err << "vhtool: " << o.file << ": " << e.what() << "; nothing was written.\n";
        return kFailed;
    } catch (...) {
        return CoreFailure({"cannot import into " + o.dir, kFailed, true}, err);
    }
    if (!plan.bad.empty()) {
        for (const db::BadCell& b : plan.bad) out << "  " << db::Describe(b) << "\n";
        err << "vhtool: " << Plural(plan.bad.size(), "bad cell", "bad cells") << " in " << o.file
            << "; nothing was written.\n";
        return kFailed;
    }
    if (plan.writes.Empty()) {
        out << "Nothing to change: every cell of " << o.file << " is as " << o.dir
            << " holds it.\n";
        return kOk;
    }
    if (!o.dryRun && !CommitPlan(o.dir, plan.writes, err)) return kFailed;
    out << (o.dryRun ? "Would change " : "Changed ")
        << Plural(plan.changes.size(), "field", "fields") << " of "
        << Plural(plan.records, "record", "records") << " in " << o.dir << ".\n";
    if (o.verbose) PrintChanges(out, plan.changes);
    return kOk;
}

// --- set ----------------------------------------------------------------------------------------

struct SetOptions {
    std::string dir, table;
    std::vector<std::string> where, assignments;
    bool dryRun = false, verbose = false, clamp = false;
};

int Set(const SetOptions& o, std::ostream& out, std::ostream& err) {
    const db::Table* table = db::FindTable(o.table);
    if (!table)
        return Usage(err, "unknown table '" + o.table + "': use one of " + db::TableNames());
    // The conditions and formulas are read before the directory is touched.
    const std::vector<db::Column> columns = db::ColumnsOf(*table);
    std::vector<db::Condition> where;
    std::vector<db::Assignment> assignments;
    std::string fields;
    try {
        for (const std::string& w : o.where)
            for (db::Condition& c : db::ParseFilter(w, columns)) where.push_back(std::move(c));
        for (const std::string& text : o.assignments) {
            db::Assignment a = db::ParseAssignment(text, columns);
            for (const db::Assignment& before : assignments)
                if (before.column == a.column)
                    return Usage(err, columns[a.column].name + " is set twice ('" + before.text +
                                          "', '" + a.text + "')");
            fields += (fields.empty() ? "" : ", ") + columns[a.column].name;
            assignments.push_back(std::move(a));
        }
    } catch (const db::ETableError& e) {
        return Usage(err, e.what());
    }
    db::FormulaCells cells;
    db::ImportPlan plan;
    std::optional<db::WriteLock> lock;  // from the first read to the end of the commit
    try {
        lock.emplace(o.dir);
        Recover(o.dir, err, true);
        db::DataFiles files(o.dir);
        const db::TableRows rows(files, table->id);
        std::vector<std::size_t> chosen;
        for (std::size_t i = 0; i < rows.Size(); ++i)
            if (std::all_of(where.begin(), where.end(), [&](const db::Condition& c) {
                    return db::Matches(c, rows.Cell(rows[i], columns[c.column]));
                }))
                chosen.push_back(i);
        if (chosen.empty()) {
            err << "vhtool: no row of " << o.table
                << " meets the conditions; nothing was written.\n";
            return kNoRowChosen;
        }
        cells = db::EvaluateFormulas(rows, chosen, assignments, o.clamp);
        if (cells.bad.empty())
            plan = db::PlanFormulas(files, rows, cells, "Set of " + fields + " in " + o.table);
        else
            plan.bad = std::move(cells.bad);
    } catch (...) {
        return CoreFailure({"cannot set in " + o.dir, kFailed, true}, err);
    }
    if (!plan.bad.empty()) {
        for (const db::BadCell& b : plan.bad) out << "  " << db::Describe(b) << "\n";
        err << "vhtool: " << Plural(plan.bad.size(), "result", "results")
            << " refused; nothing was written.\n";
        return kFailed;
    }
    const std::string clamped = cells.clamped
                                    ? "; " + Plural(cells.clamped, "result was", "results were") +
                                          " clamped into the field's range"
                                    : "";
    if (plan.writes.Empty()) {
        out << "Nothing to change: every row of " << o.table << " chosen holds its result already"
            << clamped << ".\n";
        return kOk;
    }
    if (!o.dryRun && !CommitPlan(o.dir, plan.writes, err)) return kFailed;
    out << (o.dryRun ? "Would change " : "Changed ")
        << Plural(plan.changes.size(), "field", "fields") << " of "
        << Plural(plan.records, "record", "records") << " in " << o.dir << clamped << ".\n";
    if (o.verbose) PrintChanges(out, plan.changes);
    return kOk;
}

// --- diff and apply ------------------------------------------------------------------------------

struct DiffOptions {
    std::string dir, against, patch;
    bool json = false;
};

std::string SideText(db::Side side, const std::string& dir, const std::string& other) {
    return side == db::Side::kOnlyNew ? "only in " + dir : "only in " + other;
}

void PrintChange(std::ostream& out, const db::RecordChange& r, const std::string& dir,
                 const std::string& other) {
    if (r.table)
        out << db::TableOf(*r.table).name << " record " << r.record << " \"" << r.label << "\"";
    else
        out << r.file << (r.side == db::Side::kBoth ? ", bytes in no record" : "");
    if (r.side != db::Side::kBoth) {
        out << ": " << SideText(r.side, dir, other) << "\n";
        return;
    }
    if (r.table && r.oldLabel != r.label) out << " (was \"" << r.oldLabel << "\")";
    out << "\n";
    for (const db::FieldChange& f : r.fields) {
        out << "  " << f.column << ": " << f.before;
        if (!f.beforeName.empty()) out << " (" << f.beforeName << ")";
        out << " -> " << f.after;
        if (!f.afterName.empty()) out << " (" << f.afterName << ")";
        out << "\n";
        for (const db::FieldChange::Slot& slot : f.changedSlots)
            out << "    " << f.column << "[" << slot.slot << "]: " << slot.beforeName << " -> "
                << slot.afterName << "\n";
    }
    for (const db::ByteChange& b : r.bytes)
        out << "  " << db::DescribeBytes(b, r.table.has_value()) << ": " << db::ShownHex(b.before)
            << " -> " << db::ShownHex(b.after) << "\n";
}

std::string JsonLine(const db::RecordChange& r) {
    static constexpr const char* kParts[] = {"record", "player", "non-player"};
    auto hex = [](const std::vector<std::uint8_t>& bytes) {
        std::string h = db::Hex(bytes);
        std::erase(h, ' ');
        return h;
    };
    nlohmann::ordered_json j;
    j["table"] = r.table ? nlohmann::ordered_json(std::string(db::TableOf(*r.table).name))
                         : nlohmann::ordered_json();
    j["file"] = r.file;
    j["record"] = r.record;
    j["label"] = r.label;
    j["oldLabel"] = r.oldLabel;
    j["side"] = r.side == db::Side::kBoth ? "both" : r.side == db::Side::kOnlyNew ? "new" : "old";
    j["fields"] = nlohmann::ordered_json::array();
    for (const db::FieldChange& f : r.fields) {
        nlohmann::ordered_json o;
        o["field"] = f.column;
        o["old"] = f.before;
        o["new"] = f.after;
        if (!f.beforeName.empty() || !f.afterName.empty()) {
            o["oldName"] = f.beforeName;
            o["newName"] = f.afterName;
        }
        for (const db::FieldChange::Slot& slot : f.changedSlots) {
            nlohmann::ordered_json sj;
            sj["slot"] = slot.slot;
            sj["oldName"] = slot.beforeName;
            sj["newName"] = slot.afterName;
            o["slots"].push_back(std::move(sj));
        }
        j["fields"].push_back(std::move(o));
    }
    j["bytes"] = nlohmann::ordered_json::array();
    for (const db::ByteChange& b : r.bytes) {
        nlohmann::ordered_json o;
        o["part"] = kParts[static_cast<int>(b.part)];
        o["offset"] = b.offset;
        o["field"] = b.field;
        o["old"] = hex(b.before);
        o["new"] = hex(b.after);
        j["bytes"].push_back(std::move(o));
    }
    return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

int Diff(const DiffOptions& o, std::ostream& out, std::ostream& err) {
    const std::string other = o.against.empty() ? db::BackupDirectory(o.dir) : o.against;
    const std::string otherName = o.against.empty() ? "the backup" : o.against;
    db::DirectoryDiff diff;
    try {
        // What is compared is what the editor would load. A backup never holds a journal.
        Recover(o.dir, err);
        if (!o.against.empty()) Recover(other, err);
        if (o.against.empty() && !db::HasBackup(o.dir)) {
            err << "vhtool: " << o.dir << " has no backup directory ("
                << platform::NativeText(other)
                << "): nothing to compare with. The editor's File > Backup Files makes one; "
                   "--against OTHER compares with another directory.\n";
            return kBadArguments;
        }
        diff = db::DiffDirectories(o.dir, other);
    } catch (...) {
        return CoreFailure(
            {"cannot compare " + o.dir + " with " + otherName, kBadArguments, false, true}, err);
    }
    std::size_t fields = 0, runs = 0;
    for (const db::RecordChange& r : diff.records) {
        fields += r.fields.size();
        runs += r.bytes.size();
        if (o.json)
            out << JsonLine(r) << "\n";
        else
            PrintChange(out, r, o.dir, otherName);
    }
    if (!o.json && !diff.Empty())
        out << o.dir << " against " << otherName << ": "
            << Plural(diff.records.size(), "record differs", "records differ") << " ("
            << Plural(fields, "field", "fields") << ", "
            << Plural(runs, "run of bytes no value shows", "runs of bytes no value shows")
            << ").\n";
    if (!o.patch.empty()) {
        db::PatchLeftOut left;
        const db::Patch patch = db::MakePatch(diff, &left);
        if (const int e = WriteUserFile(o.patch, db::EncodePatch(patch))) {
            err << "vhtool: cannot write " << o.patch << ": " << ErrnoText(e) << "\n";
            return kBadArguments;
        }
        err << "Wrote " << Plural(patch.changes.size(), "change", "changes") << " to " << o.patch
            << ".\n";
        if (const std::string warning = left.Warning(); !warning.empty())
            err << "vhtool: warning: " << warning << ".\n";
    }
    return diff.Empty() ? kOk : kFailed;
}

struct ApplyOptions {
    std::string dir, patch;
    bool dryRun = false, reverse = false;
};

int Apply(const ApplyOptions& o, std::ostream& out, std::ostream& err) {
    std::string text;
    if (!ReadUserFile(o.patch, text, err)) return kFailed;
    db::PatchPlan plan;
    std::optional<db::WriteLock> lock;  // from the first read to the end of the commit
    try {
        const db::Patch patch = db::DecodePatch(text);
        lock.emplace(o.dir);
        Recover(o.dir, err, true);
        db::DataFiles files(o.dir);
        // The label names the command in Undo and in a recovery notice, in the files' code page.
        const std::u8string file = platform::Utf8Path(o.patch).filename().u8string();
        const std::string name(file.begin(), file.end());
        plan = db::PlanPatch(
            files, patch, o.reverse,
            (o.reverse ? "Reverse patch " : "Patch ") + db::Utf8ToCp1252(name).value_or("file"));
    } catch (const db::EPatchError& e) {
        err << "vhtool: " << o.patch << ": " << e.what() << "; nothing was written.\n";
        return kFailed;
    } catch (...) {
        return CoreFailure({"cannot apply to " + o.dir, kFailed, true}, err);
    }
    if (!plan.conflicts.empty()) {
        for (const db::PatchConflict& c : plan.conflicts) out << "  " << db::Describe(c) << "\n";
        err << "vhtool: " << Plural(plan.conflicts.size(), "conflict", "conflicts") << ": "
            << o.patch << " does not fit " << o.dir << "; nothing was written.\n";
        return kFailed;
    }
    if (!plan.import.bad.empty()) {
        for (const db::BadCell& b : plan.import.bad) out << "  " << db::DescribeRefused(b) << "\n";
        err << "vhtool: " << Plural(plan.import.bad.size(), "change", "changes") << " of "
            << o.patch << " refused by the editor's rules; nothing was written.\n";
        return kFailed;
    }
    if (plan.import.writes.Empty()) {
        out << "Nothing to change: " << o.dir << " holds every change of " << o.patch
            << " already.\n";
        return kOk;
    }
    if (!o.dryRun && !CommitPlan(o.dir, plan.import.writes, err)) return kFailed;
    out << (o.dryRun ? "Would change " : "Changed ")
        << Plural(plan.import.changes.size(), "field", "fields") << " of "
        << Plural(plan.import.records, "record", "records") << " in " << o.dir;
    if (plan.appliedBefore)
        out << "; " << Plural(plan.appliedBefore, "change was", "changes were") << " there already";
    out << ".\n";
    if (o.dryRun) PrintChanges(out, plan.import.changes);
    return kOk;
}

// --- what points at a record ---------------------------------------------------------------------

struct RefsOptions {
    std::string dir, table, record;
    bool json = false;
};

// The record RECORD names in the table: a whole number, else the name the record shows (a name
// may start with a digit). nullopt, with the reason said, for none.
std::optional<std::int64_t> RefsRecord(const RefsOptions& o, const db::Table& table,
                                       db::WhatPointsHere& refs, std::ostream& err) {
    const std::string& text = o.record;
    const std::string what = std::string(table.name) + " has no record ";
    const std::int64_t count = refs.Count(table.id);
    const std::string numbers = count ? "use a record number from 0 to " + std::to_string(count - 1)
                                      : "the table has no record";
    std::int64_t v = 0;
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, v);
    std::optional<std::int64_t> record;
    if (p == end && ec == std::errc()) {
        if (v < 0) {
            Usage(err, "record " + text + " is negative: " + numbers);
            return std::nullopt;
        }
        record = v;
    } else if (p != end || ec != std::errc::result_out_of_range) {
        // As import finds a name: the first record that shows it, a person by his label.
        db::DataFiles files(o.dir);
        if (const auto name = db::Utf8ToCp1252(text)) record = files.FindName(table.target, *name);
        if (!record) {
            Usage(err, what + "named " + Quoted("", text) + ": " + numbers + ", or the name " +
                           (table.IsPersons() ? "of a person's label" : "a reference to it shows"));
            return std::nullopt;
        }
    }
    if (!record || *record >= count) {
        Usage(err, what + text + ": " + numbers);
        return std::nullopt;
    }
    if (!refs.IsRow(table.id, *record)) {  // a person of the other kind
        const db::Table& other = db::TableOf(
            table.id == db::TableId::kPlayers ? db::TableId::kStaff : db::TableId::kPlayers);
        Usage(err, what + text + ": record " + std::to_string(*record) + " is a " +
                       std::string(other.what) + " (table " + std::string(other.name) + ")");
        return std::nullopt;
    }
    return record;
}

int Refs(const RefsOptions& o, std::ostream& out, std::ostream& err) {
    const db::Table* table = db::FindTable(o.table);
    if (!table)
        return Usage(err, "unknown table '" + o.table + "': use one of " + db::TableNames());
    std::vector<db::Referrer> hits;
    std::string subject;
    try {
        // What is listed is what the editor will load: a change a crash interrupted is rolled
        // back first.
        Recover(o.dir, err);
        db::WhatPointsHere refs(o.dir);
        const std::optional<std::int64_t> record = RefsRecord(o, *table, refs, err);
        if (!record) return kBadArguments;
        subject = std::string(table->name) + " record " + std::to_string(*record) + " \"" +
                  refs.Label(table->id, *record) + "\"";
        hits = refs.Find(table->id, *record);
    } catch (...) {
        return CoreFailure({"cannot read " + o.dir}, err);
    }
    if (o.json) {
        for (const db::Referrer& r : hits) {
            nlohmann::ordered_json j;
            j["table"] = db::TableOf(r.table).name;
            j["record"] = r.record;
            j["label"] = r.label;
            j["field"] = r.field->name;
            j["caption"] = r.field->caption;
            out << j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
        }
        return kOk;
    }
    if (hits.empty()) {
        out << "Nothing points at " << subject << ".\n";
        return kOk;
    }
    std::size_t records = 0;
    for (std::size_t i = 0; i < hits.size(); ++i)
        records +=
            i == 0 || hits[i].table != hits[i - 1].table || hits[i].record != hits[i - 1].record;
    for (const db::Referrer& r : hits)
        out << db::TableOf(r.table).name << " record " << r.record << " \"" << r.label
            << "\": " << r.field->caption << "\n";
    out << subject << ": " << Plural(hits.size(), "reference", "references") << " from "
        << Plural(records, "record", "records") << ".\n";
    return kOk;
}

// CLI11's messages, said the way the rest of vhtool says things.
std::string ParseProblem(const CLI::ParseError& e, const CLI::App& app, const CLI::App* command) {
    const std::string what = e.what();
    if (dynamic_cast<const CLI::ExtrasError*>(&e)) {
        const auto extras =
            command && !command->remaining().empty() ? command->remaining() : app.remaining();
        const std::string first = extras.empty() ? std::string() : extras.front();
        if (!command || command->remaining().empty())
            if (!first.empty() && first[0] != '-') return "unknown command '" + first + "'";
        return "unknown option '" + first + "'";
    }
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&e)) {
        if (what.find("flag override") != std::string::npos)
            return "--" + what.substr(0, what.find(' ')) + " takes no value";
        const auto colon = what.find(':');
        if (colon != std::string::npos) {
            const std::string option = what.substr(0, colon);
            return option + " needs a value" + (option == "--size" ? ": small or full" : "");
        }
    }
    if (const auto colon = what.find(": ");
        dynamic_cast<const CLI::ValidationError*>(&e) && colon != std::string::npos)
        return what.substr(colon + 2);
    return what;
}

}  // namespace

int RunVhtool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << kUsage;
        return kBadArguments;
    }

    CLI::App app{"vhtool, the editor's command-line companion", "vhtool"};
    app.set_help_flag();  // help is printed from kUsage, for the whole program at once
    bool help = false;
    app.add_flag("-h,--help", help);
    bool version = false;
    app.add_flag("--version", version)->disable_flag_override();
    app.require_subcommand(0, 1);

    SampleOptions opt;
    std::string sizeText, seedText;
    std::vector<std::string> sampleDirs;
    CLI::App* sample = app.add_subcommand("sample", "Write a sample data directory");
    sample->set_help_flag();
    sample->add_flag("-h,--help", help);
    sample->add_option("--size", sizeText)->check([](const std::string& v) -> std::string {
        return sample::ParseSize(v) ? "" : Quoted("unknown size ", v) + ": use small or full";
    });
    sample->add_option("--seed", seedText)->check([](const std::string& v) -> std::string {
        return ParseSeed(v) ? ""
                            : Quoted("", v) +
                                  " is not a seed: use a whole number from 0 to "
                                  "18446744073709551615";
    });
    sample->add_flag("--no-clubcomp")->disable_flag_override();
    sample->add_flag("--force", opt.overwrite)->disable_flag_override();
    sample->add_option("dir", sampleDirs);

    bool json = false;
    std::vector<std::string> checkDirs;
    CLI::App* check = app.add_subcommand("check", "Check a data directory");
    check->set_help_flag();
    check->add_flag("-h,--help", help);
    check->add_flag("--json", json)->disable_flag_override();
    check->add_option("dir", checkDirs);

    ExportOptions exp;
    std::vector<std::string> exportArgs;
    CLI::App* exportCmd = app.add_subcommand("export", "Write a table as CSV or JSON");
    exportCmd->set_help_flag();
    exportCmd->add_flag("-h,--help", help);
    exportCmd->add_option("--format", exp.format);
    exportCmd->add_option("-o", exp.output);
    exportCmd->add_option("--where", exp.where)->allow_extra_args(false);
    exportCmd->add_option("args", exportArgs);

    ImportOptions imp;
    std::vector<std::string> importArgs;
    CLI::App* importCmd = app.add_subcommand("import", "Apply a CSV or JSON file to a table");
    importCmd->set_help_flag();
    importCmd->add_flag("-h,--help", help);
    importCmd->add_flag("--dry-run", imp.dryRun)->disable_flag_override();
    importCmd->add_flag("--verbose", imp.verbose)->disable_flag_override();
    importCmd->add_option("args", importArgs);

    SetOptions set;
    std::vector<std::string> setArgs;
    CLI::App* setCmd = app.add_subcommand("set", "Set fields of many rows by a formula");
    setCmd->set_help_flag();
    setCmd->add_flag("-h,--help", help);
    setCmd->add_option("--where", set.where)->allow_extra_args(false);
    setCmd->add_flag("--dry-run", set.dryRun)->disable_flag_override();
    setCmd->add_flag("--verbose", set.verbose)->disable_flag_override();
    setCmd->add_flag("--clamp", set.clamp)->disable_flag_override();
    setCmd->add_option("args", setArgs);

    DiffOptions dif;
    std::vector<std::string> diffDirs;
    CLI::App* diffCmd = app.add_subcommand("diff", "List what changed since the backup");
    diffCmd->set_help_flag();
    diffCmd->add_flag("-h,--help", help);
    diffCmd->add_option("--against", dif.against);
    diffCmd->add_flag("--json", dif.json)->disable_flag_override();
    diffCmd->add_option("--patch", dif.patch);
    diffCmd->add_option("dir", diffDirs);

    ApplyOptions apl;
    std::vector<std::string> applyArgs;
    CLI::App* applyCmd = app.add_subcommand("apply", "Apply a patch to a data directory");
    applyCmd->set_help_flag();
    applyCmd->add_flag("-h,--help", help);
    applyCmd->add_flag("--dry-run", apl.dryRun)->disable_flag_override();
    applyCmd->add_flag("--reverse", apl.reverse)->disable_flag_override();
    applyCmd->add_option("args", applyArgs);

    RefsOptions ref;
    std::vector<std::string> refsArgs;
    CLI::App* refsCmd = app.add_subcommand("refs", "List what points at a record");
    refsCmd->set_help_flag();
    refsCmd->add_flag("-h,--help", help);
    refsCmd->add_flag("--json", ref.json)->disable_flag_override();
    refsCmd->add_option("args", refsArgs);

    // "help" as a command, as before.
    if (args.front() == "help") {
        out << kUsage;
        return kOk;
    }
    std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them reversed
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        const CLI::App* command = sample->parsed()      ? sample
                                  : check->parsed()     ? check
                                  : exportCmd->parsed() ? exportCmd
                                  : importCmd->parsed() ? importCmd
                                  : setCmd->parsed()    ? setCmd
                                  : diffCmd->parsed()   ? diffCmd
                                  : applyCmd->parsed()  ? applyCmd
                                  : refsCmd->parsed()   ? refsCmd
                                                        : nullptr;
        if (help) {
            out << kUsage;
            return kOk;
        }
        // A negative record number reads as an option.
        if (command == refsCmd)
            for (const std::string& a : args)
                if (a.size() > 1 && a[0] == '-' && std::all_of(a.begin() + 1, a.end(), [](char c) {
                        return c >= '0' && c <= '9';
                    }))
                    return Usage(err, "record " + a + " is negative: use a record number from 0");
        return Usage(err, ParseProblem(e, app, command));
    }
    if (help) {
        out << kUsage;
        return kOk;
    }
    if (version) {
        out << "vhtool (VH Editor) " << kVersion << "\n";
        return kOk;
    }

    auto oneDir = [&](const std::vector<std::string>& dirs, const char* what,
                      std::string& dir) -> std::optional<int> {
        if (dirs.size() > 1)
            return Usage(err,
                         "more than one directory given ('" + dirs[0] + "', '" + dirs[1] + "')");
        if (dirs.empty() || dirs.front().empty()) return Usage(err, what);
        dir = dirs.front();
        return std::nullopt;
    };
    std::string dir;
    if (sample->parsed()) {
        if (auto status = oneDir(sampleDirs, "sample needs the directory to write into", dir))
            return *status;
        if (!sizeText.empty()) opt.size = *sample::ParseSize(sizeText);
        if (!seedText.empty()) opt.seed = *ParseSeed(seedText);
        opt.clubcomp = sample->count("--no-clubcomp") == 0;
        return Sample(opt, dir, out, err);
    }
    if (check->parsed()) {
        if (auto status = oneDir(checkDirs, "check needs the directory to check", dir))
            return *status;
        return Check(dir, json, out, err);
    }
    if (exportCmd->parsed()) {
        if (exportArgs.size() < 2 || exportArgs[0].empty())
            return Usage(err,
                         "export needs the directory and the table (" + db::TableNames() + ")");
        if (exportArgs.size() > 2) return Usage(err, "unexpected '" + exportArgs[2] + "'");
        exp.dir = exportArgs[0];
        exp.table = exportArgs[1];
        return Export(exp, out, err);
    }
    if (importCmd->parsed()) {
        if (importArgs.size() < 3 || importArgs[0].empty())
            return Usage(err, "import needs the directory, the table and the file to read");
        if (importArgs.size() > 3) return Usage(err, "unexpected '" + importArgs[3] + "'");
        imp.dir = importArgs[0];
        imp.table = importArgs[1];
        imp.file = importArgs[2];
        return Import(imp, out, err);
    }
    if (setCmd->parsed()) {
        if (setArgs.size() < 3 || setArgs[0].empty())
            return Usage(err, "set needs the directory, the table and at least one FIELD=EXPR");
        set.dir = setArgs[0];
        set.table = setArgs[1];
        set.assignments.assign(setArgs.begin() + 2, setArgs.end());
        return Set(set, out, err);
    }
    if (diffCmd->parsed()) {
        if (auto status = oneDir(diffDirs, "diff needs the directory to compare", dir))
            return *status;
        dif.dir = dir;
        return Diff(dif, out, err);
    }
    if (applyCmd->parsed()) {
        if (applyArgs.size() < 2 || applyArgs[0].empty())
            return Usage(err, "apply needs the directory and the patch file");
        if (applyArgs.size() > 2) return Usage(err, "unexpected '" + applyArgs[2] + "'");
        apl.dir = applyArgs[0];
        apl.patch = applyArgs[1];
        return Apply(apl, out, err);
    }
    if (refsCmd->parsed()) {
        if (refsArgs.size() < 3 || refsArgs[0].empty())
            return Usage(err, "refs needs the directory, the table (" + db::TableNames() +
                                  ") and the record number");
        if (refsArgs.size() > 3) return Usage(err, "unexpected '" + refsArgs[3] + "'");
        ref.dir = refsArgs[0];
        ref.table = refsArgs[1];
        ref.record = refsArgs[2];
        return Refs(ref, out, err);
    }
    return Usage(err, "no command given");
}

}  // namespace vh::cli
