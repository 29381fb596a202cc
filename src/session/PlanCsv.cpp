#include "session/PlanCsv.h"

#include "core/BarLook.h"

#include <QBuffer>

namespace session {

namespace {

const QString LineEnd = QStringLiteral("\r\n");

QString dateTimeText(core::Date d, core::TimeOfDay t)
{
    return d.isNull() ? QString() : core::Moment::of(d, t).toDisplayText();
}

// A spreadsheet takes a cell starting with these as a formula (or strips
// the blank): the usual apostrophe keeps it text.
const QString& formulaStart()
{
    static const QString chars = QStringLiteral("=+-@\t\r");
    return chars;
}

QString orderNoText(std::int64_t n)
{
    return n == 0 ? QString() : QString::number(n);
}

}  // namespace

QString spreadsheetText(const QString& value)
{
    QString out;
    out.reserve(value.size() + 1);
    if (!value.isEmpty() && formulaStart().contains(value.front())) out += QLatin1Char('\'');
    for (QChar c : value) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\r' && u != u'\n') || u == 0x7f) continue;  // control characters go
        out += c;
    }
    return out;
}

QString plainCellText(const QString& cell)
{
    if (cell.size() >= 2 && cell.front() == u'\'' && formulaStart().contains(cell[1])) return cell.mid(1);
    return cell;
}

QString csvField(const QString& value)
{
    if (!value.contains(u',') && !value.contains(u'"') && !value.contains(u'\r') && !value.contains(u'\n')) return value;
    QString quoted = value;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString csvLine(const QStringList& fields)
{
    QString line;
    for (int i = 0; i < fields.size(); ++i) {
        if (i) line += QLatin1Char(',');
        line += csvField(fields[i]);
    }
    return line;
}

QStringList planCsvHeader()
{
    return {
        // The plan grid's columns.
        QStringLiteral("表示"), QStringLiteral("確定"), QStringLiteral("手配番号"), QStringLiteral("ｾｯﾄ代表"),
        QStringLiteral("品名ｺｰﾄﾞ"), QStringLiteral("品名"), QStringLiteral("順序"), QStringLiteral("工程内容"),
        QStringLiteral("機械"), QStringLiteral("作業開始"), QStringLiteral("作業終了"), QStringLiteral("希望納期"),
        QStringLiteral("手配数"), QStringLiteral("受注実績数"), QStringLiteral("金型ｺｰﾄﾞ"), QStringLiteral("金型名"),
        QStringLiteral("必要時間"), QStringLiteral("備考"), QStringLiteral("BarID"), QStringLiteral("KEY"),
        // The export's own, in full precision for programs.
        QStringLiteral("機械コード"), QStringLiteral("指示先コード"), QStringLiteral("開始日時"), QStringLiteral("終了日時"),
        QStringLiteral("段取時間(分)"), QStringLiteral("作業時間(分)"), QStringLiteral("固定区分"), QStringLiteral("確定区分(DB)"),
        QStringLiteral("初期納期"), QStringLiteral("色区分"), QStringLiteral("必要人員"),
    };
}

QStringList planCsvFields(const plan::PlanData& plan, int recordNo, const core::RowTable& rows)
{
    const plan::PlanRecord& r = plan[recordNo];
    const QString machine = r.machineCode.trimmed();
    const int row = machine.isEmpty() ? 0 : rows.findRow(machine);
    const QString machineName = row > 0 ? rows.row(row).RowName : machine;
    const core::DueClass due = core::dueClassOf(r.endDate, r.initialDueDate);
    return {
        QString::number(r.ganttDisplayKind),
        plan::textOf(r.confirmKind),
        QString::number(r.orderNo),
        orderNoText(r.setRepOrderNo),
        spreadsheetText(r.itemCode),
        spreadsheetText(r.modelName),
        QString::number(r.processSeq),
        spreadsheetText(r.processName),
        spreadsheetText(machineName),
        core::dateMinuteText(r.startDate, r.startTime),
        core::dateMinuteText(r.endDate, r.endTime),
        r.dueDate.toDisplayText(),
        QString::number(r.orderQty),
        QString::number(r.receivedQty),
        spreadsheetText(r.mouldNo),
        spreadsheetText(r.mouldShortName),
        QString::number(std::int64_t(r.setupMinutes) + r.workMinutes),
        spreadsheetText(r.remarks),
        QString::number(r.barIndex),
        QString::number(recordNo),
        spreadsheetText(machine),
        spreadsheetText(r.destCode),
        dateTimeText(r.startDate, r.startTime),
        dateTimeText(r.endDate, r.endTime),
        QString::number(r.setupMinutes),
        QString::number(r.workMinutes),
        plan::textOf(r.fixKind, r.fixKindOtherText),
        plan::textOf(r.confirmKindDb, r.confirmKindDbOtherText),
        r.initialDueDate.toDisplayText(),
        core::dueClassName(due),
        QString::number(r.requiredPersons),
    };
}

bool writePlanCsv(QIODevice& out, const plan::PlanData& plan, const core::RowTable& rows, bool withBom)
{
    // Line by line: the whole text never stands beside the plan, let alone in UTF-16.
    const auto write = [&out](const QByteArray& bytes) { return out.write(bytes) == bytes.size(); };
    if (withBom && !write(QByteArrayLiteral("\xEF\xBB\xBF"))) return false;
    if (!write((csvLine(planCsvHeader()) + LineEnd).toUtf8())) return false;
    for (int i = 2; i <= plan.size(); ++i) {
        if (plan[i].isHidden()) continue;
        if (!write((csvLine(planCsvFields(plan, i, rows)) + LineEnd).toUtf8())) return false;
    }
    return true;
}

QByteArray planCsv(const plan::PlanData& plan, const core::RowTable& rows, bool withBom)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    writePlanCsv(buffer, plan, rows, withBom);
    return bytes;
}

}  // namespace session
