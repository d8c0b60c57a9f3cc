#include "name_list_model.h"

#include <QListView>

#include "database/records/errors.h"
#include "database/records/person.h"
#include "database/records/text.h"
#include "qtext.h"

namespace vh::ui {

const std::string* NameListModel::EmptyLine() {
    static const std::string kLine(db::kEmptyMarker);
    return &kLine;
}

void NameListModel::Clear() {
    SetLines({}, {});
}

void NameListModel::SetLines(std::vector<const std::string*> lines,
                             std::vector<db::NamesPtr> keepAlive, Ids kind,
                             std::vector<std::int32_t> ids) {
    beginResetModel();
    lines_ = std::move(lines);
    keep_ = std::move(keepAlive);
    kind_ = kind;
    ids_ = std::move(ids);
    endResetModel();
}

std::optional<std::int32_t> NameListModel::Record(int row) const {
    if (row < 0 || row >= Count()) return std::nullopt;
    const auto r = static_cast<std::size_t>(row);
    switch (kind_) {
        case Ids::kPlace:
            if (r < ids_.size()) return ids_[r];
            return std::nullopt;
        case Ids::kLabel: {
            if (lines_[r] == EmptyLine()) return -1;
            std::int32_t id = 0;
            try {
                id = db::GetStaffIdFromName(*lines_[r]);
            } catch (const db::EConvertError&) {
                return std::nullopt;
            }
            return id;
        }
        case Ids::kNone:
            break;
    }
    return std::nullopt;
}

QString NameListModel::LineText(int row) const {
    return FromCp1252(*lines_.at(static_cast<std::size_t>(row)));
}

QStringList NameListModel::Texts() const {
    QStringList out;
    out.reserve(Count());
    for (int i = 0; i < Count(); ++i) out << LineText(i);
    return out;
}

QModelIndex NameListModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column != 0 || parent.isValid() ||
        static_cast<std::size_t>(row) >= lines_.size())
        return {};
    return createIndex(row, column);
}

int NameListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count();
}

QVariant NameListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= Count()) return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole) return LineText(index.row());
    return {};
}

QListView* MakeNameListView(NameListModel* model, QWidget* parent) {
    auto* v = new QListView(parent);
    v->setModel(model);
    v->setUniformItemSizes(true);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    return v;
}

}  // namespace vh::ui
