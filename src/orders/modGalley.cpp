#include "modGalley.h"

#include "framework/clsEZXException.h"
#include "framework/clsGenericDB.h"
#include "framework/modMsgDlgs.h"

#include "platform/SqlQuery.h"
#include "platform/SqlText.h"

#include <exception>

namespace {

void Inform(const QString &message)
{
    MsgDlg(message, mtInformation, {mbOK}, QString(), 0, QColor());
}

QString ErrorText(const std::exception &e)
{
    return ExceptionMessage(e);
}

} // namespace

TTillColours::TTillColours(TGenericDB *runner)
    : m_runner(runner)
{ }

const TTillColour *TTillColours::FindTill(int tillID) const
{
    for (const TTillColour &colour : m_items)
        if (colour.TillID == tillID)
            return &colour;
    return nullptr;
}

void TTillColours::PopulateTillColours()
{
    try {
        if (!m_runner)
            throw EZXException(QStringLiteral("No connection to read the tills from"));
        platform::SqlQuery query(m_runner->Connection());
        query.SetSQL(QStringLiteral("SELECT TILLID FROM TILLS"));
        query.Open();
        for (query.First(); !query.Eof(); query.Next()) {
            TTillColour colour;
            colour.TillID = query.FieldByName(u"TILLID").AsInteger();
            colour.TextColour = GetTextColour(colour.TillID);
            colour.BackColour = GetBackColour(colour.TillID);
            m_items.append(colour);
        }
    } catch (const std::exception &e) {
        Inform(QStringLiteral("Could load the till text colours\rReason: ") + ErrorText(e)
               + QStringLiteral("\r") + QStringLiteral("Raised in PopulateTillColours;"));
    }
}

TColor TTillColours::GetTillColour(int tillID, const QString &item, const QString &what,
                                   const QString &raisedIn)
{
    TColor result = clNone;
    try {
        if (!m_runner)
            throw EZXException(QStringLiteral("No connection to read the colours from"));
        platform::SqlQuery query(m_runner->Connection());
        query.SetSQL(QStringList {QStringLiteral("SELECT CLASS, VALUE FROM SYSDATA"),
                                  QStringLiteral("WHERE ITEM = '") + item + QStringLiteral("'")});
        query.Open();
        for (query.First(); !query.Eof(); query.Next()) {
            if (query.FieldByName(u"CLASS").AsInteger() == tillID)
                result = TColor(query.FieldByName(u"VALUE").AsInteger());
        }
    } catch (const std::exception &e) {
        Inform(QStringLiteral("Could not fetch the ") + what + QStringLiteral(" for Till #")
               + QString::number(tillID) + QStringLiteral("\r") + QStringLiteral("Reason: ")
               + ErrorText(e) + QStringLiteral("\r") + QStringLiteral("Raised in ") + raisedIn);
    }
    return result;
}

TColor TTillColours::GetTextColour(int tillID)
{
    return GetTillColour(tillID, QStringLiteral("GY TEXT COLOUR"), QStringLiteral("text colour"),
                         QStringLiteral("GetTextColour"));
}

TColor TTillColours::GetBackColour(int tillID)
{
    return GetTillColour(tillID, QStringLiteral("GY BACK COLOUR"),
                         QStringLiteral("background colour"), QStringLiteral("GetBackColour"));
}

TColor TTillColours::GetEmployeeColour(const QString &empNum)
{
    TColor result = 0;
    try {
        if (!m_runner)
            throw EZXException(QStringLiteral("No connection to read the employee from"));
        platform::SqlQuery &query = m_runner->Query();
        query.Close();
        // The number is quoted as a literal: an apostrophe in it must not break the statement.
        query.SetSQL(
            QStringList {QStringLiteral("SELECT GYCOLOUR FROM EMPLOYEE"),
                         QStringLiteral("WHERE EMPNUM = ") + platform::sqltext::Quote(empNum)});
        query.Open();
        if (!query.IsEmpty())
            result = TColor(query.FieldByName(u"GYCOLOUR").AsInteger());
        query.Close();
    } catch (const std::exception &e) {
        if (m_runner)
            m_runner->Query().Close();
        Inform(ErrorText(e));
        result = 0;
    }
    return result;
}

void TTillColours::SaveInvoiceMaker(int invoiceNum, const QString &empNum)
{
    try {
        if (!m_runner)
            throw EZXException(QStringLiteral("No connection to record the maker in"));
        // Both or neither: a failed insert must not leave the order without its maker.
        platform::Transaction transaction(*m_runner->Connection());
        m_runner->ExecSQL(
            QStringList {QStringLiteral("DELETE FROM GYStaffLinkInvoices WHERE fkInvoiceNum = ")
                         + QString::number(invoiceNum)});
        m_runner->ExecSQL(QStringList {QStringLiteral("INSERT INTO GYStaffLinkInvoices"),
                                       QStringLiteral("(fkEmpNum, fkInvoiceNum)"),
                                       QStringLiteral("VALUES (") + platform::sqltext::Quote(empNum)
                                           + QStringLiteral(", ") + QString::number(invoiceNum)
                                           + QStringLiteral(")")});
        transaction.Commit();
    } catch (const std::exception &e) {
        Inform(QStringLiteral("Could not insert the Invoice maker's details.\rReason: ")
               + ErrorText(e) + QStringLiteral("\r")
               + QStringLiteral("Raised in [modEmployee] SaveInvoiceMaker"));
    }
}

QString TTillColours::GetInvoiceMaker(int invoiceNum)
{
    QString result;
    try {
        if (!m_runner)
            throw EZXException(QStringLiteral("No connection to read the maker from"));
        platform::SqlQuery &query = m_runner->Query();
        query.Close();
        query.SetSQL(
            QStringList {QStringLiteral("SELECT fkEmpNum FROM GYStaffLinkInvoices"),
                         QStringLiteral("WHERE fkInvoiceNum = ") + QString::number(invoiceNum)});
        query.Open();
        if (!query.IsEmpty())
            result = query.FieldByName(u"fkEmpNum").AsString();
        query.Close();
    } catch (const std::exception &e) {
        if (m_runner)
            m_runner->Query().Close();
        Inform(QStringLiteral("Could not retrieve the Invoice maker's details.\rReason: ")
               + ErrorText(e) + QStringLiteral("\r")
               + QStringLiteral("Raised in [modEmployee] GetInvoiceMaker"));
        result.clear();
    }
    return result;
}
