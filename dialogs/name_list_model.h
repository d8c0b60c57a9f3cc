// A list of up to 90000 names for a QListView. The lines point into immutable name tables that
// the model keeps alive, so replacing every line is one vector assignment and one model reset,
// and only the rows on screen are ever turned into QStrings.
#pragma once

#include <QAbstractListModel>

class QListView;
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "database/records/names.h"

namespace vh::ui {

class NameListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    using QAbstractListModel::QAbstractListModel;

    // How a line names its record: by its place in the table it comes from (entry n = record n,
    // or, for the languages, language n + 1), or by the Id at the end of a person's label.
    enum class Ids { kNone, kPlace, kLabel };

    void Clear();
    // Replaces every line; `keepAlive` holds the tables the lines point into. `ids` holds the
    // record of each line for Ids::kPlace ("<empty>" lines included), nothing otherwise.
    void SetLines(std::vector<const std::string*> lines, std::vector<db::NamesPtr> keepAlive,
                  Ids kind = Ids::kNone, std::vector<std::int32_t> ids = {});

    int Count() const { return static_cast<int>(lines_.size()); }
    QString LineText(int row) const;
    // The record a line stands for: -1 for "<empty>" (0 among the languages), nullopt when the
    // list knows none.
    std::optional<std::int32_t> Record(int row) const;
    // All lines as text (tests and small lists).
    QStringList Texts() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // The view asks for an index of every row each time it lays the list out: answered here
    // without the base class's virtual calls to count the rows and columns.
    QModelIndex index(int row, int column = 0,
                      const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The shared "<empty>" line.
    static const std::string* EmptyLine();

  private:
    std::vector<const std::string*> lines_;
    std::vector<db::NamesPtr> keep_;
    Ids kind_ = Ids::kNone;
    std::vector<std::int32_t> ids_;
};

// A list view for a NameListModel: uniform rows (so 90000 lines lay out at once), one selected
// line, no editing.
QListView* MakeNameListView(NameListModel* model, QWidget* parent);

}  // namespace vh::ui
