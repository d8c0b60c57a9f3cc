#include "about.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QTextLayout>
#include <QUrl>
#include <QtMath>
#include <algorithm>

#include "dialogs/RUrllabel.h"
#include "dialogs/theme.h"
#include "vh_version.h"

#ifndef VH_MAIL_ADDRESS
#define VH_MAIL_ADDRESS ""
#endif
#ifndef VH_HELP_URL
#define VH_HELP_URL ""
#endif
#ifndef VH_GUIDE_SOURCE
#define VH_GUIDE_SOURCE ""
#endif
#ifndef VH_GUIDE_INSTALL_DIR
#define VH_GUIDE_INSTALL_DIR ""
#endif

namespace vh::ui {

namespace {
const QString kGuideName = QStringLiteral("user-guide.html");

// Where the guide may lie, in order: beside the program (a copied-out folder on Windows), in
// the installed documents (bin/../share/doc/vh-editor), inside a macOS bundle, and finally in
// the source tree the program was built from, which is what a build that was never installed
// finds.
QStringList GuideCandidates() {
    const QString exe_dir = QCoreApplication::applicationDirPath();
    QStringList candidates{exe_dir + u'/' + kGuideName};
    const QString install_dir = QStringLiteral(VH_GUIDE_INSTALL_DIR);
    if (!install_dir.isEmpty()) {
        candidates << (QDir::isAbsolutePath(install_dir)
                           ? install_dir + u'/' + kGuideName
                           : exe_dir + QStringLiteral("/../") + install_dir + u'/' + kGuideName);
    }
    candidates << exe_dir + QStringLiteral("/../Resources/") + kGuideName;
    const QString source = QStringLiteral(VH_GUIDE_SOURCE);
    if (!source.isEmpty()) candidates << source;
    return candidates;
}
}  // namespace

QString UserGuideAddress() {
    const QString configured = QStringLiteral(VH_HELP_URL);
    if (!configured.isEmpty()) return configured;

    const QStringList candidates = GuideCandidates();
    QString path = candidates.front();
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isFile()) {
            path = candidate;
            break;
        }
    }
    // Encoded, so that a '#', '%' or blank in the folder name survives being parsed again.
    return QUrl::fromLocalFile(QDir::cleanPath(QFileInfo(path).absoluteFilePath()))
        .toString(QUrl::FullyEncoded);
}

}  // namespace vh::ui

namespace {

constexpr int kClientWidth = 343;
constexpr int kClientHeight = 190;
constexpr int kMargin = 16;
constexpr int kMinGap = 8;
constexpr int kMaxGap = 22;

// A word-wrapped paragraph that knows where its last line ends, so that a link can continue the
// text on that line. It lays the text out itself and paints exactly that layout.
class FlowingText : public QLabel {
  public:
    FlowingText(const QString& text, QWidget* parent) : QLabel(text, parent) {
        setTextFormat(Qt::PlainText);
        setWordWrap(true);
    }

    // Breaks the text into lines of at most `width` pixels; returns the height taken.
    int Flow(int width) {
        layout_.setText(text());
        layout_.setFont(font());
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);
        layout_.setTextOption(option);
        layout_.beginLayout();
        qreal y = 0;
        for (QTextLine line = layout_.createLine(); line.isValid(); line = layout_.createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, y));
            y += line.height();
        }
        layout_.endLayout();
        return qCeil(y);
    }

    // The last line of the paragraph: where it ends, its top, ascent and height.
    QTextLine LastLine() const { return layout_.lineAt(layout_.lineCount() - 1); }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        layout_.draw(&painter, QPointF(0, 0));
    }

  private:
    QTextLayout layout_;
};

}  // namespace

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("About..."));
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kClientWidth, kClientHeight);

    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::WindowText, Qt::white);
    setPalette(p);
    setAutoFillBackground(true);
    setFont(vh::ui::EditorFont(8));

    auto* credit =
        new FlowingText(QStringLiteral("VH Editor %1 is made by the VH Editor project and "
                                       "its contributors for the game's community.")
                            .arg(vh::kVersion),
                        this);
    credit->setObjectName(QStringLiteral("Label1"));
    auto* testing = new FlowingText(
        QStringLiteral("If you would like to help with the testing of the editor then please"),
        this);
    testing->setObjectName(QStringLiteral("Label2"));
    auto* help = new FlowingText(
        QStringLiteral("If you are having trouble using the editor then you may wish to use the "
                       "help file.  This can be downloaded from"),
        this);
    help->setObjectName(QStringLiteral("Label3"));

    mail_link_ = new TRUrllabel(QStringLiteral("e-mail me"), this);
    mail_link_->setObjectName(QStringLiteral("RUrllabel1"));
    mail_link_->SetUrlType(TUrlType::Mail);
    mail_link_->SetURL(QStringLiteral(VH_MAIL_ADDRESS));

    help_link_ = new TRUrllabel(QStringLiteral("here."), this);
    help_link_->setObjectName(QStringLiteral("RUrllabel2"));
    // The address is complete with its scheme (a file URL of the guide, or whatever the build
    // configured), so it takes no prefix.
    help_link_->SetUrlType(TUrlType::Custom);
    help_link_->SetURL(vh::ui::UserGuideAddress());

    LayOutText();
}

void TAboutForm::LayOutText() {
    const int width = kClientWidth - 2 * kMargin;
    struct Block {
        FlowingText* text = nullptr;
        TRUrllabel* link = nullptr;
        int text_height = 0;
        QPoint link_at;  // relative to the top left of the paragraph
        int height = 0;
    };
    Block blocks[3];
    blocks[0].text = findChild<FlowingText*>(QStringLiteral("Label1"));
    blocks[1].text = findChild<FlowingText*>(QStringLiteral("Label2"));
    blocks[1].link = mail_link_;
    blocks[2].text = findChild<FlowingText*>(QStringLiteral("Label3"));
    blocks[2].link = help_link_;

    int total = 0;
    for (Block& b : blocks) {
        b.text_height = b.text->Flow(width);
        b.height = b.text_height;
        if (b.link) {
            // The link continues the last line after one blank, on the same baseline, or starts
            // the next line when the rest of the line is too short for it.
            b.link->adjustSize();
            const QTextLine last = b.text->LastLine();
            int x = qCeil(last.naturalTextWidth()) +
                    QFontMetrics(b.text->font()).horizontalAdvance(u' ');
            int baseline = qRound(last.y() + last.ascent());
            if (x + b.link->width() > width) {
                x = 0;
                baseline += qCeil(last.height());
            }
            b.link_at = QPoint(x, baseline - QFontMetrics(b.link->font()).ascent());
            b.height = std::max(b.height, b.link_at.y() + b.link->height());
        }
        total += b.height;
    }

    // Spread the three paragraphs over the window rather than crowding them at the top.
    const int spare = std::max(0, kClientHeight - total);
    const int gap = std::clamp(spare / 4, kMinGap, kMaxGap);
    int y = std::max(kMinGap, (kClientHeight - total - 2 * gap) / 2);
    for (const Block& b : blocks) {
        b.text->setGeometry(kMargin, y, width, b.text_height);
        if (b.link) b.link->move(QPoint(kMargin, y) + b.link_at);
        y += b.height + gap;
    }
}

void TAboutForm::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // Clicking the main window, or a link starting the mail program or the browser, puts the
    // About box away.
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow()) hide();
}
