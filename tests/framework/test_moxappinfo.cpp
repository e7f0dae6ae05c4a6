#include "TestDatabase.h"

#include "framework/moxAppInfo.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>

using platform::Registry;
using platform::RegistryRoot;

namespace {

const QString ZentrixKey = QStringLiteral("\\SOFTWARE\\Zentrix");

class AppInfoTest : public ::testing::Test
{
protected:
    AppInfoTest()
    {
        info.SetOnError([this](QObject *sender, const QString &message) {
            EXPECT_EQ(sender, &info);
            errors << message;
        });
    }

    testsupport::TempRegistry tempRegistry; // before the component: it reads the folder once
    TmoxAppInfo info;
    Registry reg;
    QStringList errors;
};

TEST_F(AppInfoTest, DefaultsAtCreation)
{
    TmoxAppInfo fresh;
    EXPECT_EQ(fresh.HKey(), LOCAL_MACHINE);
    EXPECT_EQ(fresh.Key(), ZentrixKey);
    EXPECT_EQ(fresh.AppName(), QStringLiteral("App Name Here"));
    EXPECT_FALSE(fresh.SilentShutdown());
    EXPECT_FALSE(fresh.OnError());
}

TEST_F(AppInfoTest, UnwrittenValuesGiveTheFailureValueAndCreateTheKey)
{
    ASSERT_FALSE(reg.KeyExists(RegistryRoot::LocalMachine, ZentrixKey));
    EXPECT_FALSE(info.ReadBool(QStringLiteral("ShowClock")));
    EXPECT_TRUE(reg.KeyExists(RegistryRoot::LocalMachine, ZentrixKey));
    EXPECT_EQ(info.ReadString(QStringLiteral("FontName")), QString());
    EXPECT_EQ(info.ReadInteger(QStringLiteral("Columns"), 6), 6);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'|').toStdString();
}

// Each stored value read through all three readers: a value of another type than the one
// asked for gives that reader's failure value, never a crash.
TEST_F(AppInfoTest, ReadersTakeTheirOwnTypeAndRefuseOthers)
{
    const RegistryRoot LM = RegistryRoot::LocalMachine;
    ASSERT_TRUE(reg.WriteInteger(LM, ZentrixKey, QStringLiteral("One"), 1));
    ASSERT_TRUE(reg.WriteInteger(LM, ZentrixKey, QStringLiteral("Zero"), 0));
    ASSERT_TRUE(reg.WriteInteger(LM, ZentrixKey, QStringLiteral("Seven"), 7));
    ASSERT_TRUE(reg.WriteString(LM, ZentrixKey, QStringLiteral("Word"), QStringLiteral("Chef")));
    ASSERT_TRUE(reg.WriteString(LM, ZentrixKey, QStringLiteral("TrueText"), QStringLiteral("1")));
    ASSERT_TRUE(reg.WriteString(LM, ZentrixKey, QStringLiteral("Padded"), QStringLiteral(" 17 ")));
    ASSERT_TRUE(reg.WriteString(LM, ZentrixKey, QStringLiteral("SystemColour"),
                                QStringLiteral("-2147483643")));
    ASSERT_TRUE(reg.WriteString(LM, ZentrixKey, QStringLiteral("UnsignedColour"),
                                QStringLiteral("2147483653")));
    ASSERT_TRUE(
        reg.WriteString(LM, ZentrixKey, QStringLiteral("Huge"), QStringLiteral("99999999999")));
    ASSERT_TRUE(reg.WriteString(LM, ZentrixKey, QStringLiteral("Empty"), QString()));

    const int Default = -5;
    const struct
    {
        const char *name;
        bool asBool;
        const char *asString;
        int asInteger;
    } cases[] = {
        {"One", true, "", 1},
        {"Zero", false, "", 0},
        {"Seven", true, "", 7},
        {"Word", false, "Chef", Default},
        {"TrueText", false, "1", 1},
        {"Padded", false, " 17 ", 17},
        {"SystemColour", false, "-2147483643", -2147483643},
        {"UnsignedColour", false, "2147483653", -2147483643},
        {"Huge", false, "99999999999", Default},
        {"Empty", false, "", Default},
        {"Missing", false, "", Default},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QString::fromLatin1(c.name);
        EXPECT_EQ(info.ReadBool(name), c.asBool);
        EXPECT_EQ(info.ReadString(name), QString::fromLatin1(c.asString));
        EXPECT_EQ(info.ReadInteger(name, Default), c.asInteger);
    }
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(AppInfoTest, WritesReadBackAndKeepTheStoredForms)
{
    const RegistryRoot LM = RegistryRoot::LocalMachine;
    EXPECT_TRUE(info.WriteBool(QStringLiteral("ShowClock"), true));
    EXPECT_TRUE(info.WriteString(QStringLiteral("FontName"), QStringLiteral("Arial Narrow")));
    EXPECT_TRUE(info.WriteInteger(QStringLiteral("Columns"), -12));

    EXPECT_TRUE(info.ReadBool(QStringLiteral("showclock")));
    EXPECT_EQ(info.ReadString(QStringLiteral("FONTNAME")), QStringLiteral("Arial Narrow"));
    EXPECT_EQ(info.ReadInteger(QStringLiteral("Columns"), 0), -12);
    // Booleans as 32-bit numbers, integers as decimal texts.
    EXPECT_EQ(reg.ReadInteger(LM, ZentrixKey, QStringLiteral("ShowClock")), 1);
    EXPECT_EQ(reg.ValueType(LM, ZentrixKey, QStringLiteral("Columns")),
              platform::RegistryValueType::String);
    EXPECT_EQ(reg.ReadString(LM, ZentrixKey, QStringLiteral("Columns")), QStringLiteral("-12"));

    EXPECT_TRUE(info.WriteBool(QStringLiteral("ShowClock"), false));
    EXPECT_FALSE(info.ReadBool(QStringLiteral("ShowClock")));
    EXPECT_EQ(reg.ReadInteger(LM, ZentrixKey, QStringLiteral("ShowClock")), 0);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(AppInfoTest, HKeySelectsTheRootAndUnknownValuesFallBackToLocalMachine)
{
    const struct
    {
        const char *what;
        TRegKeys set;
        TRegKeys expected;
        RegistryRoot root;
    } cases[] = {
        {"LOCAL_MACHINE", LOCAL_MACHINE, LOCAL_MACHINE, RegistryRoot::LocalMachine},
        {"CURRENT_USER", CURRENT_USER, CURRENT_USER, RegistryRoot::CurrentUser},
        {"CLASSES_ROOT", CLASSES_ROOT, CLASSES_ROOT, RegistryRoot::ClassesRoot},
        {"USERS", USERS, USERS, RegistryRoot::Users},
        {"PERFORMANCE_DATA", PERFORMANCE_DATA, PERFORMANCE_DATA, RegistryRoot::PerformanceData},
        {"CURRENT_CONFIG", CURRENT_CONFIG, CURRENT_CONFIG, RegistryRoot::CurrentConfig},
        {"DYN_DATA", DYN_DATA, DYN_DATA, RegistryRoot::DynData},
        {"one past the end", TRegKeys(7), LOCAL_MACHINE, RegistryRoot::LocalMachine},
        {"negative", TRegKeys(-1), LOCAL_MACHINE, RegistryRoot::LocalMachine},
        {"large", TRegKeys(INT_MAX), LOCAL_MACHINE, RegistryRoot::LocalMachine},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        info.SetHKey(CURRENT_USER); // start from another root than the expected one
        info.SetHKey(c.set);
        EXPECT_EQ(info.HKey(), c.expected);
        EXPECT_EQ(info.Root(), c.root);
    }

    info.SetHKey(CURRENT_USER);
    ASSERT_TRUE(info.WriteString(QStringLiteral("Where"), QStringLiteral("user")));
    EXPECT_EQ(reg.ReadString(RegistryRoot::CurrentUser, ZentrixKey, QStringLiteral("Where")),
              QStringLiteral("user"));
    EXPECT_FALSE(reg.ValueExists(RegistryRoot::LocalMachine, ZentrixKey, QStringLiteral("Where")));
    info.SetHKey(TRegKeys(42));
    EXPECT_EQ(info.ReadString(QStringLiteral("Where")), QString());
}

TEST(AppInfoFormat, FileVersions)
{
    const struct
    {
        quint32 ms, ls;
        const char *text;
    } cases[] = {
        {0x00020001, 0x00000025, "2.1.0.37"},
        {0, 0, "0.0.0.0"},
        {0xFFFF0000, 0x0000FFFF, "65535.0.0.65535"},
        {0x000A000B, 0x000C000D, "10.11.12.13"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TmoxAppInfo::FormatFileVersion(c.ms, c.ls), QString::fromLatin1(c.text))
            << c.text;
}

TEST(AppInfoFormat, DriveSerials)
{
    const struct
    {
        quint32 serial;
        const char *text;
    } cases[] = {
        {0x1A2B3C4D, "1A2B-3C4D"},
        {0x0A2B3C4D, "A2B3-C4D"}, // no leading zero: the halves shift
        {0xABCD, "ABCD-"},
        {0xF, "F-"},
        {0, "0-"},
        {0xFFFFFFFF, "FFFF-FFFF"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TmoxAppInfo::FormatDriveSerial(c.serial), QString::fromLatin1(c.text)) << c.text;
}

TEST_F(AppInfoTest, FileVersionOfThisProgramAndOfFilesWithout)
{
    EXPECT_EQ(info.GetFileVersion(QCoreApplication::applicationFilePath()),
              QStringLiteral(VELA_VERSION));
    QTemporaryDir dir;
    QFile plain(dir.filePath(QStringLiteral("plain.txt")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    EXPECT_EQ(info.GetFileVersion(plain.fileName()), QStringLiteral("0.0.0.0"));
    EXPECT_EQ(info.GetFileVersion(dir.filePath(QStringLiteral("missing.exe"))),
              QStringLiteral("0.0.0.0"));
}

TEST_F(AppInfoTest, DriveSerialOfCIsTheRootVolumeAndOtherDrivesAreUnreadable)
{
    EXPECT_EQ(info.GetDriveSerial(QStringLiteral("C")),
              TmoxAppInfo::FormatDriveSerial(platform::RootVolumeSerial()));
    EXPECT_EQ(info.GetDriveSerial(QStringLiteral("D")), QStringLiteral("0-"));
}

TEST_F(AppInfoTest, WriteAppInfoWritesTheFourFacts)
{
    const QDate before = QDate::currentDate();
    info.WriteAppInfo();
    const QDate after = QDate::currentDate();

    const RegistryRoot LM = RegistryRoot::LocalMachine;
    EXPECT_EQ(reg.ValueNames(LM, ZentrixKey),
              (QStringList {"AppVersion", "AppPath", "DriveSerial (C:)", "AppLastExecuted"}));
    EXPECT_EQ(reg.ReadString(LM, ZentrixKey, QStringLiteral("AppVersion")),
              QStringLiteral(VELA_VERSION));
    EXPECT_EQ(reg.ReadString(LM, ZentrixKey, QStringLiteral("AppPath")),
              QCoreApplication::applicationFilePath());
    EXPECT_EQ(reg.ReadString(LM, ZentrixKey, QStringLiteral("DriveSerial (C:)")),
              info.GetDriveSerial(QStringLiteral("C")));

    const QString executed
        = reg.ReadString(LM, ZentrixKey, QStringLiteral("AppLastExecuted")).value_or("");
    const QRegularExpressionMatch m
        = QRegularExpression(QStringLiteral("^(\\d{8}) at ([01]\\d|2[0-3]):[0-5]\\d$"))
              .match(executed);
    ASSERT_TRUE(m.hasMatch()) << executed.toStdString();
    const QString day = m.captured(1);
    EXPECT_TRUE(day == before.toString(QStringLiteral("yyyyMMdd"))
                || day == after.toString(QStringLiteral("yyyyMMdd")))
        << executed.toStdString();
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(AppInfoTest, AnUnusableStoreReportsEveryCallAndGivesFailureValues)
{
    QTemporaryDir dir;
    QFile plain(dir.filePath(QStringLiteral("plain-file")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    qputenv("VELA_REGISTRY_DIR",
            QFile::encodeName(dir.filePath(QStringLiteral("plain-file/registry"))));

    TmoxAppInfo broken;
    QStringList messages;
    broken.SetOnError([&](QObject *sender, const QString &message) {
        EXPECT_EQ(sender, &broken);
        messages << message;
    });
    const QString expected = QStringLiteral("Cannot open key \\SOFTWARE\\Zentrix for reading");

    EXPECT_EQ(broken.ReadString(QStringLiteral("FontName")),
              QStringLiteral("Cannot open key FontName"));
    EXPECT_FALSE(broken.ReadBool(QStringLiteral("ShowClock")));
    EXPECT_EQ(broken.ReadInteger(QStringLiteral("Columns"), 6), 6);
    EXPECT_FALSE(broken.WriteBool(QStringLiteral("ShowClock"), true));
    EXPECT_FALSE(broken.WriteString(QStringLiteral("FontName"), QStringLiteral("Arial")));
    EXPECT_FALSE(broken.WriteInteger(QStringLiteral("Columns"), 4));
    EXPECT_EQ(messages, QStringList(6, expected));

    messages.clear();
    broken.WriteAppInfo();
    EXPECT_EQ(messages, QStringList(4, expected));

    // Without a handler the failures stay quiet.
    broken.SetOnError({});
    EXPECT_FALSE(broken.ReadBool(QStringLiteral("ShowClock")));
    EXPECT_FALSE(broken.WriteString(QStringLiteral("FontName"), QStringLiteral("Arial")));
}

} // namespace
