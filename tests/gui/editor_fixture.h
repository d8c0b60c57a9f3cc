// A sample data directory and the three windows, created exactly as start-up creates them.
// Message boxes are answered through the seam; controls are found by their object names.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>

#include "dialogs/change.h"
#include "dialogs/msgbox.h"
#include "editor/city_page.h"
#include "editor/player_page.h"
#include "editor/stad.h"
#include "editor/stadium_page.h"
#include "editor/startup.h"
#include "support/test_util.h"
#include "tools/sample.h"

// Failures print texts as text.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace vh::test {

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

    const ui::seam::Asked* LastAsked() const {
        return ui::seam::Log().empty() ? nullptr : &ui::seam::Log().back();
    }
    QString LastText() const { return LastAsked() ? LastAsked()->text : QString(); }

    TempDir dir;
    sample::SampleSummary summary;
    ui::Windows windows;
};

}  // namespace vh::test
