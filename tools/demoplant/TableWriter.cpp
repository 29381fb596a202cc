#include "TableWriter.h"

#include <QSqlField>

namespace demoplant {

namespace {

// Parameters per statement. PostgreSQL: large, so the server is not asked once
// per row. SQLite: modest, because Qt's driver looks each parameter up by
// position in a list, which costs time quadratic in the statement's parameters.
int parametersPerStatement(db::Kind kind) { return kind == db::Kind::Sqlite ? 120 : 2000; }

bool isIntegral(QMetaType::Type t)
{
    switch (t) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Long: case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

bool isNumeric(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Double: case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

[[noreturn]] void throwMismatch(const QVariant& value, const QString& column, const QString& table)
{
    throw db::Error(QStringLiteral("value '%1' does not fit column %2 of %3").arg(value.toString(), column, table));
}

}  // namespace

TableWriter::TableWriter(db::Database& database, const QString& table, const QStringList& columns, const AuditStamp& audit)
    : db_(database), table_(table), callerColumns_(int(columns.size()))
{
    // PostgreSQL keeps the unquoted name DB0253 as db0253, and Qt's driver
    // looks the name up as given.
    QSqlRecord record = db_.handle().record(table);
    if (record.isEmpty())
        record = db_.handle().record(table.toLower());
    if (record.isEmpty())
        throw db::Error(QStringLiteral("table %1 does not exist").arg(table));

    auto has = [&](const QString& c) { return record.indexOf(c) >= 0; };
    auto given = [&](const QString& c) {
        for (const QString& x : columns)
            if ((x.startsWith(QLatin1Char('?')) ? x.mid(1) : x).compare(c, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    for (const QString& c : columns) {
        const bool optional = c.startsWith(QLatin1Char('?'));
        const QString name = optional ? c.mid(1) : c;
        if (!has(name) && !optional)
            throw db::Error(QStringLiteral("table %1 has no column %2").arg(table, name));
        keep_.push_back(has(name));
        if (has(name))
            columns_ << name;
    }

    // Automatic columns, added only where the table has them and the caller is silent.
    const bool hoursNaming = has(QStringLiteral("登録時間")) && !has(QStringLiteral("登録時刻"));
    const QString timeSuffix = hoursNaming ? QStringLiteral("時間") : QStringLiteral("時刻");
    const std::pair<QString, QVariant> automatic[] = {
        {QStringLiteral("削除フラグ"), QStringLiteral("0")},
        {QStringLiteral("登録日"), audit.date},
        {QStringLiteral("登録") + timeSuffix, audit.time},
        {QStringLiteral("登録オペレータ"), audit.operatorCode},
        {QStringLiteral("登録端末番号"), audit.terminal},
        {QStringLiteral("登録プログラム"), audit.program},
        {QStringLiteral("更新日"), audit.date},
        {QStringLiteral("更新") + timeSuffix, audit.time},
        {QStringLiteral("更新オペレータ"), audit.operatorCode},
        {QStringLiteral("更新端末番号"), audit.terminal},
        {QStringLiteral("更新プログラム"), audit.program},
    };
    for (const auto& [name, value] : automatic) {
        if (has(name) && !given(name)) {
            columns_ << name;
            extraValues_ << value;
        }
    }

    for (const QString& c : columns_)
        types_.push_back(QMetaType::Type(record.field(record.indexOf(c)).metaType().id()));
    rowsPerStatement_ = std::max(1, parametersPerStatement(db_.kind()) / int(columns_.size()));
}

QVariant TableWriter::convert(const QVariant& value, int column) const
{
    const QMetaType::Type target = types_[std::size_t(column)];
    if (!value.isValid() || value.isNull())
        return QVariant(QMetaType(target));
    // A null QString binds as NULL; the plant's tables hold empty text instead.
    if (value.typeId() == QMetaType::QString && value.toString().isNull() && target == QMetaType::QString)
        return QStringLiteral("");
    if (isIntegral(target)) {
        if (value.typeId() == QMetaType::Double)
            return qint64(value.toDouble());
        bool ok = false;
        const qint64 n = value.toString().trimmed().toLongLong(&ok);
        if (!ok)
            throwMismatch(value, columns_[column], table_);
        return n;
    }
    if (target == QMetaType::Double || target == QMetaType::Float) {
        bool ok = false;
        const double d = value.toString().trimmed().toDouble(&ok);
        if (!ok)
            throwMismatch(value, columns_[column], table_);
        return d;
    }
    if (target == QMetaType::QString && isNumeric(value)) {
        if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
            return QString::number(value.toDouble(), 'g', 15);
        return value.toString();
    }
    return value;
}

void TableWriter::add(const QVariantList& values)
{
    if (values.size() != callerColumns_)
        throw db::Error(QStringLiteral("%1 values for %2 columns of %3").arg(values.size()).arg(callerColumns_).arg(table_));
    int column = 0;
    for (int i = 0; i < callerColumns_; ++i)
        if (keep_[std::size_t(i)])
            pending_ << convert(values[i], column++);
    for (const QVariant& v : extraValues_)
        pending_ << convert(v, column++);
    if (++pendingRows_ >= rowsPerStatement_)
        flush();
}

void TableWriter::flush()
{
    if (pendingRows_ == 0)
        return;
    QString placeholders = QStringLiteral("(");
    for (int i = 0; i < columns_.size(); ++i)
        placeholders += i ? QStringLiteral(",?") : QStringLiteral("?");
    placeholders += QLatin1Char(')');

    QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(table_, columns_.join(QLatin1Char(',')));
    sql.reserve(sql.size() + pendingRows_ * (placeholders.size() + 1));
    for (int r = 0; r < pendingRows_; ++r) {
        if (r)
            sql += QLatin1Char(',');
        sql += placeholders;
    }
    db_.exec(sql, pending_);
    written_ += pendingRows_;
    pending_.clear();
    pendingRows_ = 0;
}

}  // namespace demoplant
