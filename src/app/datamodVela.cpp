#include "datamodVela.h"

#include "framework/clsEZXException.h"
#include "framework/modMsgDlgs.h"

TdmVela *dmVela = nullptr;

TdmVela::TdmVela()
{
    DataModuleCreate();
}

TdmVela::~TdmVela()
{
    DataModuleDestroy();
}

void TdmVela::DataModuleCreate()
{
    ConnectionKeeper = std::make_unique<TZXAdoConnection>();
    con.Close();
    AppKey = QStringLiteral("Vela");
    ConnectionName = QStringLiteral("Msde");
    ConnectionDefaults = TConnectionDefaults();
    ConnectionDefaults.ConnectionType = 0;
    ConnectionDefaults.UserID = QStringLiteral("vela");
    ConnectionDefaults.Password = QStringLiteral("pos");
    ConnectionDefaults.InitialCatalog = QStringLiteral("Vela");
    ConnectionDefaults.DataSource = QStringLiteral("192.168.1.10");
}

void TdmVela::DataModuleDestroy()
{
    ConnectionKeeper.reset();
}

void TdmVela::SetConnected(bool /*value: always called with true; does the same either way*/)
{
    try {
        con.Close();
        ConnectionKeeper->ComposeConnectionString(ConnectionDefaults);
        ConnectionKeeper->SetApplicationKey(AppKey);
        ConnectionKeeper->ConnectionName = ConnectionName;
        ConnectionKeeper->Connect(con);
    } catch (const std::exception &e) {
        con.Close();
        ErrorDlg(QStringLiteral("Connect to the vela MSDE") + QStringLiteral("\r") + QStringLiteral("Reason: ")
                 + ExceptionMessage(e) + QStringLiteral("\r") + QStringLiteral("Connection String: ")
                 + con.ConnectionString() + QStringLiteral("\r\r") + QStringLiteral("Raised In: TdmMain.SetConnected"));
    }
}
