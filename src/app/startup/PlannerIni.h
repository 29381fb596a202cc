#pragma once
// planner.ini: seventeen sequential items in the program's directory.
//
//  1, 2  not used           8   main window width, pixels
//  3..6  IniOption3..6      9   main window height, pixels
//  7     DayChangeTime      10..12 Oracle user, password, data source
//  13    DbKind             14..17 server/file, catalog, user, password
//
// A file that ends early leaves the remaining items at 0 or empty.

#include "app/startup/StartupError.h"

#include <QString>
#include <array>

namespace app {

struct PlannerIni {
    static constexpr int ItemCount = 17;
    // Items as read, 1-based through item(); missing items are empty.
    std::array<QString, ItemCount> items{};
    int itemsRead = 0;
    // Integer items 3 to 6, 8 and 9 converted.
    int option3 = 0, option4 = 0, option5 = 0, option6 = 0;
    int widthPixels = 0, heightPixels = 0;

    const QString& item(int n) const { return items[std::size_t(n - 1)]; }
    // Window size in twips: width × 15, height × 14.8 rounded to the nearest integer.
    int mainWidthTwips() const;
    int mainHeightTwips() const;
};

// Reads the items from text; `source` names the file in messages.
StartupResult<PlannerIni> parsePlannerIni(const QString& text, const QString& source);
// Reads the file (UTF-8; Shift-JIS when the bytes are not UTF-8).
StartupResult<PlannerIni> readPlannerIni(const QString& path);

// The file beside the program.
QString plannerIniPath();

}  // namespace app
