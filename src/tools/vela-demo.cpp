// vela-demo: prepares a demo shop for the kitchen monitor on this machine.
//   vela-demo setup [--db FILE] [--fresh]
// creates the demo SQLite database (unless it exists; --fresh replaces it), registers this
// computer as till 1, and points the monitor's connection string at the database.
#include "platform/DbError.h"
#include "platform/DbSchema.h"
#include "platform/Registry.h"
#include "platform/SqlConnection.h"
#include "platform/SqlQuery.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTextStream>

namespace {

QTextStream &Out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &Err()
{
    static QTextStream s(stderr);
    return s;
}

QString DefaultDatabase()
{
    const QString env = qEnvironmentVariable("VELA_DEMO_DB");
    if (!env.isEmpty())
        return env;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/vela/demo.db");
}

int Usage(int code)
{
    (code == 0 ? Out() : Err()) << "Usage: vela-demo setup [--db FILE] [--fresh]\n"
                                   "  Creates the demo database (default " << DefaultDatabase()
                                << ",\n  or $VELA_DEMO_DB), registers this computer as till 1 and stores the\n"
                                   "  connection string under HKEY_LOCAL_MACHINE\\Software\\Zentrix\\Vela.\n";
    return code;
}

int Setup(const QStringList &args)
{
    QString file = DefaultDatabase();
    bool fresh = false;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--fresh"))
            fresh = true;
        else if (args[i] == QLatin1String("--db") && i + 1 < args.size())
            file = args[++i];
        else
            return Usage(2);
    }
    file = QFileInfo(file).absoluteFilePath();
    if (fresh && QFileInfo::exists(file)) {
        for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
            QFile::remove(file + suffix);
    }
    if (!QFileInfo::exists(file)) {
        QDir().mkpath(QFileInfo(file).absolutePath());
        platform::CreateSqliteDatabase(file, true);
        Out() << "Created the demo database " << file << "\n";
    } else {
        Out() << "Using the existing demo database " << file << "\n";
    }

    // This computer is till 1 of the demo shop.
    const QString computer = QSysInfo::machineHostName().toUpper();
    platform::SqlConnection con;
    con.Open(platform::SqliteConnectionString(file));
    platform::SqlCommand cmd(&con);
    cmd.SetCommandText(QStringLiteral("UPDATE Tills SET [Computer Name] = :Name WHERE TillID = 1"));
    cmd.SetParam(QStringLiteral("Name"), computer);
    cmd.Execute();
    Out() << "Registered this computer (" << computer << ") as till 1\n";

    platform::Registry reg;
    const QString key = QStringLiteral("\\Software\\Zentrix\\Vela");
    if (!reg.WriteString(platform::RegistryRoot::LocalMachine, key, QStringLiteral("Msde-ConnectionString"),
                         platform::SqliteConnectionString(file))
        || !reg.WriteBool(platform::RegistryRoot::LocalMachine, key, QStringLiteral("Msde-Failed"), false)) {
        Err() << "Could not write the registry store: " << reg.LastError() << "\n";
        return 1;
    }
    Out() << "Stored the connection string in " << reg.FilePath(platform::RegistryRoot::LocalMachine) << "\n";
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return Usage(2);
    const QString command = args.takeFirst();
    try {
        if (command == QLatin1String("setup"))
            return Setup(args);
        if (command == QLatin1String("--help") || command == QLatin1String("-h"))
            return Usage(0);
    } catch (const platform::DbError &e) {
        Err() << "Demo set-up failed: " << e.Message() << "\n";
        return 1;
    }
    return Usage(2);
}
