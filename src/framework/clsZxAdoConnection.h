#pragma once

#include <QString>

#include <cstdint>

namespace platform {
class SqlConnection;
class Registry;
} // namespace platform

// The values a default connection string is composed of.
struct TConnectionDefaults
{
    std::uint8_t ConnectionType = 0; // 0 SQL Server (SQLOLEDB), 1 FoxPro (ODBC), 2 Access (ODBC)
    QString UserID;
    QString Password;
    QString InitialCatalog;
    QString DataSource;
    QString Folder;
    QString DatabaseFile;
};

// Keeps a connection string per machine in the registry store (HKEY_LOCAL_MACHINE,
// key "\Software\Zentrix\<ApplicationKey>", values "<ConnectionName>-ConnectionString"
// and "<ConnectionName>-Failed"), asks the user for one when none is stored or the last
// attempt failed, and opens connections with it. Main thread only; the prompts are modal.
class TZXAdoConnection
{
public:
    TZXAdoConnection(); // Create: MakerKey "Zentrix"
    virtual ~TZXAdoConnection();

    QString RegistryKey;
    QString FailedValueName;
    QString ConnectionStringValueName;
    QString DefaultConnectionString;
    QString ConnectionName;
    QString ApplicationKey;
    TConnectionDefaults Defaults;
    QString MakerKey;

    void SetApplicationKey(const QString &name);
    void ComposeConnectionString(const TConnectionDefaults &defaults);
    // Opens `connection` with the stored string; records the outcome in the Failed value.
    // Throws the connection's error (after SetFailed(true)).
    virtual bool Connect(platform::SqlConnection &connection);
    QString GetConnectionString();
    void WriteConnectionString(const QString &text);
    void PromptConnectionString();
    // Throw EZXException "Failed to open the registry key " + RegistryKey when the key
    // cannot be opened.
    void SetFailed(bool failed);
    bool GetFailed();
    bool EditConnectionString();

private:
    void RebuildValueNames();
    platform::Registry &Reg();

    platform::Registry *m_registry = nullptr; // owned; created on first use
};
