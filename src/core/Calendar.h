#pragma once
// Working calendars of the machine rows: per production day and machine, up to
// twelve working periods made from the day's shifts minus the factory's breaks
// minus the day's stop period.

#include "core/TimeTypes.h"

#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace core {

struct StopInfo {
    QString title;      // 停止タイトル
    QString remark;     // 停止備考
    TimeOfDay start;    // 停止開始時刻 (time of day)
    int hours = 0;      // 停止時間

    friend bool operator==(const StopInfo&, const StopInfo&) = default;
};

// What the plant keeps of a machine day (its DB0491 row); the working periods
// follow from it. An undo step or a changed day keeps this and nothing else.
struct DayCalendar {
    int KinmuJikan = 0;
    std::array<TimeOfDay, 9> ShiftTime{};
    StopInfo stop;

    friend bool operator==(const DayCalendar&, const DayCalendar&) = default;
};

// One machine on one production day.
struct MachineDay {
    int KinmuJikan = 0;                   // working hours of the day
    std::array<TimeOfDay, 9> ShiftTime{}; // slots 1..8: start/end alternating; slot 0 unused
    StopInfo stop;                        // StopInfo of the day
    std::array<TimeOfDay, 25> CalTime{};  // slots 1..24: 12 start/end pairs; slot 0 unused
    // Working minutes of the whole day, kept by buildMachineCalendar so that long
    // jobs skip whole days at once; -1 (unknown) makes the arithmetic read CalTime.
    // Whoever writes CalTime other than through the builder sets it back to -1.
    std::int32_t WorkMinutes = -1;

    DayCalendar values() const { return DayCalendar{KinmuJikan, ShiftTime, stop}; }
    // Takes the plant's values; CalTime is stale until buildMachineCalendar.
    void setValues(const DayCalendar& v)
    {
        KinmuJikan = v.KinmuJikan;
        ShiftTime = v.ShiftTime;
        stop = v.stop;
        WorkMinutes = -1;
    }
};

// One row of the calendar table DB0491 as the machine-row loading hands it over.
struct CalendarDayRow {
    Date date;                            // 年月日
    std::optional<int> workingHours;      // 勤務時間 (null stays unset)
    TimeOfDay start1, end1, start2, end2; // 開始時刻１.. 終了時刻２
    QString stopTitle, stopRemark;
    TimeOfDay stopStart;
    int stopHours = 0;
};

class CalendarTables {
public:
    // Day indexes run 0..CalendarDays; machine indexes 1..machineCount.
    // Resizes and clears every machine day; BreakTime (the factory's master) is kept.
    void reset(int calendarDays, int machineCount);
    void addMachine();  // grows the machine dimension by one (cleared days)
    void clearMachineDays(int machineIndex);  // before a machine's calendar rows are stored
    bool contains(int dayIndex, int machineIndex) const
    {
        return dayIndex >= 0 && dayIndex <= calendarDays_ && machineIndex >= 1 && machineIndex <= machineCount();
    }

    int calendarDays() const { return calendarDays_; }
    int machineCount() const { return int(days_.size()) - 1; }

    MachineDay& day(int dayIndex, int machineIndex) { return days_[std::size_t(machineIndex)][std::size_t(dayIndex)]; }
    const MachineDay& day(int dayIndex, int machineIndex) const { return days_[std::size_t(machineIndex)][std::size_t(dayIndex)]; }

    // Accepted break periods, start/end alternating from slot 1 (slots 1..20).
    std::array<TimeOfDay, 21> BreakTime{};

private:
    int calendarDays_ = 0;
    std::vector<std::vector<MachineDay>> days_;  // [machine][day]; machine 0 unused
};

// Fills BreakTime from the ten (start, end) pairs of the break master row,
// applying the acceptance and collision rules. The caller reports an empty master.
void loadBreakMaster(CalendarTables& tables, const std::array<std::pair<TimeOfDay, TimeOfDay>, 10>& pairs);

// Rebuilds CalTime of one machine day from its ShiftTime, StopInfo and BreakTime:
// the shifts minus the breaks minus the stop period, in production-day order,
// split at midnight, at most 12 periods. Indexes outside the tables are ignored.
//
// Every stored shift pair counts: narrowing the day to the span from the first
// pair's start to the second pair's end would drop a night shift stored before
// the day shift, or a pair from a second row of the day.
// Times are read within the production day that starts at the day change: a
// shift 20:00-05:00 runs into the next date, and a shift that crosses the day
// change (06:00-10:00 with an 08:00 day change) keeps both of its parts in the
// same production day (08:00-10:00 now, 06:00-08:00 on the next date), so
// every stored hour of a shift pattern is worked exactly once. A stop period
// ends at the end of its production day at the latest. When more than 12
// periods remain, the shortest gaps are worked through rather than dropping
// whole periods (a few break minutes too many instead of hours too few).
void buildMachineCalendar(CalendarTables& tables, int dayIndex, int machineIndex, TimeOfDay dayChangeTime);

// Stores one DB0491 row of a machine into the tables (KinmuJikan, ShiftTime, StopInfo)
// for the day index given by the row's date; rows outside the table are ignored.
// Shift pairs are appended after those already stored for the day (four at most).
void storeCalendarRow(CalendarTables& tables, int machineIndex, Date periodStart, const CalendarDayRow& row);

// The whole calendar of one machine: clears its days, stores the rows and builds every day.
void loadMachineCalendar(CalendarTables& tables, int machineIndex, Date periodStart, const std::vector<CalendarDayRow>& rows,
                         TimeOfDay dayChangeTime);

}  // namespace core
