#pragma once

// This machine's till number and the facts about the machine that a till row records.
// Main thread only.

#include <QString>

namespace platform {
class SqlConnection;
}

// This machine's till number from the table Tills (matched on the computer name without
// regard to letter case); when the machine has none, the till list window is shown so the
// user can register it. -1 when the user cancels or leaves without a number. A database
// error while finding this machine's row passes out (platform::DbError). The connection
// is not owned; without one, the SQL runner's (GenericDB) is used.
int GetTillID(platform::SqlConnection *connection);
int GetTillID();

// The computer name as the platform reports it (letter case kept); empty when unreadable.
QString GetComputerNameText();
// The logon name of the current user; empty when unreadable.
QString GetLogonName();
// The serial text of the volume of drive letter `drive` ("C" is the root filesystem) on
// this machine; `computer` names another machine, whose volumes cannot be read here, so any
// name other than this machine's gives "0". "0" also when the volume cannot be read.
QString GetDriveSerial(const QString &drive, const QString &computer = QString());
// A volume serial as text: its upper-case hexadecimal digits without leading zeros,
// characters 1-4, "-", characters 5-8 (1A2B3C4D gives 1A2B-3C4D); 0 gives "0".
QString DriveSerialText(quint32 serial);
