// The "Table View" window: every record of one kind in a grid, sorted by any column, filtered by
// conditions as the export's --where takes them and by label, edited in place with the page's
// rules, and saved as one write set that Undo takes back in one step. Copy and paste move
// rectangular blocks as tab-separated text. It stays open beside the main window, and reads its
// rows again whenever another command wrote the files.
#pragma once

#include <QPointer>
#include <QSet>
#include <QWidget>
#include <array>
#include <functional>
#include <map>

#include "database/model/session.h"
#include "database/records/catalogue.h"
#include "database/tables/table_import.h"
#include "dialogs/list_source.h"
#include "editor/windows/set_column_dialog.h"
#include "editor/windows/table_model.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolButton;

namespace vh::ui {

class TChangeForm;

// What the window may use of the main window.
struct TableContext {
    db::Session& session;
    std::function<bool()> readOnly;   // the data were loaded read-only
    std::function<bool()> saveCheck;  // asks about a change pending on the main window's page
    // A save of the table changed these cells: the pages read the records they show again.
    std::function<void(const std::vector<db::CellChange>&)> afterCommit;
    std::function<void(db::TableId, std::int64_t)> openRecord;  // shows a record on its page
};

class TTableViewWindow : public QWidget {
    Q_OBJECT
  public:
    TTableViewWindow(QWidget* parent, TableContext context);
    ~TTableViewWindow() override;

    // The tables it offers, in the order of the table choice.
    static const std::array<db::TableId, 6>& Tables();

    // Shows that table's rows, asking first about edits not saved in another. False when the
    // user cancelled (the table shown stays).
    bool ShowTable(db::TableId table);
    // Another command wrote the files: the rows are read again once the command is done.
    void DataChanged();
    // Edits not saved: "Save Changes?". False when the user cancelled.
    bool SaveCheck();

    // Handlers.
    void SaveClick();
    void CopyClick();
    void PasteClick();
    // "Set Column...": a formula for the current cell's column over the rows selected (or every
    // row shown), taken as edits not saved.
    void SetColumnClick();
    void FilterChange();
    void LabelFilterChange();
    void TableChoiceChange();
    void GridDoubleClick(const QModelIndex& index);
    // Shows or hides the columns of a tab group; kept for the session, per table.
    void SetGroupShown(const QString& group, bool shown);
    // A cell edit was refused: says why, once its editor has closed.
    void Refused(const QString& reason);

    TTableModel& Model() { return model_; }
    QTableView* Grid() const { return grid_; }
    TChangeForm* Picker() const { return picker_; }
    TSetColumnDialog* SetColumnDialog() const { return setColumnDialog_; }
    // The picker's change code for the field a cell editor serves (0: none).
    static int ChangeCodeOfField(const db::Field& f);

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    void Build();
    void Reread();
    void UpdateCounts();
    void UpdateColumns();

    TableContext ctx_;
    ListSource lists_;
    TTableModel model_;
    QPointer<TChangeForm> picker_;
    QPointer<TSetColumnDialog> setColumnDialog_;
    bool stale_ = false;
    std::map<db::TableId, QSet<QString>> hidden_;  // tab groups hidden, per table

    QComboBox* choice_ = nullptr;
    QToolButton* columns_ = nullptr;
    QPushButton* save_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QLabel* filterMessage_ = nullptr;
    QLineEdit* labelFilter_ = nullptr;
    QTableView* grid_ = nullptr;
    QLabel* status_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* paste_ = nullptr;
    QAction* setColumn_ = nullptr;
};

}  // namespace vh::ui
