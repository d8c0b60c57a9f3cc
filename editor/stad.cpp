#include "stad.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <vector>

#include "banner.h"
#include "dialogs/NEdit.h"
#include "dialogs/RUrllabel.h"
#include "dialogs/change.h"
#include "dialogs/guard.h"
#include "dialogs/msgbox.h"
#include "dialogs/qtext.h"
#include "dialogs/theme.h"

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

}  // namespace

TVHEdit::TVHEdit(QWidget* parent) : QMainWindow(parent), resultModel_(this) {
    setObjectName(QStringLiteral("VHEdit"));
    setWindowTitle(QStringLiteral("VH Quorrel Editor - V2.5"));
    ApplyEditorTheme(this);
    lists_.checkedRadio = [this] { return CheckedRadio(); };
    lists_.notify = [this](const QString& t) { ShowLeftOutNotice(t); };
    BuildWindow();
    BuildMenus();
    BuildStadiumPanel();
    BuildCityPanel();
    // Initial state: Players mode, nothing changed.
    SetRecordChanged(false);
    SwitchMode(Mode::kPlayers);
    FormCreate();
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

    label9_ = Place(new QLabel(QStringLiteral("VH Data Dir:"), client_), "Label9", 416, 24);
    path_ = Place(new QLineEdit(client_), "Path", 416, 40, 121, 21);
    button1_ = Place(new QPushButton(QStringLiteral("Select VH File"), client_), "Button1", 304, 40,
                     105, 25);
    load_ = Place(new QPushButton(QStringLiteral("Load Data"), client_), "Load", 352, 72, 129, 17);
    save_ = Place(new QPushButton(QStringLiteral("Save Data"), client_), "Save", 352, 96, 129, 17);

    searchEdit_ = Place(new QLineEdit(client_), "SearchEdit", 8, 80, 161, 21);
    searchButton_ =
        Place(new QPushButton(QStringLiteral("Search"), client_), "SearchButton", 176, 80, 105, 25);
    listBox2_ = Place(new QListView(client_), "ListBox2", 8, 112, 161, 73);
    listBox2_->setModel(&resultModel_);
    listBox2_->setUniformItemSizes(true);
    listBox2_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    listBox2_->setSelectionMode(QAbstractItemView::SingleSelection);

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

    auto tabs = [this](const char* name) {
        auto* t = new QTabWidget(client_);
        t->setObjectName(QString::fromLatin1(name));
        t->setDocumentMode(false);
        return t;
    };
    playerPanel_ = tabs("PlayerPanel");
    nonPlayerPanel_ = tabs("NonPLayerPanel");
    clubPanel_ = tabs("ClubPanel");
    nationPanel_ = tabs("NationPanel");
    // Pages that later versions fill say so rather than stand empty.
    for (auto [t, what] : {std::pair{playerPanel_, "player"}, std::pair{nonPlayerPanel_, "staff"},
                           std::pair{clubPanel_, "club"}, std::pair{nationPanel_, "nation"}}) {
        auto* note = new QLabel(QStringLiteral("The %1 page is not part of this version yet.")
                                    .arg(QLatin1String(what)));
        note->setObjectName(t->objectName() + QStringLiteral("Placeholder"));
        note->setAlignment(Qt::AlignCenter);
        note->setAutoFillBackground(true);
        t->addTab(note, QStringLiteral("Coming soon"));
    }
    stadiumPanel_ = new QFrame(client_);
    stadiumPanel_->setObjectName(QStringLiteral("StadiumPanel"));
    cityPanel_ = new QFrame(client_);
    cityPanel_->setObjectName(QStringLiteral("CityPanel"));
    for (QFrame* f : {stadiumPanel_, cityPanel_}) f->setFrameShape(QFrame::StyledPanel);

    hiddenEdit_ = new QLineEdit(client_);
    hiddenEdit_->setObjectName(QStringLiteral("HiddenEdit"));
    hiddenEdit_->hide();

    openDialog_ = new QFileDialog(this, QStringLiteral("Select VH File"));
    openDialog_->setObjectName(QStringLiteral("OpenDialog1"));
    openDialog_->setOption(QFileDialog::DontUseNativeDialog, true);
    openDialog_->setFileMode(QFileDialog::ExistingFile);
    openDialog_->setAcceptMode(QFileDialog::AcceptOpen);
    openDialog_->setNameFilter(QStringLiteral("Stadium File (stadium.dat)"));
    openDialog_->setWindowModality(Qt::WindowModal);

    connect(button1_, &QPushButton::clicked, this, [this] { Handle([this] { Button1Click(); }); });
    connect(load_, &QPushButton::clicked, this, [this] { Handle([this] { LoadClick(); }); });
    connect(save_, &QPushButton::clicked, this, [this] { Handle([this] { SaveClick(); }); });
    connect(searchButton_, &QPushButton::clicked, this,
            [this] { Handle([this] { SearchButtonClick(); }); });
    connect(searchEdit_, &QLineEdit::textChanged, this,
            [this] { Handle([this] { SearchEditChange(); }); });
    connect(listBox2_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { Handle([this] { ListBox2Click(); }); });
    connect(listBox2_, &QListView::clicked, this, [this] { Handle([this] { ListBox2Click(); }); });
    connect(listBox2_, &QListView::doubleClicked, this, [this] {
        Handle([this] {
            ListBox2Click();
            SearchButtonClick();
        });
    });
    connect(stadrad_, &QRadioButton::clicked, this, [this] { Handle([this] { StadradClick(); }); });
    connect(clubrad_, &QRadioButton::clicked, this, [this] { Handle([this] { ClubradClick(); }); });
    connect(nationRad_, &QRadioButton::clicked, this,
            [this] { Handle([this] { NationRadClick(); }); });
    connect(cityRad_, &QRadioButton::clicked, this, [this] { Handle([this] { CityRadClick(); }); });
    connect(playerRad_, &QRadioButton::clicked, this,
            [this] { Handle([this] { PlayerradClick(); }); });
    connect(nonPlayerRad_, &QRadioButton::clicked, this,
            [this] { Handle([this] { PlayerradClick(); }); });
    connect(openDialog_, &QFileDialog::currentChanged, this,
            [this](const QString& f) { Handle([this, f] { OpenDialog1SelectionChange(f); }); });
    connect(openDialog_, &QFileDialog::finished, this,
            [this] { Handle([this] { OpenDialog1Close(); }); });

    resize(583, 460 + menuBar()->sizeHint().height());
}

void TVHEdit::BuildMenus() {
    auto action = [this](QMenu* menu, const char* name, const QString& text, auto handler) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this,
                [this, handler] { Handle([this, handler] { (this->*handler)(); }); });
        return a;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    loadStadiumData1_ =
        action(file, "LoadStadiumData1", QStringLiteral("Load Data"), &TVHEdit::LoadClick);
    saveMenu_ = action(file, "SaveMenu", QStringLiteral("Save Data"), &TVHEdit::SaveClick);
    backupMenu_ =
        action(file, "BackupMenu", QStringLiteral("Backup Files"), &TVHEdit::BackupMenuClick);
    restoreBackupMenu_ = action(file, "RestoreBackupMenu", QStringLiteral("Restore Backup"),
                                &TVHEdit::RestoreBackupMenuClick);
    file->addSeparator();
    exit1_ = action(file, "Exit1", QStringLiteral("Exit"), &TVHEdit::Exit1Click);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));
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

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    about1_ = action(help, "About1", QStringLiteral("About..."), &TVHEdit::About1Click);
}

void TVHEdit::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    const QRect area(6, 192, std::max(100, client_->width() - 12),
                     std::max(100, client_->height() - 198));
    for (QWidget* p : std::initializer_list<QWidget*>{playerPanel_, nonPlayerPanel_, clubPanel_,
                                                      nationPanel_, stadiumPanel_, cityPanel_})
        p->setGeometry(area);
}

void TVHEdit::AttachPicker(TChangeForm* picker) {
    picker_ = picker;
    // Every Change button and target of the pages is found by its name.
    for (const ChangeCodeInfo& info : kChangeCodes) {
        auto* button =
            findChild<QPushButton*>(QString::fromLatin1(info.button.data(), info.button.size()));
        const QString target = QString::fromLatin1(info.target.data(), info.target.size());
        if (!button) continue;
        if (info.targetIsList) {
            if (auto* list = findChild<QListWidget*>(target))
                picker->RegisterTarget(info.code, list);
        } else if (auto* edit = findChild<QLineEdit*>(target)) {
            picker->RegisterTarget(info.code, edit);
        }
        picker->RegisterButton(button, info.code);
    }
}

void TVHEdit::AttachAbout(QWidget* about) {
    about_ = about;
}

void TVHEdit::SetDataDirectory(const QString& dir) {
    path_->setText(dir);
}

// --- modes ---------------------------------------------------------------------------------------

QWidget* TVHEdit::Page(Mode m) const {
    switch (m) {
        case Mode::kPlayers:
            return playerPanel_;
        case Mode::kStaff:
            return nonPlayerPanel_;
        case Mode::kClubs:
            return clubPanel_;
        case Mode::kStadiums:
            return stadiumPanel_;
        case Mode::kNation:
            return nationPanel_;
        case Mode::kCity:
            return cityPanel_;
    }
    return nullptr;
}

QAction* TVHEdit::ModeAction(Mode m) const {
    switch (m) {
        case Mode::kPlayers:
            return playerMenu_;
        case Mode::kStaff:
            return nonPlayerMenu_;
        case Mode::kClubs:
            return clubMenu_;
        case Mode::kStadiums:
            return stadiumMenu_;
        case Mode::kNation:
            return nationMenu_;
        case Mode::kCity:
            return cityMenu_;
    }
    return nullptr;
}

void TVHEdit::SwitchMode(Mode m) {
    if (!SaveCheck()) {
        ModeAction(mode_)->setChecked(true);
        ModeAction(m)->setChecked(m == mode_);
        return;
    }
    struct Shown {
        std::vector<QRadioButton*> radios;
        QRadioButton* checked;
    };
    const Shown shown = [&]() -> Shown {
        switch (m) {
            case Mode::kPlayers:
                return {{playerRad_}, playerRad_};
            case Mode::kStaff:
                return {{nonPlayerRad_}, nonPlayerRad_};
            case Mode::kClubs:
                return {{clubrad_}, clubrad_};
            case Mode::kStadiums:
                return {{stadrad_, clubrad_, nationRad_}, stadrad_};
            case Mode::kNation:
                return {{nationRad_}, nationRad_};
            case Mode::kCity:
                return {{cityRad_}, cityRad_};
        }
        return {{playerRad_}, playerRad_};
    }();
    mode_ = m;
    for (Mode other : {Mode::kPlayers, Mode::kStaff, Mode::kClubs, Mode::kStadiums, Mode::kNation,
                       Mode::kCity}) {
        ModeAction(other)->setChecked(other == m);
        Page(other)->setVisible(other == m);
    }
    for (QRadioButton* r : {stadrad_, clubrad_, nationRad_, cityRad_, playerRad_, nonPlayerRad_})
        r->setVisible(std::find(shown.radios.begin(), shown.radios.end(), r) != shown.radios.end());
    // In the Stadiums mode "Club" sits one row above "Stadium Name" and "Nation" lies over it;
    // move "Nation" below the other two so that all three can be seen and chosen.
    nationRad_->move(177, m == Mode::kStadiums ? 164 : 120);
    CheckRadio(shown.checked);
}

void TVHEdit::CheckRadio(QRadioButton* radio) {
    if (radio->isChecked()) return;  // already checked: the list stays as it is
    radio->setChecked(true);
    if (radio == stadrad_)
        StadradClick();
    else if (radio == clubrad_)
        ClubradClick();
    else if (radio == nationRad_)
        NationRadClick();
    else if (radio == cityRad_)
        CityRadClick();
    else
        PlayerradClick();
}

Radio TVHEdit::CheckedRadio() const {
    if (stadrad_->isChecked()) return Radio::kStadiumName;
    if (clubrad_->isChecked()) return Radio::kClub;
    if (nationRad_->isChecked()) return Radio::kNation;
    if (cityRad_->isChecked()) return Radio::kCity;
    if (nonPlayerRad_->isChecked()) return Radio::kStaff;
    return Radio::kPlayer;
}

// --- changed-record flag, SaveCheck, exit, about -----------------------------------------------

bool TVHEdit::RecordChanged() const {
    return save_->isEnabled();
}

void TVHEdit::SetRecordChanged(bool changed) {
    save_->setEnabled(changed);
    saveMenu_->setEnabled(changed);
}

void TVHEdit::StadNameChange() {
    if (s_.dataLoaded) SetRecordChanged(true);
}

void TVHEdit::BindChange(QLineEdit* edit) {
    connect(edit, &QLineEdit::textChanged, this, [this] { StadNameChange(); });
}

void TVHEdit::BindChange(QCheckBox* box) {
    connect(box, &QCheckBox::clicked, this, [this] { StadNameChange(); });
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

void TVHEdit::closeEvent(QCloseEvent* e) {
    if (!closing_ && !SaveCheck()) {
        e->ignore();
        return;
    }
    closing_ = true;
    e->accept();
    if (picker_) picker_->close();
    if (about_) about_->close();
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
