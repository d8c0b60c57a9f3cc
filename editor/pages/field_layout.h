// Where a page puts its controls: caption-and-field pairs. The binding rows make their controls
// onto one (bindings.h); the page kit's grid is one (page_kit.h).
#pragma once

#include <QString>

class QWidget;

namespace vh::ui {

class FieldLayout {
  public:
    virtual ~FieldLayout() = default;
    virtual QWidget* Page() const = 0;
    virtual void Add(const QString& caption, QWidget* field, int span = 1) = 0;
    // A field with its own caption (a check box).
    virtual void AddAlone(QWidget* field, int span = 1) = 0;
};

}  // namespace vh::ui
