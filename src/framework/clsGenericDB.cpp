#include "clsGenericDB.h"

#include "clsEZXException.h"
#include "modMsgDlgs.h"

#include "platform/DbError.h"
#include "platform/SqlText.h"

TGenericDB *GenericDB = nullptr;

namespace {

// Exact text of an amount: raw is in 1/10000 units; trailing zeros of the fraction dropped.
QString CurrencyText(platform::Currency amount)
{
    const std::int64_t raw = amount.Raw();
    const unsigned long long magnitude = raw < 0 ? 0ULL - static_cast<unsigned long long>(raw)
                                                 : static_cast<unsigned long long>(raw);
    QString text = QString::number(magnitude / 10000ULL);
    const unsigned long long fraction = magnitude % 10000ULL;
    if (fraction != 0) {
        QString digits = QStringLiteral("%1").arg(fraction, 4, 10, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += QLatin1Char('.') + digits;
    }
    return raw < 0 ? QLatin1Char('-') + text : text;
}

} // namespace

TGenericDB::TGenericDB(platform::SqlConnection *connection)
    : m_connection(connection)
    , m_query(connection)
{ }

void TGenericDB::OpenSQL(const QString &text, platform::CursorLocation cursorLocation)
{
    m_query.Close();
    m_query.SetSQL(text);
    m_query.SetCursorLocation(cursorLocation);
    m_query.Open();
}

int TGenericDB::ExecSQL(const QString &text)
{
    if (!m_connection)
        throw platform::DbError(QStringLiteral("The SQL runner has no connection."));
    return m_connection->Execute(text);
}

int TGenericDB::ExecSQL(const QStringList &lines)
{
    const platform::CursorLocation remembered = m_query.GetCursorLocation();
    struct Restore
    {
        platform::SqlQuery &q;
        platform::CursorLocation location;
        ~Restore() { q.SetCursorLocation(location); }
    } restore {m_query, remembered};
    m_query.Close();
    m_query.SetCursorLocation(platform::CursorLocation::Server);
    m_query.SetSQL(lines);
    return m_query.ExecSQL();
}

QString TGenericDB::ProcArgumentText(const QVariant &arg)
{
    if (arg.isNull() && arg.typeId() != QMetaType::QString)
        return QStringLiteral("NULL");
    if (arg.metaType() == QMetaType::fromType<platform::Currency>())
        return CurrencyText(arg.value<platform::Currency>());
    switch (arg.typeId()) {
    case QMetaType::Bool:
        return arg.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return QString::number(arg.toLongLong());
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return QString::number(arg.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        // Always a '.': a locale's decimal comma would split the argument list.
        return QString::number(arg.toDouble(), 'g', 15);
    default:
        // Quotes doubled, so the text reaches the procedure as written.
        return platform::sqltext::Quote(arg.toString());
    }
}

bool TGenericDB::ExecStoredProc(const QString &procName, const QVariantList &args,
                                platform::CursorLocation cursorLocation)
{
    try {
        m_query.Close();
        QStringList texts;
        texts.reserve(args.size());
        for (const QVariant &arg : args)
            texts << ProcArgumentText(arg);
        m_query.SetSQL(QStringLiteral("EXEC ") + procName + QLatin1Char(' ')
                       + texts.join(QLatin1Char(',')));
        m_query.SetCursorLocation(cursorLocation);
        const QStringList lines = m_query.SQL();
        ExecSQL(lines);
        return true;
    } catch (const std::exception &e) {
        MsgDlg(QStringLiteral("Failed to execute the stored procedure [") + procName
                   + QLatin1Char(']') + QStringLiteral("\rReason: ") + ExceptionMessage(e)
                   + QStringLiteral("\r\rException Raised In: TGenericDB.ExecStoredProc"),
               mtError, {mbOK});
        return false;
    }
}
