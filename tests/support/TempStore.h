#pragma once

#include "core/model/Store.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace quillery::test {

// A book in a fresh temporary folder, reopened on demand to check what
// really reached the file.
class TempStore
{
public:
    TempStore()
    {
        EXPECT_TRUE(m_dir.isValid());
        reopen();
    }

    Store &operator*() const { return *m_store; }
    Store *operator->() const { return m_store.get(); }
    Store *get() const { return m_store.get(); }

    QString path() const { return m_dir.filePath(QStringLiteral("book.sqlite")); }
    QString dir() const { return m_dir.path(); }

    // Saves, closes and opens the file again (records held before are gone).
    Store &reopen()
    {
        if (m_store)
            m_store->save();
        m_store.reset();
        StoreOpenError error;
        m_store = Store::open(path(), &error);
        EXPECT_TRUE(m_store) << error.message().toStdString();
        return *m_store;
    }

    // Closes without saving what is unsaved (the store's own destructor would).
    void close() { m_store.reset(); }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Store> m_store;
};

} // namespace quillery::test
