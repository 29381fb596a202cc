#include "windows/DetailLines.h"

#include "core/TypedText.h"
#include "core/WorkingTime.h"

#include <QStringList>

namespace windows {

namespace {

QString left(const QString& text, int bytes) { return core::fitByteWidth(text, bytes, QStringLiteral("L")); }
QString right(const QString& text, int bytes) { return core::fitByteWidth(text, bytes, QStringLiteral("R")); }
QString columns(const QStringList& parts) { return parts.join(u' '); }
QString monthDay(core::Date d) { return d.isNull() ? QString() : d.toDisplayText().mid(5); }  // "mm/dd"

}  // namespace

QString relatedHeader()
{
    return columns({left(QString(), 8), right(QStringLiteral("番号"), 8), left(QStringLiteral("注文番号"), 12),
                    left(QStringLiteral("品名コード"), 12), left(QStringLiteral("品名"), 24), left(QStringLiteral("得意先ｺｰﾄﾞ"), 10),
                    left(QStringLiteral("得意先名"), 16), left(QStringLiteral("納期"), 5), right(QStringLiteral("残数"), 9)});
}

QString relatedLine(const reschedule::RelatedOrder& r)
{
    return columns({left(r.customerOrder ? QStringLiteral("受注") : QStringLiteral("所要計画"), 8), right(QString::number(r.number), 8),
                    left(r.orderText, 12), left(r.itemCode, 12), left(r.itemName, 24), left(r.customerCode, 10),
                    left(r.customerName, 16), left(monthDay(r.due), 5), right(core::groupedText(r.remaining, 0), 9)});
}

QString componentHeader()
{
    return columns({left(QStringLiteral("品名コード"), 12), left(QStringLiteral("品名"), 24), right(QStringLiteral("必要数"), 13),
                    right(QStringLiteral("原単位分子"), 11), right(QStringLiteral("原単位分母"), 11), right(QStringLiteral("歩留率"), 9)});
}

QString componentLine(const plan::Component& c)
{
    return columns({left(c.itemCode, 12), left(c.itemName, 24), right(core::groupedText(c.requiredQty, 3), 13),
                    right(core::groupedText(c.unitNum, 3), 11), right(core::groupedText(c.unitDen, 3), 11),
                    right(core::groupedText(c.defectRate, 3), 9)});
}

QString memberHeader()
{
    return columns({right(QStringLiteral("手配番号"), 9), right(QStringLiteral("計画番号"), 9), left(QStringLiteral("品名コード"), 12),
                    left(QStringLiteral("工程内容"), 10), left(QStringLiteral("品名"), 20), right(QStringLiteral("手配数"), 8),
                    right(QStringLiteral("実績数"), 8)});
}

QString memberLine(const plan::MemberOrder& m)
{
    return columns({right(QString::number(m.orderNo), 9), right(QString::number(m.planNo), 9), left(m.itemCode, 12),
                    left(m.processName, 10), left(m.modelName, 20), right(core::groupedText(double(m.orderQty), 0), 8),
                    right(core::groupedText(double(m.receivedQty), 0), 8)});
}

QString variantLine(const reschedule::BomVariant& v)
{
    QStringList names;
    for (const reschedule::VariantLine& l : v.lines) names << (l.itemName.trimmed().isEmpty() ? l.itemCode.trimmed() : l.itemName.trimmed());
    return right(QString::number(v.number), 3) + QStringLiteral("  ") + names.join(QStringLiteral("、"));
}

QFont listFont()
{
    QFont f(QStringLiteral("Noto Sans Mono CJK JP"));
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    f.setPixelSize(12);
    return f;
}

}  // namespace windows
