#include "platform/Registry.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <limits>

using platform::Registry;
using platform::RegistryRoot;
using platform::RegistryValueType;

namespace {

const RegistryRoot LM = RegistryRoot::LocalMachine;
const QString VelaKey = QStringLiteral("\\Software\\Zentrix\\Vela");

class RegistryTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    Registry reg{dir.path()};
};

TEST_F(RegistryTest, KeysAndValueNamesIgnoreCaseAndKeepFirstSpelling)
{
    ASSERT_TRUE(reg.WriteString(LM, VelaKey, QStringLiteral("Msde-ConnectionString"),
                                QStringLiteral("first")));

    const QString spellings[] = {
        QStringLiteral("\\Software\\Zentrix\\Vela"),
        QStringLiteral("Software\\Zentrix\\Vela"),
        QStringLiteral("\\SOFTWARE\\zentrix\\VELA\\"),
        QStringLiteral("software\\\\zentrix\\vela"),
    };
    for (const QString &key : spellings) {
        SCOPED_TRACE(key.toStdString());
        EXPECT_TRUE(reg.KeyExists(LM, key));
        EXPECT_EQ(reg.ReadString(LM, key, QStringLiteral("MSDE-connectionstring")),
                  QStringLiteral("first"));
    }

    // Writing under other spellings replaces the value and reuses the stored names.
    ASSERT_TRUE(reg.WriteString(LM, QStringLiteral("SOFTWARE\\ZENTRIX\\VELA"),
                                QStringLiteral("msde-connectionstring"), QStringLiteral("second")));
    ASSERT_TRUE(reg.OpenKey(LM, QStringLiteral("SOFTWARE\\ZENTRIX\\Galley"), true));
    EXPECT_EQ(reg.ValueNames(LM, VelaKey), QStringList{QStringLiteral("Msde-ConnectionString")});
    EXPECT_EQ(reg.ReadString(LM, VelaKey, QStringLiteral("Msde-ConnectionString")),
              QStringLiteral("second"));
    EXPECT_EQ(reg.SubKeys(LM, QString()), QStringList{QStringLiteral("Software")});
    EXPECT_EQ(reg.SubKeys(LM, QStringLiteral("software\\zentrix")),
              (QStringList{QStringLiteral("Galley"), QStringLiteral("Vela")}));
    EXPECT_EQ(reg.DisplayName(LM, QStringLiteral("SOFTWARE\\ZENTRIX\\VELA")),
              QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Zentrix\\Vela"));

    // Beyond ASCII too.
    ASSERT_TRUE(reg.WriteString(LM, QStringLiteral("Café"), QStringLiteral("Größe"),
                                QStringLiteral("x")));
    EXPECT_EQ(reg.ReadString(LM, QStringLiteral("CAFÉ"), QStringLiteral("GRÖSSE")), std::nullopt)
        << "ß and SS are different names, as on Windows";
    EXPECT_EQ(reg.ReadString(LM, QStringLiteral("CAFÉ"), QStringLiteral("GRÖßE")),
              QStringLiteral("x"));
}

TEST_F(RegistryTest, TypedReadsNeverConvertAStringToANumber)
{
    struct Case
    {
        const char *what;
        std::function<bool(Registry &)> write;
        RegistryValueType type;
        QString asString;
        std::optional<qint32> asInteger;
        std::optional<bool> asBool;
    };
    const QString name = QStringLiteral("Value");
    const Case cases[] = {
        {"digits stored as a string",
         [&](Registry &r) { return r.WriteString(LM, VelaKey, name, QStringLiteral("5")); },
         RegistryValueType::String, QStringLiteral("5"), std::nullopt, std::nullopt},
        {"Boolean true", [&](Registry &r) { return r.WriteBool(LM, VelaKey, name, true); },
         RegistryValueType::Integer, QStringLiteral("1"), 1, true},
        {"Boolean false", [&](Registry &r) { return r.WriteBool(LM, VelaKey, name, false); },
         RegistryValueType::Integer, QStringLiteral("0"), 0, false},
        {"negative integer", [&](Registry &r) { return r.WriteInteger(LM, VelaKey, name, -7); },
         RegistryValueType::Integer, QStringLiteral("-7"), -7, true},
        {"smallest integer",
         [&](Registry &r) {
             return r.WriteInteger(LM, VelaKey, name, std::numeric_limits<qint32>::min());
         },
         RegistryValueType::Integer, QStringLiteral("-2147483648"),
         std::numeric_limits<qint32>::min(), true},
        {"largest integer",
         [&](Registry &r) {
             return r.WriteInteger(LM, VelaKey, name, std::numeric_limits<qint32>::max());
         },
         RegistryValueType::Integer, QStringLiteral("2147483647"),
         std::numeric_limits<qint32>::max(), true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        // Each case overwrites the previous one's value, of whatever type it was.
        ASSERT_TRUE(c.write(reg));
        Registry fresh(dir.path()); // read back from the file, not from this object's cache
        for (Registry *r : {&reg, &fresh}) {
            EXPECT_EQ(r->ValueType(LM, VelaKey, name), c.type);
            EXPECT_EQ(r->ReadString(LM, VelaKey, name), c.asString);
            EXPECT_EQ(r->ReadInteger(LM, VelaKey, name), c.asInteger);
            EXPECT_EQ(r->ReadBool(LM, VelaKey, name), c.asBool);
        }
    }
    EXPECT_FALSE(reg.ReadInteger(LM, VelaKey, name + QStringLiteral("x")).has_value());

    ASSERT_TRUE(reg.WriteString(LM, VelaKey, name, QStringLiteral("1")));
    EXPECT_FALSE(reg.ReadBool(LM, VelaKey, name).has_value());
    EXPECT_TRUE(reg.LastError().contains(QLatin1String("not an integer")))
        << reg.LastError().toStdString();
}

TEST_F(RegistryTest, MissingValuesAndKeys)
{
    EXPECT_FALSE(reg.KeyExists(LM, VelaKey));
    EXPECT_FALSE(reg.OpenKey(LM, VelaKey, false));
    EXPECT_FALSE(reg.KeyExists(LM, VelaKey)) << "opening without create must not create";
    EXPECT_FALSE(reg.ReadString(LM, VelaKey, QStringLiteral("Msde-Failed")).has_value());
    EXPECT_FALSE(reg.ReadBool(LM, VelaKey, QStringLiteral("Msde-Failed")).has_value());
    EXPECT_TRUE(reg.ValueNames(LM, VelaKey).isEmpty());
    EXPECT_TRUE(reg.SubKeys(LM, VelaKey).isEmpty());

    ASSERT_TRUE(reg.OpenKey(LM, VelaKey, true));
    EXPECT_TRUE(reg.KeyExists(LM, VelaKey));
    EXPECT_TRUE(reg.KeyExists(LM, QStringLiteral("\\Software\\Zentrix"))) << "parents created";
    EXPECT_TRUE(Registry(dir.path()).KeyExists(LM, VelaKey)) << "an empty key is stored";
    EXPECT_FALSE(reg.ValueExists(LM, VelaKey, QStringLiteral("Msde-Failed")));
    EXPECT_FALSE(reg.ReadString(LM, VelaKey, QStringLiteral("Msde-Failed")).has_value());
    EXPECT_FALSE(reg.DeleteValue(LM, VelaKey, QStringLiteral("Msde-Failed")));
    EXPECT_FALSE(reg.DeleteKey(LM, QStringLiteral("\\Software\\Nothing")));
    EXPECT_FALSE(reg.DeleteKey(LM, QString())) << "a root cannot be deleted";
}

TEST_F(RegistryTest, OddTextsRoundTripAsValuesNamesAndKeys)
{
    const struct
    {
        const char *what;
        QString text;
    } cases[] = {
        {"empty", QString()},
        {"connection string",
         QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=True;Data Source=SRV\\SQL;"
                        "Extended Properties=\"Driver={x};SourceDB=C:\\data\\;\"")},
        {"quotes and escapes", QStringLiteral("say \"hi\" \\\" \\n \\\\")},
        {"trailing backslash", QStringLiteral("C:\\Vela\\")},
        {"semicolons, equals, hash", QStringLiteral("; a=b # c ; [d]")},
        {"looks like a section", QStringLiteral("[HKEY_LOCAL_MACHINE\\Other]")},
        {"looks like a number", QStringLiteral("dword:00000001")},
        {"at sign first", QStringLiteral("@=x")},
        {"non-ASCII", QStringLiteral("Küche – 厨房 – 🍲")},
        {"line breaks", QStringLiteral("one\ntwo\r\nthree\r")},
        {"tab and NUL", QStringLiteral("a\tb") + QChar(0) + QStringLiteral("c")},
        {"surrounding spaces", QStringLiteral("  padded  ")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QString name = QStringLiteral("name ") + c.text;
        ASSERT_TRUE(reg.WriteString(LM, VelaKey, c.text, c.text));
        ASSERT_TRUE(reg.WriteString(LM, VelaKey, name, c.text));
        Registry fresh(dir.path());
        EXPECT_EQ(fresh.ReadString(LM, VelaKey, c.text), c.text);
        EXPECT_EQ(fresh.ReadString(LM, VelaKey, name), c.text);
        EXPECT_TRUE(fresh.ValueNames(LM, VelaKey).contains(name));
        EXPECT_EQ(fresh.ValueType(LM, VelaKey, c.text), RegistryValueType::String);
    }

    // Key names hold anything but backslashes and control characters.
    const QString keyName = QStringLiteral("a]b \"c\" =d; Küche");
    ASSERT_TRUE(reg.WriteInteger(LM, VelaKey + QLatin1Char('\\') + keyName, QString(), 3));
    Registry fresh(dir.path());
    EXPECT_EQ(fresh.SubKeys(LM, VelaKey), QStringList{keyName});
    EXPECT_EQ(fresh.ReadInteger(LM, VelaKey + QLatin1Char('\\') + keyName, QString()), 3);
    EXPECT_FALSE(reg.OpenKey(LM, QStringLiteral("Software\\two\nlines"), true));
    EXPECT_FALSE(reg.WriteString(LM, QStringLiteral("Software\\two\nlines"), QStringLiteral("x"),
                                 QStringLiteral("y")));
    EXPECT_FALSE(reg.KeyExists(LM, QStringLiteral("Software\\two")));
}

TEST_F(RegistryTest, DeletingAKeyTakesItsSubkeysButNotItsNeighbours)
{
    const QString keys[] = {
        QStringLiteral("Software\\Zentrix"),
        QStringLiteral("Software\\Zentrix\\Vela"),
        QStringLiteral("Software\\Zentrix\\Vela\\Deep\\Deeper"),
        QStringLiteral("Software\\Zentrix A"), // sorts between "Zentrix" and "Zentrix\..."
        QStringLiteral("Software\\Zentrix!"),
        QStringLiteral("Software\\ZentrixB"),
    };
    for (const QString &key : keys)
        ASSERT_TRUE(reg.WriteBool(LM, key, QStringLiteral("Here"), true));
    ASSERT_TRUE(reg.WriteBool(LM, QStringLiteral("Software\\Zentrix"), QStringLiteral("Also"), true));
    EXPECT_EQ(reg.ValueNames(LM, QStringLiteral("Software\\Zentrix")),
              (QStringList{QStringLiteral("Here"), QStringLiteral("Also")}));

    ASSERT_TRUE(reg.DeleteValue(LM, QStringLiteral("software\\zentrix"), QStringLiteral("HERE")));
    EXPECT_EQ(reg.ValueNames(LM, QStringLiteral("Software\\Zentrix")),
              QStringList{QStringLiteral("Also")});

    ASSERT_TRUE(reg.DeleteKey(LM, QStringLiteral("SOFTWARE\\ZENTRIX")));
    Registry fresh(dir.path());
    EXPECT_FALSE(fresh.KeyExists(LM, QStringLiteral("Software\\Zentrix")));
    EXPECT_FALSE(fresh.KeyExists(LM, QStringLiteral("Software\\Zentrix\\Vela")));
    EXPECT_FALSE(fresh.KeyExists(LM, QStringLiteral("Software\\Zentrix\\Vela\\Deep")));
    EXPECT_FALSE(fresh.KeyExists(LM, QStringLiteral("Software\\Zentrix\\Vela\\Deep\\Deeper")));
    EXPECT_EQ(fresh.SubKeys(LM, QStringLiteral("Software")),
              (QStringList{QStringLiteral("Zentrix A"), QStringLiteral("Zentrix!"),
                           QStringLiteral("ZentrixB")}));
}

TEST_F(RegistryTest, RootsAreSeparate)
{
    const QString name = QStringLiteral("Msde-ConnectionString");
    ASSERT_TRUE(reg.WriteString(LM, VelaKey, name, QStringLiteral("machine")));
    ASSERT_TRUE(reg.WriteString(RegistryRoot::CurrentUser, VelaKey, name, QStringLiteral("user")));
    EXPECT_FALSE(reg.KeyExists(RegistryRoot::Users, VelaKey));

    ASSERT_TRUE(reg.DeleteKey(RegistryRoot::CurrentUser, QStringLiteral("Software")));
    Registry fresh(dir.path());
    EXPECT_EQ(fresh.ReadString(LM, VelaKey, name), QStringLiteral("machine"));
    EXPECT_FALSE(fresh.KeyExists(RegistryRoot::CurrentUser, VelaKey));
    EXPECT_NE(reg.FilePath(LM), reg.FilePath(RegistryRoot::CurrentUser));
}

// Two objects on one folder stand for two processes (the monitor and vela-reg): neither
// keeps a stale value, and neither write loses the other's.
TEST_F(RegistryTest, TwoStoresOnOneFolderSeeEachOthersWrites)
{
    Registry other(dir.path());
    const QString failed = QStringLiteral("Msde-Failed");

    ASSERT_TRUE(reg.WriteBool(LM, VelaKey, failed, false));
    EXPECT_EQ(other.ReadBool(LM, VelaKey, failed), false);
    // Same file size and, most likely, the same modification time as before.
    ASSERT_TRUE(other.WriteBool(LM, VelaKey, failed, true));
    EXPECT_EQ(reg.ReadBool(LM, VelaKey, failed), true);

    for (int i = 0; i < 20; ++i) {
        Registry &writer = i % 2 ? reg : other;
        ASSERT_TRUE(writer.WriteInteger(LM, VelaKey, QStringLiteral("V%1").arg(i), i));
    }
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(reg.ReadInteger(LM, VelaKey, QStringLiteral("V%1").arg(i)), i) << i;

    ASSERT_TRUE(other.DeleteKey(LM, VelaKey));
    EXPECT_FALSE(reg.ValueExists(LM, VelaKey, failed));
    EXPECT_FALSE(reg.KeyExists(LM, VelaKey));
}

TEST(RegistryStore, AnUnusableStoreFailsWithoutCrashing)
{
    QTemporaryDir dir;
    QFile plain(dir.filePath(QStringLiteral("plain-file")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    // Holds for root too, unlike a read-only folder.
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("store/HKEY_LOCAL_MACHINE.ini")));

    const struct
    {
        const char *what;
        QString folder;
    } cases[] = {
        {"folder below a plain file", dir.filePath(QStringLiteral("plain-file/registry"))},
        {"store file is a folder", dir.filePath(QStringLiteral("store"))},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Registry reg(c.folder);
        EXPECT_FALSE(reg.OpenKey(LM, VelaKey, true));
        EXPECT_FALSE(reg.LastError().isEmpty());
        EXPECT_FALSE(reg.WriteString(LM, VelaKey, QStringLiteral("Msde-ConnectionString"),
                                     QStringLiteral("x")));
        EXPECT_TRUE(reg.LastError().contains(QLatin1String("VELA_REGISTRY_DIR")))
            << reg.LastError().toStdString();
        EXPECT_FALSE(reg.WriteBool(LM, VelaKey, QStringLiteral("Msde-Failed"), true));
        EXPECT_FALSE(reg.ReadString(LM, VelaKey, QStringLiteral("Msde-ConnectionString")));
        EXPECT_FALSE(reg.KeyExists(LM, VelaKey));
    }
}

TEST_F(RegistryTest, ReadsAHandEditedFile)
{
    ASSERT_TRUE(QDir().mkpath(dir.path()));
    QFile file(reg.FilePath(LM));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("; edited by hand, with Windows line ends\r\n"
               "[HKLM\\Software\\Zentrix\\Vela]\r\n"
               "  \"Msde-ConnectionString\" =\"Provider=SQLite;Data Source=/srv/vela.db\"\r\n"
               "\"Msde-Failed\"=DWORD:1\r\n"
               "this line is not a value\r\n"
               "\"Unclosed\"=\"no end\r\n"
               "\"TooLong\"=dword:123456789\r\n");
    file.close();

    EXPECT_TRUE(reg.KeyExists(LM, QStringLiteral("Software\\Zentrix")));
    EXPECT_EQ(reg.ReadString(LM, VelaKey, QStringLiteral("Msde-ConnectionString")),
              QStringLiteral("Provider=SQLite;Data Source=/srv/vela.db"));
    EXPECT_EQ(reg.ReadBool(LM, VelaKey, QStringLiteral("Msde-Failed")), true);
    EXPECT_EQ(reg.ValueNames(LM, VelaKey),
              (QStringList{QStringLiteral("Msde-ConnectionString"), QStringLiteral("Msde-Failed")}));
}

TEST(RegistryNames, ParsesKeysWrittenAsOnWindows)
{
    const struct
    {
        const char *text;
        std::optional<RegistryRoot> root;
        QString key;
    } cases[] = {
        {"HKEY_LOCAL_MACHINE\\Software\\Zentrix\\Vela", RegistryRoot::LocalMachine,
         QStringLiteral("Software\\Zentrix\\Vela")},
        {"hklm\\Software", RegistryRoot::LocalMachine, QStringLiteral("Software")},
        {"HKCU", RegistryRoot::CurrentUser, QString()},
        {"\\HKCR\\a\\\\b\\", RegistryRoot::ClassesRoot, QStringLiteral("a\\b")},
        {"HKU\\x", RegistryRoot::Users, QStringLiteral("x")},
        {"HKCC\\x", RegistryRoot::CurrentConfig, QStringLiteral("x")},
        {"HKEY_PERFORMANCE_DATA", RegistryRoot::PerformanceData, QString()},
        {"hkey_dyn_data\\x", RegistryRoot::DynData, QStringLiteral("x")},
        {"Software\\Zentrix", std::nullopt, QString()},
        {"HKEY_LOCAL\\Software", std::nullopt, QString()},
        {"", std::nullopt, QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const auto location = Registry::ParseLocation(QString::fromUtf8(c.text));
        ASSERT_EQ(location.has_value(), c.root.has_value());
        if (location) {
            EXPECT_EQ(location->root, *c.root);
            EXPECT_EQ(location->key, c.key);
        }
    }
    EXPECT_EQ(Registry::RootName(RegistryRoot::CurrentConfig), QStringLiteral("HKEY_CURRENT_CONFIG"));
}

TEST_F(RegistryTest, ReadsStayFast)
{
    for (int i = 0; i < 30; ++i)
        ASSERT_TRUE(reg.WriteString(LM, VelaKey, QStringLiteral("Setting%1").arg(i),
                                    QStringLiteral("value %1").arg(i)));
    Registry reader(dir.path());
    QElapsedTimer timer;
    timer.start();
    const int reads = 1000;
    for (int i = 0; i < reads; ++i)
        ASSERT_TRUE(reader.ReadString(LM, VelaKey, QStringLiteral("Setting%1").arg(i % 30)));
    // Well under a millisecond each; taking the writers' lock or waiting for the file on
    // every read would show. A sanitizer build runs about ten times slower.
#if defined(__SANITIZE_ADDRESS__)
    const int slowdown = 10;
#else
    const int slowdown = 1;
#endif
    EXPECT_LT(timer.elapsed(), reads * slowdown)
        << timer.elapsed() << " ms for " << reads << " reads";
}

} // namespace
