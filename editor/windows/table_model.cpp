#include "editor/windows/table_model.h"

#include <QBrush>
#include <QColor>
#include <algorithm>
#include <limits>
#include <numeric>
#include <unordered_map>

#include "database/records/dates.h"
#include "database/records/text.h"
#include "dialogs/qtext.h"
#include "dialogs/theme.h"

namespace vh::ui {

namespace {

QString Capitalised(const std::string& reason) {
    QString s = FromUtf8(reason);
    if (!s.isEmpty()) s[0] = s[0].toUpper();
    return s;
}

// The numbers of a reference's cell as export writes it ("12;-1;7").
std::vector<std::int64_t> Numbers(const std::string& cell) {
    std::vector<std::int64_t> out;
    for (std::size_t from = 0;;) {
        const std::size_t end = cell.find(db::kListSeparator, from);
        out.push_back(std::stoll(cell.substr(from, end - from)));
        if (end == std::string::npos) return out;
        from = end + 1;
    }
}

// Shown and sorted as numbers; a reference shows the name it points to.
bool IsNumeric(const db::Column& c) {
    return (c.IsWholeNumber() && !c.field->IsReference()) || c.field->kind == db::Kind::kChoice ||
           c.field->kind == db::Kind::kCoordinate;
}

// A caption of two words or more on two lines, so that a column of two-digit numbers stays narrow.
QString HeaderCaption(QString caption) {
    if (caption.size() <= 10) return caption;
    int best = -1;
    for (int i = 0; i < caption.size(); ++i)
        if (caption[i] == QLatin1Char(' ') &&
            (best < 0 || std::abs(i - caption.size() / 2) < std::abs(best - caption.size() / 2)))
            best = i;
    if (best > 0) caption[best] = QLatin1Char('\n');
    return caption;
}

// Which command of a page changes a field that only a transfer or an appointment changes.
QString MoveCommand(db::TableId table, const db::Field& f) {
    if (table == db::TableId::kPlayers)
        return QStringLiteral(
            "Changed only by \"Transfer Player\" and \"Make Free Agent\" on the player page");
    if (table == db::TableId::kStaff)
        return std::string_view(f.member) == "NationEmployer"
                   ? QStringLiteral(
                         "Changed only by \"Transfer Staff\" and \"Release Staff "
                         "From Nation\" on the staff page")
                   : QStringLiteral(
                         "Changed only by \"Transfer Staff\" and \"Release Staff "
                         "From Club\" on the staff page");
    return QStringLiteral(
        "Changed only by the transfers of the player page and the appointments "
        "of the staff page");
}

const QColor kEditedGround{96, 48, 0};
const QColor kEditedText{255, 255, 96};
const QColor kFixedText{0, 150, 150};

}  // namespace

TTableModel::TTableModel(QObject* parent) : QAbstractTableModel(parent) {}
TTableModel::~TTableModel() = default;

// --- rows ---------------------------------------------------------------------------------------

void TTableModel::Read() {
    files_ = std::make_unique<db::DataFiles>(dataPath_);
    rows_ = std::make_unique<db::TableRows>(*files_, table_);
    columns_.clear();
    const std::vector<db::Column>& all = rows_->Columns();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i].shows == db::Column::Shows::kValue || all[i].shows == db::Column::Shows::kMonth)
            columns_.push_back(static_cast<int>(i));
    labels_.clear();
    foldedLabels_.clear();
}

void TTableModel::Open(const std::string& dataPath, db::TableId table) {
    dataPath_ = dataPath;
    table_ = table;
    edits_.Clear();
    where_.clear();
    labelFilter_.clear();
    sortColumn_ = kRecordColumn;
    sortOrder_ = Qt::AscendingOrder;
    Reload();
}

void TTableModel::Reread() {
    if (!IsOpen()) return;
    Reload();
    // The edits that now give what is stored are edits no more.
    if (edits_.Empty()) return;
    edits_.Recheck(*files_, *rows_);
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit CountsChanged();
}

void TTableModel::Reload() {
    // The rows go before the view can ask for one of them.
    beginResetModel();
    rows_.reset();
    files_.reset();
    shown_.clear();
    endResetModel();
    Read();
    SortRows();
    FilterWhere();
    FilterLabels();
    Show();
}

void TTableModel::Release() {
    beginResetModel();
    rows_.reset();
    files_.reset();
    edits_.Clear();
    shown_.clear();
    sorted_.clear();
    labels_.clear();
    foldedLabels_.clear();
    endResetModel();
}

void TTableModel::SetReadOnly(bool readOnly) {
    if (readOnly == readOnly_) return;
    beginResetModel();
    readOnly_ = readOnly;
    endResetModel();
}

std::size_t TTableModel::Total() const {
    return rows_ ? rows_->Size() : 0;
}

const db::RowRef& TTableModel::Row(int row) const {
    return (*rows_)[static_cast<std::size_t>(shown_[static_cast<std::size_t>(row)])];
}

std::int64_t TTableModel::RecordAt(int row) const {
    return Row(row).record;
}

std::size_t TTableModel::ColumnIndexOf(int column) const {
    return static_cast<std::size_t>(columns_[static_cast<std::size_t>(column - 2)]);
}

const db::Column* TTableModel::ColumnOf(int column) const {
    if (!rows_ || column < 2 || column >= columnCount()) return nullptr;
    return &rows_->Columns()[ColumnIndexOf(column)];
}

const db::Field* TTableModel::FieldOf(int column) const {
    const db::Column* c = ColumnOf(column);
    return c ? c->field : nullptr;
}

QString TTableModel::GroupOf(int column) const {
    const db::Field* f = FieldOf(column);
    if (!f) return {};
    return QString::fromLatin1(*f->tab ? f->tab : f->caption);
}

const std::vector<std::string>& TTableModel::Labels() const {
    if (labels_.size() != rows_->Size()) {
        labels_.clear();
        labels_.reserve(rows_->Size());
        for (std::size_t i = 0; i < rows_->Size(); ++i)
            labels_.push_back(rows_->Label((*rows_)[i]));
    }
    return labels_;
}

// --- cells --------------------------------------------------------------------------------------

QString TTableModel::Shown(const db::Column& c, const db::RowRef& row) const {
    const db::Field& f = *c.field;
    const std::uint8_t* rec = row.Of(f);
    if (!rec) return {};
    if (f.IsReference()) {
        QStringList names;
        for (std::size_t k = 0; k < f.count; ++k)
            names << FromUtf8(db::ReferenceName(f, f.Read(rec, k), *files_));
        return names.join(QStringLiteral("; "));
    }
    return FromUtf8(db::FormatCell(c, rec, *files_));
}

QString TTableModel::ShownAfter(const db::Column& c, const std::string& after) const {
    if (!c.field->IsReference()) return FromUtf8(after);
    QStringList names;
    for (std::int64_t v : Numbers(after)) names << ReferenceText(*c.field, v);
    return names.join(QStringLiteral("; "));
}

const db::TableEdits::Cell* TTableModel::PendingAt(const QModelIndex& index) const {
    if (edits_.Empty() || index.column() < 2) return nullptr;
    return edits_.Find(RecordAt(index.row()), ColumnIndexOf(index.column()));
}

bool TTableModel::IsPending(const QModelIndex& index) const {
    return PendingAt(index) != nullptr;
}

QString TTableModel::ReadOnlyReason(const QModelIndex& index) const {
    if (!IsOpen() || !index.isValid()) return QStringLiteral("No table is open.");
    if (index.column() == kRecordColumn)
        return QStringLiteral("The record number is where the record lies in its file.");
    if (index.column() == kLabelColumn)
        return QStringLiteral("The name the lists show changes with the record's name fields.");
    if (readOnly_) return QStringLiteral("The data were loaded read-only: nothing can be saved.");
    const db::Field& f = *FieldOf(index.column());
    if (f.edit == db::Edit::kMove) return MoveCommand(table_, f);
    if (f.edit == db::Edit::kShownOnly)
        return QStringLiteral("The page only shows it: it cannot be changed.");
    if (!Row(index.row()).Of(f))
        return FromUtf8(f.part == db::Part::kPlayer ? db::kNoPlayerRecord : db::kNoStaffRecord) +
               QLatin1Char('.');
    return {};
}

QString TTableModel::CopyText(const QModelIndex& index) const {
    if (index.column() == kRecordColumn) return QString::number(RecordAt(index.row()));
    if (index.column() < 2 || FieldOf(index.column())->kind != db::Kind::kCheck)
        return data(index).toString();
    const QVariant state = data(index, Qt::CheckStateRole);
    return state.isValid() ? QString::number(state.toInt() == Qt::Checked) : QString();
}

std::vector<std::int64_t> TTableModel::SlotValues(const QModelIndex& index) const {
    std::vector<std::int64_t> out;
    const db::Field* f = FieldOf(index.column());
    if (!f || !f->IsReference()) return out;
    if (const db::TableEdits::Cell* p = PendingAt(index)) return Numbers(p->after);
    if (const std::uint8_t* rec = Row(index.row()).Of(*f))
        for (std::size_t k = 0; k < f->count; ++k) out.push_back(f->Read(rec, k));
    return out;
}

QString TTableModel::ReferenceText(const db::Field& f, std::int64_t v) const {
    return FromUtf8(db::ReferenceName(f, v, *files_));
}

QStringList TTableModel::Choices(const QModelIndex& index) const {
    QStringList out;
    const db::Field* f = FieldOf(index.column());
    if (!f) return out;
    if (f->kind == db::Kind::kChoice) {
        for (const char* item : f->items) out << QString::fromLatin1(item);
    } else if (f->IsReference()) {
        out << QString::fromLatin1(f->NoneText());
        for (std::int64_t v = 0, n = files_->CountOf(f->target); v < n; ++v)
            out << FromUtf8(db::Cp1252ToUtf8(files_->NameOf(f->target, v)));
    }
    return out;
}

int TTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int TTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !rows_ ? 0 : 2 + static_cast<int>(columns_.size());
}

QVariant TTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !rows_) return {};
    const db::RowRef& row = Row(index.row());
    if (index.column() == kRecordColumn) {
        if (role == Qt::DisplayRole) return static_cast<qlonglong>(row.record);
        if (role == Qt::TextAlignmentRole) return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    if (index.column() == kLabelColumn) {
        if (role == Qt::DisplayRole)
            return FromUtf8(labels_.empty()
                                ? rows_->Label(row)
                                : labels_[static_cast<std::size_t>(&row - &(*rows_)[0])]);
        if (role == Qt::ToolTipRole) return QStringLiteral("Double-click to open it on its page");
        return {};
    }
    const db::Column& c = *ColumnOf(index.column());
    const db::Field& f = *c.field;
    const db::TableEdits::Cell* p = PendingAt(index);
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            if (f.kind == db::Kind::kCheck) return {};
            return p ? ShownAfter(c, p->after) : Shown(c, row);
        case Qt::CheckStateRole: {
            if (f.kind != db::Kind::kCheck || !row.Of(f)) return {};
            const bool checked = p ? p->after == "1" : db::FormatCell(c, row.Of(f), *files_) == "1";
            return checked ? Qt::Checked : Qt::Unchecked;
        }
        case Qt::TextAlignmentRole:
            return IsNumeric(c) ? int(Qt::AlignRight | Qt::AlignVCenter)
                                : int(Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::BackgroundRole:
            return p ? QBrush(kEditedGround) : QVariant();
        case Qt::ForegroundRole:
            if (p) return QBrush(kEditedText);
            return ReadOnlyReason(index).isEmpty() ? QVariant() : QBrush(kFixedText);
        case Qt::ToolTipRole: {
            if (p) return ShownAfter(c, p->after) + QStringLiteral(": changed, not saved yet");
            const QString why = ReadOnlyReason(index);
            if (!why.isEmpty()) return why;
            // The whole text, which a narrow column cuts.
            return IsNumeric(c) || f.kind == db::Kind::kCheck ? QVariant() : Shown(c, row);
        }
        default:
            return {};
    }
}

QVariant TTableModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal || !rows_) return {};
    if (section == kRecordColumn || section == kLabelColumn) {
        if (role == Qt::DisplayRole)
            return section == kRecordColumn ? QStringLiteral("Record") : QStringLiteral("Label");
        if (role == Qt::ToolTipRole)
            return section == kRecordColumn
                       ? QStringLiteral("Record: the record number (a person's Id)")
                       : QStringLiteral("The name the lists show");
        return {};
    }
    const db::Column* c = ColumnOf(section);
    if (!c) return {};
    const bool month = c->shows == db::Column::Shows::kMonth;
    if (role == Qt::DisplayRole)
        return HeaderCaption(
            QString::fromLatin1(month ? c->field->monthCaption : c->field->caption));
    if (role == Qt::ToolTipRole) return QString::fromStdString(c->name);
    return {};
}

Qt::ItemFlags TTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || !rows_) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() < 2 || !ReadOnlyReason(index).isEmpty()) return flags;
    return flags | (FieldOf(index.column())->kind == db::Kind::kCheck ? Qt::ItemIsUserCheckable
                                                                      : Qt::ItemIsEditable);
}

bool TTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    CellInput input;
    if (role == Qt::CheckStateRole)
        input.text = value.toInt() == Qt::Checked ? "1" : "0";
    else if (role == Qt::EditRole || role == kNumbersRole)
        input = {value.toString().toStdString(), role == kNumbersRole};
    else
        return false;
    lastRefusal_ = Edit(index, input);
    return lastRefusal_.isEmpty();
}

// --- edits --------------------------------------------------------------------------------------

QStringList TTableModel::Reasons(const db::ImportPlan& plan) const {
    QStringList out;
    for (const db::BadCell& bad : plan.bad) {
        std::string name = bad.column;
        if (name.ends_with(db::kNameSuffix)) name.resize(name.size() - db::kNameSuffix.size());
        QString caption = FromUtf8(name);
        if (const db::Column* c = rows_->FindColumn(name); c && c->field)
            caption = QString::fromLatin1(
                c->shows == db::Column::Shows::kMonth ? c->field->monthCaption : c->field->caption);
        QString line = QStringLiteral("Record %1, %2").arg(FromUtf8(bad.record), caption);
        if (!bad.value.empty()) line += QStringLiteral(" '%1'").arg(FromUtf8(bad.value));
        out << line + QStringLiteral(": ") + FromUtf8(bad.reason);
    }
    return out;
}

QString TTableModel::Edit(const QModelIndex& index, const CellInput& input) {
    if (const QString why = ReadOnlyReason(index); !why.isEmpty()) return why;
    const db::ImportPlan plan = edits_.Enter(
        *files_, *rows_, {{RecordAt(index.row()), ColumnIndexOf(index.column()), input}});
    if (!plan.bad.empty()) {
        // The page's message for the cell typed into, before any other.
        const std::string& name = rows_->Columns()[ColumnIndexOf(index.column())].name;
        const auto own = std::find_if(plan.bad.begin(), plan.bad.end(), [&](const db::BadCell& b) {
            return b.column == name || b.column == name + std::string(db::kNameSuffix);
        });
        return Capitalised((own != plan.bad.end() ? *own : plan.bad.front()).reason);
    }
    emit dataChanged(index.siblingAtColumn(0), index.siblingAtColumn(columnCount() - 1));
    emit CountsChanged();
    return {};
}

db::FormulaCells TTableModel::EvaluateColumn(int column, const std::string& expression,
                                             const std::vector<int>& rows, bool clamp) const {
    const std::vector<db::Column>& columns = rows_->Columns();
    const db::Assignment a = db::AssignTo(ColumnIndexOf(column), expression, columns);
    std::vector<std::size_t> chosen;
    chosen.reserve(rows.size());
    for (int r : rows)
        chosen.push_back(static_cast<std::size_t>(shown_[static_cast<std::size_t>(r)]));
    // A row as the grid shows it: an edit not saved stands for the cell, and for the names of
    // its reference.
    const db::RowCellOf cell = [this, &columns](const db::RowRef& row, std::size_t c) {
        const db::Column& col = columns[c];
        if (!edits_.Empty() && col.field) {
            std::size_t value = c;
            if (col.shows == db::Column::Shows::kName)
                value = static_cast<std::size_t>(rows_->FindColumn(col.name.substr(
                                                     0, col.name.size() - db::kNameSuffix.size())) -
                                                 columns.data());
            if (const db::TableEdits::Cell* p = edits_.Find(row.record, value)) {
                if (value == c) return p->after;
                std::string names;
                for (std::int64_t v : Numbers(p->after))
                    names += (names.empty() ? "" : std::string(1, db::kListSeparator)) +
                             db::ReferenceName(*col.field, v, *files_);
                return names;
            }
        }
        return rows_->Cell(row, col);
    };
    return db::EvaluateFormulas(*rows_, chosen, {&a, 1}, clamp, cell);
}

QStringList TTableModel::CheckCells(const db::FormulaCells& cells) {
    db::ImportPlan plan;
    if (!cells.bad.empty())
        plan.bad = cells.bad;
    else if (!cells.cells.empty())
        plan = db::PlanFormulas(*files_, *rows_, cells, {});
    return plan.bad.empty() ? QStringList() : Reasons(plan);
}

QStringList TTableModel::EnterCells(const db::FormulaCells& cells) {
    if (!cells.bad.empty()) {
        db::ImportPlan refused;
        refused.bad = cells.bad;
        return Reasons(refused);
    }
    if (cells.cells.empty()) return {};
    const db::ImportPlan plan = edits_.Enter(*files_, *rows_, cells.cells);
    if (!plan.bad.empty()) return Reasons(plan);
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit CountsChanged();
    return {};
}

QStringList TTableModel::EditAll(const std::vector<std::pair<QModelIndex, CellInput>>& cells) {
    QStringList refused;
    std::vector<db::TableEdits::Entry> entries;
    for (const auto& [index, input] : cells) {
        if (const QString why = ReadOnlyReason(index); !why.isEmpty()) {
            refused << QStringLiteral("Record %1, %2: %3")
                           .arg(RecordAt(index.row()))
                           .arg(headerData(index.column(), Qt::Horizontal)
                                    .toString()
                                    .replace(QLatin1Char('\n'), QLatin1Char(' ')),
                                why);
            continue;
        }
        entries.push_back({RecordAt(index.row()), ColumnIndexOf(index.column()), input});
    }
    if (!refused.isEmpty() || entries.empty()) return refused;
    const db::ImportPlan plan = edits_.Enter(*files_, *rows_, entries);
    if (!plan.bad.empty()) return Reasons(plan);
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit CountsChanged();
    return {};
}

void TTableModel::DropPending() {
    if (edits_.Empty()) return;
    edits_.Clear();
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit CountsChanged();
}

db::ImportPlan TTableModel::Plan() {
    return edits_.Plan(*files_, *rows_);
}

void TTableModel::Committed(const db::WriteSet& writes) {
    const bool applied = files_->Apply(writes);
    if (!applied) {
        edits_.Clear();
        Reload();
        return;
    }
    // Only the labels of the records written can have changed.
    if (!labels_.empty() || !foldedLabels_.empty())
        for (const auto& [record, row] : edits_.ByRecord())
            if (const db::RowRef* r = rows_->Find(record)) {
                const auto i = static_cast<std::size_t>(r - &(*rows_)[0]);
                if (!labels_.empty()) labels_[i] = rows_->Label(*r);
                if (!foldedLabels_.empty()) foldedLabels_[i] = db::Folded(rows_->Label(*r));
            }
    edits_.Clear();
    SortRows();
    FilterWhere();
    FilterLabels();
    Show();
}

// --- order and filter ---------------------------------------------------------------------------

void TTableModel::sort(int column, Qt::SortOrder order) {
    if (!rows_ || column < 0 || column >= columnCount()) return;
    sortColumn_ = column;
    sortOrder_ = order;
    SortRows();
    Show();
}

void TTableModel::SortRows() {
    const std::size_t n = rows_->Size();
    sorted_.resize(n);
    std::iota(sorted_.begin(), sorted_.end(), 0);
    const bool down = sortOrder_ == Qt::DescendingOrder;
    // Rows of equal keys stay in the order of their records.
    auto by = [&](const auto& keys) {
        std::stable_sort(sorted_.begin(), sorted_.end(), [&](std::int32_t a, std::int32_t b) {
            const auto& ka = keys[static_cast<std::size_t>(a)];
            const auto& kb = keys[static_cast<std::size_t>(b)];
            return down ? kb < ka : ka < kb;
        });
    };
    if (sortColumn_ == kRecordColumn) {
        if (down) std::reverse(sorted_.begin(), sorted_.end());
        return;
    }
    if (sortColumn_ == kLabelColumn) {
        if (foldedLabels_.size() != n) {
            foldedLabels_.clear();
            foldedLabels_.reserve(n);
            for (const std::string& label : Labels()) foldedLabels_.push_back(db::Folded(label));
        }
        by(foldedLabels_);
        return;
    }
    const db::Column& c = *ColumnOf(sortColumn_);
    const db::Field& f = *c.field;
    if (IsNumeric(c)) {
        // Numbers as numbers; a person without the block record first.
        std::vector<double> keys(n, -std::numeric_limits<double>::infinity());
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint8_t* rec = (*rows_)[i].Of(f);
            if (!rec) continue;
            switch (f.kind) {
                case db::Kind::kCoordinate:
                    keys[i] = f.ReadDouble(rec);
                    break;
                case db::Kind::kCheck:
                    keys[i] = f.IsChecked(f.Read(rec)) ? 1 : 0;
                    break;
                case db::Kind::kDate: {
                    int day = 0, month = 0;
                    db::GetDate(static_cast<int>(f.Read(rec)), day, month);
                    keys[i] = c.shows == db::Column::Shows::kMonth ? month : day;
                    break;
                }
                default:
                    keys[i] = static_cast<double>(f.Read(rec));
                    break;
            }
        }
        by(keys);
        return;
    }
    if (f.IsReference()) {
        // By the names the values show, each folded once and ranked: there are far fewer values
        // than rows. A row without the block record first.
        constexpr std::int64_t kNoRecord = std::numeric_limits<std::int64_t>::min();
        std::vector<std::int64_t> held(n * f.count, kNoRecord);
        std::unordered_map<std::int64_t, int> rank;
        for (std::size_t i = 0; i < n; ++i)
            if (const std::uint8_t* rec = (*rows_)[i].Of(f))
                for (std::size_t k = 0; k < f.count; ++k)
                    rank.emplace(held[i * f.count + k] = f.Read(rec, k), 0);
        std::vector<std::pair<std::string, std::int64_t>> values;
        values.reserve(rank.size());
        for (const auto& [v, r] : rank)
            values.emplace_back(db::Folded(db::ReferenceName(f, v, *files_)), v);
        std::sort(values.begin(), values.end());
        int r = 0;  // equal names rank equal, whichever record they are
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (i > 0 && values[i].first != values[i - 1].first) ++r;
            rank[values[i].second] = r;
        }
        rank[kNoRecord] = -1;
        if (f.count == 1) {
            std::vector<int> keys(n);
            for (std::size_t i = 0; i < n; ++i) keys[i] = rank[held[i]];
            by(keys);
            return;
        }
        // A list by its first slot, then its second, ...
        std::vector<std::vector<int>> keys(n, std::vector<int>(f.count));
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t k = 0; k < f.count; ++k) keys[i][k] = rank[held[i * f.count + k]];
        by(keys);
        return;
    }
    // Texts, whatever the letter case.
    std::vector<std::string> keys(n);
    for (std::size_t i = 0; i < n; ++i) keys[i] = db::Folded(Shown(c, (*rows_)[i]).toStdString());
    by(keys);
}

void TTableModel::SetWhere(const QString& line) {
    if (!rows_) return;
    std::vector<db::Condition> where = db::ParseFilter(line.toStdString(), rows_->Columns());
    where_ = std::move(where);
    FilterWhere();
    Show();
}

void TTableModel::ClearWhere() {
    if (!rows_ || where_.empty()) return;
    where_.clear();
    FilterWhere();
    Show();
}

void TTableModel::SetLabelFilter(const QString& text) {
    if (!rows_) return;
    labelFilter_ = db::Folded(text.toStdString());
    FilterLabels();
    Show();
}

void TTableModel::FilterWhere() {
    const std::size_t n = rows_->Size();
    whereOk_.assign(n, 1);
    if (where_.empty()) return;
    const std::vector<db::Column>& all = rows_->Columns();
    for (std::size_t i = 0; i < n; ++i)
        for (const db::Condition& c : where_)
            if (!db::Matches(c, rows_->Cell((*rows_)[i], all[c.column]))) {
                whereOk_[i] = 0;
                break;
            }
}

void TTableModel::FilterLabels() {
    const std::size_t n = rows_->Size();
    labelOk_.assign(n, 1);
    if (labelFilter_.empty()) return;
    if (foldedLabels_.size() != n) {
        foldedLabels_.clear();
        foldedLabels_.reserve(n);
        for (const std::string& label : Labels()) foldedLabels_.push_back(db::Folded(label));
    }
    for (std::size_t i = 0; i < n; ++i)
        labelOk_[i] = foldedLabels_[i].find(labelFilter_) != std::string::npos;
}

void TTableModel::Show() {
    beginResetModel();
    shown_.clear();
    for (std::int32_t i : sorted_)
        if (whereOk_[static_cast<std::size_t>(i)] && labelOk_[static_cast<std::size_t>(i)])
            shown_.push_back(i);
    endResetModel();
    emit CountsChanged();
}

}  // namespace vh::ui
