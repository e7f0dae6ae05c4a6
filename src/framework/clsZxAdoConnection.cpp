#include "clsZxAdoConnection.h"

#include "clsEZXException.h"
#include "modMsgDlgs.h"

#include "platform/ConnectionEditor.h"
#include "platform/Registry.h"
#include "platform/SqlConnection.h"

using platform::RegistryRoot;

TZXAdoConnection::TZXAdoConnection()
    : MakerKey(QStringLiteral("Zentrix"))
{}

TZXAdoConnection::~TZXAdoConnection()
{
    delete m_registry;
}

platform::Registry &TZXAdoConnection::Reg()
{
    if (!m_registry)
        m_registry = new platform::Registry();
    return *m_registry;
}

void TZXAdoConnection::SetApplicationKey(const QString &name)
{
    ApplicationKey = name;
    RegistryKey = QStringLiteral("\\Software\\") + MakerKey + QStringLiteral("\\") + name;
}

void TZXAdoConnection::RebuildValueNames()
{
    FailedValueName = ConnectionName + QStringLiteral("-") + QStringLiteral("Failed");
    ConnectionStringValueName = ConnectionName + QStringLiteral("-") + QStringLiteral("ConnectionString");
}

void TZXAdoConnection::ComposeConnectionString(const TConnectionDefaults &defaults)
{
    Defaults = defaults;
    const QString provider = defaults.ConnectionType == 0 ? QStringLiteral("SQLOLEDB.1") : QStringLiteral("MSDASQL.1");
    QString s = QStringLiteral("Provider=") + provider + QStringLiteral(";") + QStringLiteral("Persist Security Info=True;")
                + QStringLiteral("User ID=") + defaults.UserID + QStringLiteral(";") + QStringLiteral("Password=")
                + defaults.Password + QStringLiteral(";") + QStringLiteral("Initial Catalog=") + defaults.InitialCatalog
                + QStringLiteral(";") + QStringLiteral("Data Source=") + defaults.DataSource + QStringLiteral(";");
    if (defaults.ConnectionType == 1) {
        s += QStringLiteral("Extended Properties=") + QLatin1Char('"')
             + QStringLiteral("Driver={Microsoft Visual FoxPro Driver};SourceDB=") + defaults.Folder + QStringLiteral(";")
             + QStringLiteral("SourceType=DBF;")
             + QStringLiteral("Exclusive=No;BackgroundFetch=Yes;Collate=Machine;Null=No;Deleted=Yes;") + QLatin1Char('"');
    } else if (defaults.ConnectionType == 2) {
        s += QStringLiteral("DRIVER=Microsoft Access Driver (*.mdb);UID=admin;UserCommitSync=Yes;Threads=3;"
                            "SafeTransactions=0;PageTimeout=5;MaxScanRows=8;MaxBufferSize=2048;FIL=MS Access;"
                            "DriverId=25;DefaultDir=")
             + defaults.Folder + QStringLiteral(";") + QStringLiteral("DBQ=") + defaults.DatabaseFile + QStringLiteral(";");
    }
    DefaultConnectionString = s;
}

void TZXAdoConnection::WriteConnectionString(const QString &text)
{
    RebuildValueNames();
    if (!Reg().OpenKey(RegistryRoot::LocalMachine, RegistryKey, true))
        return;
    Reg().WriteString(RegistryRoot::LocalMachine, RegistryKey, ConnectionStringValueName, text);
}

void TZXAdoConnection::PromptConnectionString()
{
    WriteConnectionString(platform::EditConnectionStringDialog(DefaultConnectionString));
}

QString TZXAdoConnection::GetConnectionString()
{
    RebuildValueNames();
    if (!Reg().OpenKey(RegistryRoot::LocalMachine, RegistryKey, true))
        return QString();
    if (!Reg().ValueExists(RegistryRoot::LocalMachine, RegistryKey, ConnectionStringValueName)) {
        MsgDlg(QStringLiteral("Use the following window to specify a connection string for [") + ApplicationKey
                   + QStringLiteral(":") + ConnectionName + QStringLiteral("]"),
               mtInformation, {mbOK});
        PromptConnectionString();
    } else if (GetFailed()) {
        MsgDlg(QStringLiteral("The last attempt to connect to [") + ApplicationKey + QStringLiteral(":") + ConnectionName
                   + QStringLiteral("] failed") + QStringLiteral("\r\r")
                   + QStringLiteral("Use the next window to verify the connection settings are correct"),
               mtInformation, {mbOK});
        DefaultConnectionString
            = Reg().ReadString(RegistryRoot::LocalMachine, RegistryKey, ConnectionStringValueName).value_or(QString());
        PromptConnectionString();
    }
    return Reg().ReadString(RegistryRoot::LocalMachine, RegistryKey, ConnectionStringValueName).value_or(QString());
}

bool TZXAdoConnection::Connect(platform::SqlConnection &connection)
{
    try {
        connection.Close();
        connection.Close();
        connection.SetConnectionString(GetConnectionString());
        connection.Open();
        SetFailed(false);
        return true;
    } catch (...) {
        connection.Close(); // also when only recording the success failed
        SetFailed(true);    // its own failure, if any, travels instead
        throw;
    }
}

void TZXAdoConnection::SetFailed(bool failed)
{
    RebuildValueNames();
    if (!Reg().OpenKey(RegistryRoot::LocalMachine, RegistryKey, true)
        || !Reg().WriteBool(RegistryRoot::LocalMachine, RegistryKey, FailedValueName, failed))
        throw EZXException(QStringLiteral("Failed to open the registry key ") + RegistryKey,
                           QStringLiteral("TZXAdoConnection.SetFailed"));
}

bool TZXAdoConnection::GetFailed()
{
    RebuildValueNames();
    if (!Reg().OpenKey(RegistryRoot::LocalMachine, RegistryKey, true))
        throw EZXException(QStringLiteral("Failed to open the registry key ") + RegistryKey,
                           QStringLiteral("TZXAdoConnection.GetFailed"));
    // A value of the wrong type counts as not failed, like a missing one.
    return Reg().ReadBool(RegistryRoot::LocalMachine, RegistryKey, FailedValueName).value_or(false);
}

bool TZXAdoConnection::EditConnectionString()
{
    RebuildValueNames();
    if (!Reg().OpenKey(RegistryRoot::LocalMachine, RegistryKey, true))
        return false;
    QString initial = Reg().ReadString(RegistryRoot::LocalMachine, RegistryKey, ConnectionStringValueName).value_or(QString());
    if (initial.isEmpty())
        initial = DefaultConnectionString;
    const QString edited = platform::EditConnectionStringDialog(initial);
    if (edited.compare(initial, Qt::CaseInsensitive) == 0)
        return false;
    // The caller tells the user to restart for the new string: only when it was stored.
    return Reg().WriteString(RegistryRoot::LocalMachine, RegistryKey, ConnectionStringValueName,
                             edited);
}
