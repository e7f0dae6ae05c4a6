// vela-demo: prepares a demo shop for the kitchen monitor on this machine, and plays its
// tills.
//   vela-demo setup [--db FILE] [--fresh]
// creates the demo SQLite database (unless it exists; --fresh replaces it), registers this
// computer as till 1, points the monitor's connection string at the database and sets up
// the label printer and the monitor's display.
//   vela-demo simulate [--db FILE] [--interval SECONDS] [--count N] [--seed S]
// writes an order every few seconds from the shop's tills until stopped (Ctrl+C, SIGTERM)
// or until N orders are written.
#include "tools/demo/DemoSettings.h"
#include "tools/demo/TillSimulator.h"

#include "platform/DbError.h"
#include "platform/DbSchema.h"
#include "platform/Registry.h"
#include "platform/SqlConnection.h"
#include "platform/SqlQuery.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTextStream>

#include <chrono>
#include <csignal>
#include <random>
#include <thread>

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
    (code == 0 ? Out() : Err())
        << "Usage: vela-demo setup [--db FILE] [--fresh]\n"
           "  Creates the demo database (default " << DefaultDatabase()
        << ",\n  or $VELA_DEMO_DB), registers this computer as till 1 and stores the\n"
           "  connection string under HKEY_LOCAL_MACHINE\\Software\\Zentrix\\Vela.\n"
           "Usage: vela-demo simulate [--db FILE] [--interval SECONDS] [--count N] [--seed S]\n"
           "  Writes an order from one of the shop's tills every few seconds (default 6,\n"
           "  varied by half either way; 0 writes them back to back) until Ctrl+C, or until\n"
           "  N orders are written. The same seed gives the same orders.\n";
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

    QStringList done;
    QString error;
    const bool settingsWritten = demo::WriteDemoSettings(con, QFileInfo(file).absolutePath(), &done, &error);
    for (const QString &line : done)
        Out() << line << "\n";
    if (!settingsWritten) {
        Err() << "Could not write the registry store: " << error << "\n";
        return 1;
    }
    return 0;
}

volatile std::sig_atomic_t g_stop = 0;

void RequestStop(int)
{
    g_stop = 1;
}

void InstallStopHandlers()
{
    struct sigaction action = {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// Waits, waking often enough that Ctrl+C ends the run at once.
void Wait(std::chrono::milliseconds duration)
{
    const auto end = std::chrono::steady_clock::now() + duration;
    while (!g_stop && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            std::chrono::milliseconds(50), end - std::chrono::steady_clock::now()));
}

int Simulate(const QStringList &args)
{
    QString file = DefaultDatabase();
    double interval = 6.0;
    int count = 0; // 0: until stopped
    quint32 seed = QRandomGenerator::system()->generate();
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (i + 1 >= args.size())
            return Usage(2);
        const QString value = args[++i];
        bool ok = false;
        if (arg == QLatin1String("--db")) {
            file = value;
            ok = true;
        } else if (arg == QLatin1String("--interval")) {
            interval = value.toDouble(&ok);
            ok = ok && interval >= 0 && interval <= 24 * 3600;
        } else if (arg == QLatin1String("--count")) {
            count = value.toInt(&ok);
            ok = ok && count > 0;
        } else if (arg == QLatin1String("--seed")) {
            seed = value.toUInt(&ok);
        }
        if (!ok)
            return Usage(2);
    }
    file = QFileInfo(file).absoluteFilePath();
    if (!QFileInfo::exists(file)) {
        Err() << "The demo database " << file << " does not exist. Create it with: vela-demo setup --db " << file
              << "\n";
        return 1;
    }

    platform::SqlConnection con;
    con.Open(platform::SqliteConnectionString(file));
    demo::TillSimulator tills(&con, seed);
    tills.LoadShop();

    InstallStopHandlers();
    Out() << "Simulating the tills of " << file << " (seed " << seed << "); Ctrl+C ends.\n";
    Out().flush();
    // The pauses draw from their own sequence, so the orders depend on the seed alone.
    std::mt19937 pauses(seed ^ 0x9E3779B9u);
    int written = 0;
    while (!g_stop) {
        bool failed = false;
        for (const demo::SimulatorEvent &event : tills.Tick(QDateTime::currentDateTime())) {
            Out() << tills.Describe(event) << "\n";
            written += event.kind == demo::SimulatorEvent::OrderWritten ? 1 : 0;
            failed = failed || event.kind == demo::SimulatorEvent::WriteFailed;
        }
        Out().flush();
        if (count > 0 && written >= count)
            break;
        // Between half and one and a half times the interval; after a failure at least a
        // second, so a database that keeps refusing is not hammered.
        const double factor = 0.5 + double(pauses() % 1001) / 1000.0;
        const auto pause = std::chrono::milliseconds(qint64(interval * factor * 1000.0));
        Wait(failed ? std::max(pause, std::chrono::milliseconds(1000)) : pause);
    }
    Out() << "Stopped after " << written << (written == 1 ? " order" : " orders") << ".\n";
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
        if (command == QLatin1String("simulate"))
            return Simulate(args);
        if (command == QLatin1String("--help") || command == QLatin1String("-h"))
            return Usage(0);
    } catch (const std::exception &e) {
        const auto *db = dynamic_cast<const platform::DbError *>(&e);
        Err() << (command == QLatin1String("simulate") ? "The till simulator failed: " : "Demo set-up failed: ")
              << (db ? db->Message() : QString::fromUtf8(e.what())) << "\n";
        return 1;
    }
    return Usage(2);
}
