#pragma once
// What the chart shows for one plan record: the bar (PlanBar), its progress
// overlay (PlanJBar) and its frame (PlanBarFrame, the changed mark and the
// selection outline). The chart paints these; there is no widget per bar.

#include "core/BarLook.h"

#include <QGlyphRun>
#include <QList>
#include <QString>
#include <cstdint>
#include <memory>

namespace chart {

// The chart surfaces a bar can stand on.
enum class Surface { PlatForm, PlatForm2, PlatForm3 };

// A bar's two caption lines laid out once for painting. Shaping the text is
// most of a bar's paint, so it is redone only when the text, the font size or
// the room in the bar (the display mode) changes.
struct CaptionLayout {
    QString text1, text2;  // the caption lines laid out, to recognise a changed caption
    int pixelSize = 0;
    int width = -1;        // pixels of room for the text
    // Glyphs relative to the top-left corner of each line, whose baseline is ascent below it.
    QList<QGlyphRun> line1, line2;
    double ascent1 = 0, ascent2 = 0;
};

struct BarVisual {
    // What a redraw after a push reads and writes of every moved bar comes first.
    bool visible = false;
    // A push moves hundreds of bars, most of them out of view: their order in
    // time (startSec, endSec) is kept at once, their position on the surface
    // (left, right, progressWidth) and colours when the bar is next used.
    bool placeStale = false;
    bool captionStale = true;  // look.line1/line2 are rebuilt when the bar is next painted
    Surface surface = Surface::PlatForm;
    int row = 0;             // row of the bar on PlatForm; 0 on the other surfaces
    // Moments of start and end (seconds), for ordering bars in time.
    std::int64_t startSec = 0;
    std::int64_t endSec = 0;
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
    core::BarLook look;
    // Built by the painter on first paint; shared by copies, never changed once built.
    mutable std::shared_ptr<const CaptionLayout> captionLayout;
};

// Bars are slightly lower than their 600-twip band so neighbouring rows stay apart.
constexpr double BarHeightTwips = 540;

}  // namespace chart
