// SPDX-License-Identifier: MIT
#include "app/controller/SearchField.h"

#include <QClipboard>
#include <QGuiApplication>
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
    QTest::keyClick(&f.field, Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(&f.field, Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(&f.field, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(&f.field, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&f.field, Qt::Key_Menu);
    QTest::keyClick(&f.field, Qt::Key_F10, Qt::ShiftModifier);
    QTest::keyClick(&f.field, Qt::Key_F10);
    const std::vector<Command> expected = {
        Command::InsertNewline,   Command::InsertNewline,   Command::InsertTab,
        Command::CancelOperation, Command::MoveUp,          Command::MoveDown,
        Command::NextCardRow,     Command::PreviousCardRow, Command::OpenCardRow,
        Command::CopyCardRow,     Command::CardRowMenu,     Command::CardRowMenu,
        Command::ShowMenu};
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
    // Ctrl+C is offered to the card first and, left alone, copies the field's selection.
    f.field.selectAll();
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(&f.field, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(f.log, (std::vector<Command>{Command::MoveUp, Command::CopyCardRow}));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("abc"));

    f.handles = true;
    f.log.clear();
    QTest::keyClick(&f.field, Qt::Key_Home);
    QTest::keyClick(&f.field, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&f.field, Qt::Key_Return, Qt::AltModifier);
    QTest::keyClick(&f.field, Qt::Key_Backtab, Qt::ShiftModifier);
    QTest::keyClick(&f.field, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_TRUE(f.log.empty());
    EXPECT_EQ(f.field.selectedText(), QStringLiteral("abc"));
    EXPECT_EQ(f.field.text(), QStringLiteral("abc"));
}

} // namespace
