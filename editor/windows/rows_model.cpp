#include "editor/windows/rows_model.h"

#include <QHeaderView>
#include <QTableView>

namespace vh::ui {

QTableView* MakeRowsView(QWidget* parent, const QString& name, QAbstractItemModel* model) {
    auto* list = new QTableView(parent);
    list->setObjectName(name);
    list->setModel(model);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->verticalHeader()->hide();
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 4);
    list->horizontalHeader()->setStretchLastSection(true);
    list->setWordWrap(false);
    return list;
}

}  // namespace vh::ui
