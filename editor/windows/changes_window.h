// The "Changes Since Backup" window: every record of the loaded directory that differs from its
// backup, with its changed fields, old and new, and the bytes no field shows. It stays open
// beside the main window, as "Check Data" does. A double click shows the record on its page;
// "Revert Record" and "Save As Patch..." ask the shell to act; with no backup yet the window says
// so and offers "Backup Files".
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>

#include "database/changes/diff.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vh::ui {

class TChangesWindow : public QWidget {
    Q_OBJECT
  public:
    struct Actions {
        std::function<void(db::TableId, std::int64_t)> open;    // show the record on its page
        std::function<void(db::TableId, std::int64_t)> revert;  // "Revert Record"
        std::function<void()> savePatch;                        // "Save As Patch..."
        std::function<void()> backup;                           // "Backup Files"
    };
    TChangesWindow(QWidget* parent, Actions actions);

    // Shows the differences of the directory `dataPath` from its backup.
    void SetDiff(db::DirectoryDiff diff, const QString& dataPath);
    // Says that the directory has no backup to compare with, and offers to make one.
    void SetNoBackup(const QString& dataPath);
    // Whether the writing buttons may act (not on a directory open for reading only).
    void SetWritable(bool writable);

    const db::DirectoryDiff& Diff() const { return diff_; }
    QTreeWidget* List() const { return list_; }
    // The changed record of a line (a record's line or one of its fields); nullptr for none.
    const db::RecordChange* RecordOf(const QTreeWidgetItem* item) const;
    // The line of a record; nullptr for none.
    QTreeWidgetItem* LineOf(db::TableId table, std::int64_t record) const;
    // What a double click and the "Revert Record" button do with a line.
    void OpenLine(const QTreeWidgetItem* item);
    void RevertSelected();

  private:
    void UpdateButtons();

    Actions actions_;
    db::DirectoryDiff diff_;
    bool writable_ = true;
    bool hasBackup_ = false;
    QLabel* counts_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QPushButton* revert_ = nullptr;
    QPushButton* savePatch_ = nullptr;
    QPushButton* backup_ = nullptr;
};

}  // namespace vh::ui
