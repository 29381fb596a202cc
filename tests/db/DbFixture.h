#pragma once
// Each case runs on a fresh database of every kind testKinds() offers.

#include "support/TestDatabase.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <ostream>

// Readable failure output for Qt texts.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& l, std::ostream* os)
{
    *os << '{' << l.join(QStringLiteral(", ")).toStdString() << '}';
}

class DbFixture : public ::testing::TestWithParam<db::Kind> {
protected:
    void SetUp() override
    {
        t = testing_support::freshDatabase(GetParam());
        if (!t.db) GTEST_SKIP() << testing_support::kindName(GetParam()) << " not available";
    }
    db::Database& d() { return *t.db; }

    testing_support::TestDb t;
};

inline std::string kindParamName(const ::testing::TestParamInfo<db::Kind>& info)
{
    return testing_support::kindName(info.param);
}

#define PLANNER_ON_EVERY_KIND(Suite) \
    INSTANTIATE_TEST_SUITE_P(Kinds, Suite, ::testing::ValuesIn(testing_support::testKinds()), kindParamName)
