#include "RestoreDialog.h"

#include "core/backup/BookRestore.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStandardPaths>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quillery::ui {

namespace {

constexpr int PathRole = Qt::UserRole;
constexpr int DateRole = Qt::UserRole + 1;

} // namespace

RestoreDialog::RestoreDialog(const QString &folder, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("restoreDialog"));
    setWindowTitle(tr("Restore from Backup"));
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(tr("Choose the copy of the book to restore. Quillery keeps a copy of each of the last "
                                "seven days it ran and one of each of the four weeks before."),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    m_copies = new QTreeWidget(this);
    m_copies->setObjectName(QStringLiteral("backupCopies"));
    m_copies->setHeaderLabels({ tr("Copy"), tr("Pages"), tr("Tasks") });
    m_copies->setRootIsDecorated(false);
    m_copies->setAllColumnsShowFocus(true);
    m_copies->setAccessibleName(tr("Kept copies"));
    layout->addWidget(m_copies);
    fill(folder);
    m_copies->header()->setStretchLastSection(false);
    m_copies->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column : { 1, 2 })
        m_copies->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_choose = buttons->addButton(tr("Choose File…"), QDialogButtonBox::ActionRole);
    m_restore = buttons->addButton(tr("Restore…"), QDialogButtonBox::AcceptRole);
    m_restore->setDefault(true);
    layout->addWidget(buttons);

    const auto selectable = [this] { m_restore->setEnabled(m_copies->currentItem() != nullptr); };
    connect(m_copies, &QTreeWidget::currentItemChanged, this, selectable);
    connect(m_copies, &QTreeWidget::itemActivated, this, &RestoreDialog::restoreSelected);
    connect(m_restore, &QPushButton::clicked, this, &RestoreDialog::restoreSelected);
    connect(m_choose, &QPushButton::clicked, this, &RestoreDialog::chooseFile);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    if (m_copies->topLevelItemCount() > 0)
        m_copies->setCurrentItem(m_copies->topLevelItem(0));
    selectable();
    resize(520, 320);
}

void RestoreDialog::fill(const QString &folder)
{
    const QLocale locale;
    for (const BookRestore::Kept &kept : BookRestore::keptIn(folder)) {
        const QString day = locale.toString(kept.taken.date(), QLocale::LongFormat);
        auto *item = new QTreeWidgetItem(m_copies);
        item->setText(0,
            kept.beforeRestore
                ? tr("%1, %2, before a restore").arg(day, locale.toString(kept.taken.time(), QLocale::ShortFormat))
                : day);
        // A copy that cannot be read is still listed: choosing it says why.
        if (const std::optional<BookRestore::Counts> counts = BookRestore::count(kept.path)) {
            item->setText(1, locale.toString(counts->pages));
            item->setText(2, locale.toString(counts->tasks));
        } else {
            item->setText(1, tr("damaged"));
        }
        for (int column : { 1, 2 })
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        item->setData(0, PathRole, kept.path);
        item->setData(0, DateRole, kept.taken.date());
    }
}

void RestoreDialog::restoreSelected()
{
    const QTreeWidgetItem *item = m_copies->currentItem();
    if (!item)
        return;
    accept();
    Q_EMIT chosen(item->data(0, PathRole).toString(), item->data(0, DateRole).toDate());
}

void RestoreDialog::chooseFile()
{
    QString start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QDir(start).exists())
        start = QDir::homePath();
    auto *dialog = new QFileDialog(this, tr("Restore from Backup"), start,
        tr("Quillery books (*.sqlite)") + QStringLiteral(";;") + tr("All files (*)"));
    dialog->setObjectName(QStringLiteral("restoreFileDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFile);
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        dialog->setOption(QFileDialog::DontUseNativeDialog);
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString &path) {
        accept();
        Q_EMIT chosen(path, QFileInfo(path).lastModified().date());
    });
    dialog->open();
}

} // namespace quillery::ui
