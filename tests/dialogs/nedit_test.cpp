// The numeric field checks its text when the focus moves to another control of its window, and
// only then.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

#include "dialogs/NEdit.h"
#include "dialogs/msgbox.h"

namespace {

namespace seam = vh::ui::seam;

void Activate(QWidget* w) {
    w->activateWindow();
    QApplication::setActiveWindow(w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
}

// A shown, active window with the field under test and a second field to move the focus to.
class NEditTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window_);
        layout->addWidget(field_ = new TNEdit);
        layout->addWidget(other_ = new TNEdit);
        other_->setText(QStringLiteral("0"));  // passes its own check whenever it is left
        window_.show();
        Activate(&window_);
        field_->setFocus();
        seam::Clear();
    }
    void TearDown() override { seam::Clear(); }

    QWidget window_;
    TNEdit* field_ = nullptr;
    TNEdit* other_ = nullptr;
};

TEST_F(NEditTest, LeavingTheFieldChecksDigitsAndRange) {
    const char* const kNotANumber = "A number must be entered in this field";
    const struct {
        const char* text;
        int min, max;
        const char* message;  // nullptr: passes unchanged
    } cases[] = {
        {"", 0, 20, kNotANumber},
        {"12a", 0, 20, kNotANumber},
        {"-5", 0, 20, kNotANumber},
        {" 1", 0, 20, kNotANumber},
        {"\u0663", 0, 20, kNotANumber},  // a digit, but not one of 0-9
        {"25", 0, 20, "This value must be in the range 0 to 20"},
        {"1", 0, 0, "This value must be in the range 0 to 0"},
        {"00", 1, 50, "This value must be in the range 1 to 50"},
        // Too long for a 32-bit number: out of every range, not a failed conversion.
        {"2147483648", 0, 2147483647, "This value must be in the range 0 to 2147483647"},
        {"99999999999999999999", 0, 50000000, "This value must be in the range 0 to 50000000"},
        {"20", 0, 20, nullptr},
        {"0", 0, 20, nullptr},
        {"007", 0, 20, nullptr},
        {"000000000000000000012", 0, 20, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        seam::Clear();
        field_->SetMinNo(c.min);
        field_->SetMaxNo(c.max);
        field_->setFocus();
        field_->setText(QString::fromUtf8(c.text));
        field_->setModified(true);  // as the user typed it
        other_->setFocus(Qt::MouseFocusReason);
        if (!c.message) {
            EXPECT_TRUE(other_->hasFocus());
            EXPECT_EQ(field_->text(), QString::fromUtf8(c.text));
            EXPECT_TRUE(seam::Log().empty());
            continue;
        }
        // Back in the field after the box, the "0" selected for typing over.
        EXPECT_TRUE(field_->hasFocus());
        EXPECT_EQ(field_->selectedText(), QStringLiteral("0"));
        EXPECT_EQ(field_->text(), QStringLiteral("0"));
        ASSERT_EQ(seam::Log().size(), 1u);
        EXPECT_EQ(seam::Log()[0].caption, QStringLiteral("Invalid Value"));
        EXPECT_EQ(seam::Log()[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(seam::Log()[0].buttons, vh::ui::Buttons::kOk);
    }
}

TEST_F(NEditTest, TypingThenTabReplacesTheTextAsAChange) {
    field_->SetMaxNo(20);
    QTest::keyClicks(field_, QStringLiteral("25"));
    EXPECT_TRUE(seam::Log().empty()) << "typing runs no check";
    QSignalSpy changed(field_, &QLineEdit::textChanged);
    QTest::keyClick(field_, Qt::Key_Tab);
    EXPECT_TRUE(field_->hasFocus());
    EXPECT_EQ(seam::Log().size(), 1u);
    // Like typing, so that the page marks its record changed.
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toString(), QStringLiteral("0"));
}

TEST_F(NEditTest, OnlyWhatTheUserChangedIsCheckedAndOnlyOnARealExit) {
    other_->setText(QStringLiteral("<empty>"));
    field_->setText(QStringLiteral("12a"));
    QWidget elsewhere;  // another window, or a message box, taking the focus
    elsewhere.show();
    Activate(&elsewhere);
    Activate(&window_);
    EXPECT_TRUE(field_->hasFocus());
    EXPECT_EQ(field_->text(), QStringLiteral("12a"));
    EXPECT_EQ(other_->text(), QStringLiteral("<empty>"));
    EXPECT_TRUE(seam::Log().empty());

    // A stored value outside the range (an attraction of 21, say) passing through the focus is
    // left alone: only what the user changed is checked.
    other_->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(field_->text(), QStringLiteral("12a"));
    EXPECT_TRUE(seam::Log().empty());

    field_->setFocus(Qt::TabFocusReason);
    QTest::keyClick(field_, Qt::Key_End);
    QTest::keyClicks(field_, QStringLiteral("3"));
    other_->setFocus(Qt::TabFocusReason);  // the user changed it: the exit checks
    EXPECT_EQ(field_->text(), QStringLiteral("0"));
    EXPECT_EQ(seam::Log().size(), 1u);
}

}  // namespace
