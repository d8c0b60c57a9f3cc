// Pieces every editor page is built from: label-and-field grids and the named controls that the
// binding tables then find by name: text and numeric fields, read-only reference fields with
// their small Change buttons, check boxes, three-line lists.
#pragma once

#include <QString>

#include "bindings.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QListWidget;
class QWidget;
class TNEdit;

namespace vh::ui {

// Lays out caption-and-field pairs on a page, `pairs` pairs to a row.
class PageGrid {
  public:
    PageGrid(QWidget* page, int pairs);
    void Add(const QString& caption, QWidget* field, int span = 1);
    void AddAlone(QWidget* field, int span = 1);  // a field with its own caption (a check box)
    void NextRow();
    QWidget* Page() const { return page_; }

  private:
    void Advance(int span);
    QWidget* page_;
    QGridLayout* grid_;
    int pairs_;
    int row_ = 0;
    int col_ = 0;
};

// Named controls on a grid.
QLineEdit* MakeText(PageGrid& g, const TextRow& row, int span = 1);
QLineEdit* MakeText(PageGrid& g, const char* name, const char* caption, int maxLength,
                    int span = 1);
QLineEdit* MakeIdField(PageGrid& g, const char* name, const char* caption);
TNEdit* MakeNumber(PageGrid& g, const NumberRow& row);
// A read-only reference field with its small Change button beside it.
QLineEdit* MakeReference(PageGrid& g, const char* name, const char* caption, const char* button,
                         int span = 1);
QCheckBox* MakeCheck(PageGrid& g, const CheckRow& row);
// A drop-down list, wide enough for `minimumChars` characters: the colour lists, and the fixed
// items of a ComboRow (showing no item until a record is shown).
QComboBox* MakeCombo(PageGrid& g, const char* name, const char* caption, int minimumChars = 10);
QComboBox* MakeCombo(PageGrid& g, const ComboRow& row);
// A list of `lines` slots with its small Change button under its caption.
QListWidget* MakeList(PageGrid& g, const char* name, const char* caption, const char* button,
                      int lines);

// The system's decimal separator (for latitude and longitude).
char DecimalSeparator();

}  // namespace vh::ui

class QTabWidget;

namespace vh::ui {

// The tabbed panel of a page (PlayerPanel, ClubPanel, ...).
QTabWidget* MakeTabPanel(QWidget* parent, const char* name);
// The look every tabbed panel shares (applied once its tabs are added).
void StyleTabPanel(QTabWidget* panel);

}  // namespace vh::ui
