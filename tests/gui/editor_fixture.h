// A sample data directory and the three windows, created exactly as start-up creates them.
// Message boxes are answered through the seam; controls are found by their object names.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <cstring>
#include <functional>

#include "database/records/data_def.h"
#include "dialogs/change.h"
#include "dialogs/msgbox.h"
#include "editor/pages/city_page.h"
#include "editor/pages/player_page.h"
#include "editor/pages/stadium_page.h"
#include "editor/shell/stad.h"
#include "editor/shell/startup.h"
#include "support/test_util.h"
#include "tools/sample.h"

// Failures print texts as text.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace vh::test {

// The file that holds the records of a layout.
template <class R>
constexpr const char* FileOf() {
    if constexpr (std::is_same_v<R, db::StadiumRecord>) return "stadium.dat";
    if constexpr (std::is_same_v<R, db::CityRecord>) return "city.dat";
    if constexpr (std::is_same_v<R, db::ClubRecord>) return "club.dat";
    if constexpr (std::is_same_v<R, db::NationRecord>) return "nation.dat";
    if constexpr (std::is_same_v<R, db::ColourRecord>) return "colour.dat";
    if constexpr (std::is_same_v<R, db::StaffRecord>) return "staff.dat";
    return nullptr;
}

// The record type a change function takes.
template <class F>
struct RecordOf : RecordOf<decltype(&F::operator())> {};
template <class C, class R>
struct RecordOf<void (C::*)(R&) const> {
    using type = R;
};

class EditorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::seam::Clear();
        sample::SampleOptions options;
        options.sharedNames = true;  // the first-match rule is tested on them
        summary = sample::WriteSample(dir.Path(), options);
        windows = ui::CreateWindows(ui::StartOptions{QString::fromStdString(dir.Str())});
    }
    void TearDown() override {
        windows = ui::Windows{};
        ui::seam::Clear();
    }

    ui::TVHEdit& Main() { return *windows.main; }
    ui::TChangeForm& Picker() { return *windows.change; }

    template <class T = QWidget>
    T* Find(const char* name) {
        T* w = Main().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QAction* Action(const char* name) { return Find<QAction>(name); }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }

    void Load() {
        Find<QPushButton>("Load")->click();
        ASSERT_TRUE(Main().DataLoaded());
    }
    // Clicks the line of the result list with this text and presses "Search".
    void Choose(const QString& line) {
        QListView* list = Find<QListView>("ListBox2");
        const QStringList lines = Main().ResultModel().Texts();
        const int row = static_cast<int>(lines.indexOf(line));
        ASSERT_GE(row, 0) << line.toStdString();
        list->setCurrentIndex(Main().ResultModel().index(row));
        emit list->clicked(Main().ResultModel().index(row));
        Find<QPushButton>("SearchButton")->click();
    }
    std::filesystem::path File(const char* name) const { return dir.Path() / name; }

    // The record at a byte offset of a file, and that record as `change` leaves it, written back.
    template <class R>
    R RecordAt(const char* file, std::int64_t at) {
        R r;
        std::memcpy(r.bytes.data(), ReadFile(File(file)).data() + at, R::kSize);
        return r;
    }
    template <class F>
    void PatchAt(const char* file, std::int64_t at, F change) {
        using R = typename RecordOf<F>::type;
        Bytes b = ReadFile(File(file));
        R r = RecordAt<R>(file, at);
        change(r);
        std::memcpy(b.data() + at, r.bytes.data(), R::kSize);
        WriteFile(File(file), b);
    }
    // The same for record n of the file of its kind.
    template <class R>
    R Record(std::int64_t n) {
        return RecordAt<R>(FileOf<R>(), n * static_cast<std::int64_t>(R::kSize));
    }
    template <class F>
    void Patch(std::int64_t n, F change) {
        using R = typename RecordOf<F>::type;
        PatchAt(FileOf<R>(), n * static_cast<std::int64_t>(R::kSize), change);
    }

    // Which line of the picker Pick double-clicks: a row, the nth line reading a text, or the
    // line of a record (-1: "<empty>").
    struct Line {
        Line(int r) : row(r) {}
        Line(const char* t, int n = 0) : text(QString::fromUtf8(t)), nth(n) {}
        Line(const QString& t, int n = 0) : text(t), nth(n) {}
        static Line Of(std::int32_t record) {
            Line l(-1);
            l.record = record;
            return l;
        }
        int row = -1;
        QString text;
        int nth = 0;
        std::optional<std::int32_t> record;
    };
    // Presses a Change button (after selecting line `line` of its target list) and double-clicks
    // a line of the picker; returns the record behind that line (-1 for none) and keeps its text
    // in `picked`.
    std::int32_t Pick(const char* button, const Line& which, const char* list = nullptr,
                      int line = 0) {
        if (list) Find<QListWidget>(list)->setCurrentRow(line);
        Find<QPushButton>(button)->click();
        EXPECT_TRUE(Picker().isVisible()) << button;
        ui::NameListModel& m = Picker().Model();
        int row = which.row;
        if (which.record) {
            row = 0;
            while (row < m.Count() && m.Record(row).value_or(-1) != *which.record) ++row;
        } else if (!which.text.isNull()) {
            for (int k = 0, from = 0; k <= which.nth; ++k, from = row + 1)
                row = static_cast<int>(m.Texts().indexOf(which.text, from));
        }
        EXPECT_TRUE(row >= 0 && row < m.Count()) << "no such line in the picker of " << button;
        picked = m.LineText(row);
        const std::int32_t record = m.Record(row).value_or(-1);
        Picker().ChangeListBox()->setCurrentIndex(m.index(row));
        Picker().ChangeListBoxDblClick();
        return record;
    }
    QString picked;

    // "Save Data" after an edit: nothing is asked, and the record no longer counts as changed.
    void SaveData() {
        ASSERT_TRUE(Main().RecordChanged());
        Find<QPushButton>("Save")->click();
        EXPECT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();
        EXPECT_FALSE(Main().RecordChanged());
        EXPECT_FALSE(Action("SaveMenu")->isEnabled());
    }
    // The same for a record shown and not edited.
    void SaveUnchanged() {
        Main().StadNameChange();
        SaveData();
    }

    const ui::seam::Asked* LastAsked() const {
        return ui::seam::Log().empty() ? nullptr : &ui::seam::Log().back();
    }
    QString LastText() const { return LastAsked() ? LastAsked()->text : QString(); }

    TempDir dir;
    sample::SampleSummary summary;
    ui::Windows windows;
};

}  // namespace vh::test
