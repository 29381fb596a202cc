// The export's CSV.
#include "session/PlanCsv.h"

#include <gtest/gtest.h>

#include "support/QtPrinting.h"

using namespace session;

TEST(PlanCsv, FieldQuoting)
{
    EXPECT_EQ(csvField("plain text"), QStringLiteral("plain text"));
    EXPECT_EQ(csvField("a,b"), QStringLiteral("\"a,b\""));
    EXPECT_EQ(csvField("say \"hi\""), QStringLiteral("\"say \"\"hi\"\"\""));
    EXPECT_EQ(csvField("two\nlines"), QStringLiteral("\"two\nlines\""));
    EXPECT_EQ(csvField("cr\r"), QStringLiteral("\"cr\r\""));
    EXPECT_EQ(csvLine({"", "x", "y,z"}), QStringLiteral(",x,\"y,z\""));
}

TEST(PlanCsv, TextCellsCannotBecomeFormulas)
{
    EXPECT_EQ(spreadsheetText("=HYPERLINK(\"x\")"), QStringLiteral("'=HYPERLINK(\"x\")"));
    for (const char* risky : {"+1", "-1+2", "@SUM(A1)", "\tx", "\rx"}) EXPECT_TRUE(spreadsheetText(risky).startsWith(u'\'')) << risky;
    EXPECT_EQ(spreadsheetText("\tx"), QStringLiteral("'x"));
    EXPECT_EQ(spreadsheetText("a\x01" "b\x1b" "c\x7f"), QStringLiteral("abc"));
    EXPECT_EQ(spreadsheetText("two\r\nlines"), QStringLiteral("two\r\nlines"));  // line breaks stay, quoted by csvField
    EXPECT_EQ(spreadsheetText("ケース A-1"), QStringLiteral("ケース A-1"));
    EXPECT_EQ(spreadsheetText(""), QString());
    // Read back, a text cell is the text it stood for.
    for (const char* text : {"=1+1", "-M01", "@x", "'plain", "it's", ""}) EXPECT_EQ(plainCellText(spreadsheetText(text)), QString(text)) << text;

    // In a whole line: the remark is neutralised, a negative number (a new order) stays a number.
    core::RowTable rows;
    plan::PlanData plan;
    plan::PlanRecord r;
    r.barIndex = 2;
    r.orderNo = -3;
    r.remarks = QStringLiteral("=1+1");
    r.itemCode = QStringLiteral("@ITEM");
    plan.append(r);
    const QStringList header = planCsvHeader();
    const QStringList fields = planCsvFields(plan, 2, rows);
    EXPECT_EQ(fields[header.indexOf(QStringLiteral("備考"))], QStringLiteral("'=1+1"));
    EXPECT_EQ(fields[header.indexOf(QStringLiteral("品名ｺｰﾄﾞ"))], QStringLiteral("'@ITEM"));
    EXPECT_EQ(fields[header.indexOf(QStringLiteral("手配番号"))], QStringLiteral("-3"));
}

TEST(PlanCsv, OneLinePerShownOrder)
{
    core::RowTable rows;
    rows.append(QStringLiteral("M01"), QStringLiteral("成形機1"), QStringLiteral("成形機1"));

    plan::PlanData plan;
    plan::PlanRecord placed;
    placed.barIndex = 2;
    placed.orderNo = 1001;
    placed.machineCode = QStringLiteral("M01");
    placed.itemCode = QStringLiteral("ITEM-1");
    placed.modelName = QStringLiteral("ケース, 大");
    placed.remarks = QStringLiteral("\"至急\"");
    placed.startDate = core::Date::fromYmd(2024, 1, 5);
    placed.startTime = core::TimeOfDay::fromHms(8, 30);
    placed.endDate = core::Date::fromYmd(2024, 1, 6);
    placed.endTime = core::TimeOfDay::fromHms(17, 0, 5);
    placed.initialDueDate = core::Date::fromYmd(2024, 1, 5);
    placed.setupMinutes = 30;
    placed.workMinutes = 600;
    placed.fixKind = plan::FixKind::BackFixed;
    placed.confirmKind = plan::ConfirmKind::Confirmed;
    plan.append(placed);

    plan::PlanRecord member = placed;  // a set member follows its representative and is not listed
    member.barIndex = 3;
    member.orderNo = 1002;
    member.setRepOrderNo = 1001;
    member.isSetMember = true;
    plan.append(member);

    plan::PlanRecord unplaced;
    unplaced.barIndex = 4;
    unplaced.orderNo = 1003;
    plan.append(unplaced);

    const QByteArray bytes = planCsv(plan, rows, true);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QString text = QString::fromUtf8(bytes.mid(3));
    ASSERT_TRUE(text.endsWith(QStringLiteral("\r\n")));
    const QStringList lines = text.chopped(2).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3);  // header, placed, unplaced
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("表示,確定,手配番号,ｾｯﾄ代表,品名ｺｰﾄﾞ,品名,順序,工程内容,機械,作業開始,作業終了,")));
    EXPECT_TRUE(lines[0].contains(QStringLiteral(",BarID,KEY,機械コード,")));

    const QStringList header = planCsvHeader();
    const QStringList first = planCsvFields(plan, 2, rows);
    ASSERT_EQ(first.size(), header.size());
    auto field = [&](const char* name) { return first[header.indexOf(QString::fromUtf8(name))]; };
    EXPECT_EQ(field("機械"), QStringLiteral("成形機1"));
    EXPECT_EQ(field("機械コード"), QStringLiteral("M01"));
    EXPECT_EQ(field("開始日時"), QStringLiteral("2024/01/05 08:30:00"));
    EXPECT_EQ(field("終了日時"), QStringLiteral("2024/01/06 17:00:05"));
    EXPECT_EQ(field("必要時間"), QStringLiteral("630"));
    EXPECT_EQ(field("固定区分"), QStringLiteral("1"));
    EXPECT_EQ(field("KEY"), QStringLiteral("2"));
    EXPECT_EQ(field("色区分"), QStringLiteral("late"));  // ends the day after its first due date
    EXPECT_TRUE(lines[1].contains(QStringLiteral(",\"ケース, 大\",")));
    EXPECT_TRUE(lines[1].contains(QStringLiteral(",\"\"\"至急\"\"\",")));

    const QStringList last = planCsvFields(plan, 4, rows);
    EXPECT_TRUE(last[header.indexOf(QStringLiteral("機械"))].isEmpty());
    EXPECT_TRUE(last[header.indexOf(QStringLiteral("開始日時"))].isEmpty());
}

TEST(PlanCsv, KindsAreWrittenAsStored)
{
    plan::PlanData plan;
    plan::PlanRecord r;
    r.barIndex = 2;
    r.confirmKind = plan::ConfirmKind::Planned;
    r.confirmKindDb = plan::ConfirmKind::Other;
    r.confirmKindDbOtherText = QStringLiteral(" ");
    r.fixKind = plan::FixKind::Other;
    r.fixKindOtherText = QStringLiteral("X");
    plan.append(r);
    r.barIndex = 3;
    r.confirmKind = r.confirmKindDb = plan::ConfirmKind::Confirmed;
    r.fixKind = plan::FixKind::FullyFixed;
    plan.append(r);

    const QStringList header = planCsvHeader();
    const auto fields = [&](int recordNo) {
        const QStringList f = planCsvFields(plan, recordNo, core::RowTable());
        return QStringList{f[header.indexOf(QStringLiteral("確定"))], f[header.indexOf(QStringLiteral("固定区分"))],
                           f[header.indexOf(QStringLiteral("確定区分(DB)"))]};
    };
    EXPECT_EQ(fields(2), (QStringList{QStringLiteral("1"), QStringLiteral("X"), QStringLiteral(" ")}));
    EXPECT_EQ(fields(3), (QStringList{QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("2")}));
}
