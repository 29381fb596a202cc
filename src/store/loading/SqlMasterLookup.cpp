#include "store/loading/SqlMasterLookup.h"

#include "store/loading/FieldValues.h"

namespace store {

namespace {

QString key(std::initializer_list<QString> parts)
{
    QString k;
    for (const QString& p : parts) k += p + QChar(0x1f);
    return k;
}

QVariant at(const db::Cursor& c, int column) { return column < 0 ? QVariant() : c.value(column); }

// Rows marked deleted are never used, even where the statement does not filter them.
bool isLive(const db::Cursor& c, int flagColumn)
{
    const QVariant flag = at(c, flagColumn);
    return flag.isNull() || textOf(flag).trimmed() == QStringLiteral("0");
}

// Format "00" of a code held as a number or text.
QString twoDigits(const QVariant& v)
{
    const QString t = textOf(v).trimmed();
    bool ok = false;
    const int n = t.toInt(&ok);
    return ok && n >= 0 ? QStringLiteral("%1").arg(n, 2, 10, QChar(u'0')) : t;
}

}  // namespace

SqlMasterLookup::SqlMasterLookup(db::Database& db, int departmentCode) : db_(db), departmentCode_(departmentCode) {}

void SqlMasterLookup::clear()
{
    cycles_.clear();
    productivities_.clear();
    destinations_.clear();
    firstSection_.reset();
    requirementRules_.clear();
}

std::optional<double> SqlMasterLookup::machineCycle(const QString& itemCode, int processSeq, const QString& machineCode)
{
    const QString k = key({itemCode, QString::number(processSeq), machineCode});
    if (const auto hit = cycles_.constFind(k); hit != cycles_.constEnd()) return *hit;
    db::Cursor c = db_.query(QStringLiteral("SELECT DB0492.* " " FROM DB0492 " " WHERE 品名コード=? AND 順序=")
                                 + QString::number(processSeq) + QStringLiteral(" AND 機械コード=?"),
                             {itemCode, machineCode});
    const int cycle = c.column(QStringLiteral("サイクル")), flag = c.column(QStringLiteral("削除フラグ"));
    std::optional<double> result;
    while (c.next())
        if (isLive(c, flag)) {
            result = numberOf(at(c, cycle));
            break;
        }
    cycles_.insert(k, result);
    return result;
}

std::optional<reschedule::Productivity> SqlMasterLookup::routingProductivity(const QString& itemCode, int processSeq)
{
    const QString k = key({itemCode, QString::number(processSeq)});
    if (const auto hit = productivities_.constFind(k); hit != productivities_.constEnd()) return *hit;
    db::Cursor c = db_.query(QStringLiteral("SELECT DB0381.* " " FROM DB0381 " " WHERE 品名コード=? AND 順序=")
                                 + QString::number(processSeq) + QStringLiteral(" "),
                             {itemCode});
    const int value = c.column(QStringLiteral("標準生産性＿機械")), unit = c.column(QStringLiteral("生産性＿機械＿単位"));
    const int factory = c.column(QStringLiteral("生産工場コード")), flag = c.column(QStringLiteral("削除フラグ"));
    // The routing is kept per factory; prefer this factory's row over another's.
    std::optional<reschedule::Productivity> result;
    while (c.next()) {
        if (!isLive(c, flag)) continue;
        const reschedule::Productivity p{numberOf(at(c, value)), integerOf(at(c, unit))};
        if (integerOf(at(c, factory)) == departmentCode_) {
            result = p;
            break;
        }
        if (!result) result = p;
    }
    productivities_.insert(k, result);
    return result;
}

QString SqlMasterLookup::machineDestination(const QString& machineCode)
{
    if (const auto hit = destinations_.constFind(machineCode); hit != destinations_.constEnd()) return *hit;
    QString dest = QStringLiteral(" ");
    {
        db::Cursor c = db_.query(QStringLiteral("SELECT * FROM DB0394 WHERE " "機械コード" "=?"), {machineCode});
        const int column = c.column(QStringLiteral("指示先コード"));
        if (c.next() && !isBlank(at(c, column))) dest = textOf(at(c, column));
    }
    // No machine row, or a one-character placeholder: the department's own first section.
    if (dest.size() == 1) dest = departmentFirstSection();
    destinations_.insert(machineCode, dest);
    return dest;
}

QString SqlMasterLookup::departmentFirstSection()
{
    if (firstSection_) return *firstSection_;
    db::Cursor c = db_.query(QStringLiteral("SELECT * FROM DB0370 WHERE 部コード=") + QString::number(departmentCode_)
                             + QStringLiteral(" AND 課コード<>0 ORDER BY 課コード"));
    const int dept = c.column(QStringLiteral("部コード")), section = c.column(QStringLiteral("課コード"));
    const int flag = c.column(QStringLiteral("削除フラグ"));
    QString result;
    while (c.next())
        if (isLive(c, flag)) {
            result = twoDigits(at(c, dept)) + twoDigits(at(c, section)) + QString(8, u' ');
            break;
        }
    firstSection_ = result;
    return result;
}

std::optional<reschedule::RequirementRule> SqlMasterLookup::requirementRule(std::int64_t orderNo, const QString& componentItemCode)
{
    const QString k = key({QString::number(orderNo), componentItemCode});
    if (const auto hit = requirementRules_.constFind(k); hit != requirementRules_.constEnd()) return *hit;
    db::Cursor c = db_.query(QStringLiteral("SELECT DB0252.*,DB0380.端数処理区分,DB0380.端数処理桁位置 "
                                            " FROM (DB0252 LEFT JOIN DB0378 ON DB0252.品名コード=DB0378.品名コード) "
                                            " LEFT JOIN DB0380 ON DB0380.単位コード=DB0378.基本単位 "
                                            " WHERE DB0252.上位手配番号=")
                                 + QString::number(orderNo) + QStringLiteral(" AND DB0252.品名コード = ?"),
                             {componentItemCode});
    const int kind = c.column(QStringLiteral("端数処理区分")), digits = c.column(QStringLiteral("端数処理桁位置"));
    const int num = c.column(QStringLiteral("原単位分子")), den = c.column(QStringLiteral("原単位分母"));
    const int defect = c.column(QStringLiteral("不良率")), flag = c.column(QStringLiteral("削除フラグ"));
    std::optional<reschedule::RequirementRule> result;
    while (c.next())
        if (isLive(c, flag)) {
            result = reschedule::RequirementRule{textOf(at(c, kind)).trimmed(), int(integerOf(at(c, digits))),
                                                 numberOf(at(c, num)), numberOf(at(c, den)), numberOf(at(c, defect))};
            break;
        }
    requirementRules_.insert(k, result);
    return result;
}

}  // namespace store
