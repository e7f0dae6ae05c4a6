#include "SqlQuery.h"

#include "DbError.h"
#include "SqlText.h"

#include <cmath>

namespace platform {

namespace {

QString ConvertMessage(const QString &text, const char *kind)
{
    return QLatin1Char('\'') + text + QStringLiteral("' is not a valid ") + QLatin1String(kind) + QStringLiteral(" value");
}

} // namespace

bool SqlField::IsNull() const
{
    const DbCell &c = m_rows->Cell(m_row, m_column);
    return c.index() == 0 || (c.index() == 4 && std::get<QVariant>(c).isNull());
}

QVariant SqlField::Value() const
{
    return m_rows->Value(m_row, m_column);
}

QString SqlField::FieldName() const
{
    return m_rows->columns[m_column];
}

QString SqlField::AsString() const
{
    const DbCell &c = m_rows->Cell(m_row, m_column);
    switch (c.index()) {
    case 0: return {};
    case 1: return QString::number(std::get<qlonglong>(c));
    case 2: return QString::number(std::get<double>(c), 'g', 15);
    case 3: return std::get<QString>(c);
    default: break;
    }
    const QVariant &v = std::get<QVariant>(c);
    if (v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::QDateTime:
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return v.toString();
    }
}

qint64 SqlField::AsLargeInt() const
{
    const DbCell &c = m_rows->Cell(m_row, m_column);
    switch (c.index()) {
    case 0: return 0;
    case 1: return std::get<qlonglong>(c);
    case 2: return qint64(std::llround(std::get<double>(c)));
    default: break;
    }
    const QVariant v = ToVariant(c);
    if (v.isNull())
        return 0;
    if (v.typeId() == QMetaType::Bool || v.typeId() == QMetaType::ULongLong)
        return v.toLongLong();
    bool ok = false;
    const qint64 n = v.toString().trimmed().toLongLong(&ok);
    if (!ok)
        throw ConvertError(ConvertMessage(v.toString(), "integer"));
    return n;
}

int SqlField::AsInteger() const
{
    const qint64 n = AsLargeInt();
    if (n < INT32_MIN || n > INT32_MAX)
        throw ConvertError(ConvertMessage(AsString(), "integer"));
    return int(n);
}

double SqlField::AsFloat() const
{
    const DbCell &c = m_rows->Cell(m_row, m_column);
    switch (c.index()) {
    case 0: return 0.0;
    case 1: return double(std::get<qlonglong>(c));
    case 2: return std::get<double>(c);
    default: break;
    }
    const QVariant v = ToVariant(c);
    if (v.isNull())
        return 0.0;
    if (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray) {
        bool ok = false;
        const double d = v.toString().trimmed().toDouble(&ok);
        if (!ok)
            throw ConvertError(ConvertMessage(v.toString(), "floating point"));
        return d;
    }
    return v.toDouble();
}

Currency SqlField::AsCurrency() const
{
    return Currency::FromDouble(AsFloat());
}

bool SqlField::AsBoolean() const
{
    const DbCell &c = m_rows->Cell(m_row, m_column);
    switch (c.index()) {
    case 0: return false;
    case 1: return std::get<qlonglong>(c) != 0;
    case 2: return std::get<double>(c) != 0.0;
    default: break;
    }
    const QVariant v = ToVariant(c);
    if (v.isNull())
        return false;
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 || s.isEmpty())
            return false;
        bool ok = false;
        const double d = s.toDouble(&ok);
        if (!ok)
            throw ConvertError(ConvertMessage(s, "Boolean"));
        return d != 0.0;
    }
    return v.toDouble() != 0.0;
}

QDateTime SqlField::AsDateTime() const
{
    const QVariant v = Value();
    if (v.isNull())
        return {};
    const QDateTime dt = ParseDbDateTime(v);
    if (!dt.isValid() && !v.toString().trimmed().isEmpty())
        throw ConvertError(ConvertMessage(v.toString(), "date and time"));
    return dt;
}

void SqlQuery::SetParam(const QString &name, const QVariant &value)
{
    for (auto &p : m_params)
        if (p.name.compare(name, Qt::CaseInsensitive) == 0) {
            p.value = value;
            return;
        }
    m_params.push_back({name, value, false});
}

void SqlQuery::Open()
{
    Close();
    if (!m_connection)
        throw DbError(QStringLiteral("The query has no connection."));
    m_connection->Run(Text(), m_params, &m_rows);
    m_active = true;
    m_row = 0;
    m_atBof = true;
}

int SqlQuery::ExecSQL()
{
    Close();
    if (!m_connection)
        throw DbError(QStringLiteral("The query has no connection."));
    return m_connection->Run(Text(), m_params, nullptr);
}

void SqlQuery::Close()
{
    m_active = false;
    m_rows.Clear();
    m_row = 0;
    m_atBof = true;
}

void SqlQuery::First()
{
    m_row = 0;
    m_atBof = true;
}

void SqlQuery::Next()
{
    if (m_row < m_rows.rowCount)
        ++m_row;
    m_atBof = false;
}

void SqlQuery::Prior()
{
    if (m_row > 0) {
        --m_row;
        m_atBof = false;
    } else {
        m_atBof = true;
    }
}

void SqlQuery::Last()
{
    m_row = m_rows.rowCount > 0 ? m_rows.rowCount - 1 : 0;
    m_atBof = m_rows.rowCount == 0;
}

void SqlQuery::MoveTo(int row)
{
    if (row < 0 || row >= m_rows.rowCount)
        throw DbError(QStringLiteral("Row %1 is outside the result of %2 rows.").arg(row).arg(m_rows.rowCount));
    m_row = row;
    m_atBof = false;
}

void SqlQuery::RequireRow() const
{
    if (!m_active)
        throw DbError(QStringLiteral("The query is not open."));
    if (m_row >= m_rows.rowCount)
        throw DbError(QStringLiteral("The query has no current row (end of the result)."));
}

SqlField SqlQuery::FieldByName(QAnyStringView name) const
{
    const int index = m_rows.ColumnIndex(name);
    if (index < 0)
        throw DbError(QStringLiteral("Field '") + name.toString() + QStringLiteral("' not found"));
    RequireRow();
    return SqlField(&m_rows, m_row, index);
}

SqlField SqlQuery::Field(int index) const
{
    if (index < 0 || index >= m_rows.columns.size())
        throw DbError(QStringLiteral("Field index %1 out of range").arg(index));
    RequireRow();
    return SqlField(&m_rows, m_row, index);
}

void SqlCommand::SetCommandText(const QString &text)
{
    m_text = text;
    SqlParams parsed;
    for (const QString &name : sqltext::ParameterNames(text)) {
        bool seen = false;
        for (const auto &p : parsed)
            if (p.name.compare(name, Qt::CaseInsensitive) == 0)
                seen = true;
        if (seen)
            continue;
        SqlParam p{name, QVariant(), false};
        if (const SqlParam *old = Find(name))
            p.value = old->value, p.output = old->output;
        parsed.push_back(p);
    }
    m_params = std::move(parsed);
}

SqlParam *SqlCommand::Find(const QString &name)
{
    for (auto &p : m_params)
        if (p.name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

const SqlParam *SqlCommand::Find(const QString &name) const
{
    for (const auto &p : m_params)
        if (p.name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

bool SqlCommand::HasParam(const QString &name) const
{
    return Find(name) != nullptr;
}

void SqlCommand::SetParam(const QString &name, const QVariant &value)
{
    SqlParam *p = Find(name);
    if (!p)
        throw DbError(QStringLiteral("Parameter '") + name + QStringLiteral("' not found"));
    p->value = value;
}

void SqlCommand::SetOutput(const QString &name)
{
    SqlParam *p = Find(name);
    if (!p)
        throw DbError(QStringLiteral("Parameter '") + name + QStringLiteral("' not found"));
    p->output = true;
    p->value = QVariant();
}

QVariant SqlCommand::ParamValue(const QString &name) const
{
    const SqlParam *p = Find(name);
    return p ? p->value : QVariant();
}

int SqlCommand::Execute()
{
    if (!m_connection)
        throw DbError(QStringLiteral("The command has no connection."));
    for (auto &p : m_params)
        if (p.output)
            p.value = QVariant();
    return m_connection->Run(m_text, m_params, nullptr);
}

} // namespace platform
