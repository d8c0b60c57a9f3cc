#include "msgbox.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace vh::ui {

namespace {
struct SeamState {
    bool enabled = false;
    std::deque<Answer> queue;
    std::deque<QString> files;
    std::vector<seam::Asked> log;
    int unanswered = 0;
};
SeamState& S() {
    static SeamState s;
    return s;
}

Answer Cautious(Buttons b) {
    switch (b) {
        case Buttons::kOk:
            return Answer::kOk;
        case Buttons::kOkCancel:
            return Answer::kCancel;
        case Buttons::kYesNo:
            return Answer::kNo;
        case Buttons::kYesNoCancel:
            return Answer::kCancel;
    }
    return Answer::kCancel;
}
}  // namespace

QString ApplicationTitle() {
    return QStringLiteral("VH Editor");
}

Answer ShowMessage(QWidget* parent, const QString& caption, const QString& text, Buttons buttons,
                   Icon icon) {
    SeamState& s = S();
    if (s.enabled) {
        s.log.push_back({caption, text, buttons});
        if (s.queue.empty()) {
            if (buttons != Buttons::kOk) ++s.unanswered;
            return Cautious(buttons);
        }
        const Answer a = s.queue.front();
        s.queue.pop_front();
        return a;
    }

    QMessageBox box(parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setWindowTitle(caption);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    switch (icon) {
        case Icon::kNone:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case Icon::kInformation:
            box.setIcon(QMessageBox::Information);
            break;
        case Icon::kWarning:
            box.setIcon(QMessageBox::Warning);
            break;
        case Icon::kError:
            box.setIcon(QMessageBox::Critical);
            break;
        case Icon::kQuestion:
            box.setIcon(QMessageBox::Question);
            break;
    }
    switch (buttons) {
        case Buttons::kOk:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::kOkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case Buttons::kYesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case Buttons::kYesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    const int r = box.exec();
    switch (r) {
        case QMessageBox::Ok:
            return Answer::kOk;
        case QMessageBox::Yes:
            return Answer::kYes;
        case QMessageBox::No:
            return Answer::kNo;
        default:
            return buttons == Buttons::kOk ? Answer::kOk : Cautious(buttons);
    }
}

QString AskFileName(QWidget* parent, const QString& caption, const QString& filter, FileDialog mode,
                    const QString& suggested) {
    SeamState& s = S();
    if (s.enabled) {
        s.log.push_back({caption, suggested, Buttons::kOkCancel});
        if (s.files.empty()) {
            ++s.unanswered;
            return QString();
        }
        const QString name = s.files.front();
        s.files.pop_front();
        return name;
    }
    QFileDialog dialog(parent, caption, suggested, filter);
    dialog.setObjectName(QStringLiteral("TableFileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(mode == FileDialog::kSave ? QFileDialog::AcceptSave
                                                   : QFileDialog::AcceptOpen);
    dialog.setFileMode(mode == FileDialog::kSave ? QFileDialog::AnyFile
                                                 : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().front();
}

void ShowError(QWidget* parent, const QString& text) {
    ShowMessage(parent, ApplicationTitle(), text, Buttons::kOk, Icon::kError);
}

namespace seam {
void Enable() {
    S().enabled = true;
}
void Disable() {
    S().enabled = false;
}
bool Enabled() {
    return S().enabled;
}
void QueueAnswer(Answer a) {
    S().queue.push_back(a);
}
void QueueFileName(const QString& name) {
    S().files.push_back(name);
}
const std::vector<Asked>& Log() {
    return S().log;
}
int Unanswered() {
    return S().unanswered;
}
void Clear() {
    S().queue.clear();
    S().files.clear();
    S().log.clear();
    S().unanswered = 0;
}
}  // namespace seam

}  // namespace vh::ui
