// The result list and the search that makes one record current.
#include <QLineEdit>
#include <QListView>
#include <QRadioButton>

#include "dialogs/msgbox.h"
#include "editor/shell/stad.h"

namespace vh::ui {

namespace {
// A list that fails to fill is left empty, never holding another table's lines that a search
// would then look for in the wrong file.
template <class F>
void Refill(NameListModel& model, F&& fill) {
    try {
        fill();
    } catch (...) {
        model.Clear();
        throw;
    }
}
}  // namespace

void TVHEdit::StadradClick() {
    Refill(resultModel_, [this] { lists_.StadiumLoad(resultModel_); });
}
void TVHEdit::ClubradClick() {
    Refill(resultModel_, [this] { lists_.ClubLoad(resultModel_); });
}
void TVHEdit::NationRadClick() {
    Refill(resultModel_, [this] { lists_.NationLoad(resultModel_); });
}
void TVHEdit::CityRadClick() {
    Refill(resultModel_, [this] { lists_.CityLoad(resultModel_); });
}
void TVHEdit::PlayerradClick() {
    if (s_.dataLoaded) Refill(resultModel_, [this] { lists_.StaffLoad(resultModel_); });
}

void TVHEdit::SearchEditChange() {
    // The result list always follows its own radio buttons, also while the picker is open.
    lists_.EditChange(searchEdit_->text(), resultModel_, 0);
}

void TVHEdit::ListBox2Click() {
    const QModelIndex i = listBox2_->currentIndex();
    if (i.isValid() && i.row() < resultModel_.Count()) searchText_ = resultModel_.LineText(i.row());
}

void TVHEdit::ListBox2DblClick() {
    ListBox2Click();
    SearchButtonClick();
}

void TVHEdit::SearchButtonClick() {
    struct ShowSearchText {  // in every case, even when the search stops with an error
        TVHEdit* w;
        ~ShowSearchText() { w->searchEdit_->setText(w->searchText_); }
    } showAtEnd{this};

    if (!s_.dataLoaded) {
        if (ShowMessage(
                this, QStringLiteral("Data Loaded"),
                QStringLiteral(
                    "You have not yet loaded the stadium data.  Would you like to do that now?"),
                Buttons::kYesNo, Icon::kQuestion) == Answer::kYes)
            LoadClick();
        return;
    }
    if (!SaveCheck()) return;
    PageOf(mode_).Search(searchText_, CheckedRadio());
    // Filling the page marked it changed through its change events; a record just shown is not.
    SetRecordChanged(false);
}

}  // namespace vh::ui
