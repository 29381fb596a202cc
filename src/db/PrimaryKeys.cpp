#include "db/Database.h"

#include <QHash>

namespace db {

namespace {

// The keys of sql/*.sql (a test compares this table with the SQLite schema).
const QHash<QString, QStringList>& keyTable()
{
    static const QHash<QString, QStringList> keys = {
        {QStringLiteral("DB0003"), {QStringLiteral("担当者コード")}},
        {QStringLiteral("DB0018"), {QStringLiteral("番号管理キー")}},
        {QStringLiteral("DB0202"), {QStringLiteral("所要計画No")}},
        {QStringLiteral("DB0204"), {QStringLiteral("受注番号")}},
        {QStringLiteral("DB0251"), {QStringLiteral("生産計画番号")}},
        {QStringLiteral("DB0252"), {QStringLiteral("上位手配番号"), QStringLiteral("品名コード"), QStringLiteral("順序")}},
        {QStringLiteral("DB0253"), {QStringLiteral("手配番号")}},
        {QStringLiteral("DB0259"),
         {QStringLiteral("生産工場コード"), QStringLiteral("手配番号"), QStringLiteral("実績区分"), QStringLiteral("実績番号"),
          QStringLiteral("実績行番号"), QStringLiteral("ロット番号")}},
        {QStringLiteral("DB0351"), {}},
        {QStringLiteral("DB0361"), {QStringLiteral("得意先コード")}},
        {QStringLiteral("DB0369"), {QStringLiteral("仕入先コード")}},
        {QStringLiteral("DB0370"), {QStringLiteral("部コード"), QStringLiteral("課コード")}},
        {QStringLiteral("DB0378"), {QStringLiteral("品名コード")}},
        {QStringLiteral("DB0380"), {QStringLiteral("単位コード")}},
        {QStringLiteral("DB0381"), {QStringLiteral("品名コード"), QStringLiteral("順序"), QStringLiteral("生産工場コード")}},
        {QStringLiteral("DB0382"), {QStringLiteral("工程内容コード")}},
        {QStringLiteral("DB0383"),
         {QStringLiteral("生産工場コード"), QStringLiteral("上位品名コード"), QStringLiteral("順序"), QStringLiteral("下位品名コード")}},
        {QStringLiteral("DB0386"),
         {QStringLiteral("取引先コード"), QStringLiteral("品名コード"), QStringLiteral("工場コード"), QStringLiteral("順序"),
          QStringLiteral("開始日")}},
        {QStringLiteral("DB0394"), {QStringLiteral("機械コード")}},
        {QStringLiteral("DB0399"), {QStringLiteral("工程分類コード")}},
        {QStringLiteral("DB0451"), {QStringLiteral("品名コード"), QStringLiteral("順序"), QStringLiteral("生産工場コード")}},
        {QStringLiteral("DB0471"), {QStringLiteral("金型番号")}},
        {QStringLiteral("DB0473"),
         {QStringLiteral("金型番号"), QStringLiteral("セット品グループ"), QStringLiteral("品名コード"), QStringLiteral("順序")}},
        {QStringLiteral("DB0491"), {QStringLiteral("機械コード"), QStringLiteral("年月日")}},
        {QStringLiteral("DB0492"), {QStringLiteral("品名コード"), QStringLiteral("順序"), QStringLiteral("機械コード")}},
        {QStringLiteral("DB0493"), {QStringLiteral("指示先コード"), QStringLiteral("工程分類コード")}},
        {QStringLiteral("DB0494"), {QStringLiteral("番号"), QStringLiteral("受注データ区分"), QStringLiteral("手配番号")}},
        {QStringLiteral("DB0496"), {QStringLiteral("自社企業コード")}},
        {QStringLiteral("DB0497"), {QStringLiteral("担当者コード"), QStringLiteral("機械コード")}},
    };
    return keys;
}

}  // namespace

QStringList Database::primaryKeyOf(const QString& table)
{
    return keyTable().value(table.trimmed().toUpper());
}

// Every table of the schema, for tools and tests.
QStringList Database::schemaTables()
{
    QStringList tables = keyTable().keys();
    tables.sort();
    return tables;
}

}  // namespace db
