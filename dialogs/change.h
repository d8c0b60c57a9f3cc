// The picker: a small modeless window through which every reference field of the pages is
// changed. A Change button sets the code of its field and opens the picker; the picker lists the
// candidates, the user narrows them by typing and double-clicks one; the chosen text goes into
// the field (or replaces the selected line of a list), and the picker closes.
#pragma once

#include <QDialog>
#include <QPointer>
#include <map>

#include "list_source.h"
#include "name_list_model.h"

class QAbstractButton;
class QLineEdit;
class QListView;
class QListWidget;

namespace vh::ui {

// A pick carries the record it names beside the text it writes, so that a save stores the record
// picked even where another record has the same name: a line edit keeps it in this property, a
// line of a list widget under this role.
inline constexpr char kRecordProperty[] = "vhRecord";
inline constexpr int kRecordRole = Qt::UserRole + 1;

class TChangeForm : public QDialog {
    Q_OBJECT
  public:
    explicit TChangeForm(ListSource& lists, QWidget* parent = nullptr);

    // Pages register where a code's choice goes, and the buttons that open the picker.
    void RegisterTarget(int code, QLineEdit* edit);
    void RegisterTarget(int code, QListWidget* list);
    void RegisterButton(QAbstractButton* button, int code);

    // Sets the code and shows the picker; when it is already open, rebuilds its list for the
    // new code and empties its filter text.
    void Open(int code);

    QLineEdit* ChangeEdit() const { return changeEdit_; }
    QListView* ChangeListBox() const { return changeListBox_; }
    NameListModel& Model() { return model_; }

    // Handlers.
    void FormShow();
    void ChangeEditChange();
    void ChangeListBoxDblClick();
    void FormClose();

  signals:
    // A choice was written into a page's control (also when it reads as the text it replaced).
    void Picked(int code);

  protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

  private:
    ListSource& lists_;
    NameListModel model_;
    QLineEdit* changeEdit_;
    QListView* changeListBox_;
    std::map<int, QPointer<QLineEdit>> editTargets_;
    std::map<int, QPointer<QListWidget>> listTargets_;
};

}  // namespace vh::ui
