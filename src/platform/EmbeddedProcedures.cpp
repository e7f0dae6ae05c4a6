// Stored procedures of the embedded database. SQL Server keeps them in the database;
// SQLite has none, so "EXEC name args" is answered here.
#include "DbError.h"
#include "SqlConnection.h"

namespace platform {

namespace {

// job_UpdateSingleAttendTotals <InvoiceLink>: completes one attendance row at clock-out.
// HrsWorked holds the duration as a date counted from 1899-12-30 (7 h 45 min ->
// 1899-12-30 07:45:00.000); TimeWages = hours x HourlyRate; KmsTravlld = OdoEnd - OdoStart;
// TravlWages = KmsTravlld x KmRate. A row that is not clocked out is left as it is.
void UpdateSingleAttendTotals(SqlConnection &db, const QVariantList &args)
{
    if (args.size() != 1 || !args[0].canConvert<qlonglong>())
        throw DbError(QStringLiteral("Procedure or function 'job_UpdateSingleAttendTotals' expects one integer parameter."));
    SqlParams params{{QStringLiteral("Link"), args[0].toLongLong(), false}};
    db.Run(QStringLiteral(
               "UPDATE Attend SET "
               "HrsWorked = strftime('%Y-%m-%d %H:%M:%f', julianday('1899-12-30 00:00:00') "
               "+ julianday(OutDateTime) - julianday(InDateTime)), "
               "TimeWages = round((julianday(OutDateTime) - julianday(InDateTime)) * 24.0 * IFNULL(HourlyRate, 0), 4), "
               "KmsTravlld = IFNULL(OdoEnd, 0) - IFNULL(OdoStart, 0), "
               "TravlWages = round((IFNULL(OdoEnd, 0) - IFNULL(OdoStart, 0)) * IFNULL(KmRate, 0), 4) "
               "WHERE InvoiceLink = :Link AND OutDateTime IS NOT NULL AND InDateTime IS NOT NULL"),
           params, nullptr);
}

} // namespace

void RegisterEmbeddedProcedures(SqlConnection &connection)
{
    connection.RegisterProcedure(QStringLiteral("job_UpdateSingleAttendTotals"), UpdateSingleAttendTotals);
}

} // namespace platform
