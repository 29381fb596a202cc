// planner.ini, the command line and the command mode's options.
#include "app/startup/CommandLine.h"
#include "app/startup/ExportOptions.h"
#include "app/startup/PlannerIni.h"
#include "app/startup/SequentialInput.h"
#include "app/startup/Startup.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/QtPrinting.h"

using namespace app;

namespace {

const QString FullIni = QStringLiteral(
    "x\r\ny\r\n1\r\n0\r\n1\r\n7\r\n06:30:00\r\n800\r\n600\r\nscott\r\ntiger\r\nORCL\r\nSQLITE\r\nplant.db\r\ncat\r\nsa\r\npw\r\n");

PlannerIni parsed(const QString& text)
{
    auto r = parsePlannerIni(text, QStringLiteral("planner.ini"));
    EXPECT_FALSE(failed(r)) << (failed(r) ? errorOf(r).message.toStdString() : "");
    return failed(r) ? PlannerIni{} : std::get<PlannerIni>(r);
}

QString writeIni(const QTemporaryDir& dir, const QString& text)
{
    const QString path = dir.filePath(QStringLiteral("planner.ini"));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
    return path;
}

}  // namespace

TEST(SequentialInput, QuotesCommasBlanksAndLineEnds)
{
    SequentialInput in(QStringLiteral("  a b  ,\"c, d \"\t, e\n\"unclosed, x\r\n\"q\"tail,last\r\n"));
    EXPECT_EQ(in.next(), QStringLiteral("a b"));     // inner blank kept, outer dropped
    EXPECT_EQ(in.next(), QStringLiteral("c, d "));   // quoted: comma and blank kept
    EXPECT_EQ(in.next(), QStringLiteral("e"));
    EXPECT_EQ(in.next(), QStringLiteral("unclosed, x"));
    EXPECT_EQ(in.next(), QStringLiteral("q"));       // text after the closing quote is dropped
    EXPECT_FALSE(in.atEnd());
    EXPECT_EQ(in.next(), QStringLiteral("last"));
    EXPECT_TRUE(in.atEnd());                          // the final line end does not make an item
}

TEST(PlannerIni, AllSeventeenItems)
{
    const PlannerIni ini = parsed(FullIni);
    EXPECT_EQ(ini.itemsRead, 17);
    EXPECT_EQ(ini.option3, 1);
    EXPECT_EQ(ini.option6, 7);
    EXPECT_EQ(ini.item(7), QStringLiteral("06:30:00"));
    EXPECT_EQ(ini.mainWidthTwips(), 12000);
    EXPECT_EQ(ini.mainHeightTwips(), 8880);
    EXPECT_EQ(ini.item(13), QStringLiteral("SQLITE"));
    EXPECT_EQ(ini.item(17), QStringLiteral("pw"));
}

TEST(PlannerIni, SizesBeyondSixteenBitsAreAccepted)
{
    PlannerIni ini = parsed(QStringLiteral("a\nb\n0\n0\n0\n0\n08:00:00\n3840\n2161\n"));
    EXPECT_EQ(ini.mainWidthTwips(), 57600);
    EXPECT_EQ(ini.mainHeightTwips(), 31983);  // 2161 × 14.8 = 31982.8
    ini.heightPixels = 1;
    EXPECT_EQ(ini.mainHeightTwips(), 15);      // 14.8 rounds up
}

TEST(PlannerIni, ShortFileLeavesDefaults)
{
    const PlannerIni ini = parsed(QStringLiteral("a,b,5\n"));
    EXPECT_EQ(ini.itemsRead, 3);
    EXPECT_EQ(ini.option3, 5);
    EXPECT_EQ(ini.option4, 0);
    EXPECT_TRUE(ini.item(13).isEmpty());
    EXPECT_EQ(ini.mainWidthTwips(), 0);
}

TEST(PlannerIni, FailuresNameTheCause)
{
    auto one = parsePlannerIni(QStringLiteral("only\n"), QStringLiteral("/opt/p/planner.ini"));
    ASSERT_TRUE(failed(one));
    EXPECT_TRUE(errorOf(one).message.contains(QStringLiteral("/opt/p/planner.ini")));

    auto notNumber = parsePlannerIni(QStringLiteral("a\nb\n0\n0\nyes\n"), QStringLiteral("planner.ini"));
    ASSERT_TRUE(failed(notNumber));
    EXPECT_TRUE(errorOf(notNumber).message.contains(QStringLiteral("5 番目")));
    EXPECT_TRUE(errorOf(notNumber).message.contains(QStringLiteral("yes")));

    auto missing = readPlannerIni(QStringLiteral("/nonexistent/dir/planner.ini"));
    ASSERT_TRUE(failed(missing));
    EXPECT_TRUE(errorOf(missing).message.contains(QStringLiteral("/nonexistent/dir/planner.ini")));
}

TEST(CommandLine, TokensAndConversions)
{
    auto ok = parseCommandLine(commandLineTextOf({"20240105", "T01", "3", "12", "PGM1", "extra"}));
    ASSERT_FALSE(failed(ok));
    const CommandLine& c = std::get<CommandLine>(ok);
    EXPECT_EQ(c.text, QStringLiteral("20240105 T01 3 12 PGM1 extra"));
    EXPECT_EQ(c.TantoCode, QStringLiteral("T01"));
    EXPECT_EQ(c.KojoCode, 3);
    EXPECT_EQ(c.TanmatsuNo, 12);
    EXPECT_EQ(c.ProgramId, QStringLiteral("PGM1"));
}

TEST(CommandLine, RefusedLines)
{
    // Two adjacent blanks make an empty token, which shifts the factory code onto "T01".
    auto shifted = parseCommandLine(QStringLiteral("20240105  T01 3 12"));
    ASSERT_TRUE(failed(shifted));
    EXPECT_TRUE(errorOf(shifted).message.contains(QStringLiteral("T01")));

    auto shortLine = parseCommandLine(QStringLiteral("20240105 T01 3 12"));
    ASSERT_TRUE(failed(shortLine));
    EXPECT_TRUE(errorOf(shortLine).message.contains(QStringLiteral("4 個")));

    EXPECT_TRUE(failed(parseCommandLine(QStringLiteral("20240105 T01 3 x PGM"))));
    EXPECT_TRUE(failed(parseCommandLine(QStringLiteral("20240105 T01  12 PGM"))));  // empty factory
    EXPECT_TRUE(failed(parseCommandLine(QString())));

    // Values the audit columns cannot hold are refused at start, naming the item.
    EXPECT_FALSE(failed(parseCommandLine(QStringLiteral("20240105 ABCDEFGHIJ 3 12 %1").arg(QString(20, u'P')))));
    auto longOperator = parseCommandLine(QStringLiteral("20240105 ABCDEFGHIJK 3 12 PGM"));
    ASSERT_TRUE(failed(longOperator));
    EXPECT_TRUE(errorOf(longOperator).message.contains(QStringLiteral("担当者コード")));
    auto longProgram = parseCommandLine(QStringLiteral("20240105 T01 3 12 %1").arg(QString(21, u'P')));
    ASSERT_TRUE(failed(longProgram));
    EXPECT_TRUE(errorOf(longProgram).message.contains(QStringLiteral("プログラムID")));
    EXPECT_TRUE(failed(parseCommandLine(QStringLiteral("20240105 T01 3 99999999999 PGM"))));  // terminal beyond INTEGER
}

TEST(StartupConfig, FileAndCommandLineIntoSettings)
{
    QTemporaryDir dir;
    const QString path = writeIni(dir, FullIni);
    auto r = readStartupConfig(path, QStringLiteral("20240105 T01 3 12 PGM1"), dir.path());
    ASSERT_FALSE(failed(r)) << errorOf(r).message.toStdString();
    StartupConfig c = std::get<StartupConfig>(r);
    EXPECT_EQ(c.settings.TantoCode, QStringLiteral("T01"));
    EXPECT_EQ(c.settings.KojoCode, 3);
    EXPECT_EQ(c.settings.DayChangeTime, core::TimeOfDay::fromHms(6, 30));
    EXPECT_EQ(c.settings.MainWidth, 12000);
    EXPECT_EQ(c.settings.IniOption5, 1);
    EXPECT_EQ(c.connection.oracleDataSource, QStringLiteral("ORCL"));
    EXPECT_EQ(c.connection.item14, QStringLiteral("plant.db"));
    EXPECT_EQ(c.connection.sqliteBaseDir, dir.path());
    ASSERT_FALSE(failed(resolveDatabaseKind(c)));
    EXPECT_EQ(c.connection.kind, db::Kind::Sqlite);
}

TEST(StartupConfig, FileEndingBeforeDbKindStopsAtTheKind)
{
    QTemporaryDir dir;
    auto r = readStartupConfig(writeIni(dir, QStringLiteral("a\nb\n0\n0\n0\n0\n08:00:00\n800\n600\n")),
                               QStringLiteral("20240105 T01 3 12 PGM1"), dir.path());
    ASSERT_FALSE(failed(r));
    StartupConfig c = std::get<StartupConfig>(r);
    auto kind = resolveDatabaseKind(c);
    ASSERT_TRUE(failed(kind));
    EXPECT_TRUE(errorOf(kind).message.contains(QStringLiteral("13 番目")));
}

TEST(StartupConfig, UnreadableDayChangeIsRefused)
{
    QTemporaryDir dir;
    auto r = readStartupConfig(writeIni(dir, QStringLiteral("a\nb\n0\n0\n0\n0\nmorning\n")),
                               QStringLiteral("20240105 T01 3 12 PGM1"), dir.path());
    ASSERT_TRUE(failed(r));
    EXPECT_TRUE(errorOf(r).message.contains(QStringLiteral("morning")));
}

TEST(ExportOptions, FullExportLine)
{
    EXPECT_FALSE(isCommandMode({"20240105", "T01", "3", "12", "PGM"}));
    EXPECT_TRUE(isCommandMode({"--export"}));
    auto r = parseExportOptions({"--export", "--class=01", "--from", "2024/01/05", "--out", "/tmp/x.csv", "--bom", "--",
                                 "20240105", "T01", "3", "", "--odd"});
    ASSERT_FALSE(failed(r));
    const ExportOptions& o = std::get<ExportOptions>(r);
    EXPECT_TRUE(o.exportPlan);
    EXPECT_TRUE(o.bom);
    EXPECT_EQ(o.classCode, QStringLiteral("01"));
    EXPECT_EQ(o.from, QStringLiteral("2024/01/05"));
    EXPECT_TRUE(o.to.isEmpty());
    EXPECT_EQ(o.outFile, QStringLiteral("/tmp/x.csv"));
    EXPECT_EQ(o.commandTokens, QStringList({"20240105", "T01", "3", "", "--odd"}));
}

TEST(ExportOptions, Mistakes)
{
    EXPECT_TRUE(std::get<ExportOptions>(parseExportOptions({"--help"})).help);
    EXPECT_TRUE(failed(parseExportOptions({"--export", "--from", "2024/01/05", "a", "b", "c", "d", "e"})));  // no class
    EXPECT_TRUE(failed(parseExportOptions({"--export", "--class", "01", "--from"})));                     // no value
    EXPECT_TRUE(failed(parseExportOptions({"--exprot", "--class", "01"})));                                // unknown
    EXPECT_TRUE(failed(parseExportOptions({"--class", "01", "--from", "2024/01/05"})));                    // no --export
}
