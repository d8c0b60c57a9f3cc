// The main window, the shell around the editing pages: data directory and load, the six modes,
// the result list with its search, the changed-record flag, saving, backup and restore. Each
// mode's page is a class of its own (page.h), reached through one table indexed by mode.
// TVHEdit is defined in stad.cpp (the window, its controls and menus) and in one stad_*.cpp per
// part below, named in its heading.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <memory>

#include "database/model/session.h"
#include "database/records/catalogue.h"
#include "database/write/journal.h"
#include "dialogs/change.h"
#include "dialogs/list_source.h"
#include "dialogs/name_list_model.h"
#include "editor/pages/page.h"

class QAction;
class QFileDialog;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QRadioButton;
class QTextBrowser;

namespace vh::db {
struct CellChange;
enum class TableId : std::uint8_t;
}  // namespace vh::db

namespace vh::ui {

class TChangeForm;
class TStadiumPage;
class TCityPage;
class TClubPage;
class TNationPage;
class TPlayerPage;
class TStaffPage;
class TCheckWindow;
class TChangesWindow;
class TTableViewWindow;
class TWhatPointsHereWindow;

enum class Mode { kPlayers, kStaff, kClubs, kStadiums, kNation, kCity };
// The table of export, import and the table view that a mode edits.
db::TableId TableOfMode(Mode m);
// The mode that edits a table, if one does.
std::optional<Mode> ModeOfTable(db::TableId t);

class TVHEdit : public QMainWindow {
    Q_OBJECT
  public:
    explicit TVHEdit(QWidget* parent = nullptr);
    ~TVHEdit() override;

    // Start-up wiring: the picker and the About box are created after the main window.
    void AttachPicker(TChangeForm* picker);
    void AttachAbout(QWidget* about);
    // Puts a directory into the "VH Data Dir:" field (start-up option); nothing is loaded.
    void SetDataDirectory(const QString& dir);

    // --- state, for the pages and for tests -------------------------------------------------
    db::Session& Session() { return s_; }
    ListSource& Lists() { return lists_; }
    bool DataLoaded() const { return s_.dataLoaded; }
    const std::string& DataPath() const { return s_.dataPath; }
    const QString& SearchText() const { return searchText_; }
    Mode CurrentMode() const { return mode_; }
    bool RecordChanged() const;
    TChangeForm* Picker() const { return picker_; }
    NameListModel& ResultModel() { return resultModel_; }
    // The "Select VH File" dialog, made on first use.
    QFileDialog* OpenDialog1();

    bool ReadOnly() const { return readOnly_; }

    // The pages, one per mode.
    TPage& PageOf(Mode m) { return *pages_[static_cast<std::size_t>(m)]; }
    TPlayerPage& Players();
    TStaffPage& Staff();
    TClubPage& Clubs();
    TStadiumPage& Stadiums();
    TNationPage& Nations();
    TCityPage& Cities();

    // --- data directory and load (stad_load.cpp) -------------------------------------------------
    void FormCreate();
    void Button1Click();
    void OpenDialog1SelectionChange(const QString& file);
    void OpenDialog1Close();
    void LoadClick();
    void UnReadOnlyClick();
    void GetNameArrays();

    // --- modes, result list, search (stad_search.cpp; the modes and Exit: stad.cpp) --------------
    void PlayerMenuClick() { SwitchMode(Mode::kPlayers); }
    void NonPlayerMenuClick() { SwitchMode(Mode::kStaff); }
    void ClubMenuClick() { SwitchMode(Mode::kClubs); }
    void StadiumMenuClick() { SwitchMode(Mode::kStadiums); }
    void NationMenuClick() { SwitchMode(Mode::kNation); }
    void CityMenuClick() { SwitchMode(Mode::kCity); }
    void StadradClick();
    void ClubradClick();
    void NationRadClick();
    void CityRadClick();
    void PlayerradClick();
    void SearchEditChange();
    void ListBox2Click();
    void ListBox2DblClick();
    void SearchButtonClick();
    void StadNameChange();
    bool SaveCheck();
    void Exit1Click();
    void About1Click();

    // --- saving, backup, restore (stad_files.cpp) ------------------------------------------------
    void SaveClick();
    void BackupMenuClick();
    void RestoreBackupMenuClick();
    void FormDestroy();

    // --- Undo and Redo (Edit menu) (stad_undo.cpp) -----------------------------------------------
    // Take back the last command that wrote data, or write it again; refused with a message when
    // a record it would take back has changed since. The pages show their records again after.
    void UndoMenuClick();
    void RedoMenuClick();

    // --- Edit > "What Points Here..." (stad_refs.cpp) --------------------------------------------
    // Lists the records that point at the record on the page in the "What Points Here" window,
    // which lists them again whenever the files change while it is open.
    void WhatPointsHereMenuClick();
    TWhatPointsHereWindow* WhatPointsHereWindow() const;

    // --- "Export Table..." and "Import Table..." (stad_table_io.cpp) -----------------------------
    // The current mode's table as a CSV file the user chooses; a CSV or JSON file applied back to
    // it after the user saw what it changes (bad cells are listed and nothing is written). An
    // import is one step for Undo; the records on the pages are shown again after it.
    void ExportTableMenuClick();
    void ImportTableMenuClick();

    // --- "Check Data" (stad_check.cpp) -----------------------------------------------------------
    // Checks the loaded directory and shows the findings in the "Check Data" window.
    void CheckDataMenuClick();
    TCheckWindow* CheckWindow() const;
    // Switches to the mode (asking "Save Changes?" as every switch does) and shows its record
    // with this number, by searching for its name or label. False when the switch was cancelled
    // or the record cannot be reached by its name.
    bool ShowRecord(Mode m, std::int64_t record,
                    const QString& caption = QStringLiteral("Check Data"));

    // --- "Changes Since Backup" and patches (stad_changes.cpp) -----------------------------------
    // Compares the loaded directory with its backup in the "Changes Since Backup" window.
    void ChangesMenuClick();
    TChangesWindow* ChangesWindow() const;
    // Writes the backup's bytes of a record back (a person's with his block record, and the
    // records a move since the backup ties to it), after asking; one Undo step.
    void RevertRecord(db::TableId table, std::int64_t record);
    // Writes the changed fields of the loaded directory against its backup as a patch file.
    void SavePatch(const QString& file);
    // File > "Apply Patch...": chooses a patch file, then ApplyPatchFile.
    void ApplyPatchMenuClick();
    // Shows what the patch would change and its conflicts, and asks before writing it (one Undo
    // step).
    void ApplyPatchFile(const QString& file);

    // The changed-record flag: the Save button and the "Save Data" menu item together.
    void SetRecordChanged(bool changed);

    // --- View > "Table View" (stad_table_view.cpp) -----------------------------------------------
    // Opens the table view on the current mode's table.
    void TableViewMenuClick();
    TTableViewWindow* TableViewWindow() const;

    // Whether every page has been drawn once in the background (what a user who waited a moment
    // before the first switch of mode finds).
    bool PagesPrepared() const { return nextToPrepare_ >= pages_.size(); }

  signals:
    void Closed();

  protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    void BuildWindow();
    // Moves a window of the editor's own beside this one, as far as the screen has room.
    void PlaceBeside(QWidget* window, QPoint offset) const;
    void BuildMenus();
    void BuildPages();
    // Prepares the next hidden page, one per turn of the event loop from start-up; every click or
    // key press puts the rest off until the user has let the window be (kQuietBeforePreparing).
    void PrepareNextPage();
    bool eventFilter(QObject* watched, QEvent* event) override;
    using Handler = void (TVHEdit::*)();
    // Connects a signal to a handler that runs inside the handler guard.
    template <class Sender, class Signal>
    void On(Sender* sender, Signal signal, Handler handler) {
        connect(sender, signal, this,
                [this, handler] { Handle([this, handler] { (this->*handler)(); }); });
    }
    struct RadioPart {
        QRadioButton* button;
        Radio kind;
        Handler click;
    };
    struct ModePart {
        QAction* action = nullptr;
        QWidget* page = nullptr;
        std::vector<QRadioButton*> radios;  // shown in the mode; the first is checked on entry
    };
    const ModePart& Part(Mode m) const { return modes_[static_cast<int>(m)]; }
    void SwitchMode(Mode m);
    void ClearPages();
    const RadioPart* CheckedRadioPart() const;
    Radio CheckedRadio() const;
    void RefreshResultList();
    void ShowLeftOutNotice(const QString& text);
    bool ReopenAfterRestore();
    void UndoOrRedo(bool undo);
    void UpdateUndoMenus();
    // Files were written or loaded: the menus and the table view follow.
    void DataChanged();
    // The table view saved these cells.
    void TableWritten(const std::vector<db::CellChange>& changes);
    // Every page that shows a record reads it again (after Undo or Redo), and the result list is
    // filled again, keeping what is typed in the search box.
    void ShowRecordsAgain();
    // Shows the directory's differences from its backup again, if the window is open.
    void RefreshChanges();
    // The same for the pages whose record was `written`, and the list only with `lists`.
    void ShowRecordsAgain(const std::function<bool(Mode, std::int64_t)>& written, bool lists);
    // "What Points Here...": enabled while a record is on the current page.
    void UpdateWhatPointsHereMenu();
    void FillWhatPointsHere(db::TableId table, std::int64_t record);
    void RefreshWhatPointsHere();
    // Rolls back a journal an interrupted command left in the directory, saying so.
    db::Recovery Recover(const std::string& dataPath, const QString& caption);
    void Handle(const std::function<void()>& f);

    db::Session s_;
    ListSource lists_{s_};
    NameListModel resultModel_;
    Mode mode_ = Mode::kPlayers;
    QString searchText_;
    bool closing_ = false;
    bool readOnly_ = false;
    PageContext pageContext_;
    std::array<std::unique_ptr<TPage>, 6> pages_;
    QTimer* prepareTimer_ = nullptr;
    std::size_t nextToPrepare_ = 0;
    std::array<ModePart, 6> modes_;
    std::array<RadioPart, 6> radios_{};
    QPointer<TChangeForm> picker_;
    QPointer<QWidget> about_;
    QPointer<TCheckWindow> checkWindow_;
    QPointer<TChangesWindow> changesWindow_;
    QPointer<TTableViewWindow> tableWindow_;
    QPointer<TWhatPointsHereWindow> refsWindow_;

    // Fixed parts of the window.
    QWidget* client_ = nullptr;
    QLabel* image1_ = nullptr;
    QTextBrowser* richTextb_ = nullptr;
    QLineEdit* path_ = nullptr;
    QPushButton* button1_ = nullptr;
    QPushButton* load_ = nullptr;
    QLineEdit* searchEdit_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    QListView* listBox2_ = nullptr;
    QRadioButton* stadrad_ = nullptr;
    QRadioButton* clubrad_ = nullptr;
    QRadioButton* nationRad_ = nullptr;
    QRadioButton* cityRad_ = nullptr;
    QRadioButton* playerRad_ = nullptr;
    QRadioButton* nonPlayerRad_ = nullptr;
    QPushButton* save_ = nullptr;
    QLineEdit* hiddenEdit_ = nullptr;
    QFileDialog* openDialog_ = nullptr;

    QAction* saveMenu_ = nullptr;
    QAction* restoreBackupMenu_ = nullptr;
    QAction* checkDataMenu_ = nullptr;
    QAction* exportTableMenu_ = nullptr;
    QAction* importTableMenu_ = nullptr;
    QAction* changesMenu_ = nullptr;
    QAction* applyPatchMenu_ = nullptr;
    QAction* undoMenu_ = nullptr;
    QAction* redoMenu_ = nullptr;
    QAction* whatPointsHereMenu_ = nullptr;
    QAction* playerMenu_ = nullptr;
    QAction* nonPlayerMenu_ = nullptr;
    QAction* clubMenu_ = nullptr;
    QAction* stadiumMenu_ = nullptr;
    QAction* nationMenu_ = nullptr;
    QAction* cityMenu_ = nullptr;
    QAction* tableViewMenu_ = nullptr;
};

}  // namespace vh::ui
