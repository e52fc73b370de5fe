// What the user is told about a book that cannot be opened.
#include "core/model/StoreOpenError.h"

#include <gtest/gtest.h>

using namespace quillery;
using Reason = StoreOpenError::Reason;

TEST(StoreFailure, theMessageSaysWhatHappened)
{
    StoreOpenError error { Reason::NewerSchema, QStringLiteral("/home/u/book.sqlite"),
        QStringLiteral("version 2.0.0") };
    const QString message = error.message();
    EXPECT_TRUE(message.contains(QStringLiteral("/home/u/book.sqlite")));
    EXPECT_TRUE(message.contains(QStringLiteral("newer version")));
    EXPECT_TRUE(message.contains(QStringLiteral("unchanged")));
}
