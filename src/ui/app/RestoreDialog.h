#pragma once

#include <QDate>
#include <QDialog>

class QPushButton;
class QTreeWidget;

namespace quillery::ui {

// "Restore from Backup": the copies kept in the backups folder, newest
// first, each with its date and how many pages and tasks it holds, and
// "Choose File…" for a copy anywhere else. Says which copy the user picked
// and leaves the restore itself to its caller.
class RestoreDialog final : public QDialog
{
    Q_OBJECT
public:
    RestoreDialog(const QString &folder, QWidget *parent = nullptr);

    QTreeWidget *copies() const { return m_copies; }
    QPushButton *restoreButton() const { return m_restore; }
    QPushButton *chooseButton() const { return m_choose; }

Q_SIGNALS:
    // `date` is the day the copy was taken (a chosen file's last change).
    void chosen(const QString &path, const QDate &date);

private:
    void fill(const QString &folder);
    void restoreSelected();
    void chooseFile();

    QTreeWidget *m_copies = nullptr;
    QPushButton *m_restore = nullptr;
    QPushButton *m_choose = nullptr;
};

} // namespace quillery::ui
