#include "editor/shell/stad.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <vector>

#include "dialogs/RUrllabel.h"
#include "dialogs/change.h"
#include "dialogs/guard.h"
#include "dialogs/msgbox.h"
#include "dialogs/qtext.h"
#include "dialogs/theme.h"
#include "editor/pages/city_page.h"
#include "editor/pages/club_page.h"
#include "editor/pages/nation_page.h"
#include "editor/pages/page_kit.h"
#include "editor/pages/player_page.h"
#include "editor/pages/stadium_page.h"
#include "editor/pages/staff_page.h"
#include "editor/shell/banner.h"
#include "editor/windows/changes_window.h"
#include "editor/windows/check_window.h"
#include "editor/windows/table_view.h"

namespace vh::ui {

namespace {

const char* kUsageNotes = R"(<p><b>Using the editor</b></p>
<p>1. Check "VH Data Dir:" (or press "Select VH File" and pick the game's stadium.dat), then press
"Load Data".</p>
<p>2. Choose what to edit from the Edit menu. The list on the left holds the names of that kind;
type in the box above it to narrow the list, click a name, then press "Search" (or double-click
the name).</p>
<p>3. Change the fields. Fields that name another record are changed with the small "Change"
button beside them: double-click the new name in the window that opens ("&lt;empty&gt;" clears
the field).</p>
<p>4. Press "Save Data" to write the record. The editor asks before a change would be lost.</p>
<p>5. File &gt; "Backup Files" copies the data into a "backup" folder inside the data directory;
File &gt; "Restore Backup" copies it back.</p>
<p><b>Version history</b></p>
<p>2.5: runs on Windows and, beside a Wine installation of the game, on Linux and macOS; finds the
data files whatever their letter case; backups never destroy the previous copy of a file.</p>)";

// Places a child of the client area at a fixed position, as the window's layout gives it.
template <class W>
W* Place(W* w, const char* name, int x, int y, int width = -1, int height = -1) {
    w->setObjectName(QString::fromLatin1(name));
    if (width < 0) {
        w->adjustSize();
        w->move(x, y);
    } else {
        w->setGeometry(x, y, width, height);
    }
    return w;
}

// How long the user must leave the window alone before the preparation of hidden pages goes on.
constexpr std::chrono::milliseconds kQuietBeforePreparing{400};

}  // namespace

TVHEdit::TVHEdit(QWidget* parent)
    : QMainWindow(parent),
      resultModel_(this),
      pageContext_{s_,
                   lists_,
                   this,
                   [this] { StadNameChange(); },
                   [this] { return readOnly_; },
                   [this] { UpdateWhatPointsHereMenu(); }} {
    setObjectName(QStringLiteral("VHEdit"));
    setWindowTitle(QStringLiteral("VH Quorrel Editor - V2.5"));
    ApplyEditorTheme(this);
    lists_.checkedRadio = [this] { return CheckedRadio(); };
    lists_.notify = [this](const QString& t) { ShowLeftOutNotice(t); };
    BuildWindow();
    BuildPages();
    BuildMenus();
    s_.history.SetOnChange([this] { DataChanged(); });
    UpdateUndoMenus();
    // Initial state: Players mode, nothing changed.
    SetRecordChanged(false);
    SwitchMode(Mode::kPlayers);
    FormCreate();
    prepareTimer_ = new QTimer(this);
    prepareTimer_->setSingleShot(true);
    connect(prepareTimer_, &QTimer::timeout, this, &TVHEdit::PrepareNextPage);
    qApp->installEventFilter(this);
    prepareTimer_->start(0);
}

void TVHEdit::PrepareNextPage() {
    // A page is polished, laid out and drawn for the first time when it is first shown, which
    // made the first switch to each mode the slowest. That is done here instead, from start-up,
    // while the window waits for the user: one page per turn of the event loop (at most 3 ms
    // each, all of them within a few hundredths of a second). A click or key press puts the rest
    // off until the user has let the window be for a moment, so that a click the moment the
    // window appears (on "Load Data", say) waits for one page at most.
    for (; nextToPrepare_ < pages_.size(); ++nextToPrepare_) {
        QWidget* panel = pages_[nextToPrepare_]->Panel();
        if (panel->isVisible()) continue;
        QPixmap scratch(panel->size());
        panel->render(&scratch);
        ++nextToPrepare_;
        break;
    }
    if (PagesPrepared())
        qApp->removeEventFilter(this);
    else
        prepareTimer_->start(0);
}

bool TVHEdit::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::KeyPress:
        case QEvent::Wheel:
            if (!PagesPrepared()) prepareTimer_->start(kQuietBeforePreparing);
            break;
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}

TVHEdit::~TVHEdit() {
    FormDestroy();
}

void TVHEdit::Handle(const std::function<void()>& f) {
    Guarded(this, f);
}

void TVHEdit::BuildWindow() {
    // The menu bar keeps the desktop's colours: black on black would hide it.
    QPalette desktop = QApplication::palette(menuBar());
    desktop.setResolveMask(~QPalette::ResolveMask{0});  // every role set, none inherited
    menuBar()->setPalette(desktop);
    menuBar()->setAutoFillBackground(true);

    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(client_);
    client_->setMinimumSize(583, 460);

    image1_ = Place(new QLabel(client_), "Image1", 0, 0, 305, 49);
    image1_->setPixmap(DrawBanner());
    image1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // The link to the fans' site; its address is set when the program is packaged.
    auto* link = Place(new TRUrllabel(QStringLiteral("Click Here To Go To The Benchloft"), client_),
                       "RUrllabel1", 64, 48);
    link->SetUrlType(TUrlType::Http);
    link->SetURL(QStringLiteral(VH_SITE_URL));

    richTextb_ = Place(new QTextBrowser(client_), "RichTextb", 352, 128, 193, 57);
    richTextb_->setHtml(QString::fromUtf8(kUsageNotes));
    richTextb_->setOpenLinks(false);

    Place(new QLabel(QStringLiteral("VH Data Dir:"), client_), "Label9", 416, 24);
    path_ = Place(new QLineEdit(client_), "Path", 416, 40, 121, 21);
    button1_ = Place(new QPushButton(QStringLiteral("Select VH File"), client_), "Button1", 304, 40,
                     105, 25);
    load_ = Place(new QPushButton(QStringLiteral("Load Data"), client_), "Load", 352, 72, 129, 17);
    save_ = Place(new QPushButton(QStringLiteral("Save Data"), client_), "Save", 352, 96, 129, 17);

    searchEdit_ = Place(new QLineEdit(client_), "SearchEdit", 8, 80, 161, 21);
    searchButton_ =
        Place(new QPushButton(QStringLiteral("Search"), client_), "SearchButton", 176, 80, 105, 25);
    listBox2_ = Place(MakeNameListView(&resultModel_, client_), "ListBox2", 8, 112, 161, 73);

    stadrad_ = Place(new QRadioButton(QStringLiteral("Stadium Name"), client_), "Stadrad", 176, 144,
                     113, 17);
    clubrad_ =
        Place(new QRadioButton(QStringLiteral("Club"), client_), "Clubrad", 176, 120, 113, 17);
    nationRad_ =
        Place(new QRadioButton(QStringLiteral("Nation"), client_), "NationRad", 177, 120, 113, 17);
    cityRad_ =
        Place(new QRadioButton(QStringLiteral("City"), client_), "CityRad", 177, 120, 113, 17);
    playerRad_ =
        Place(new QRadioButton(QStringLiteral("Player"), client_), "PlayerRad", 177, 120, 113, 17);
    nonPlayerRad_ = Place(new QRadioButton(QStringLiteral("Staff"), client_), "NonPlayerRad", 177,
                          120, 113, 17);

    hiddenEdit_ = new QLineEdit(client_);
    hiddenEdit_->setObjectName(QStringLiteral("HiddenEdit"));
    hiddenEdit_->hide();

    On(button1_, &QPushButton::clicked, &TVHEdit::Button1Click);
    On(load_, &QPushButton::clicked, &TVHEdit::LoadClick);
    On(save_, &QPushButton::clicked, &TVHEdit::SaveClick);
    On(searchButton_, &QPushButton::clicked, &TVHEdit::SearchButtonClick);
    On(searchEdit_, &QLineEdit::textChanged, &TVHEdit::SearchEditChange);
    On(listBox2_->selectionModel(), &QItemSelectionModel::currentChanged, &TVHEdit::ListBox2Click);
    On(listBox2_, &QListView::clicked, &TVHEdit::ListBox2Click);
    On(listBox2_, &QListView::doubleClicked, &TVHEdit::ListBox2DblClick);
    radios_ = {{{stadrad_, Radio::kStadiumName, &TVHEdit::StadradClick},
                {clubrad_, Radio::kClub, &TVHEdit::ClubradClick},
                {nationRad_, Radio::kNation, &TVHEdit::NationRadClick},
                {cityRad_, Radio::kCity, &TVHEdit::CityRadClick},
                {playerRad_, Radio::kPlayer, &TVHEdit::PlayerradClick},
                {nonPlayerRad_, Radio::kStaff, &TVHEdit::PlayerradClick}}};
    for (const RadioPart& r : radios_) On(r.button, &QRadioButton::clicked, r.click);

    resize(583, 460 + menuBar()->sizeHint().height());
}

void TVHEdit::BuildMenus() {
    auto action = [this](QMenu* menu, const char* name, const QString& text, Handler handler) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        On(a, &QAction::triggered, handler);
        return a;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    action(file, "LoadStadiumData1", QStringLiteral("Load Data"), &TVHEdit::LoadClick);
    saveMenu_ = action(file, "SaveMenu", QStringLiteral("Save Data"), &TVHEdit::SaveClick);
    action(file, "BackupMenu", QStringLiteral("Backup Files"), &TVHEdit::BackupMenuClick);
    restoreBackupMenu_ = action(file, "RestoreBackupMenu", QStringLiteral("Restore Backup"),
                                &TVHEdit::RestoreBackupMenuClick);
    checkDataMenu_ = action(file, "CheckDataMenu", QStringLiteral("Check Data..."),
                            &TVHEdit::CheckDataMenuClick);
    checkDataMenu_->setEnabled(false);  // until data are loaded
    exportTableMenu_ = action(file, "ExportTableMenu", QStringLiteral("Export Table..."),
                              &TVHEdit::ExportTableMenuClick);
    importTableMenu_ = action(file, "ImportTableMenu", QStringLiteral("Import Table..."),
                              &TVHEdit::ImportTableMenuClick);
    exportTableMenu_->setEnabled(false);
    importTableMenu_->setEnabled(false);
    changesMenu_ = action(file, "ChangesMenu", QStringLiteral("Changes Since Backup..."),
                          &TVHEdit::ChangesMenuClick);
    changesMenu_->setEnabled(false);
    applyPatchMenu_ = action(file, "ApplyPatchMenu", QStringLiteral("Apply Patch..."),
                             &TVHEdit::ApplyPatchMenuClick);
    applyPatchMenu_->setEnabled(false);
    file->addSeparator();
    action(file, "Exit1", QStringLiteral("Exit"), &TVHEdit::Exit1Click);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));
    undoMenu_ = action(edit, "UndoMenu", QStringLiteral("Undo"), &TVHEdit::UndoMenuClick);
    undoMenu_->setShortcut(QKeySequence::Undo);
    redoMenu_ = action(edit, "RedoMenu", QStringLiteral("Redo"), &TVHEdit::RedoMenuClick);
    redoMenu_->setShortcut(QKeySequence::Redo);
    whatPointsHereMenu_ = action(edit, "WhatPointsHereMenu", QStringLiteral("What Points Here..."),
                                 &TVHEdit::WhatPointsHereMenuClick);
    whatPointsHereMenu_->setEnabled(false);  // until a record is on the page
    edit->addSeparator();
    playerMenu_ = action(edit, "PlayerMenu", QStringLiteral("Players"), &TVHEdit::PlayerMenuClick);
    nonPlayerMenu_ =
        action(edit, "NonPlayerMenu", QStringLiteral("Staff"), &TVHEdit::NonPlayerMenuClick);
    clubMenu_ = action(edit, "ClubMenu", QStringLiteral("Clubs"), &TVHEdit::ClubMenuClick);
    stadiumMenu_ =
        action(edit, "StadiumMenu", QStringLiteral("Stadiums"), &TVHEdit::StadiumMenuClick);
    nationMenu_ = action(edit, "NationMenu", QStringLiteral("Nation"), &TVHEdit::NationMenuClick);
    cityMenu_ = action(edit, "CityMenu", QStringLiteral("City"), &TVHEdit::CityMenuClick);
    for (QAction* a :
         {playerMenu_, nonPlayerMenu_, clubMenu_, stadiumMenu_, nationMenu_, cityMenu_})
        a->setCheckable(true);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("View1"));
    tableViewMenu_ =
        action(view, "TableViewMenu", QStringLiteral("Table View"), &TVHEdit::TableViewMenuClick);
    tableViewMenu_->setEnabled(false);  // until data are loaded

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    action(help, "About1", QStringLiteral("About..."), &TVHEdit::About1Click);

    // Each mode's menu item, page and radio buttons (the first is checked on entering the mode).
    auto mode = [this](Mode m, QAction* a, std::vector<QRadioButton*> radios) {
        modes_[static_cast<std::size_t>(m)] = {a, PageOf(m).Panel(), std::move(radios)};
    };
    mode(Mode::kPlayers, playerMenu_, {playerRad_});
    mode(Mode::kStaff, nonPlayerMenu_, {nonPlayerRad_});
    mode(Mode::kClubs, clubMenu_, {clubrad_});
    mode(Mode::kStadiums, stadiumMenu_, {stadrad_, clubrad_, nationRad_});
    mode(Mode::kNation, nationMenu_, {nationRad_});
    mode(Mode::kCity, cityMenu_, {cityRad_});
}

void TVHEdit::BuildPages() {
    auto page = [this](Mode m, std::unique_ptr<TPage> p) {
        pages_[static_cast<std::size_t>(m)] = std::move(p);
    };
    page(Mode::kPlayers, std::make_unique<TPlayerPage>(pageContext_, client_));
    page(Mode::kStaff, std::make_unique<TStaffPage>(pageContext_, client_));
    page(Mode::kClubs, std::make_unique<TClubPage>(pageContext_, client_));
    page(Mode::kStadiums, std::make_unique<TStadiumPage>(pageContext_, client_));
    page(Mode::kNation, std::make_unique<TNationPage>(pageContext_, client_));
    page(Mode::kCity, std::make_unique<TCityPage>(pageContext_, client_));
    for (const auto& p : pages_)
        if (auto* tabs = qobject_cast<QTabWidget*>(p->Panel())) StyleTabPanel(tabs);
}

TPlayerPage& TVHEdit::Players() {
    return static_cast<TPlayerPage&>(PageOf(Mode::kPlayers));
}
TStaffPage& TVHEdit::Staff() {
    return static_cast<TStaffPage&>(PageOf(Mode::kStaff));
}
TClubPage& TVHEdit::Clubs() {
    return static_cast<TClubPage&>(PageOf(Mode::kClubs));
}
TStadiumPage& TVHEdit::Stadiums() {
    return static_cast<TStadiumPage&>(PageOf(Mode::kStadiums));
}
TNationPage& TVHEdit::Nations() {
    return static_cast<TNationPage&>(PageOf(Mode::kNation));
}
TCityPage& TVHEdit::Cities() {
    return static_cast<TCityPage&>(PageOf(Mode::kCity));
}

void TVHEdit::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    const QRect area(6, 192, std::max(100, client_->width() - 12),
                     std::max(100, client_->height() - 198));
    for (const auto& p : pages_) p->Panel()->setGeometry(area);
}

void TVHEdit::AttachPicker(TChangeForm* picker) {
    picker_ = picker;
    // Every Change button and target of the pages is found by its name.
    for (const ChangeCodeInfo& info : kChangeCodes) {
        auto* button =
            findChild<QPushButton*>(QString::fromLatin1(info.button.data(), info.button.size()));
        const QString target = QString::fromLatin1(info.target.data(), info.target.size());
        if (!button) continue;
        if (info.TargetIsList()) {
            if (auto* list = findChild<QListWidget*>(target))
                picker->RegisterTarget(info.code, list);
        } else if (auto* edit = findChild<QLineEdit*>(target)) {
            picker->RegisterTarget(info.code, edit);
        }
        picker->RegisterButton(button, info.code);
    }
    // A pick into a field that a save stores marks the record changed, also when the record
    // picked reads as the name it replaces; the targets that only feed a transfer mark nothing.
    connect(picker, &TChangeForm::Picked, this, [this](int code) {
        const ChangeCodeInfo* info = ChangeCodeOf(code);
        if (info && !info->FeedsAMove()) StadNameChange();
    });
}

void TVHEdit::AttachAbout(QWidget* about) {
    about_ = about;
}

void TVHEdit::SetDataDirectory(const QString& dir) {
    path_->setText(dir);
}

// --- modes ---------------------------------------------------------------------------------------

void TVHEdit::SwitchMode(Mode m) {
    if (!SaveCheck()) {
        for (const ModePart& part : modes_) part.action->setChecked(&part == &Part(mode_));
        return;
    }
    // The picker serves a field of the page being left.
    if (m != mode_ && picker_ && picker_->isVisible()) picker_->close();
    mode_ = m;
    for (const ModePart& part : modes_) {
        part.action->setChecked(&part == &Part(m));
        part.page->setVisible(&part == &Part(m));
    }
    const std::vector<QRadioButton*>& shown = Part(m).radios;
    for (const RadioPart& r : radios_)
        r.button->setVisible(std::find(shown.begin(), shown.end(), r.button) != shown.end());
    UpdateWhatPointsHereMenu();
    // In the Stadiums mode "Club" sits one row above "Stadium Name" and "Nation" lies over it;
    // move "Nation" below the other two so that all three can be seen and chosen.
    nationRad_->move(177, m == Mode::kStadiums ? 164 : 120);
    // Checking a radio button that was not checked refills the list; one already checked leaves it.
    if (!shown.front()->isChecked()) {
        shown.front()->setChecked(true);
        RefreshResultList();
    }
}

const TVHEdit::RadioPart* TVHEdit::CheckedRadioPart() const {
    for (const RadioPart& r : radios_)
        if (r.button->isChecked()) return &r;
    return nullptr;
}

Radio TVHEdit::CheckedRadio() const {
    const RadioPart* r = CheckedRadioPart();
    return r ? r->kind : Radio::kPlayer;
}

void TVHEdit::RefreshResultList() {
    if (const RadioPart* r = CheckedRadioPart()) (this->*r->click)();
}

// --- changed-record flag, SaveCheck, exit, about -----------------------------------------------

bool TVHEdit::RecordChanged() const {
    return save_->isEnabled();
}

void TVHEdit::SetRecordChanged(bool changed) {
    // Data loaded read-only are never written: Save stays disabled.
    changed = changed && !readOnly_;
    save_->setEnabled(changed);
    saveMenu_->setEnabled(changed);
}

void TVHEdit::StadNameChange() {
    // Only a record on the current page can be changed; an empty page has nothing to save.
    if (s_.dataLoaded && PageOf(mode_).HasRecord()) SetRecordChanged(true);
}

void TVHEdit::ClearPages() {
    for (const auto& p : pages_) p->Clear();
    SetRecordChanged(false);
}

bool TVHEdit::SaveCheck() {
    if (!RecordChanged()) return true;
    const Answer a = ShowMessage(
        this, QStringLiteral("Save Changes?"),
        QStringLiteral(
            "This will lose changes made on the current record.  Would you like to save data now?"),
        Buttons::kYesNoCancel, Icon::kQuestion);
    switch (a) {
        case Answer::kYes:
            // A save that fails keeps the record marked changed, and the caller stays.
            return Guarded(this, [this] { SaveClick(); });
        case Answer::kNo:
            SetRecordChanged(false);
            return true;
        default:
            return false;
    }
}

void TVHEdit::Exit1Click() {
    close();
}

void TVHEdit::PlaceBeside(QWidget* window, QPoint offset) const {
    // To the right of the main window where the screen has room; else as far right as it
    // fits, over the main window, and never larger than the screen, so that every button of the
    // window stays within reach.
    // A window not shown yet has no frame: it is taken to get one like the main window's.
    QPoint at = frameGeometry().topRight() + offset;
    if (const QScreen* screen = this->screen()) {
        const QRect room = screen->availableGeometry();
        const QSize frame = frameGeometry().size() - size();
        window->resize(window->size().boundedTo(room.size() - frame));
        const QSize outer = window->size() + frame;
        at.setX(std::clamp(at.x(), room.left(), room.left() + room.width() - outer.width()));
        at.setY(std::clamp(at.y(), room.top(), room.top() + room.height() - outer.height()));
    }
    window->move(at);  // the position of the frame
}

void TVHEdit::closeEvent(QCloseEvent* e) {
    if (!closing_ && (!SaveCheck() || (tableWindow_ && !tableWindow_->SaveCheck()))) {
        e->ignore();
        return;
    }
    closing_ = true;
    e->accept();
    if (picker_) picker_->close();
    if (about_) about_->close();
    if (checkWindow_) checkWindow_->close();
    if (changesWindow_) changesWindow_->close();
    if (tableWindow_) tableWindow_->close();
    emit Closed();
}

void TVHEdit::About1Click() {
    if (!about_) return;
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void TVHEdit::ShowLeftOutNotice(const QString& text) {
    ShowMessage(this, QStringLiteral("Load Data"), text, Buttons::kOk, Icon::kInformation);
}

}  // namespace vh::ui
