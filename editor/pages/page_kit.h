// Pieces every editor page is built from: label-and-field grids and the named controls that the
// binding tables then find by name: text and numeric fields, read-only reference fields with
// their small Change buttons, check boxes, three-line lists.
#pragma once

#include <QString>

#include "editor/pages/field_layout.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;
class TNEdit;

namespace vh::ui {

// Lays out caption-and-field pairs on a page, `pairs` pairs to a row.
class PageGrid : public FieldLayout {
  public:
    PageGrid(QWidget* page, int pairs);
    void Add(const QString& caption, QWidget* field, int span = 1) override;
    void AddAlone(QWidget* field, int span = 1) override;
    void NextRow();
    QWidget* Page() const override { return page_; }

  private:
    void Advance(int span);
    QWidget* page_;
    QGridLayout* grid_;
    int pairs_;
    int row_ = 0;
    int col_ = 0;
};

// Named controls on a grid; the catalogue's fields are made through Binding::Make.
QLineEdit* MakeText(FieldLayout& g, const char* name, const char* caption, int maxLength,
                    int span = 1);
// A read-only field of a number (an Id, a number a page only shows).
QLineEdit* MakeIdField(FieldLayout& g, const char* name, const char* caption);
// A read-only reference field with its small Change button beside it.
QLineEdit* MakeReference(FieldLayout& g, const char* name, const char* caption, const char* button,
                         int span = 1);
// A drop-down list, wide enough for `minimumChars` characters.
QComboBox* MakeCombo(FieldLayout& g, const char* name, const char* caption, int minimumChars = 10);
// A list of `lines` slots with its small Change button under its caption (none without
// `button`).
QListWidget* MakeList(FieldLayout& g, const char* name, const char* caption, const char* button,
                      int lines);
// The small "Change" button beside or under a field.
QPushButton* MakeChangeButton(QWidget* parent, const char* name, const QString& tip);

// The system's decimal separator (for latitude and longitude).
char DecimalSeparator();

}  // namespace vh::ui

class QFrame;
class QTabWidget;

namespace vh::ui {

// The framed panel of a page without tabs (StadiumPanel, CityPanel).
QFrame* MakePlainPanel(QWidget* parent, const char* name);
// The tabbed panel of a page (PlayerPanel, ClubPanel, ...).
QTabWidget* MakeTabPanel(QWidget* parent, const char* name);
// The look every tabbed panel shares (applied once its tabs are added).
void StyleTabPanel(QTabWidget* panel);

}  // namespace vh::ui
