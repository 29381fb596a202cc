#pragma once
// The rules of the line plan window (機械別稼働時間変更): reading its boxes,
// the sums of operating and working hours, the checks of "OK" and the machine
// day they store. The window only shows the boxes and asks these.

#include "core/Calendar.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace reschedule {

// The boxes a refusal puts the focus on: PlanTime(0) to PlanTime(7) are 0 to 7.
enum LinePlanBox : int { NoWorkingTitleBox = 8, NoWorkingTimeBox = 9 };

// What the boxes hold, as typed.
struct LinePlanEntry {
    std::array<QString, 8> planTime;  // PlanTime(0)..(7): two operating ranges, stop start and end, a spare pair
    QString noWorkingTitle;           // stop reason
    QString noWorkingTime;            // stop length in hours
};

struct LinePlanCheck {
    QString message;  // empty when the entry passes
    int box = -1;     // the box that gets the focus after the message
    bool passed() const { return message.isEmpty(); }
};

struct LinePlanSums {
    std::int64_t planSeconds = 0;  // both operating ranges
    double stopHours = 0;
    QString planSum;               // PlanSum, hours
    QString workingTimeSum;        // WorkingTimeSum, hours
};

// A time box: 00:00:00 when empty, nullopt when it holds no time of day.
// Full-width digits and colons read as their ASCII forms.
std::optional<core::TimeOfDay> readTimeBox(const QString& text);
// The stop hours box; an empty box is 0, nullopt when not a number.
std::optional<double> readHoursBox(const QString& text);
// Hours for the sum boxes: "8", "8.5", "7.33".
QString hoursText(double hours);

// The sums shown beside the boxes ("時間と認識できません" or
// "数値と認識できません" when a box cannot be read).
LinePlanCheck computeSums(const LinePlanEntry& entry, LinePlanSums& sums);

// The checks of "OK", in order; the first failure is returned.
LinePlanCheck checkLinePlan(const LinePlanEntry& entry);

// The boxes filled from a machine day and its production date.
LinePlanEntry entryOf(const core::DayCalendar& day);
// The machine day an entry that passed checkLinePlan stores: the two operating
// ranges, the stop (title, start, whole hours) and the working hours; the
// rest of `before` (further shift pairs, the stop's remark) is kept.
core::DayCalendar storedDay(const LinePlanEntry& entry, const core::DayCalendar& before);

// The stop's end for the box beside its start; empty when there is no stop.
QString stopEndText(const QString& stopStart, const QString& stopHours);

}  // namespace reschedule
