// The table view's "Set Column..." dialog: one formula for the column of the current cell, worked
// out for the rows chosen (the rows selected, or every row shown), with a live count of the cells
// it changes and the first reason one is refused. OK takes the cells as edits not saved, all or
// none; the table's "Save Data" writes them with its other edits as one write set.
#pragma once

#include <QDialog>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace vh::ui {

class TTableModel;

class TSetColumnDialog : public QDialog {
    Q_OBJECT
  public:
    // `column` is a grid column of a field; `rows` are grid rows.
    TSetColumnDialog(QWidget* parent, TTableModel& model, int column, std::vector<int> rows);

    // Handlers. A change of the expression is worked out at once for a few rows, and once typing
    // pauses for many (every check of 35000 rows takes a fifth of a second).
    void ExpressionChange();
    void Preview();
    void OkClick();

  private:
    TTableModel& model_;
    int column_;
    std::vector<int> rows_;
    QLineEdit* expression_ = nullptr;
    QCheckBox* clamp_ = nullptr;
    QLabel* preview_ = nullptr;
    QPushButton* ok_ = nullptr;
    QTimer* pause_ = nullptr;
};

}  // namespace vh::ui
