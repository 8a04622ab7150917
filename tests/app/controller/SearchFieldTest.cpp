// SPDX-License-Identifier: MIT
#include "controller/SearchField.h"

#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

using Command = SearchField::Command;

struct FieldWithLog
{
    FieldWithLog()
    {
        field.setCommandHandler([this](Command command) {
            log.push_back(command);
            return handles;
        });
    }
    SearchField field;
    std::vector<Command> log;
    bool handles = true;
};

TEST(SearchField, KeysBecomeCommandsAndHandledOnesStopThere)
{
    FieldWithLog f;
    QTest::keyClicks(&f.field, QStringLiteral("ab"));
    QTest::keyClick(&f.field, Qt::Key_Return);
    QTest::keyClick(&f.field, Qt::Key_Enter);
    QTest::keyClick(&f.field, Qt::Key_Tab);
    QTest::keyClick(&f.field, Qt::Key_Escape);
    QTest::keyClick(&f.field, Qt::Key_Up);
    QTest::keyClick(&f.field, Qt::Key_Down);
    const std::vector<Command> expected = {Command::InsertNewline, Command::InsertNewline,
                                           Command::InsertTab,     Command::CancelOperation,
                                           Command::MoveUp,        Command::MoveDown};
    EXPECT_EQ(f.log, expected);
    EXPECT_EQ(f.field.text(), QStringLiteral("ab"));
    EXPECT_EQ(f.field.cursorPosition(), 2) << "a handled arrow must not move the cursor";
}

TEST(SearchField, UnhandledCommandsAndModifiedKeysStayWithTheField)
{
    FieldWithLog f;
    f.handles = false;
    QTest::keyClicks(&f.field, QStringLiteral("abc"));
    QTest::keyClick(&f.field, Qt::Key_Up);
    EXPECT_EQ(f.log, std::vector<Command>{Command::MoveUp});

    f.handles = true;
    f.log.clear();
    QTest::keyClick(&f.field, Qt::Key_Home);
    QTest::keyClick(&f.field, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&f.field, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(&f.field, Qt::Key_Backtab, Qt::ShiftModifier);
    QTest::keyClick(&f.field, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_TRUE(f.log.empty());
    EXPECT_EQ(f.field.selectedText(), QStringLiteral("abc"));
    EXPECT_EQ(f.field.text(), QStringLiteral("abc"));
}

} // namespace
