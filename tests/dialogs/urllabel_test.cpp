// The link label: the address a click opens, the colours on mouse enter and leave, and the
// refusal of a subject on a label that is not a mail link.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

#include "dialogs/RUrllabel.h"
#include "dialogs/msgbox.h"

namespace {

namespace seam = vh::ui::seam;

const QColor kBlue(0, 0, 255);
const QColor kOther(10, 20, 30);

// A window that counts the mouse presses and releases that reach it.
class Window : public QWidget {
  public:
    int clicks = 0;

  protected:
    void mousePressEvent(QMouseEvent*) override { ++clicks; }
    void mouseReleaseEvent(QMouseEvent*) override { ++clicks; }
};

class UrlLabelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = vh::ui::SetUrlOpener([this](const QString& a) { opened_.push_back(a); });
        label_ = new TRUrllabel(QStringLiteral("Click Here"), &window_);
        label_->adjustSize();
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
        seam::Clear();
    }
    void TearDown() override {
        vh::ui::SetUrlOpener(previous_);
        seam::Clear();
    }
    void Click(Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(label_, button, Qt::NoModifier, label_->rect().center());
    }
    void EnterAndLeave() {
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(label_, &enter);
        colour_inside_ = label_->FontColor();
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(label_, &leave);
    }

    vh::ui::UrlOpener previous_;
    std::vector<QString> opened_;
    Window window_;
    TRUrllabel* label_ = nullptr;
    QColor colour_inside_;
};

TEST_F(UrlLabelTest, ClickOpensTheAddressExactlyAsBuilt) {
    const struct {
        TUrlType type;
        const char *prefix, *url, *subject, *address;
    } cases[] = {
        {TUrlType::Mail, "", "me@example.org", "", "mailto:me@example.org?Subject="},
        {TUrlType::Mail, "", "me@example.org", "Bug 2", "mailto:me@example.org?Subject=Bug 2"},
        {TUrlType::Http, "", " example.org/a b ", "", "http:// example.org/a b "},
        {TUrlType::Ftp, "", "ftp.example.org/pub", "", "ftp://ftp.example.org/pub"},
        {TUrlType::Custom, "", "news:rec.sport", "", "news:rec.sport"},
        {TUrlType::Custom, "file://", "/opt/guide.html", "", "file:///opt/guide.html"},
    };
    for (const auto& c : cases) {
        opened_.clear();
        label_->SetUrlType(c.type);
        label_->SetCustomUrlType(QString::fromLatin1(c.prefix));
        label_->SetURL(QString::fromLatin1(c.url));
        if (c.type == TUrlType::Mail) label_->SetMailSubject(QString::fromLatin1(c.subject));
        Click();
        EXPECT_EQ(opened_, std::vector{QString::fromLatin1(c.address)});
    }
    EXPECT_TRUE(seam::Log().empty()) << "opening reports nothing";
}

TEST_F(UrlLabelTest, OnlyTheLeftButtonOpensAndTheWindowSeesNoClick) {
    Click(Qt::RightButton);
    EXPECT_TRUE(opened_.empty());
    const int clicks = window_.clicks;
    Click();
    EXPECT_EQ(opened_.size(), 1u);
    EXPECT_EQ(window_.clicks, clicks);
}

TEST_F(UrlLabelTest, MouseColoursTheBlueUnderlinedLinkAndRaisesBothSignals) {
    const TRUrllabel fresh;  // out of reach of the test's mouse
    EXPECT_EQ(fresh.FontColor(), kBlue);
    EXPECT_TRUE(fresh.font().underline());
    EXPECT_EQ(fresh.cursor().shape(), Qt::PointingHandCursor);
    QSignalSpy entered(label_, &TRUrllabel::OnMouseEnter);
    QSignalSpy left(label_, &TRUrllabel::OnMouseLeave);

    EnterAndLeave();
    EXPECT_EQ(colour_inside_, QColor(255, 0, 0));
    EXPECT_EQ(label_->FontColor(), kBlue);

    label_->SetFontColor(kOther);  // another colour turns blue on the first leave
    EnterAndLeave();
    EXPECT_EQ(label_->FontColor(), kBlue);

    label_->SetDetectMouse(false);
    label_->SetFontColor(kOther);
    EnterAndLeave();
    EXPECT_EQ(colour_inside_, kOther);
    EXPECT_EQ(label_->FontColor(), kOther);

    ASSERT_EQ(entered.count(), 3);
    ASSERT_EQ(left.count(), 3);
    EXPECT_EQ(entered[2][0].value<QObject*>(), label_);
    EXPECT_EQ(left[2][0].value<QObject*>(), label_);
}

TEST_F(UrlLabelTest, SubjectIsRefusedOnALabelThatIsNotAMailLink) {
    label_->SetUrlType(TUrlType::Mail);
    label_->SetMailSubject(QStringLiteral("Testing"));
    label_->SetUrlType(TUrlType::Http);
    label_->SetMailSubject(QStringLiteral("Other"));
    EXPECT_EQ(label_->MailSubject(), QStringLiteral("Testing"));
    ASSERT_EQ(seam::Log().size(), 1u);
    EXPECT_EQ(seam::Log()[0].caption, vh::ui::ApplicationTitle());
    EXPECT_EQ(seam::Log()[0].text, QStringLiteral("Must be only on MAIL type"));
}

}  // namespace
