#include "editor/windows/table_view.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <set>

#include "dialogs/change.h"
#include "dialogs/guard.h"
#include "dialogs/msgbox.h"
#include "dialogs/name_list_model.h"
#include "dialogs/qtext.h"
#include "dialogs/theme.h"
#include "editor/windows/set_column_dialog.h"

namespace vh::ui {

namespace {

// --- the cell editors ---------------------------------------------------------------------------

// A reference typed by name, with the names of its list completing it, or picked through the
// picker (its Change button). A pick keeps the record picked, also among equal names, until the
// text is typed over.
class ReferenceEditor : public QWidget {
  public:
    ReferenceEditor(QWidget* parent, ListSource& lists, db::Target target) : QWidget(parent) {
        setObjectName(QStringLiteral("TableCellReference"));
        setAutoFillBackground(true);
        edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("TableCellEdit"));
        change = new QPushButton(QStringLiteral("Change"), this);
        change->setObjectName(QStringLiteral("TableChange"));
        change->setFocusPolicy(Qt::NoFocus);
        auto* h = new QHBoxLayout(this);
        h->setContentsMargins(0, 0, 0, 0);
        h->setSpacing(2);
        h->addWidget(edit, 1);
        h->addWidget(change);
        setFocusProxy(edit);
        lists.Fill(target, names, false);
        auto* completer = new QCompleter(&names, this);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        completer->setModelSorting(QCompleter::UnsortedModel);
        edit->setCompleter(completer);
        connect(edit, &QLineEdit::textEdited, this,
                [this] { edit->setProperty(kRecordProperty, QVariant()); });
    }
    QLineEdit* edit;
    QPushButton* change;
    NameListModel names;
};

// A list of references: one line per slot, each changed through the picker, as on the pages.
class ListEditor : public QWidget {
  public:
    explicit ListEditor(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("TableCellList"));
        setAutoFillBackground(true);
        lines = new QListWidget(this);
        lines->setObjectName(QStringLiteral("TableCellLines"));
        change = new QPushButton(QStringLiteral("Change"), this);
        change->setObjectName(QStringLiteral("TableChange"));
        change->setFocusPolicy(Qt::NoFocus);
        change->setToolTip(QStringLiteral("Choose another entry for the selected line"));
        auto* v = new QVBoxLayout(this);
        v->setContentsMargins(0, 0, 0, 0);
        v->setSpacing(2);
        v->addWidget(lines, 1);
        v->addWidget(change, 0, Qt::AlignLeft);
        setFocusProxy(lines);
    }
    QListWidget* lines;
    QPushButton* change;
};

// The text a cell editor started from: an editor closed on it changes nothing.
constexpr char kInitialText[] = "vhInitial";

class CellDelegate : public QStyledItemDelegate {
  public:
    CellDelegate(TTableViewWindow* window, ListSource& lists)
        : QStyledItemDelegate(window), window_(window), lists_(lists) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        const db::Field* f = window_->Model().FieldOf(index.column());
        if (!f) return nullptr;
        QWidget* editor = nullptr;
        const int code = TTableViewWindow::ChangeCodeOfField(*f);
        if (f->kind == db::Kind::kChoice ||
            (f->IsReference() && f->kind != db::Kind::kList && !code)) {
            auto* box = new QComboBox(parent);
            box->setObjectName(QStringLiteral("TableCellChoice"));
            box->addItems(window_->Model().Choices(index));
            editor = box;
        } else if (f->kind == db::Kind::kReference) {
            auto* e = new ReferenceEditor(parent, lists_, f->target);
            window_->Picker()->RegisterTarget(code, e->edit);
            QObject::connect(e->change, &QPushButton::clicked, e, [this, code] {
                Guarded(window_, [this, code] { window_->Picker()->Open(code); });
            });
            // A pick is taken at once, as Enter would take a name typed.
            auto* self = const_cast<CellDelegate*>(this);
            QObject::connect(window_->Picker(), &TChangeForm::Picked, e, [self, e] {
                emit self->commitData(e);
                emit self->closeEditor(e);
            });
            editor = e;
        } else if (f->kind == db::Kind::kList) {
            auto* e = new ListEditor(parent);
            if (code) {
                window_->Picker()->RegisterTarget(code, e->lines);
                QObject::connect(e->change, &QPushButton::clicked, e, [this, code] {
                    Guarded(window_, [this, code] { window_->Picker()->Open(code); });
                });
            } else {
                e->change->setEnabled(false);
            }
            editor = e;
        } else {
            auto* e = new QLineEdit(parent);
            e->setObjectName(QStringLiteral("TableCellEdit"));
            if (f->kind == db::Kind::kText) e->setMaxLength(f->max);
            editor = e;
        }
        // Edit fields keep the window's white ground, whatever the grid's.
        editor->setPalette(window_->palette());
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        const QString text = index.data(Qt::EditRole).toString();
        editor->setProperty(kInitialText, text);
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            box->setCurrentIndex(box->findText(text));
        } else if (auto* e = dynamic_cast<ReferenceEditor*>(editor)) {
            e->edit->setText(text);
            e->edit->setProperty(kRecordProperty, QVariant());
        } else if (auto* l = dynamic_cast<ListEditor*>(editor)) {
            l->lines->clear();
            const db::Field& f = *window_->Model().FieldOf(index.column());
            for (std::int64_t v : window_->Model().SlotValues(index)) {
                auto* line = new QListWidgetItem(window_->Model().ReferenceText(f, v), l->lines);
                line->setData(kRecordRole, QVariant(static_cast<qlonglong>(v)));
            }
            l->lines->setCurrentRow(0);
        } else if (auto* e = qobject_cast<QLineEdit*>(editor)) {
            e->setText(text);
        }
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        const QString initial = editor->property(kInitialText).toString();
        bool taken = true;
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            if (box->currentText() != initial)
                taken = model->setData(index, box->currentText(), Qt::EditRole);
        } else if (auto* e = dynamic_cast<ReferenceEditor*>(editor)) {
            const QVariant picked = e->edit->property(kRecordProperty);
            if (picked.isValid())
                taken = model->setData(index, QString::number(picked.toLongLong()),
                                       TTableModel::kNumbersRole);
            else if (e->edit->text() != initial)
                taken = model->setData(index, e->edit->text(), Qt::EditRole);
        } else if (auto* l = dynamic_cast<ListEditor*>(editor)) {
            QStringList values;
            for (int i = 0; i < l->lines->count(); ++i)
                values << QString::number(l->lines->item(i)->data(kRecordRole).toLongLong());
            const std::vector<std::int64_t> was = window_->Model().SlotValues(index);
            bool same = static_cast<std::size_t>(values.size()) == was.size();
            for (std::size_t k = 0; same && k < was.size(); ++k)
                same = values[static_cast<qsizetype>(k)].toLongLong() == was[k];
            if (!same)
                taken = model->setData(index, values.join(QLatin1Char(db::kListSeparator)),
                                       TTableModel::kNumbersRole);
        } else if (auto* e = qobject_cast<QLineEdit*>(editor)) {
            if (e->text() != initial) taken = model->setData(index, e->text(), Qt::EditRole);
        }
        if (!taken) window_->Refused(window_->Model().LastRefusal());
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex&) const override {
        QRect r = option.rect;
        if (auto* l = dynamic_cast<ListEditor*>(editor)) {
            // Every slot shows, below the cell's top, but inside the grid.
            const int lines = std::max(l->lines->count(), 1);
            const int height = lines * (l->lines->fontMetrics().height() + 4) + 8 +
                               l->change->sizeHint().height() + 2;
            r.setWidth(std::max(r.width(), 240));
            r.setHeight(height);
        } else if (dynamic_cast<ReferenceEditor*>(editor)) {
            r.setWidth(std::max(r.width(), 240));
        }
        const QWidget* area = editor->parentWidget();
        if (area) {
            if (r.bottom() > area->height()) r.moveBottom(std::max(area->height(), r.height()));
            if (r.right() > area->width()) r.moveRight(std::max(area->width(), r.width()));
        }
        editor->setGeometry(r);
    }

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        // A box drawn on the grid's black ground would not show.
        if (option->features & QStyleOptionViewItem::HasCheckIndicator)
            option->palette.setColor(QPalette::Base, Qt::white);
    }

  private:
    TTableViewWindow* window_;
    ListSource& lists_;
};

// The grid: copy and paste with the usual keys.
class GridView : public QTableView {
  public:
    explicit GridView(TTableViewWindow* window) : QTableView(window), window_(window) {}

  protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e == QKeySequence::Copy) {
            Guarded(window_, [this] { window_->CopyClick(); });
            return;
        }
        if (e == QKeySequence::Paste) {
            Guarded(window_, [this] { window_->PasteClick(); });
            return;
        }
        QTableView::keyPressEvent(e);
    }

  private:
    TTableViewWindow* window_;
};

QString TableCaption(db::TableId id) {
    switch (id) {
        case db::TableId::kPlayers:
            return QStringLiteral("Players");
        case db::TableId::kStaff:
            return QStringLiteral("Staff");
        case db::TableId::kClubs:
            return QStringLiteral("Clubs");
        case db::TableId::kNations:
            return QStringLiteral("Nations");
        case db::TableId::kStadiums:
            return QStringLiteral("Stadiums");
        case db::TableId::kCities:
            return QStringLiteral("Cities");
        default:
            return FromUtf8(db::TableOf(id).name);
    }
}

// The first lines of a list, and how many more there are.
QString Listed(const QStringList& lines) {
    constexpr qsizetype kShown = 12;
    QString out = lines.mid(0, kShown).join(QLatin1Char('\n'));
    if (lines.size() > kShown)
        out += QStringLiteral("\n... and %1 more").arg(lines.size() - kShown);
    return out;
}

// "PLayerPace>=10 and PlayerNation~a": two conditions on fields of the table.
QString FilterExample(db::TableId table) {
    const db::Field* number = nullptr;
    const db::Field* reference = nullptr;
    for (const db::Field& f : db::TableOf(table).fields) {
        if (!number && f.kind == db::Kind::kNumber && f.max >= 20) number = &f;
        if (!reference && f.kind == db::Kind::kReference && f.edit == db::Edit::kStored &&
            (f.target == db::Target::kNation || f.target == db::Target::kCity))
            reference = &f;
    }
    if (table == db::TableId::kPlayers) number = db::TableOf(table).Find("PLayerPace");
    QStringList parts;
    if (number)
        parts << QStringLiteral("%1>=%2").arg(QLatin1String(number->name)).arg(number->max / 2);
    if (reference) parts << QStringLiteral("%1~land").arg(QLatin1String(reference->name));
    return QStringLiteral("e.g. ") + parts.join(QStringLiteral(" and "));
}

}  // namespace

const std::array<db::TableId, 6>& TTableViewWindow::Tables() {
    static constexpr std::array<db::TableId, 6> kTables = {
        db::TableId::kPlayers, db::TableId::kStaff,    db::TableId::kClubs,
        db::TableId::kNations, db::TableId::kStadiums, db::TableId::kCities};
    return kTables;
}

int TTableViewWindow::ChangeCodeOfField(const db::Field& f) {
    const ChangeCodeInfo* info = ChangeCodeFor(f.name);
    return info && !info->FeedsAMove() ? info->code : 0;
}

TTableViewWindow::TTableViewWindow(QWidget* parent, TableContext context)
    : QWidget(parent, Qt::Window), ctx_(std::move(context)), lists_(ctx_.session), model_(this) {
    setObjectName(QStringLiteral("TableViewWindow"));
    setWindowTitle(QStringLiteral("Table View"));
    ApplyEditorTheme(this);
    // Favourite and disliked staff of a player are picked among the players, as on his page.
    lists_.checkedRadio = [this] {
        return model_.Table() == db::TableId::kPlayers ? Radio::kPlayer : Radio::kStaff;
    };
    picker_ = new TChangeForm(lists_, this);
    picker_->setObjectName(QStringLiteral("TableChangeForm"));
    Build();
    resize(960, 560);
}

TTableViewWindow::~TTableViewWindow() = default;

void TTableViewWindow::Build() {
    choice_ = new QComboBox(this);
    choice_->setObjectName(QStringLiteral("TableChoice"));
    for (db::TableId id : Tables()) choice_->addItem(TableCaption(id), static_cast<int>(id));

    columns_ = new QToolButton(this);
    columns_->setObjectName(QStringLiteral("TableColumns"));
    columns_->setText(QStringLiteral("Columns"));
    columns_->setToolTip(QStringLiteral("Choose which columns show, by the tabs of the page"));
    columns_->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(columns_);
    menu->setObjectName(QStringLiteral("TableColumnsMenu"));
    columns_->setMenu(menu);

    save_ = new QPushButton(QStringLiteral("Save Data"), this);
    save_->setObjectName(QStringLiteral("TableSave"));
    save_->setShortcut(QKeySequence::Save);
    save_->setToolTip(QStringLiteral("Write every record changed in the table (Ctrl+S)"));

    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("TableFilter"));
    filter_->setToolTip(QStringLiteral(
        "Conditions FIELD OP VALUE joined with \"and\"; OP is one of = != < <= > >= ~ "
        "(contains). FIELD is the name in a column's tooltip."));
    filter_->setClearButtonEnabled(true);
    filterMessage_ = new QLabel(this);
    filterMessage_->setObjectName(QStringLiteral("TableFilterMessage"));
    filterMessage_->setWordWrap(true);
    QPalette warn = filterMessage_->palette();
    warn.setColor(QPalette::WindowText, QColor(255, 160, 64));
    filterMessage_->setPalette(warn);
    filterMessage_->hide();
    labelFilter_ = new QLineEdit(this);
    labelFilter_->setObjectName(QStringLiteral("TableLabelFilter"));
    labelFilter_->setPlaceholderText(QStringLiteral("Name contains"));
    labelFilter_->setClearButtonEnabled(true);

    grid_ = new GridView(this);
    grid_->setObjectName(QStringLiteral("TableGrid"));
    grid_->setModel(&model_);
    grid_->setItemDelegate(new CellDelegate(this, lists_));
    grid_->setSortingEnabled(true);
    grid_->sortByColumn(TTableModel::kRecordColumn, Qt::AscendingOrder);
    grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    grid_->setWordWrap(false);
    grid_->setAlternatingRowColors(true);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grid_->horizontalHeader()->setHighlightSections(false);
    // Black ground and aqua text, as the rest of the editor.
    QPalette dark = grid_->palette();
    dark.setColor(QPalette::Base, Qt::black);
    dark.setColor(QPalette::AlternateBase, QColor(18, 28, 28));
    dark.setColor(QPalette::Text, kAqua);
    dark.setColor(QPalette::Highlight, QColor(0, 110, 110));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    grid_->setPalette(dark);

    copy_ = new QAction(QStringLiteral("Copy"), grid_);
    copy_->setObjectName(QStringLiteral("TableCopy"));
    copy_->setShortcut(QKeySequence::Copy);
    copy_->setShortcutContext(Qt::WidgetShortcut);
    paste_ = new QAction(QStringLiteral("Paste"), grid_);
    paste_->setObjectName(QStringLiteral("TablePaste"));
    paste_->setShortcut(QKeySequence::Paste);
    paste_->setShortcutContext(Qt::WidgetShortcut);
    setColumn_ = new QAction(QStringLiteral("Set Column..."), grid_);
    setColumn_->setObjectName(QStringLiteral("SetColumnMenu"));
    setColumn_->setToolTip(
        QStringLiteral("Set the current cell's column of the rows selected (or of every row "
                       "shown) by a formula"));
    grid_->addActions({copy_, paste_, setColumn_});
    grid_->setContextMenuPolicy(Qt::ActionsContextMenu);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("TableStatus"));

    auto* top = new QHBoxLayout;
    auto* tableLabel = new QLabel(QStringLiteral("Table:"), this);
    tableLabel->setBuddy(choice_);
    top->addWidget(tableLabel);
    top->addWidget(choice_);
    top->addWidget(columns_);
    top->addStretch(1);
    top->addWidget(save_);
    auto* filters = new QHBoxLayout;
    auto* filterLabel = new QLabel(QStringLiteral("Filter:"), this);
    filterLabel->setBuddy(filter_);
    filters->addWidget(filterLabel);
    filters->addWidget(filter_, 3);
    auto* nameLabel = new QLabel(QStringLiteral("Name:"), this);
    nameLabel->setBuddy(labelFilter_);
    filters->addWidget(nameLabel);
    filters->addWidget(labelFilter_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addLayout(filters);
    layout->addWidget(filterMessage_);
    layout->addWidget(grid_, 1);
    layout->addWidget(status_);

    auto on = [this](auto* sender, auto signal, void (TTableViewWindow::*handler)()) {
        connect(sender, signal, this,
                [this, handler] { Guarded(this, [this, handler] { (this->*handler)(); }); });
    };
    on(save_, &QPushButton::clicked, &TTableViewWindow::SaveClick);
    on(copy_, &QAction::triggered, &TTableViewWindow::CopyClick);
    on(paste_, &QAction::triggered, &TTableViewWindow::PasteClick);
    on(setColumn_, &QAction::triggered, &TTableViewWindow::SetColumnClick);
    on(filter_, &QLineEdit::textChanged, &TTableViewWindow::FilterChange);
    on(labelFilter_, &QLineEdit::textChanged, &TTableViewWindow::LabelFilterChange);
    on(choice_, &QComboBox::activated, &TTableViewWindow::TableChoiceChange);
    connect(grid_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& i) { Guarded(this, [this, i] { GridDoubleClick(i); }); });
    connect(&model_, &TTableModel::CountsChanged, this, [this] { UpdateCounts(); });
    UpdateCounts();
}

// --- tables -------------------------------------------------------------------------------------

bool TTableViewWindow::ShowTable(db::TableId table) {
    const auto sync = [this] {
        const QSignalBlocker block(choice_);
        choice_->setCurrentIndex(choice_->findData(static_cast<int>(model_.Table())));
    };
    if (model_.IsOpen() && model_.Table() == table && model_.DataPath() == ctx_.session.dataPath) {
        if (stale_) Reread();
        sync();
        return true;
    }
    if (!SaveCheck()) {
        sync();
        return false;
    }
    if (picker_->isVisible()) picker_->close();
    model_.SetReadOnly(ctx_.readOnly());
    model_.Open(ctx_.session.dataPath, table);
    stale_ = false;
    sync();
    grid_->horizontalHeader()->setSortIndicator(TTableModel::kRecordColumn, Qt::AscendingOrder);
    filter_->setPlaceholderText(FilterExample(table));
    UpdateColumns();
    FilterChange();
    LabelFilterChange();
    return true;
}

void TTableViewWindow::TableChoiceChange() {
    const auto table = static_cast<db::TableId>(choice_->currentData().toInt());
    ShowTable(table);
}

void TTableViewWindow::DataChanged() {
    if (!model_.IsOpen()) return;  // a closed window reads its rows when it opens
    stale_ = true;
    // Once the command that wrote is done: a restore clears Undo before it copies the files.
    QTimer::singleShot(0, this, [this] {
        if (stale_) Guarded(this, [this] { Reread(); });
    });
}

void TTableViewWindow::Reread() {
    stale_ = false;
    if (!ctx_.session.dataLoaded) {
        model_.Release();
        close();
        return;
    }
    model_.SetReadOnly(ctx_.readOnly());
    if (model_.DataPath() != ctx_.session.dataPath) {
        // Another directory: its rows, from the start.
        model_.Open(ctx_.session.dataPath, model_.Table());
        UpdateColumns();
        FilterChange();
        LabelFilterChange();
    } else {
        model_.Reread();
    }
    UpdateCounts();
}

bool TTableViewWindow::SaveCheck() {
    if (!model_.HasPending()) return true;
    const Answer a = ShowMessage(
        this, QStringLiteral("Save Changes?"),
        QStringLiteral(
            "This will lose changes made in the table.  Would you like to save data now?"),
        Buttons::kYesNoCancel, Icon::kQuestion);
    switch (a) {
        case Answer::kYes:
            // A save that fails keeps the edits, and the caller stays.
            return Guarded(this, [this] { SaveClick(); }) && !model_.HasPending();
        case Answer::kNo:
            model_.DropPending();
            return true;
        default:
            return false;
    }
}

void TTableViewWindow::closeEvent(QCloseEvent* e) {
    if (!SaveCheck()) {
        e->ignore();
        return;
    }
    if (picker_) picker_->close();
    model_.Release();  // its rows are read again when it opens
    e->accept();
}

// --- saving -------------------------------------------------------------------------------------

void TTableViewWindow::SaveClick() {
    if (!model_.IsOpen() || !model_.HasPending() || ctx_.readOnly()) return;
    // A record changed on the main window's page could be written back over the table's edit.
    if (!ctx_.saveCheck()) return;
    // What the plan reads is what the commit writes over: no other program writes in between.
    const db::WriteLock lock(ctx_.session.dataPath);
    if (stale_ || model_.DataPath() != ctx_.session.dataPath) Reread();
    if (!model_.HasPending()) return;
    db::ImportPlan plan = model_.Plan();
    if (!plan.bad.empty()) {
        ShowMessage(this, QStringLiteral("Save Data"),
                    QStringLiteral("Nothing was saved:\n") + Listed(model_.Reasons(plan)),
                    Buttons::kOk, Icon::kWarning);
        return;
    }
    if (!plan.writes.Empty()) ctx_.session.history.Commit(ctx_.session.dataPath, plan.writes);
    model_.Committed(plan.writes);
    stale_ = false;
    if (ctx_.afterCommit) ctx_.afterCommit(plan.changes);
}

// --- editing ------------------------------------------------------------------------------------

void TTableViewWindow::Refused(const QString& reason) {
    // Shown once the editor has closed: a box over an open editor would take its focus and
    // commit it again.
    QTimer::singleShot(0, this, [this, reason] {
        ShowMessage(this, QStringLiteral("Invalid Value"), reason, Buttons::kOk, Icon::kWarning);
    });
}

void TTableViewWindow::GridDoubleClick(const QModelIndex& index) {
    if (!index.isValid() || index.column() != TTableModel::kLabelColumn || !ctx_.openRecord) return;
    ctx_.openRecord(model_.Table(), model_.RecordAt(index.row()));
}

// The visible columns, in the order shown.
static std::vector<int> VisibleColumns(const QTableView* grid) {
    std::vector<int> out;
    const QHeaderView* h = grid->horizontalHeader();
    for (int v = 0; v < h->count(); ++v) {
        const int logical = h->logicalIndex(v);
        if (!h->isSectionHidden(logical)) out.push_back(logical);
    }
    return out;
}

void TTableViewWindow::CopyClick() {
    if (!model_.IsOpen()) return;
    QModelIndexList selected = grid_->selectionModel()->selectedIndexes();
    if (selected.isEmpty() && grid_->currentIndex().isValid()) selected << grid_->currentIndex();
    if (selected.isEmpty()) return;
    const std::vector<int> columns = VisibleColumns(grid_);
    std::set<std::pair<int, int>> cells;  // (row, place among the visible columns)
    int top = INT_MAX, bottom = -1, left = INT_MAX, right = -1;
    for (const QModelIndex& i : selected) {
        const auto at = std::find(columns.begin(), columns.end(), i.column());
        if (at == columns.end()) continue;
        const int place = static_cast<int>(at - columns.begin());
        cells.emplace(i.row(), place);
        top = std::min(top, i.row());
        bottom = std::max(bottom, i.row());
        left = std::min(left, place);
        right = std::max(right, place);
    }
    QString text;
    for (int r = top; r <= bottom; ++r) {
        QStringList line;
        for (int p = left; p <= right; ++p)
            line << (cells.count({r, p})
                         ? model_.CopyText(model_.index(r, columns[static_cast<std::size_t>(p)]))
                         : QString());
        text += line.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    QApplication::clipboard()->setText(text);
}

void TTableViewWindow::PasteClick() {
    if (!model_.IsOpen()) return;
    QString text = QApplication::clipboard()->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    if (text.isEmpty()) return;
    std::vector<QStringList> block;
    for (const QString& line : text.split(QLatin1Char('\n')))
        block.push_back(line.split(QLatin1Char('\t')));

    const std::vector<int> columns = VisibleColumns(grid_);
    QModelIndexList selected = grid_->selectionModel()->selectedIndexes();
    if (selected.isEmpty() && grid_->currentIndex().isValid()) selected << grid_->currentIndex();
    if (selected.isEmpty()) return;
    std::vector<std::pair<QModelIndex, CellInput>> cells;
    if (block.size() == 1 && block.front().size() == 1) {
        // One value goes into every cell selected.
        for (const QModelIndex& i : selected)
            if (!grid_->isColumnHidden(i.column()))
                cells.push_back({i, {block.front().front().toStdString()}});
    } else {
        // A block goes down and right from the selection's top left cell.
        int top = INT_MAX;
        std::size_t left = columns.size();
        for (const QModelIndex& i : selected) {
            top = std::min(top, i.row());
            const auto at = std::find(columns.begin(), columns.end(), i.column());
            left = std::min(left, static_cast<std::size_t>(at - columns.begin()));
        }
        std::size_t width = 0;
        for (const QStringList& line : block)
            width = std::max(width, static_cast<std::size_t>(line.size()));
        if (top + static_cast<int>(block.size()) > model_.rowCount() ||
            left + width > columns.size()) {
            ShowMessage(
                this, QStringLiteral("Paste"),
                QStringLiteral("The %1 rows of %2 cells pasted do not fit in the table from "
                               "the cell chosen: nothing was pasted.")
                    .arg(block.size())
                    .arg(width),
                Buttons::kOk, Icon::kWarning);
            return;
        }
        for (std::size_t r = 0; r < block.size(); ++r)
            for (qsizetype c = 0; c < block[r].size(); ++c)
                cells.push_back({model_.index(top + static_cast<int>(r),
                                              columns[left + static_cast<std::size_t>(c)]),
                                 {block[r][c].toStdString()}});
    }
    const QStringList refused = model_.EditAll(cells);
    if (refused.isEmpty()) return;
    ShowMessage(this, QStringLiteral("Paste"),
                QStringLiteral("Nothing was pasted: every cell is checked first, and these cannot "
                               "take what was pasted.\n") +
                    Listed(refused),
                Buttons::kOk, Icon::kWarning);
}

void TTableViewWindow::SetColumnClick() {
    if (!model_.IsOpen()) return;
    const QModelIndex current = grid_->currentIndex();
    const db::Field* f = current.isValid() ? model_.FieldOf(current.column()) : nullptr;
    if (!f) {
        ShowMessage(this, QStringLiteral("Set Column"),
                    QStringLiteral("Choose a cell of the column to set first."), Buttons::kOk,
                    Icon::kInformation);
        return;
    }
    if (ctx_.readOnly() || f->edit != db::Edit::kStored) {
        ShowMessage(this, QStringLiteral("Set Column"), model_.ReadOnlyReason(current),
                    Buttons::kOk, Icon::kInformation);
        return;
    }
    std::set<int> selected;
    for (const QModelIndex& i : grid_->selectionModel()->selectedIndexes())
        selected.insert(i.row());
    // One cell selected is where the current cell is, not a choice of rows.
    if (selected.size() == 1 && grid_->selectionModel()->selectedIndexes().size() == 1)
        selected.clear();
    std::vector<int> rows(selected.begin(), selected.end());
    if (rows.empty())
        for (int r = 0; r < model_.rowCount(); ++r) rows.push_back(r);
    if (rows.empty()) return;
    if (setColumnDialog_) setColumnDialog_->close();
    setColumnDialog_ = new TSetColumnDialog(this, model_, current.column(), std::move(rows));
    setColumnDialog_->setAttribute(Qt::WA_DeleteOnClose);
    setColumnDialog_->open();
}

// --- filters and columns ------------------------------------------------------------------------

void TTableViewWindow::FilterChange() {
    if (!model_.IsOpen()) return;
    try {
        model_.SetWhere(filter_->text());
        filterMessage_->hide();
    } catch (const db::ETableError& e) {
        model_.ClearWhere();
        QString message = FromUtf8(e.what());
        const qsizetype list = message.indexOf(QStringLiteral("; the fields are: "));
        filterMessage_->setToolTip(list < 0 ? QString() : message);
        if (list >= 0)
            message = message.left(list) +
                      QStringLiteral(": the name of a field is in its column's tooltip");
        filterMessage_->setText(message + QStringLiteral(". No row is left out by the filter."));
        filterMessage_->show();
    }
}

void TTableViewWindow::LabelFilterChange() {
    model_.SetLabelFilter(labelFilter_->text());
}

void TTableViewWindow::SetGroupShown(const QString& group, bool shown) {
    QSet<QString>& hidden = hidden_[model_.Table()];
    if (shown)
        hidden.remove(group);
    else
        hidden.insert(group);
    for (int c = 2; c < model_.columnCount(); ++c)
        if (model_.GroupOf(c) == group) grid_->setColumnHidden(c, !shown);
    for (QAction* a : columns_->menu()->actions())
        if (a->text() == group) a->setChecked(shown);
}

void TTableViewWindow::UpdateColumns() {
    QMenu* menu = columns_->menu();
    menu->clear();
    const QSet<QString>& hidden = hidden_[model_.Table()];
    QSet<QString> groups;
    const QFontMetrics header(grid_->horizontalHeader()->font());
    const QFontMetrics cells(grid_->font());
    grid_->setColumnWidth(TTableModel::kRecordColumn,
                          cells.horizontalAdvance(QStringLiteral("000000")) + 16);
    grid_->setColumnWidth(TTableModel::kLabelColumn,
                          cells.horizontalAdvance(QLatin1Char('x')) * 30);
    for (int c = 2; c < model_.columnCount(); ++c) {
        const QString group = model_.GroupOf(c);
        const db::Field& f = *model_.FieldOf(c);
        int width = 0;
        for (const QString& line :
             model_.headerData(c, Qt::Horizontal).toString().split(QLatin1Char('\n')))
            width = std::max(width, header.horizontalAdvance(line) + 16);
        const int x = cells.horizontalAdvance(QLatin1Char('x'));
        switch (f.kind) {
            case db::Kind::kText:
            case db::Kind::kReference:
                width = std::max(width, x * 18);
                break;
            case db::Kind::kList:
                width = std::max(width, x * 40);
                break;
            case db::Kind::kNumber:
                width = std::max(width, cells.horizontalAdvance(QString::number(f.max)) + 16);
                break;
            case db::Kind::kCoordinate:
                width = std::max(width, cells.horizontalAdvance(QStringLiteral("-000.0000")) + 16);
                break;
            case db::Kind::kChoice:
                for (const char* item : f.items)
                    width =
                        std::max(width, cells.horizontalAdvance(QString::fromLatin1(item)) + 16);
                break;
            default:
                break;
        }
        grid_->setColumnWidth(c, width);
        grid_->setColumnHidden(c, hidden.contains(group));
        if (!groups.contains(group)) {
            groups.insert(group);
            QAction* a = menu->addAction(group);
            a->setObjectName(QStringLiteral("TableColumnGroup"));
            a->setCheckable(true);
            a->setChecked(!hidden.contains(group));
            connect(a, &QAction::toggled, this, [this, group](bool on) {
                Guarded(this, [this, group, on] { SetGroupShown(group, on); });
            });
        }
    }
}

void TTableViewWindow::UpdateCounts() {
    const bool open = model_.IsOpen();
    save_->setEnabled(open && model_.HasPending() && !ctx_.readOnly());
    if (!open) {
        status_->clear();
        return;
    }
    QString text = QStringLiteral("%1 of %2 %3 shown")
                       .arg(model_.Matching())
                       .arg(model_.Total())
                       .arg(FromUtf8(db::TableOf(model_.Table()).name));
    if (model_.HasPending())
        text += QStringLiteral("; %1 %2 changed, not saved")
                    .arg(model_.PendingRecords())
                    .arg(model_.PendingRecords() == 1 ? QStringLiteral("record")
                                                      : QStringLiteral("records"));
    if (ctx_.readOnly()) text += QStringLiteral("; read-only");
    status_->setText(text);
}

}  // namespace vh::ui
