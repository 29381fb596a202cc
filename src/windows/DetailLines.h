#pragma once
// The fixed-width lines of the detail window's lists: columns fitted to their
// width in Shift-JIS bytes, as the plant's programs print them, so that a
// monospaced font lines them up under their headers.

#include "plan/PlanRecord.h"
#include "reschedule/OrderDetailLookup.h"

#include <QFont>
#include <QString>

namespace windows {

// "関連受注": customer-order lines ("受注     ") and requirement-plan lines ("所要計画 ").
QString relatedHeader();
QString relatedLine(const reschedule::RelatedOrder& r);

// "使用部材": one line per component, numbers "#,##0.000".
QString componentHeader();
QString componentLine(const plan::Component& c);

// "内輪" and "外輪": the bar's member orders of one group.
QString memberHeader();
QString memberLine(const plan::MemberOrder& m);

// "構成選択": a variant's number and its components.
QString variantLine(const reschedule::BomVariant& v);

// The monospaced font the lists are drawn in.
QFont listFont();

}  // namespace windows
