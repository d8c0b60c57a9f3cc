// The numeric field checks its text when the focus moves to another control of its window, and
// only then.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>

#include "dialogs/NEdit.h"
#include "dialogs/msgbox.h"

namespace {

namespace seam = vh::ui::seam;

const QString kNotANumber = QStringLiteral("A number must be entered in this field");

// A shown, active window holding the field under test and a second field to move the focus to.
class NEditTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window_.get());
        field_ = new TNEdit(window_.get());
        field_->setObjectName(QStringLiteral("PlayerFinishing"));
        field_->SetMaxNo(20);
        other_ = new TNEdit(window_.get());
        other_->SetMaxNo(20);
        other_->setText(QStringLiteral("5"));
        layout->addWidget(field_);
        layout->addWidget(other_);
        window_->show();
        Activate(window_.get());
        field_->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(field_->hasFocus());
        seam::Clear();
    }
    void TearDown() override { seam::Clear(); }

    static void Activate(QWidget* w) {
        w->activateWindow();
        QApplication::setActiveWindow(w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    }

    // Puts `text` into the field and moves the focus on, as a user leaving it would.
    void Leave(const QString& text, int min, int max) {
        field_->SetMinNo(min);
        field_->SetMaxNo(max);
        field_->setFocus(Qt::OtherFocusReason);
        field_->setText(text);
        other_->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(other_->hasFocus());
    }

    std::unique_ptr<QWidget> window_;
    TNEdit* field_ = nullptr;
    TNEdit* other_ = nullptr;
};

TEST_F(NEditTest, StartsWithAnEmptyRangeAtZero) {
    TNEdit fresh;
    EXPECT_EQ(fresh.property("MinNo").toInt(), 0);
    EXPECT_EQ(fresh.property("MaxNo").toInt(), 0);
    fresh.setProperty("MaxNo", 200);
    EXPECT_EQ(fresh.MaxNo(), 200);
}

TEST_F(NEditTest, TextThatIsNotADigitStringBecomesZero) {
    for (const QString& text :
         {QString(), QStringLiteral("12a"), QStringLiteral("-5"), QStringLiteral(" 1"),
          QStringLiteral("1 "), QStringLiteral("1.5"), QStringLiteral("1,000"),
          QStringLiteral("+3"), QStringLiteral("\u0663")}) {  // an Arabic-Indic three
        SCOPED_TRACE(text.toStdString());
        seam::Clear();
        Leave(text, 0, 20);
        EXPECT_EQ(field_->text(), QStringLiteral("0"));
        ASSERT_EQ(seam::Log().size(), 1u);
        EXPECT_EQ(seam::Log()[0].caption, QStringLiteral("Invalid Value"));
        EXPECT_EQ(seam::Log()[0].text, kNotANumber);
        EXPECT_EQ(seam::Log()[0].buttons, vh::ui::Buttons::kOk);
    }
}

TEST_F(NEditTest, ValueOutsideTheRangeBecomesZeroAndNamesTheRange) {
    const struct {
        const char* text;
        int min, max;
        const char* message;
    } cases[] = {
        {"25", 0, 20, "This value must be in the range 0 to 20"},
        {"1", 0, 0, "This value must be in the range 0 to 0"},
        {"0", 1, 50, "This value must be in the range 1 to 50"},
        {"00", 1, 50, "This value must be in the range 1 to 50"},
        {"51", 1, 50, "This value must be in the range 1 to 50"},
        // Too long for a 32-bit number: out of every range rather than a failed conversion.
        {"2147483648", 0, 2147483647, "This value must be in the range 0 to 2147483647"},
        {"99999999999999999999", 0, 50000000, "This value must be in the range 0 to 50000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        seam::Clear();
        Leave(QString::fromLatin1(c.text), c.min, c.max);
        EXPECT_EQ(field_->text(), QStringLiteral("0"));
        ASSERT_EQ(seam::Log().size(), 1u);
        EXPECT_EQ(seam::Log()[0].caption, QStringLiteral("Invalid Value"));
        EXPECT_EQ(seam::Log()[0].text, QString::fromLatin1(c.message));
        EXPECT_EQ(seam::Log()[0].buttons, vh::ui::Buttons::kOk);
    }
}

TEST_F(NEditTest, ValueInRangeKeepsItsTextAsTyped) {
    const struct {
        const char* text;
        int min, max;
    } cases[] = {{"20", 0, 20},
                 {"0", 0, 20},
                 {"007", 0, 20},
                 {"0", 0, 0},
                 {"1", 1, 50},
                 {"50", 1, 50},
                 {"2147483647", 0, 2147483647},
                 {"000000000000000000012", 0, 20}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Leave(QString::fromLatin1(c.text), c.min, c.max);
        EXPECT_EQ(field_->text(), QString::fromLatin1(c.text));
    }
    EXPECT_TRUE(seam::Log().empty());
}

TEST_F(NEditTest, TypingAndTabbingAwayChecksAndReportsTheChange) {
    field_->clear();
    QSignalSpy changed(field_, &QLineEdit::textChanged);
    QTest::keyClicks(field_, QStringLiteral("25"));
    EXPECT_TRUE(seam::Log().empty()) << "typing runs no check";
    changed.clear();

    QTest::keyClick(field_, Qt::Key_Tab);
    EXPECT_TRUE(other_->hasFocus());
    EXPECT_EQ(field_->text(), QStringLiteral("0"));
    ASSERT_EQ(seam::Log().size(), 1u);
    // The replacement counts as a change, like typing, so the page sees its record changed.
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toString(), QStringLiteral("0"));
}

TEST_F(NEditTest, TextSetByTheProgramIsNotChecked) {
    other_->setText(QStringLiteral("<empty>"));
    field_->setText(QStringLiteral("abc"));
    EXPECT_EQ(other_->text(), QStringLiteral("<empty>"));
    EXPECT_EQ(field_->text(), QStringLiteral("abc"));
    EXPECT_TRUE(seam::Log().empty());
}

TEST_F(NEditTest, LosingTheWindowIsNoExitButTheNextMoveChecks) {
    field_->setText(QStringLiteral("12a"));
    QWidget elsewhere;
    elsewhere.show();
    Activate(&elsewhere);
    EXPECT_FALSE(field_->hasFocus());
    EXPECT_EQ(field_->text(), QStringLiteral("12a"));
    EXPECT_TRUE(seam::Log().empty());

    Activate(window_.get());
    EXPECT_TRUE(field_->hasFocus()) << "the focus comes back to the field";
    EXPECT_TRUE(seam::Log().empty());

    other_->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(field_->text(), QStringLiteral("0"));
    ASSERT_EQ(seam::Log().size(), 1u);
    EXPECT_EQ(seam::Log()[0].text, kNotANumber);
}

TEST_F(NEditTest, CheckValueCanBeRunByTheWindow) {
    field_->SetMaxNo(10);
    field_->setText(QStringLiteral("10"));
    EXPECT_TRUE(field_->CheckValue());
    field_->setText(QStringLiteral("11"));
    EXPECT_FALSE(field_->CheckValue());
    EXPECT_EQ(field_->text(), QStringLiteral("0"));
    EXPECT_EQ(seam::Log().size(), 1u);
}

}  // namespace
