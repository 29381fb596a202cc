#pragma once
// A small hand-made plant for the save tests, loaded as the main window loads
// it. Factory 1, class "10", machines M01 (destination "D-M01") and M02 (none:
// the department's first live section "0102" applies), suppliers S1 (class
// "1") and S2, item ITEM-A at its final step 999 with bill of materials MAT-1
// and MAT-2 (made, last step 7), prices, DB0018 at 5000, plan 900 and orders:
//   101 on M01 2024/05/02 08:00-12:00, 100 pieces, components MAT-1 and MAT-9;
//   102 on M02 2024/05/03 08:00-10:00, 50 pieces, with a tag row;
//   103 on M01 2024/05/06 08:00-09:00, 20 pieces, mould K1.

#include "store/loading/PlanLoading.h"
#include "store/saving/SaveSchedule.h"
#include "support/ScriptedPrompt.h"
#include "support/TestDatabase.h"

#include <QStringList>
#include <QVariantMap>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) { *os << l.join(QStringLiteral("\n")).toStdString(); }

namespace savetest {

using store::SaveOutcome;
using store::SaveResult;

inline void insert(db::Database& db, const QString& table, const QVariantMap& values)
{
    QStringList marks;
    QVariantList binds;
    for (auto it = values.begin(); it != values.end(); ++it) {
        marks << QStringLiteral("?");
        binds << it.value();
    }
    db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, values.keys().join(u','), marks.join(u',')), binds);
}

inline QVariantMap merged(QVariantMap base, const QVariantMap& over)
{
    for (auto it = over.begin(); it != over.end(); ++it) base.insert(it.key(), it.value());
    return base;
}

// Every row of a table as text, sorted: two dumps are equal when the table is.
QStringList dumpTable(db::Database& db, const QString& table);
// Every table of the schema.
QStringList dumpAll(db::Database& db);

// The first row of "SELECT * FROM table WHERE where", columns by name (ignoring case).
class Row {
public:
    Row() = default;
    Row(db::Database& db, const QString& table, const QString& where, const QVariantList& binds = {});
    bool found() const { return found_; }
    QString text(const QString& column) const;  // "" for NULL
    double num(const QString& column) const;

private:
    bool found_ = false;
    QHash<QString, QVariant> values_;
};
int countRows(db::Database& db, const QString& sql, const QVariantList& binds = {});

void buildPlant(db::Database& db);
void addOrder(db::Database& db, qint64 orderNo, const QVariantMap& over = {});

core::ProgramSettings plantSettings();
// The moment the tests save at: 2024/06/01 10:20:30.
core::Moment saveMoment();

class SaveFixture : public ::testing::TestWithParam<db::Kind> {
protected:
    void SetUp() override;
    db::Database& d() { return *t.db; }
    // Fresh plan table from the database.
    void load();
    plan::PlanRecord& edit(qint64 orderNo);  // the loaded record of an order, marked changed
    int recordOf(qint64 orderNo) const;
    SaveResult save();

    testing_support::TestDb t;
    core::ProgramSettings settings = plantSettings();
    core::Planner planner;
    plan::PlanData plan;
    testing_support::ScriptedPrompt prompt;
    store::ChangedCalendarDays changedDays;
};

std::string kindName(const ::testing::TestParamInfo<db::Kind>& info);

}  // namespace savetest

#define SAVE_ON_EVERY_KIND(Suite) \
    INSTANTIATE_TEST_SUITE_P(Kinds, Suite, ::testing::ValuesIn(testing_support::testKinds()), savetest::kindName)
