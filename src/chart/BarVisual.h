#pragma once
// What the chart shows for one plan record: the bar (PlanBar), its progress
// overlay (PlanJBar) and its frame (PlanBarFrame, the changed mark and the
// selection outline). The chart paints these; there is no widget per bar.

#include "core/BarLook.h"

#include <QString>
#include <cstdint>

namespace chart {

// The chart surfaces a bar can stand on.
enum class Surface { PlatForm, PlatForm2, PlatForm3 };

struct BarVisual {
    bool visible = false;
    Surface surface = Surface::PlatForm;
    int row = 0;             // row of the bar on PlatForm; 0 on the other surfaces
    double rowY = 0;         // getMachineRowY of the record at the last placement
    // The codes rowY was found from. Copies share the record's text, so an
    // unchanged code is recognised by its data without a look-up.
    QString rowMachineCode, rowDestCode;
    // Geometry in twips on the bar's surface.
    double left = 0;
    double right = 0;
    double top = 0;
    double height = 0;
    double progressWidth = 0;  // PlanJBar; 0 when hidden
    double progressRatio = 0;  // received ÷ ordered, at most 1
    bool progressVisible = false;
    // Moments of start and end (seconds), for ordering bars in time.
    std::int64_t startSec = 0;
    std::int64_t endSec = 0;
    core::BarLook look;
    // A push moves hundreds of bars, most of them out of view: their order in
    // time (startSec, endSec) is kept at once, their position on the surface
    // (left, right, progressWidth) and colours when the bar is next used.
    bool placeStale = false;
    bool captionStale = true;  // look.line1/line2 are rebuilt when the bar is next painted
};

// Bars are slightly lower than their 600-twip band so neighbouring rows stay apart.
constexpr double BarHeightTwips = 540;

}  // namespace chart
