// TAboutForm: the small "About..." window of the Help menu. Three lines of white text on black,
// the second ending in a mail link (RUrllabel1) and the third in a link to the user guide
// (RUrllabel2). It is shown without blocking the main window and hides itself as soon as it stops
// being the active window.
#pragma once

#include <QDialog>
#include <QString>

class TRUrllabel;

class TAboutForm : public QDialog {
    Q_OBJECT

  public:
    explicit TAboutForm(QWidget* parent = nullptr);

    TRUrllabel* RUrllabel1() const { return mail_link_; }
    TRUrllabel* RUrllabel2() const { return help_link_; }

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void LayOutText();

    TRUrllabel* mail_link_ = nullptr;
    TRUrllabel* help_link_ = nullptr;
};

namespace vh::ui {

// The address the help link opens: the one the build configured, or else a file URL of the user
// guide shipped with the program.
QString UserGuideAddress();

}  // namespace vh::ui
