#pragma once

#include "Record.h"
#include "StoredField.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace quillery {

class TaskItem;

// A photo or file kept with a task. Its bytes are stored apart from the other
// fields and read from the store only when asked for.
class Attachment final : public Record
{
public:
    explicit Attachment(const QString &name = QString(), const QString &typeIdentifier = QString(),
        std::optional<QByteArray> data = std::nullopt);
    explicit Attachment(LoadTag tag)
        : Record(tag)
    { }
    ~Attachment() override;

    static constexpr Kind kindOf = Kind::Attachment;
    Kind kind() const override { return kindOf; }
    AttachmentNotifier *notifier() const { return static_cast<AttachmentNotifier *>(Record::notifier()); }
    // Every stored field, in the order of the columns.
    static std::span<const StoredField> fields();

    QString name() const { return m_name; }
    void setName(const QString &name);

    QString typeIdentifier() const { return m_typeIdentifier; }
    void setTypeIdentifier(const QString &identifier);

    // The bytes, loaded from the store on first use. None when the attachment
    // has no content (or its content could not be read).
    std::optional<QByteArray> data() const;
    void setData(const std::optional<QByteArray> &data);
    // Whether content is present, without loading it.
    bool hasData() const { return m_dataSize.has_value(); }
    // The size of the content in bytes, without loading it.
    std::optional<qint64> dataSize() const { return m_dataSize; }
    // Forgets loaded bytes that are already in the file, to free memory.
    void unloadData();

    TaskItem *task() const { return m_task; }
    void setTask(TaskItem *task);

private:
    std::unique_ptr<RecordNotifier> makeNotifier() const override { return std::make_unique<AttachmentNotifier>(); }

    friend class TaskItem;
    friend class Store;
    friend class StoreLoader;
    friend class StoreWriter;
    friend class RecoveryJournal;

    static StoredField taskLink();
    static StoredField content();

    QString m_name;
    QString m_typeIdentifier;
    mutable std::optional<QByteArray> m_data;
    mutable bool m_dataLoaded = true; // false for stored records until read
    bool m_dataDirty = false; // bytes not yet written to the file
    std::optional<qint64> m_dataSize;
    TaskItem *m_task = nullptr;
};

} // namespace quillery
