// The headless export on a demo plant, through the same start-up as the window program.
#include "support/SessionLoad.h"
#include "support/QtPrinting.h"
#include "app/startup/ExportRun.h"
#include "session/PlanCsv.h"
#include "demoplant/DemoPlant.h"
#include "store/loading/PlanLoading.h"
#include "support/ScriptedPrompt.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace app;
using session::csvLine;
using session::planCsv;
using session::planCsvHeader;

namespace {

class ExportRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto database = db::Database::openSqlite(dir.filePath(QStringLiteral("demo.sqlite")));
        demoplant::createSchema(*database);
        demoplant::DemoOptions options;
        options.baseDate = core::Date::fromYmd(2024, 1, 5);
        options.orders = 80;
        demoplant::generateDemoPlant(*database, options);
        writeIni(QStringLiteral("SQLITE"));
        options_.exportPlan = true;
        options_.classCode = QStringLiteral("010");  // the same class as "10"
        options_.from = QStringLiteral("2024/01/05");
        options_.outFile = dir.filePath(QStringLiteral("plan.csv"));
        options_.commandTokens = QStringList{"20240105", "1001", "1", "1", "PLANNER"};
    }
    void writeIni(const QString& kind)
    {
        QFile f(dir.filePath(QStringLiteral("planner.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        // The database file is relative: it is found beside the program.
        f.write(QStringLiteral("x\ny\n0\n0\n0\n0\n08:00:00\n800\n600\n\n\n\n%1\ndemo.sqlite\n\n\n\n").arg(kind).toUtf8());
    }
    int run()
    {
        errText.clear();
        QTextStream err(&errText);
        return runExport(options_, dir.filePath(QStringLiteral("planner.ini")), dir.path(), err);
    }

    QTemporaryDir dir;
    ExportOptions options_;
    QString errText;
};

}  // namespace

TEST_F(ExportRunTest, WritesEveryShownOrderOfTheClass)
{
    ASSERT_EQ(run(), 0) << errText.toStdString();
    QFile f(options_.outFile);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    const QStringList lines = text.chopped(2).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.front(), csvLine(planCsvHeader()));

    // The same load as the main window's gives the same lines.
    auto database = db::Database::openSqlite(dir.filePath(QStringLiteral("demo.sqlite")));
    core::ProgramSettings s;
    s.KojoCode = 1;
    s.TantoCode = QStringLiteral("1001");
    s.processClassCode = QStringLiteral("10");
    s.PeriodStart = core::Date::fromYmd(2024, 1, 5);
    s.PeriodEnd = core::Date::fromYmd(2024, 2, 5);
    core::Planner planner;
    plan::PlanData plan;
    testing_support::ScriptedPrompt prompt;
    prompt.answers.assign(100, true);
    testing_support::loadAndArrange(*database, s, planner, plan, prompt);
    EXPECT_EQ(QString::fromUtf8(planCsv(plan, planner.rows)), text);
    EXPECT_GT(lines.size(), 10);
}

TEST_F(ExportRunTest, FailuresLeaveNoFileAndSayWhy)
{
    options_.to = QStringLiteral("2024/01/20");
    EXPECT_EQ(run(), 1);
    EXPECT_TRUE(errText.contains(QStringLiteral("指定期間は29日間以上を入力してください。")));
    EXPECT_TRUE(errText.contains(QStringLiteral("at least 29 days")));
    EXPECT_FALSE(QFile::exists(options_.outFile));

    // Periods are bounded: a year at most, nothing past 9999/12/30.
    options_.to = QStringLiteral("2025/01/06");
    EXPECT_EQ(run(), 1);
    EXPECT_TRUE(errText.contains(QStringLiteral("366日以内"))) << errText.toStdString();
    options_.from = QStringLiteral("1000/01/01");
    options_.to = QStringLiteral("9999/12/31");
    EXPECT_EQ(run(), 1);
    options_.from = QStringLiteral("9999/12/31");
    options_.to.clear();
    EXPECT_EQ(run(), 1);
    EXPECT_TRUE(errText.contains(QStringLiteral("9999/12/30 より後")));
    EXPECT_FALSE(QFile::exists(options_.outFile));
    options_.from = QStringLiteral("2024/01/05");

    options_.to.clear();
    options_.classCode = QStringLiteral("99");
    EXPECT_EQ(run(), 1);
    EXPECT_TRUE(errText.contains(QStringLiteral("99")));

    writeIni(QStringLiteral("ACCESS"));
    EXPECT_EQ(run(), 1);
    EXPECT_TRUE(errText.contains(QStringLiteral("13 番目")));
    EXPECT_FALSE(QFile::exists(options_.outFile));
}
