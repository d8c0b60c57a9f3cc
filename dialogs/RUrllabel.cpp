#include "RUrllabel.h"

#include <QDesktopServices>
#include <QEnterEvent>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QUrl>

#include "dialogs/msgbox.h"

namespace vh::ui {

namespace {
void OpenWithDesktop(const QString& address) {
    QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

UrlOpener& CurrentOpener() {
    static UrlOpener opener = OpenWithDesktop;
    return opener;
}
}  // namespace

UrlOpener SetUrlOpener(UrlOpener opener) {
    UrlOpener previous = std::move(CurrentOpener());
    CurrentOpener() = opener ? std::move(opener) : UrlOpener(OpenWithDesktop);
    return previous;
}

void OpenUrl(const QString& address) {
    CurrentOpener()(address);
}

}  // namespace vh::ui

namespace {
// Links keep the classic small dialog font: 8-point "MS Sans Serif", or the desktop's sans
// serif font where that is absent.
QFont LinkFont() {
    QFont f(QStringLiteral("MS Sans Serif"), 8);
    f.setStyleHint(QFont::SansSerif);
    if (!QFontDatabase::families().contains(QStringLiteral("MS Sans Serif")))
        f.setFamilies({QStringLiteral("MS Sans Serif"),
                       QFontDatabase::systemFont(QFontDatabase::GeneralFont).family()});
    f.setUnderline(true);
    return f;
}
}  // namespace

TRUrllabel::TRUrllabel(QWidget* parent) : TRUrllabel(QString(), parent) {}

TRUrllabel::TRUrllabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setFont(LinkFont());
    SetFontColor(kLinkColor);
    setCursor(Qt::PointingHandCursor);
    setTextFormat(Qt::PlainText);
}

void TRUrllabel::SetURL(const QString& url) {
    if (url != url_) url_ = url;
}

void TRUrllabel::SetMailSubject(const QString& subject) {
    if (url_type_ != TUrlType::Mail) {
        vh::ui::ShowMessage(this, vh::ui::ApplicationTitle(),
                            QStringLiteral("Must be only on MAIL type"));
        return;
    }
    mail_subject_ = subject;
}

QColor TRUrllabel::FontColor() const {
    return palette().color(QPalette::WindowText);
}

void TRUrllabel::SetFontColor(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

QString TRUrllabel::Address() const {
    switch (url_type_) {
        case TUrlType::Http:
            return QStringLiteral("http://") + url_;
        case TUrlType::Mail:
            return QStringLiteral("mailto:") + url_ + QStringLiteral("?Subject=") + mail_subject_;
        case TUrlType::Ftp:
            return QStringLiteral("ftp://") + url_;
        case TUrlType::Custom:
            return custom_url_type_ + url_;
    }
    return url_;
}

void TRUrllabel::enterEvent(QEnterEvent* event) {
    if (detect_mouse_) SetFontColor(active_color_);
    QLabel::enterEvent(event);
    emit OnMouseEnter(this);
}

void TRUrllabel::leaveEvent(QEvent* event) {
    if (detect_mouse_) SetFontColor(kLinkColor);
    QLabel::leaveEvent(event);
    emit OnMouseLeave(this);
}

void TRUrllabel::mousePressEvent(QMouseEvent* event) {
    // Keep the left button to ourselves so that its release comes back here and the window
    // behind the link sees no click.
    if (event->button() == Qt::LeftButton) {
        event->accept();
        return;
    }
    QLabel::mousePressEvent(event);
}

void TRUrllabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    if (rect().contains(event->position().toPoint())) vh::ui::OpenUrl(Address());
}
