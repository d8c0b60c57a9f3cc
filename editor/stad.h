// The main window: data directory and load, the six editing modes with their pages, the result
// list with its search, the changed-record flag, saving, backup and restore.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "database/blocks.h"
#include "database/data_def.h"
#include "database/reference.h"
#include "database/session.h"
#include "dialogs/change.h"
#include "dialogs/list_source.h"
#include "dialogs/name_list_model.h"

class QAction;
class QCheckBox;
class QFileDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTextBrowser;
class TNEdit;

namespace vh::ui {

class TChangeForm;

enum class Mode { kPlayers, kStaff, kClubs, kStadiums, kNation, kCity };

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
    QFileDialog* OpenDialog1() const { return openDialog_; }

    db::StadiumRecord StadiumRec;
    db::CityRecord CityRec;
    db::ClubRecord ClubRec;
    db::NationRecord NationRec;
    db::StaffRecord StaffRec;
    db::PlayerRecord PlayerRec;
    db::NonPlayerRecord NonPlayerRec;
    db::BlockPlace PlayerPlace;     // where PlayerRec was read (block offset and index)
    db::BlockPlace NonPlayerPlace;  // where NonPlayerRec was read

    // --- data directory and load --------------------------------------------------------------
    void FormCreate();
    void Button1Click();
    void OpenDialog1SelectionChange(const QString& file);
    void OpenDialog1Close();
    void LoadClick();
    void UnReadOnlyClick();
    void GetNameArrays();

    // --- modes, result list, search -------------------------------------------------------------
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
    void StadiumSearch();
    void ClubSearch();
    void NationSearch();
    void CitySearch();
    void PlayerSearch();
    void NonPlayerSearch();
    void StadNameChange();
    bool SaveCheck();
    void Exit1Click();
    void About1Click();

    // --- saving, backup, restore ----------------------------------------------------------------
    void SaveClick();
    void BackupMenuClick();
    void RestoreBackupMenuClick();
    void FormDestroy();
    static bool DirectoryExists(const QString& path);

    // --- the people records ---------------------------------------------------------------------
    QString GetStaffName(std::int32_t id);
    static std::int32_t GetStaffIdFromName(const QString& label);
    void GetPlayerData(std::int32_t playerIndex);
    void GetNonPlayerData(std::int32_t nonPlayerIndex);

    // --- stadium and city pages ------------------------------------------------------------------
    void ShowStadiumStats();
    void StadiumSave();
    void Showcitystats();
    void CitySave();

    // Pages built by later work plug their show and save routines in here.
    struct PageRoutines {
        std::function<void()> show;
        std::function<void()> save;
        std::function<void()> clear;  // empties the page
    };
    PageRoutines& Routines(Mode m) { return routines_[static_cast<int>(m)]; }

    // Shared helpers for the pages.
    QString ShowReference(std::int32_t value, db::RecordFile& file, const db::NameField& field);
    std::int32_t LookupByName(const QString& text, db::RecordFile& file,
                              const db::NameField& field);
    // The changed-record flag: the Save button and the "Save Data" menu item together.
    void SetRecordChanged(bool changed);
    // Connects a control's change signal to StadNameChange.
    void BindChange(QLineEdit* edit);
    void BindChange(QCheckBox* box);

  signals:
    void Closed();

  protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    void BuildWindow();
    void BuildMenus();
    void BuildStadiumPanel();
    void BuildCityPanel();
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
    template <class R>
    bool NameSearch(db::RecordFile& file, R& buffer, std::initializer_list<db::Str> fields);
    void NoMatches();
    void Handle(const std::function<void()>& f);

    db::Session s_;
    ListSource lists_{s_};
    NameListModel resultModel_;
    Mode mode_ = Mode::kPlayers;
    QString searchText_;
    QString chosenFile_;
    bool closing_ = false;
    PageRoutines routines_[6];
    std::array<ModePart, 6> modes_;
    std::array<RadioPart, 6> radios_{};
    QPointer<TChangeForm> picker_;
    QPointer<QWidget> about_;

    // Fixed parts of the window.
    QWidget* client_ = nullptr;
    QLabel* image1_ = nullptr;
    QTextBrowser* richTextb_ = nullptr;
    QLabel* label9_ = nullptr;
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
    QTabWidget* playerPanel_ = nullptr;
    QTabWidget* nonPlayerPanel_ = nullptr;
    QTabWidget* clubPanel_ = nullptr;
    QTabWidget* nationPanel_ = nullptr;
    QFrame* stadiumPanel_ = nullptr;
    QFrame* cityPanel_ = nullptr;
    QLineEdit* hiddenEdit_ = nullptr;
    QFileDialog* openDialog_ = nullptr;

    QAction* loadStadiumData1_ = nullptr;
    QAction* saveMenu_ = nullptr;
    QAction* backupMenu_ = nullptr;
    QAction* restoreBackupMenu_ = nullptr;
    QAction* exit1_ = nullptr;
    QAction* playerMenu_ = nullptr;
    QAction* nonPlayerMenu_ = nullptr;
    QAction* clubMenu_ = nullptr;
    QAction* stadiumMenu_ = nullptr;
    QAction* nationMenu_ = nullptr;
    QAction* cityMenu_ = nullptr;
    QAction* about1_ = nullptr;

    // Stadium page
    QLineEdit* stadName_ = nullptr;
    TNEdit* stadCap_ = nullptr;
    QLineEdit* stadId_ = nullptr;
    TNEdit* stadSeat_ = nullptr;
    QLineEdit* stadCity_ = nullptr;
    QLineEdit* nearbyStad_ = nullptr;
    QCheckBox* undersoil_ = nullptr;
    QCheckBox* covered_ = nullptr;
    // City page
    QLineEdit* cityName_ = nullptr;
    QLineEdit* cityNation_ = nullptr;
    QLineEdit* cityLatitude_ = nullptr;
    QLineEdit* cityLongditude_ = nullptr;
    TNEdit* cityAttraction_ = nullptr;
    QLineEdit* cityId_ = nullptr;
};

}  // namespace vh::ui
