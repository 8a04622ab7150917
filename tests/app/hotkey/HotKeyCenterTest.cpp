// SPDX-License-Identifier: MIT
#include "app/hotkey/HotKeyCenter.h"
#include "platform/hotkey/AssertionHandler.h"
#include "tests/doubles/RecordingHotKeyBackend.h"

#include <QObject>

#include <gtest/gtest.h>

namespace {

using Call = RecordingHotKeyBackend::Call;

constexpr int Space = 49;
constexpr int F5 = 96;
const KeyCombo ControlOptionSpace(Space, KeyCombo::controlKey | KeyCombo::optionKey);
const KeyCombo CommandShiftA(0, KeyCombo::cmdKey | KeyCombo::shiftKey);

class Target final : public QObject
{
    Q_OBJECT
public:
    QList<QObject *> senders;
    Q_INVOKABLE void showSearchWindow(QObject *sender) { senders.append(sender); }
};

class HotKeyCenterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto backend = std::make_unique<RecordingHotKeyBackend>();
        recorder = backend.get();
        center = std::make_unique<HotKeyCenter>(std::move(backend));
        previousReporter = AssertionHandler::setReporter(
            [this](const QString &source, const QString &description) {
                reports.append(source + QLatin1String(": ") + description);
            });
    }
    void TearDown() override { AssertionHandler::setReporter(previousReporter); }

    HotKeyCenter::Action counting()
    {
        return [this](HotKeyCenter *sender) {
            ++presses;
            lastSender = sender;
        };
    }

    RecordingHotKeyBackend *recorder = nullptr;
    std::unique_ptr<HotKeyCenter> center;
    Target target;
    int presses = 0;
    HotKeyCenter *lastSender = nullptr;
    QStringList reports;
    AssertionHandler::Reporter previousReporter;
};

TEST_F(HotKeyCenterTest, ClearedCombinationIsStoredButNotRegistered)
{
    EXPECT_TRUE(center->addHotKey(QStringLiteral("HotKey"), KeyCombo(), &target, counting()));
    EXPECT_TRUE(recorder->calls.isEmpty());
    EXPECT_EQ(center->allNames(), QStringList{QStringLiteral("HotKey")});
    ASSERT_TRUE(center->keyComboForName(QStringLiteral("HotKey")).has_value());
    EXPECT_EQ(*center->keyComboForName(QStringLiteral("HotKey")), KeyCombo::clearKeyCombo());
    // A letter without modifiers is just as invalid, and switching on does not change that.
    EXPECT_TRUE(center->addHotKey(QStringLiteral("Other"), KeyCombo(0, 0), &target, counting()));
    center->setEnabled(true);
    EXPECT_TRUE(recorder->calls.isEmpty());
}

TEST_F(HotKeyCenterTest, RegistersKeyCodeModifiersAndIdentity)
{
    ASSERT_TRUE(
        center->addHotKey(QStringLiteral("HotKey"), ControlOptionSpace, &target, counting()));
    ASSERT_TRUE(center->addHotKey(QStringLiteral("F5"), KeyCombo(F5, 0), &target, counting()));
    ASSERT_EQ(recorder->registrations().size(), 2);
    const auto &first = recorder->registrations()[0];
    EXPECT_EQ(first.keyCode, Space);
    EXPECT_EQ(first.modifiers, 0x1800);
    EXPECT_EQ(first.identity.signature, 0x484B7943u);
    EXPECT_NE(first.identity.id, 0u);
    EXPECT_NE(first.identity.id, recorder->registrations()[1].identity.id);
}

TEST_F(HotKeyCenterTest, NegativeModifiersAreSignExtended)
{
    // F1 with "every flag" (-1) is valid and must reach the desktop as -1, not 0xFFFF.
    ASSERT_TRUE(center->addHotKey(QStringLiteral("F1"), KeyCombo(122, -1), &target, counting()));
    ASSERT_EQ(recorder->registrations().size(), 1);
    EXPECT_EQ(recorder->registrations()[0].modifiers, -1);
}

TEST_F(HotKeyCenterTest, ReplacementUnregistersBeforeRegistering)
{
    ASSERT_TRUE(
        center->addHotKey(QStringLiteral("HotKey"), ControlOptionSpace, &target, counting()));
    // Re-adding the same combination must work even where the desktop refuses a second grab
    // of a combination that is still held.
    recorder->refuse = [this](int keyCode, int modifiers) {
        return recorder->registrationCount(keyCode, modifiers) > 0;
    };
    ASSERT_TRUE(
        center->addHotKey(QStringLiteral("HotKey"), ControlOptionSpace, &target, counting()));
    ASSERT_TRUE(center->addHotKey(QStringLiteral("HotKey"), CommandShiftA, &target, counting()));

    ASSERT_EQ(recorder->calls.size(), 5);
    EXPECT_EQ(recorder->calls[1].operation, Call::Unregister);
    EXPECT_EQ(recorder->calls[1].ref, recorder->calls[0].ref);
    EXPECT_EQ(recorder->calls[2].operation, Call::Register);
    EXPECT_EQ(recorder->calls[3].operation, Call::Unregister);
    EXPECT_EQ(recorder->calls[4].operation, Call::Register);
    EXPECT_EQ(recorder->calls[4].keyCode, 0);
    EXPECT_EQ(center->allNames(), QStringList{QStringLiteral("HotKey")});
    ASSERT_EQ(recorder->registrations().size(), 1);
    EXPECT_EQ(*center->keyComboForName(QStringLiteral("HotKey")), CommandShiftA);

    // The old combination no longer fires; the new one does.
    EXPECT_FALSE(recorder->press(Space, 0x1800));
    EXPECT_TRUE(recorder->press(0, 0x0300));
    EXPECT_EQ(presses, 1);
}

TEST_F(HotKeyCenterTest, SwitchingOffAndOnRegistersEachHotKeyOnce)
{
    center->setEnabled(false);
    EXPECT_TRUE(
        center->addHotKey(QStringLiteral("HotKey"), ControlOptionSpace, &target, counting()));
    EXPECT_TRUE(recorder->registrations().isEmpty());

    center->setEnabled(true);
    EXPECT_EQ(recorder->registrationCount(Space, 0x1800), 1);
    center->setEnabled(true);
    EXPECT_EQ(recorder->registrationCount(Space, 0x1800), 1);

    center->setEnabled(false);
    center->setEnabled(false);
    EXPECT_TRUE(recorder->registrations().isEmpty());
    center->setEnabled(true);
    EXPECT_EQ(recorder->registrationCount(Space, 0x1800), 1);
    EXPECT_EQ(recorder->calls.size(), 3);
}

TEST_F(HotKeyCenterTest, RefusedRegistrationFailsAndIsRetriedOnSwitchOn)
{
    QList<std::pair<QString, HotKeyFailure::Cause>> failures;
    QObject::connect(center.get(), &HotKeyCenter::registrationFailed, center.get(),
                     [&](const QString &name, const KeyCombo &combo, const HotKeyFailure &failure) {
                         EXPECT_EQ(combo, ControlOptionSpace);
                         failures.append({name, failure.cause});
                     });
    recorder->refuse = [](int, int) { return true; };
    EXPECT_FALSE(
        center->addHotKey(QStringLiteral("HotKey"), ControlOptionSpace, &target, counting()));
    EXPECT_EQ(center->allNames(), QStringList{QStringLiteral("HotKey")});
    EXPECT_TRUE(recorder->registrations().isEmpty());
    ASSERT_EQ(failures.size(), 1);
    EXPECT_EQ(failures[0], std::pair(QStringLiteral("HotKey"), HotKeyFailure::Cause::Taken));
    EXPECT_EQ(center->failureForName(QStringLiteral("HotKey"))->cause, HotKeyFailure::Cause::Taken);

    recorder->refuse = nullptr;
    center->setEnabled(true);
    EXPECT_EQ(recorder->registrationCount(Space, 0x1800), 1);
    EXPECT_FALSE(center->failureForName(QStringLiteral("HotKey")).has_value());
    EXPECT_TRUE(recorder->press(Space, 0x1800));
    EXPECT_EQ(presses, 1);

    // A desktop that answers late fails a registration it had taken: the hot key is no longer
    // registered, and the next switch-on asks again.
    recorder->failLater(recorder->registrations().at(0).ref,
                        {HotKeyFailure::Cause::Refused, QStringLiteral("declined")});
    ASSERT_EQ(failures.size(), 2);
    EXPECT_EQ(failures[1].second, HotKeyFailure::Cause::Refused);
    EXPECT_EQ(center->failureForName(QStringLiteral("HotKey"))->detail, QStringLiteral("declined"));
    center->setEnabled(true);
    EXPECT_EQ(recorder->registrationCount(Space, 0x1800), 1);
    EXPECT_EQ(recorder->calls.last().operation, Call::Register);
}

TEST_F(HotKeyCenterTest, PressCallsActionOnceWithTheCenterAndReleaseCallsNothing)
{
    ASSERT_TRUE(center->addHotKey(QStringLiteral("HotKey"), ControlOptionSpace, &target,
                                  "showSearchWindow"));
    ASSERT_TRUE(recorder->release(Space, 0x1800));
    EXPECT_TRUE(target.senders.isEmpty());
    ASSERT_TRUE(recorder->press(Space, 0x1800));
    ASSERT_EQ(target.senders.size(), 1);
    EXPECT_EQ(target.senders[0], center.get());
    ASSERT_TRUE(recorder->press(Space, 0x1800));
    EXPECT_EQ(target.senders.size(), 2);
}

TEST_F(HotKeyCenterTest, RemovingUnregistersAndUnknownNamesChangeNothing)
{
    ASSERT_TRUE(
        center->addHotKey(QStringLiteral("HotKey"), ControlOptionSpace, &target, counting()));
    center->removeHotKey(QStringLiteral("Unknown"));
    EXPECT_EQ(recorder->calls.size(), 1);
    EXPECT_EQ(center->allNames().size(), 1);

    center->removeHotKey(QStringLiteral("HotKey"));
    EXPECT_TRUE(center->allNames().isEmpty());
    EXPECT_TRUE(recorder->registrations().isEmpty());
    EXPECT_FALSE(center->keyComboForName(QStringLiteral("HotKey")).has_value());
}

TEST_F(HotKeyCenterTest, ActionMayReplaceItsOwnHotKey)
{
    // The controller re-registers its hot key from inside actions; the press in progress must
    // not touch the record it just replaced.
    ASSERT_TRUE(center->addHotKey(
        QStringLiteral("HotKey"), ControlOptionSpace, &target, [this](HotKeyCenter *sender) {
            ++presses;
            sender->addHotKey(QStringLiteral("HotKey"), CommandShiftA, &target, counting());
        }));
    ASSERT_TRUE(recorder->press(Space, 0x1800));
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(*center->keyComboForName(QStringLiteral("HotKey")), CommandShiftA);
}

TEST_F(HotKeyCenterTest, DestroyedTargetIsNotCalled)
{
    auto transient = std::make_unique<Target>();
    ASSERT_TRUE(center->addHotKey(QStringLiteral("HotKey"), ControlOptionSpace, transient.get(),
                                  "showSearchWindow"));
    transient.reset();
    EXPECT_TRUE(recorder->press(Space, 0x1800));
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(HotKeyCenterTest, MissingArgumentsAreReportedAndStoreNothing)
{
    EXPECT_FALSE(center->addHotKey(QString(), ControlOptionSpace, &target, counting()));
    EXPECT_FALSE(center->addHotKey(QStringLiteral("A"), std::nullopt, &target, counting()));
    EXPECT_FALSE(center->addHotKey(QStringLiteral("A"), ControlOptionSpace, nullptr, counting()));
    EXPECT_FALSE(center->addHotKey(QStringLiteral("A"), ControlOptionSpace, &target,
                                   HotKeyCenter::Action()));
    EXPECT_FALSE(center->addHotKey(QStringLiteral("A"), ControlOptionSpace, &target,
                                   static_cast<const char *>(nullptr)));
    EXPECT_FALSE(
        center->addHotKey(QStringLiteral("A"), ControlOptionSpace, &target, "noSuchMethod"));
    EXPECT_EQ(reports,
              (QStringList{
                  QStringLiteral("HotKeyCenter: Invalid parameter not satisfying: name != nil"),
                  QStringLiteral("HotKeyCenter: Invalid parameter not satisfying: combo != nil"),
                  QStringLiteral("HotKeyCenter: Invalid parameter not satisfying: target != nil"),
                  QStringLiteral("HotKeyCenter: Invalid parameter not satisfying: action != nil"),
                  QStringLiteral("HotKeyCenter: Invalid parameter not satisfying: action != nil"),
                  QStringLiteral("HotKeyCenter: Invalid parameter not satisfying: "
                                 "[target respondsToSelector:action]")}));
    EXPECT_TRUE(center->allNames().isEmpty());
    EXPECT_TRUE(recorder->calls.isEmpty());
}

class HotKeyEventTest : public HotKeyCenterTest
{
protected:
    void SetUp() override
    {
        HotKeyCenterTest::SetUp();
        ASSERT_TRUE(
            center->addHotKey(QStringLiteral("HotKey"), ControlOptionSpace, &target, counting()));
        identity = recorder->registrations().at(0).identity;
    }
    HotKeyIdentity identity;
};

TEST_F(HotKeyEventTest, InconsistentEventsAreReportedAndDispatchNothing)
{
    const struct
    {
        HotKeyEvent event;
        QString report;
    } cases[] = {
        {{0x6D6F7573 /* 'mous' */, HotKeyEvent::KindPressed, identity},
         QStringLiteral("HotKeyCenter: Got unhandled event class")},
        {{HotKeyEvent::ClassKeyboard, HotKeyEvent::KindPressed, HotKeyIdentity{0x41424344, 1}},
         QStringLiteral("HotKeyCenter: Got unknown hot key")},
        {{HotKeyEvent::ClassKeyboard, HotKeyEvent::KindPressed,
          HotKeyIdentity{HotKeyCenter::Signature, 0}},
         QStringLiteral("HotKeyCenter: Got bad hot key")},
    };
    for (const auto &c : cases) {
        reports.clear();
        EXPECT_NE(center->handleHotKeyEvent(c.event), HotKeyStatus::NoError);
        EXPECT_EQ(reports, QStringList{c.report});
    }
    EXPECT_EQ(presses, 0);
}

TEST_F(HotKeyEventTest, EventsWithoutIdentityOrRecordAreIgnored)
{
    EXPECT_EQ(center->handleHotKeyEvent(
                  {HotKeyEvent::ClassKeyboard, HotKeyEvent::KindPressed, std::nullopt}),
              HotKeyStatus::EventParameterNotFound);
    EXPECT_EQ(center->handleHotKeyEvent({HotKeyEvent::ClassKeyboard, HotKeyEvent::KindPressed,
                                         HotKeyIdentity{HotKeyCenter::Signature, 9999}}),
              HotKeyStatus::NoError);
    EXPECT_EQ(center->handleHotKeyEvent({HotKeyEvent::ClassKeyboard, 7, identity}),
              HotKeyStatus::NoError);
    EXPECT_EQ(presses, 0);
    EXPECT_TRUE(reports.isEmpty());
    // A record removed since the desktop queued its event is gone for good.
    center->removeHotKey(QStringLiteral("HotKey"));
    EXPECT_EQ(
        center->handleHotKeyEvent({HotKeyEvent::ClassKeyboard, HotKeyEvent::KindPressed, identity}),
        HotKeyStatus::NoError);
    EXPECT_EQ(presses, 0);
}

TEST_F(HotKeyEventTest, ApplicationEventsAreIgnoredWhereHotKeyEventsExist)
{
    center->sendEvent({HotKeyApplicationEvent::TypeSystemDefined,
                       HotKeyApplicationEvent::SubtypeHotKeyPressed,
                       recorder->registrations().at(0).ref});
    EXPECT_EQ(presses, 0);
}

TEST_F(HotKeyEventTest, WithoutHotKeyEventsPressesArriveAsApplicationEvents)
{
    recorder->deliversEvents = false;
    const HotKeyRef ref = recorder->registrations().at(0).ref;
    ASSERT_TRUE(recorder->release(Space, 0x1800));
    EXPECT_EQ(presses, 0);
    ASSERT_TRUE(recorder->press(Space, 0x1800));
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(lastSender, center.get());
    center->sendEvent({HotKeyApplicationEvent::TypeSystemDefined,
                       HotKeyApplicationEvent::SubtypeHotKeyPressed, 0});
    center->sendEvent({3, HotKeyApplicationEvent::SubtypeHotKeyPressed, ref});
    center->sendEvent({HotKeyApplicationEvent::TypeSystemDefined,
                       HotKeyApplicationEvent::SubtypeHotKeyPressed, ref + 1});
    EXPECT_EQ(presses, 1);
    // The desktop's own events cannot arrive here; one that does is a programming error.
    EXPECT_NE(
        center->handleHotKeyEvent({HotKeyEvent::ClassKeyboard, HotKeyEvent::KindPressed, identity}),
        HotKeyStatus::NoError);
    EXPECT_EQ(reports, QStringList{QStringLiteral("HotKeyCenter: ")});
    EXPECT_EQ(presses, 1);
}

} // namespace

#include "HotKeyCenterTest.moc"
