#include "modStartup.h"

#include "datamodVela.h"

#include "framework/clsGenericDB.h"
#include "framework/clsSysData.h"
#include "framework/modMsgDlgs.h"

#include "platform/SqlQuery.h"
#include "platform/SystemInfo.h"

#include <cstdio>

int FindTillByComputerName(const QString &computerName)
{
    platform::SqlQuery q(&dmVela->con);
    q.SQL() << QStringLiteral("SELECT * FROM Tills") << QStringLiteral("ORDER BY TillID");
    q.Open();
    for (q.First(); !q.Eof(); q.Next())
        if (q.FieldByName("Computer Name").AsString().trimmed().compare(computerName.trimmed(), Qt::CaseInsensitive) == 0)
            return q.FieldByName("TillID").AsInteger();
    return 0;
}

TStartupResult RunStartup()
{
    TStartupResult result;

    // Steps 2-4: the data module, its connection, the SQL runner.
    dmVela = new TdmVela();
    dmVela->SetConnected(true);
    if (!dmVela->Connected())
        return result; // already reported by SetConnected; end silently
    GenericDB = new TGenericDB(&dmVela->con);
    result.State = TStartupState::Connected;

    // Step 5: this machine's till number.
    const QString computer = platform::ComputerName();
    result.TillID = FindTillByComputerName(computer);
    if (result.TillID <= 0) {
        const QString message = QStringLiteral("This computer (%1) is not registered as a till.\r\r"
                                               "Add a row for it to the Tills table of the database "
                                               "([Computer Name] = '%1', TillID = its till number), "
                                               "then start the program again.")
                                    .arg(computer.toUpper());
        fprintf(stderr, "%s\n", qPrintable(QString(message).replace(QLatin1Char('\r'), QLatin1Char('\n'))));
        ErrorDlg(message);
        result.ExitCode = 1;
        return result;
    }
    result.State = TStartupState::Identified;

    // Step 12: the monitor's four per-till filter settings, written only when missing.
    const QString till = QString::number(result.TillID);
    WriteSysData(till, QStringLiteral("GY FILTER"), QStringLiteral("0"), false, QString());
    WriteSysData(till, QStringLiteral("GY FILTER IDS"), QString(), false, QString());
    WriteSysData(till, QStringLiteral("GY PRINTERFILTER IDS"), QString(), false, QString());
    WriteSysData(till, QStringLiteral("GY PRINTERFILTER"), QStringLiteral("0"), false, QString());
    result.State = TStartupState::Configured;
    result.Summary = QStringLiteral("Vela Kitchen Monitor: connected (%1), this computer %2 is till %3, "
                                    "monitor settings of till %3 present.")
                         .arg(dmVela->con.ConnectionString(), computer.toUpper(), till);
    return result;
}

void ShutdownStartup()
{
    delete GenericDB;
    GenericDB = nullptr;
    delete dmVela;
    dmVela = nullptr;
}
