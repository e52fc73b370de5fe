// The add line's text and level rules. Return on an empty or blank line (back
// to the top level, then leaving the field) is tried through the real field:
// tests/ui/pages/AddTaskLineTest.
#include "core/pages/AddLine.h"

#include <gtest/gtest.h>

using namespace quillery;

TEST(AddLine, leadingSpaceMakesASubtaskLineAndIsDropped)
{
    AddLine line;
    // Typing " buy milk" one key at a time, as the field reports it.
    QString field;
    for (QChar key : QStringLiteral(" buy milk")) {
        field += key;
        if (line.edit(field))
            field = line.draft();
    }
    EXPECT_EQ(line.draft(), QStringLiteral("buy milk"));
    EXPECT_EQ(line.indent(), 1);

    const auto added = line.submit();
    EXPECT_EQ(added.action, AddLine::Submission::Add);
    EXPECT_EQ(added.text, QStringLiteral("buy milk"));
    EXPECT_EQ(added.indent, 1);
    EXPECT_TRUE(line.draft().isEmpty());
    EXPECT_EQ(line.indent(), 1) << "the next line is a subtask line too";

    // Pasting several leading spaces drops all of them; inner spaces stay.
    EXPECT_TRUE(line.edit(QStringLiteral("   call  the bank ")));
    EXPECT_EQ(line.draft(), QStringLiteral("call  the bank "));
    // Without a leading space the text is taken as typed, and trimmed when added.
    EXPECT_FALSE(line.edit(QStringLiteral("call  the bank\t\n")));
    EXPECT_EQ(line.submit().text, QStringLiteral("call  the bank"));
}
