#include "change.h"

#include <QAbstractButton>
#include <QHideEvent>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QShowEvent>
#include <QVBoxLayout>

#include "guard.h"
#include "msgbox.h"
#include "theme.h"

namespace vh::ui {

TChangeForm::TChangeForm(ListSource& lists, QWidget* parent)
    : QDialog(parent, Qt::Tool), lists_(lists), model_(this) {
    setObjectName(QStringLiteral("ChangeForm"));
    setWindowTitle(QStringLiteral("Change Attribute"));
    setModal(false);
    ApplyEditorTheme(this);
    resize(203, 170);

    changeEdit_ = new QLineEdit(this);
    changeEdit_->setObjectName(QStringLiteral("ChangeEdit"));
    changeListBox_ = MakeNameListView(&model_, this);
    changeListBox_->setObjectName(QStringLiteral("ChangeListBox"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(changeEdit_);
    layout->addWidget(changeListBox_, 1);

    connect(changeEdit_, &QLineEdit::textChanged, this,
            [this] { Guarded(this, [this] { ChangeEditChange(); }); });
    connect(changeListBox_, &QListView::doubleClicked, this,
            [this] { Guarded(this, [this] { ChangeListBoxDblClick(); }); });
}

void TChangeForm::RegisterTarget(int code, QLineEdit* edit) {
    editTargets_[code] = edit;
}
void TChangeForm::RegisterTarget(int code, QListWidget* list) {
    listTargets_[code] = list;
}

void TChangeForm::RegisterButton(QAbstractButton* button, int code) {
    connect(button, &QAbstractButton::clicked, this,
            [this, button, code] { Guarded(button->window(), [this, code] { Open(code); }); });
}

void TChangeForm::Open(int code) {
    lists_.SetChangeCode(code);
    if (isVisible()) {
        FormShow();
        raise();
        activateWindow();
    } else {
        show();  // showEvent runs FormShow
    }
}

void TChangeForm::FormShow() {
    if (const ChangeCodeInfo* info = ChangeCodeOf(lists_.ChangeCode()))
        lists_.Fill(info->PickTarget(), model_, true);
    changeEdit_->clear();
}

void TChangeForm::ChangeEditChange() {
    lists_.EditChange(changeEdit_->text(), model_, lists_.ChangeCode());
}

void TChangeForm::ChangeListBoxDblClick() {
    const QModelIndex current = changeListBox_->currentIndex();
    if (!current.isValid()) return;  // nothing chosen: nothing to write
    const QString text = model_.LineText(current.row());
    const std::optional<std::int32_t> rec = model_.Record(current.row());
    const QVariant record = rec ? QVariant(*rec) : QVariant();
    const int code = lists_.ChangeCode();
    const ChangeCodeInfo* info = ChangeCodeOf(code);
    if (info && info->TargetIsList()) {
        QListWidget* list = listTargets_.count(code) ? listTargets_[code].data() : nullptr;
        if (list) {
            QListWidgetItem* line = list->currentItem();
            if (!line || !line->isSelected()) {
                ShowMessage(this, QStringLiteral("Change Attribute"),
                            QStringLiteral("Select a line of the list first."));
                return;
            }
            line->setText(text);
            line->setData(kRecordRole, record);
            emit Picked(code);
        }
    } else if (info) {
        if (QLineEdit* edit = editTargets_.count(code) ? editTargets_[code].data() : nullptr) {
            edit->setText(text);
            edit->setProperty(kRecordProperty, record);
            emit Picked(code);
        }
    }
    close();
}

void TChangeForm::FormClose() {
    lists_.SetChangeCode(0);
}

// Only the program's own show and hide open and close the picker. The window system's (the
// picker minimised with the editor, and restored) leave its field, list and filter text alone.
void TChangeForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous()) Guarded(this, [this] { FormShow(); });
}

void TChangeForm::hideEvent(QHideEvent* e) {
    QDialog::hideEvent(e);
    if (!e->spontaneous()) FormClose();
}

}  // namespace vh::ui
