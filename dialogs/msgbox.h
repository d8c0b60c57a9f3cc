// Every modal box of the program goes through here: the caption, text and buttons exactly as the
// program words them, a real QMessageBox in production, and a seam through which tests answer
// the next questions and read what was asked.
#pragma once

#include <QString>
#include <deque>
#include <vector>

class QWidget;

namespace vh::ui {

enum class Buttons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class Answer { kOk, kCancel, kYes, kNo };
enum class Icon { kNone, kInformation, kWarning, kError, kQuestion };

// Shows a modal box and waits for the answer.
Answer ShowMessage(QWidget* parent, const QString& caption, const QString& text,
                   Buttons buttons = Buttons::kOk, Icon icon = Icon::kNone);

// Asks for a file with Qt's own file dialog (the desktop's may not be there): one to read, or one
// to write (which may exist; the dialog asks before it is replaced). "" when cancelled.
enum class FileDialog { kOpen, kSave };
QString AskFileName(QWidget* parent, const QString& caption, const QString& filter, FileDialog mode,
                    const QString& suggested = QString());

// The caption of the application's error box and of plain messages.
QString ApplicationTitle();
// The application's error box (used by the handler guard).
void ShowError(QWidget* parent, const QString& text);

// Test seam. While enabled no box is shown: each call records what was asked and takes the next
// queued answer. With no answer queued an OK box answers Ok and a question answers its most
// cautious button (No, or Cancel where there is one), and the call is counted as unanswered.
namespace seam {
struct Asked {
    QString caption;
    QString text;
    Buttons buttons;
};
void Enable();
void Disable();
bool Enabled();
void QueueAnswer(Answer a);
// The file the next file dialog chooses ("" cancels it); it is logged with the file suggested as
// its text.
void QueueFileName(const QString& name);
const std::vector<Asked>& Log();
int Unanswered();
void Clear();  // empties the log and the queue
}  // namespace seam

}  // namespace vh::ui
