#include "editor/pages/page.h"

#include <QWidget>
#include <cctype>

#include "database/records/reference.h"
#include "dialogs/msgbox.h"
#include "dialogs/qtext.h"

namespace vh::ui {

void TPage::AddFieldArea(QWidget* area) {
    fieldAreas_.push_back(area);
    area->setEnabled(hasRecord_);
}

void TPage::SetHasRecord(bool has) {
    hasRecord_ = has;
    if (!has) number_ = -1;
    for (QWidget* a : fieldAreas_) a->setEnabled(has);
    if (ctx_.recordShown) ctx_.recordShown();
}

void TPage::ReportMissing(const QStringList& missing) {
    if (missing.isEmpty()) return;
    ShowMessage(ctx_.window, QStringLiteral("Missing Records"),
                QStringLiteral("Some fields of this record name records that do not exist:\n%1\n\n"
                               "Saved without a change, each keeps its number; choose another "
                               "with its Change button to mend it.")
                    .arg(missing.join(QLatin1Char('\n'))),
                Buttons::kOk, Icon::kWarning);
}

void TPage::NoMatches() {
    ShowNoMatches(ctx_.window);
}

void ShowNoMatches(QWidget* parent) {
    ShowMessage(parent, QStringLiteral("No Matches"),
                QStringLiteral("There were no matches to your seach.  Please try again."));
}

}  // namespace vh::ui

namespace vh::ui {

std::optional<std::int64_t> FindByName(db::RecordFile& file, int recordSize, const QString& text,
                                       std::span<const db::Str> fields) {
    std::string want;
    // A name with a terminator in it matches no field's text.
    if (!TryToCp1252(text, want) || want.find('\0') != std::string::npos) return std::nullopt;
    return db::FindFirst(file, recordSize, [&](const std::uint8_t* rec) {
        // The field's text (up to its terminator), compared where it lies: no copy per record,
        // and no search for the terminator but the one byte after the name wanted.
        for (const db::Str& f : fields) {
            const std::string_view bytes = f.Bytes(rec);
            if (bytes.size() < want.size()) continue;
            if (!want.empty() && bytes[0] != want[0]) continue;  // most names part at once
            if (bytes.compare(0, want.size(), want) != 0) continue;
            if (bytes.size() == want.size() || bytes[want.size()] == '\0') return true;
        }
        return false;
    });
}

}  // namespace vh::ui

namespace vh::ui {

void TPage::CommitSet(const db::WriteSet& set) {
    Session().history.Commit(Session().dataPath, set);
}

std::string SaveLabel(const db::Table& table, const std::uint8_t* rec) {
    std::string kind(table.what);
    kind[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(kind[0])));
    std::string name;
    for (const db::Str& f : table.searchedBy)
        if (!(name = f.Read(rec)).empty()) break;
    return "Save of " + kind + " " + name;
}

std::string FileNameIn(const std::string& dataPath, const db::RecordFile& file) {
    const std::string& path = file.PathText();
    if (path.size() <= dataPath.size() || path.compare(0, dataPath.size(), dataPath) != 0)
        throw std::logic_error("a record file outside the data directory: " + path);
    return path.substr(dataPath.size());
}

}  // namespace vh::ui
