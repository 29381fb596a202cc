// The kinds of a work order read from and written back to their columns.

#include "plan/PlanKinds.h"
#include "plan/PlanRecord.h"

#include <gtest/gtest.h>

using namespace plan;

namespace {

// What a record loaded from `stored` writes back: an Other kind writes the text it keeps.
QString fixRoundTrip(const QString& stored)
{
    const FixKind k = fixKindFromText(stored);
    return textOf(k, k == FixKind::Other ? stored : QString());
}
QString confirmRoundTrip(const QString& stored)
{
    const ConfirmKind k = confirmKindFromText(stored);
    return textOf(k, k == ConfirmKind::Other ? stored : QString());
}

}  // namespace

TEST(PlanKinds, EveryStoredTextIsWrittenBackAsRead)
{
    for (const char* text : {"0", "1", "2", "3", "7", "X", " ", "12", "１"}) {
        const QString stored = QString::fromUtf8(text);
        EXPECT_EQ(fixRoundTrip(stored), stored) << text;
        EXPECT_EQ(confirmRoundTrip(stored), stored) << text;
    }
    EXPECT_EQ(fixRoundTrip(QString()), QStringLiteral("0"));  // a blank fix kind is free
    EXPECT_EQ(confirmRoundTrip(QString()), QString());
    EXPECT_EQ(textOf(inOutKindFromText(QStringLiteral("1"))), QStringLiteral("1"));
    EXPECT_EQ(textOf(inOutKindFromText(QStringLiteral("2"))), QStringLiteral("2"));
}

TEST(PlanKinds, TextsNamingNoKindReadAsNeither)
{
    EXPECT_EQ(fixKindFromText(QStringLiteral("2 ")), FixKind::Other);  // the loader trims; this does not
    EXPECT_EQ(confirmKindFromText(QStringLiteral("0")), ConfirmKind::Other);
    for (const char* text : {"", " ", "0", "3", "1 "}) EXPECT_EQ(inOutKindFromText(QString::fromUtf8(text)), InOutKind::None) << text;

    PlanRecord r;
    r.fixKind = FixKind::Other;
    EXPECT_FALSE(r.isFixed());  // an unknown fix kind moves like a free order
    r.confirmKind = ConfirmKind::Other;
    EXPECT_FALSE(r.isConfirmed());
}
