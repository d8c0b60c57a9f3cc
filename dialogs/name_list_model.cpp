#include "name_list_model.h"

#include <QListView>

#include "database/text.h"
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
                             std::vector<db::NamesPtr> keepAlive) {
    beginResetModel();
    lines_ = std::move(lines);
    keep_ = std::move(keepAlive);
    endResetModel();
}

QString NameListModel::LineText(int row) const {
    return FromCp1252(LineBytes(row));
}

QStringList NameListModel::Texts() const {
    QStringList out;
    out.reserve(Count());
    for (int i = 0; i < Count(); ++i) out << LineText(i);
    return out;
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
