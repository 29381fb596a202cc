#pragma once
// The rules of the schedule list (予定一覧): its columns, the search by item
// code, mould and due-date range with its date checks, and the sort by any
// column. The list works on the plan table in memory only.

#include "plan/PlanData.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace reschedule::schedule_list {

enum Column {
    ColSystemId, ColOrderNo, ColItemCode, ColItemName, ColSeq, ColProcess, ColMachine, ColStart, ColDue, ColOrderQty,
    ColMould, ColRequest, ColumnCount
};
QStringList headers();

// Dates as first filled (the default "yyyy/mm/dd") or after a sort ("yy/mm/dd").
enum class DateStyle { Default, Short };

// The text of a column for a record, trimmed.
QString cellText(const plan::PlanRecord& r, int column, DateStyle dates);

// The records marked for the list (`marked`), in plan-table order.
std::vector<int> markedRecords(const plan::PlanData& plan, const std::function<bool(int recordNo)>& marked);

// The due-date boxes checked as the search does; on failure the message to
// show (title dateErrorTitle(), warning icon) and no range.
struct DueDateCheck {
    QString message;  // empty when both dates are good
    core::Date from, to;
    bool ok() const { return message.isEmpty(); }
};
DueDateCheck checkDueDates(const QString& fromText, const QString& toText);
QString dateErrorTitle();

// What the search keeps: item code and mould contain the typed text (with the
// pattern characters * ? # [ ] of the plant's list programs), the end date
// lies within the due-date range, both bounds included. Empty texts match all.
struct Criteria {
    QString itemCode;
    QString mould;
    core::Date from, to;
};
bool matches(const plan::PlanRecord& r, const Criteria& c);

// Whether `text` matches `pattern` as the plant's list programs compare: * any
// run of characters, ? any one character, # one digit, [abc] [a-z] one of
// them, [!abc] none of them; everything else itself, case kept. A [ that is
// never closed stands for itself.
bool likeMatch(QStringView text, QStringView pattern);

// Orders `records` by the column (stable: equal keys keep their order);
// descending reverses the key order. Numbers compare as numbers (9 before 10),
// dates as dates (a missing one first), a blank machine as "未設定", other
// texts in text order.
void sortRecords(const plan::PlanData& plan, std::vector<int>& records, int column, bool descending);

// Texts the list shows the planner.
QString nothingToShow();  // the main window's notice when no record is marked
QString unsetMachine();   // "未設定"

}  // namespace reschedule::schedule_list
