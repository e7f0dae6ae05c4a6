#include "modTillID.h"

#include "FTillIDSelect.h"

#include "framework/clsEZXException.h"
#include "framework/clsGenericDB.h"

#include "platform/DialogSeam.h"
#include "platform/SystemInfo.h"

int GetTillID(platform::SqlConnection *connection)
{
    TfrmTillIDSelect frm(connection);
    frm.SetAllowEdit(true);
    frm.DoRefresh();
    if (frm.ThisTill.TillID() >= 1)
        return frm.ThisTill.TillID();
    if (frm.ShowModalRequest() == platform::mrCancel)
        return -1;
    return frm.ThisTill.TillID() >= 1 ? frm.ThisTill.TillID() : -1;
}

int GetTillID()
{
    if (!GenericDB)
        throw EZXException(QStringLiteral("There is no database connection"),
                           QStringLiteral("GetTillID"));
    return GetTillID(GenericDB->Connection());
}

QString GetComputerNameText()
{
    return platform::ComputerName();
}

QString GetLogonName()
{
    return platform::LogonName();
}

QString GetDriveSerial(const QString &drive, const QString &computer)
{
    if (!computer.isEmpty() && computer.compare(platform::ComputerName(), Qt::CaseInsensitive) != 0)
        return QStringLiteral("0");
    return DriveSerialText(platform::VolumeSerial(drive));
}

QString DriveSerialText(quint32 serial)
{
    if (serial == 0)
        return QStringLiteral("0");
    const QString hex = QString::number(serial, 16).toUpper();
    return hex.left(4) + QLatin1Char('-') + hex.mid(4, 4);
}
