// The About box: its links and where they lead, its layout, and putting itself away when another
// window becomes active.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QUrl>

#include "dialogs/RUrllabel.h"
#include "dialogs/about.h"
#include "vh_version.h"

namespace {

void Activate(QWidget* w) {
    w->activateWindow();
    QApplication::setActiveWindow(w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
}

TEST(AboutTest, FixedBoxWithTwoLinksInsideIt) {
    TAboutForm about;
    EXPECT_EQ(about.objectName(), QStringLiteral("AboutForm"));
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About..."));
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.minimumSize(), QSize(343, 190));
    EXPECT_EQ(about.maximumSize(), QSize(343, 190));

    auto* mail = about.findChild<TRUrllabel*>(QStringLiteral("RUrllabel1"));
    auto* help = about.findChild<TRUrllabel*>(QStringLiteral("RUrllabel2"));
    ASSERT_TRUE(mail && help);
    EXPECT_EQ(mail->text(), QStringLiteral("e-mail me"));
    EXPECT_EQ(mail->Address(), QStringLiteral("mailto:") + mail->URL() + "?Subject=");
    EXPECT_EQ(help->text(), QStringLiteral("here."));
    EXPECT_TRUE(about.findChild<QLabel*>(QStringLiteral("Label1"))
                    ->text()
                    .startsWith(QStringLiteral("VH Editor %1 ").arg(vh::kVersion)));

    // Each link follows its paragraph, on its last line or the next, wholly inside the window.
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    for (const auto& [link, name] : {std::pair{mail, "Label2"}, std::pair{help, "Label3"}}) {
        const QRect text = about.findChild<QLabel*>(QLatin1String(name))->geometry();
        EXPECT_TRUE(about.rect().contains(text));
        EXPECT_TRUE(about.rect().contains(link->geometry()));
        EXPECT_GT(link->geometry().center().y(), text.top());
        EXPECT_LT(link->geometry().top(), text.bottom() + link->height());
    }
}

TEST(AboutTest, HelpLinkOpensTheUserGuideShippedWithTheProgram) {
    TAboutForm about;
    const QString address = about.RUrllabel2()->Address();
    const QUrl url(address);
    if (!url.isLocalFile()) GTEST_SKIP() << "the build points the help link elsewhere";
    QFile guide(url.toLocalFile());
    ASSERT_TRUE(guide.open(QIODevice::ReadOnly)) << address.toStdString();
    EXPECT_TRUE(guide.readAll().contains("<title>VH Editor user guide</title>"));
}

TEST(AboutTest, HidesWhenAnotherWindowBecomesActive) {
    QWidget main_window;
    main_window.show();
    Activate(&main_window);
    TAboutForm about;
    about.show();
    Activate(&about);
    ASSERT_TRUE(about.isVisible());
    Activate(&main_window);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !about.isVisible(); }));
}

}  // namespace
