// TRUrllabel: a label that behaves like a hyperlink. Blue and underlined with a hand cursor, it
// takes ActiveColor while the mouse is over it and opens its address through the desktop when
// clicked. The address is built from UrlType and URL (and MailSubject or CustomUrlType).
#pragma once

#include <QColor>
#include <QLabel>
#include <QString>
#include <QtGlobal>
#include <functional>

enum class TUrlType : quint8 { Http, Mail, Ftp, Custom };

class TRUrllabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(bool DetectMouse READ DetectMouse WRITE SetDetectMouse)
    Q_PROPERTY(TUrlType UrlType READ UrlType WRITE SetUrlType)
    Q_PROPERTY(QString URL READ URL WRITE SetURL)
    Q_PROPERTY(QString CustomUrlType READ CustomUrlType WRITE SetCustomUrlType)
    Q_PROPERTY(QColor ActiveColor READ ActiveColor WRITE SetActiveColor)
    Q_PROPERTY(QString MailSubject READ MailSubject WRITE SetMailSubject)

  public:
    static constexpr QColor kLinkColor{0, 0, 255};

    explicit TRUrllabel(QWidget* parent = nullptr);
    explicit TRUrllabel(const QString& text, QWidget* parent = nullptr);

    bool DetectMouse() const { return detect_mouse_; }
    void SetDetectMouse(bool on) { detect_mouse_ = on; }
    TUrlType UrlType() const { return url_type_; }
    void SetUrlType(TUrlType type) { url_type_ = type; }
    QString URL() const { return url_; }
    void SetURL(const QString& url);
    QString CustomUrlType() const { return custom_url_type_; }
    void SetCustomUrlType(const QString& prefix) { custom_url_type_ = prefix; }
    QColor ActiveColor() const { return active_color_; }
    void SetActiveColor(const QColor& color) { active_color_ = color; }
    QString MailSubject() const { return mail_subject_; }
    // A subject belongs to mail links only: on any other kind this says so and keeps the old one.
    void SetMailSubject(const QString& subject);

    // The colour the text is drawn in.
    QColor FontColor() const;
    void SetFontColor(const QColor& color);

    // The address a click opens, exactly as built from the properties (nothing trimmed or
    // escaped).
    QString Address() const;

  signals:
    void OnMouseEnter(QObject* source);
    void OnMouseLeave(QObject* source);

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool detect_mouse_ = true;
    TUrlType url_type_ = TUrlType::Http;
    QString url_;
    QString custom_url_type_;
    QColor active_color_{255, 0, 0};
    QString mail_subject_;
};

namespace vh::ui {

// How an address is handed to the desktop. The default asks QDesktopServices to open it (the
// desktop's own handler: a browser, the mail program, xdg-open); its result is not examined.
using UrlOpener = std::function<void(const QString& address)>;

// Replaces the opener and returns the previous one; an empty function restores the default.
UrlOpener SetUrlOpener(UrlOpener opener);
// Opens an address through the current opener.
void OpenUrl(const QString& address);

}  // namespace vh::ui
