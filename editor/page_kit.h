// Pieces every editor page is built from: label-and-field grids, numeric fields, read-only
// reference fields with their small Change buttons, and binding tables that move whole-number
// fields between a record and the page.
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <span>

#include "database/fields.h"

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QWidget;
class TNEdit;

namespace vh::ui {

class TVHEdit;

// A whole-number field of a record, whatever its width. Writing keeps the low bits that fit.
struct IntField {
    std::size_t offset;
    int width;
    bool isSigned;
    constexpr IntField(db::I32 f) : offset(f.offset), width(4), isSigned(true) {}
    constexpr IntField(db::I16 f) : offset(f.offset), width(2), isSigned(true) {}
    constexpr IntField(db::U8 f) : offset(f.offset), width(1), isSigned(false) {}
    long long Read(const std::uint8_t* rec) const;
    void Write(std::uint8_t* rec, long long value) const;
};

// One numeric field of a page: control name, caption, record field, range.
struct NumberRow {
    const char* name;
    const char* caption;
    IntField field;
    int min;
    int max;
};

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

// Controls, named and bound to the window's changed-record flag.
QLineEdit* MakeText(TVHEdit* w, PageGrid& g, const char* name, const char* caption, int maxLength,
                    int span = 1);
QLineEdit* MakeIdField(PageGrid& g, const char* name, const char* caption);
TNEdit* MakeNumber(TVHEdit* w, PageGrid& g, const NumberRow& row);
// A read-only reference field with its small Change button beside it.
QLineEdit* MakeReference(TVHEdit* w, PageGrid& g, const char* name, const char* caption,
                         const char* button, int span = 1);
QCheckBox* MakeCheck(TVHEdit* w, PageGrid& g, const char* name, const char* caption);

// Binding tables: the page's numeric fields from a record and back. Saving converts every text
// first and throws "'x' is not a valid integer value" before touching the record.
void ShowNumbers(QWidget* page, const std::uint8_t* rec, std::span<const NumberRow> rows);
void SaveNumbers(QWidget* page, std::uint8_t* rec, std::span<const NumberRow> rows);

// The system's decimal separator (for latitude and longitude).
char DecimalSeparator();

}  // namespace vh::ui
