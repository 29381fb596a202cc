#include "store/loading/PlanStatements.h"

namespace store::statements {

namespace {
// The class's machines with the operator's choice of them (DB0497), as far as
// the factory; the two statements below differ only in what follows.
QString machinesWithChoice(const db::Dialect& dialect, int kojoCode)
{
    return QStringLiteral("SELECT" "   " "DB0394" "." "機械コード" " , " "DB0394" "." "機械名")
        + dialect.nullFunction()
        + QStringLiteral("DB0497" ".選択,1) 選択" " FROM " "DB0394" " LEFT JOIN " "DB0497" "   ON " "DB0497"
                         ".担当者コード = ?" "   AND " "DB0497" "." "機械コード" " = " "DB0394" "." "機械コード"
                         " WHERE " "DB0394" ".生産工場コード=")
        + QString::number(kojoCode)
        + QStringLiteral("   AND " "DB0394" ".工程分類コード=?" "   AND " "DB0394" ".削除フラグ='0'");
}
}  // namespace

QString machines(const db::Dialect& dialect, int kojoCode)
{
    return machinesWithChoice(dialect, kojoCode)
        + QStringLiteral("   AND (" "DB0497" ".選択='1'" "   OR " "DB0497" ".選択 is NULL )" " ORDER BY ")
        + dialect.machineOrderColumn();
}

QString machineSelection(const db::Dialect& dialect, int kojoCode)
{
    return machinesWithChoice(dialect, kojoCode) + QStringLiteral(" ORDER BY ") + dialect.machineOrderColumn();
}

QString machineCalendar()
{
    return QStringLiteral("SELECT " " * " " FROM " " " "DB0491" " WHERE " "   機械コード=?" " AND " "   年月日 BETWEEN ?"
                          "                     AND ?" " ORDER BY " "   年月日,開始時刻１");
}

QString breakMaster()
{
    static const char16_t* const digits[] = {u"１", u"２", u"３", u"４", u"５", u"６", u"７", u"８", u"９", u"１０"};
    QString sql = QStringLiteral("SELECT\n");
    for (int n = 1; n <= 10; ++n) {
        const QString number = QString::fromUtf16(digits[n - 1]);
        const QString gap = n < 10 ? QStringLiteral("   ") : QStringLiteral(" ");
        sql += QStringLiteral("開始時刻") + number + gap + QStringLiteral("as Jikoku%1,\n").arg(2 * n - 1, 2, 10, QChar(u'0'));
        sql += QStringLiteral("終了時刻") + number + gap + QStringLiteral("as Jikoku%1").arg(2 * n, 2, 10, QChar(u'0'))
            + (n < 10 ? QStringLiteral(",\n") : QStringLiteral("\n"));
    }
    return sql + QStringLiteral("FROM\n" "DB0496\n" "WHERE\n" "自社企業コード = '1'\n");
}

QString suppliers()
{
    return QStringLiteral("SELECT " "仕入先コード" "," "仕入先名略名"
                          " FROM DB0369 INNER JOIN DB0493 ON DB0369.仕入先コード=DB0493.指示先コード "
                          " WHERE 仕入先分類='2' AND DB0369.削除フラグ='0' AND 工程分類コード=?" " ORDER BY " "仕入先コード");
}
namespace {
// D: the set-mould rows whose priority is the first of their key among the rows not deleted.
const QString& setMouldJoin()
{
    static const QString join = QStringLiteral(
        "    LEFT JOIN (SELECT A.*"
        "               FROM DB0473 A"
        "                   ,("
        "                     SELECT C.金型番号,C.セット品グループ,C.品名コード,C.順序,min(C.優先順位) 最優先順位"
        "                     FROM DB0473 C "
        "                     WHERE C.削除フラグ='0' "
        "                     group BY C.金型番号,C.セット品グループ,C.品名コード,C.順序"
        "                     ) B"
        "               where B.最優先順位 = A.優先順位"
        "                 and B.金型番号 = A.金型番号"
        "                 AND B.セット品グループ = A.セット品グループ"
        "                 AND B.品名コード = A.品名コード"
        "                 AND B.順序 = A.順序"
        "               ) D");
    return join;
}
}  // namespace

QString planOrders(int kojoCode)
{
    return QStringLiteral(
        "SELECT DB0253.* "
        "   ,DB0381.標準生産性＿機械 生産性"
        "   ,DB0381.生産性＿機械＿単位 生産性区分"
        "   ,DB0378.品名＿品名仕様 型番名"
        "   ,DB0378.包装単位数量"
        "   ,DB0378.品目分類コード２"
        "   ,DB0382.工程内容名"
        "   ,DB0382.工程分類コード"
        "   ,DB0251.計画数"
        "   ,DB0251.品名コード 品名コード2"
        "   ,DB0451.サイクル 成形品Mサイクル"
        "   ,DB0451.取数 成形品M取数"
        "   ,DB0451.ショット重量"
        "   ,DB0451.製品重量"
        "   ,DB0451.前段取時間"
        "   ,DB0451.後段取時間"
        "   ,DB0492.サイクル 優先サイクル"
        "   ,DB0471.金型略称 "
        "   ,DB0471.取数 金型取数"
        "   ,D.取数 セット取り取数"
        " From DB0253"
        "    INNER JOIN DB0381"
        "      ON  DB0253.品名コード = DB0381.品名コード"
        "      AND DB0253.順序 = DB0381.順序"
        "      AND DB0253.生産工場コード = DB0381.生産工場コード"
        "    INNER JOIN DB0378"
        "      ON DB0253.品名コード = DB0378.品名コード"
        "    INNER JOIN DB0382"
        "      ON DB0382.工程内容コード = DB0381.工程内容コード"
        "    LEFT JOIN DB0251"
        "      ON DB0253.生産計画番号 = DB0251.生産計画番号"
        "    LEFT JOIN DB0451"
        "      ON DB0253.品名コード = DB0451.品名コード"
        "      AND DB0253.順序 = DB0451.順序"
        "      AND DB0253.生産工場コード = DB0451.生産工場コード"
        "    LEFT JOIN DB0492"
        "      ON  DB0253.品名コード = DB0492.品名コード"
        "      AND DB0253.順序 = DB0492.順序"
        "      AND DB0253.機械コード = DB0492.機械コード"
        "    LEFT JOIN DB0471"
        "      ON  DB0253.金型番号 = DB0471.金型番号"
        "      AND DB0471.削除フラグ = '0'"
        )
        + setMouldJoin()
        + QStringLiteral(
        "      ON  DB0253.金型番号 = D.金型番号"
        "      AND DB0253.セット品グループ = D.セット品グループ"
        "      AND DB0253.品名コード = D.品名コード"
        "      AND DB0253.順序 = D.順序"
        " WHERE DB0382.工程分類コード=?"
        "   AND DB0253.削除フラグ='0'"
        "   AND DB0253.生産工場コード = ")
        + QString::number(kojoCode)
        + QStringLiteral("   AND DB0253.完納区分<>'2'"
        " ORDER BY DB0253.スケジューラ固定区分,DB0253.生産計画番号,DB0253.機械コード,DB0253.納期");
}

QString planOrders(const db::Dialect& dialect, int kojoCode)
{
    QString sql = planOrders(kojoCode);
    if (dialect.kind() != db::Kind::Sqlite) return sql;
    static const QString keyed = QStringLiteral(
        "    LEFT JOIN DB0473 D"
        "      ON  D.優先順位 = (SELECT min(C.優先順位)"
        "                        FROM DB0473 C"
        "                        WHERE C.削除フラグ='0'"
        "                          AND C.金型番号 = D.金型番号"
        "                          AND C.セット品グループ = D.セット品グループ"
        "                          AND C.品名コード = D.品名コード"
        "                          AND C.順序 = D.順序)"
        "      AND");
    // The join's own conditions on D's key follow ("ON  DB0253.金型番号 = D.金型番号 ...").
    const qsizetype at = sql.indexOf(setMouldJoin());
    Q_ASSERT(at >= 0);
    const qsizetype on = sql.indexOf(QStringLiteral("      ON  DB0253.金型番号 = D.金型番号"), at);
    Q_ASSERT(on >= 0);
    sql.replace(at, on + qsizetype(QStringLiteral("      ON ").size()) - at, keyed);
    return sql;
}

QString planComponents(int kojoCode)
{
    return QStringLiteral(
        "select A.*"
        "  ,DB0378.品名＿品名仕様"
        " from DB0252 A"
        "     left join DB0378"
        "       ON  DB0378.品名コード = A.品名コード "
        "     left join DB0253"
        "       on DB0253.手配番号 = A.上位手配番号"
        "     left join DB0381"
        "       ON  DB0381.品名コード = DB0253.品名コード"
        "       AND DB0381.順序 = DB0253.順序"
        "       AND DB0381.生産工場コード = DB0253.生産工場コード"
        "  WHERE DB0253.削除フラグ='0'"
        "    AND DB0253.生産工場コード = ")
        + QString::number(kojoCode) + QStringLiteral("    AND DB0253.完納区分<>'2'");
}

}  // namespace store::statements
