// TNEdit: the edit box through which every number of the database is typed. It accepts any
// typing and, when the user changed the text, checks it as the focus moves on to another control
// of the same window: a non-empty string of the digits 0-9 whose value lies in MinNo..MaxNo. A
// text that fails becomes "0", a message box says why, and the focus comes back to the field with
// its text selected. The pages convert the text when they save and rely on this.
#pragma once

#include <QLineEdit>

class TNEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(int MinNo READ MinNo WRITE SetMinNo)
    Q_PROPERTY(int MaxNo READ MaxNo WRITE SetMaxNo)

  public:
    explicit TNEdit(QWidget* parent = nullptr);

    int MinNo() const { return min_no_; }
    void SetMinNo(int value) { min_no_ = value; }
    int MaxNo() const { return max_no_; }
    void SetMaxNo(int value) { max_no_ = value; }

    // Runs the check on the current text. Returns true when the text passed and was left as it
    // is; otherwise the text is now "0" and the reason has been shown.
    bool CheckValue();

  protected:
    void focusOutEvent(QFocusEvent* event) override;

  private:
    int min_no_ = 0;
    int max_no_ = 0;
};
