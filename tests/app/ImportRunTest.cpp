// The headless import on the demo plant, on SQLite and on the PostgreSQL test
// server: the file applied, reported and saved through the normal save gives
// the database the window's import would have given it; a change another
// program made meanwhile saves nothing; a bad file touches nothing.
#include "app/startup/ExportRun.h"
#include "app/startup/ImportRun.h"
#include "demoplant/DemoPlant.h"
#include "session/CsvReading.h"
#include "session/PlanCsv.h"
#include "session/PlanImport.h"
#include "support/QtPrinting.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace app;

namespace {

class ImportRun : public ::testing::TestWithParam<db::Kind> {
protected:
    void SetUp() override
    {
        // Two copies of the same plant: the headless import writes one, the window's import the other.
        for (testing_support::TestDb* t : {&a, &b}) {
            *t = testing_support::freshDatabase(GetParam());
            if (!t->db) GTEST_SKIP() << testing_support::kindName(GetParam()) << " not available";
            demoplant::DemoOptions o;
            o.seed = 7;
            o.baseDate = core::Date::fromYmd(2024, 1, 5);
            o.orders = 160;
            demoplant::generateDemoPlant(*t->db, o);
        }
        options.classCode = QStringLiteral("10");
        options.from = QStringLiteral("2024/01/05");
        options.commandTokens = QStringList{"20240105", "1001", "1", "1", "IMPORT"};
    }
    QString iniFor(const testing_support::TestDb& t, const QString& name)
    {
        const bool pg = GetParam() == db::Kind::PostgreSql;
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("x\ny\n0\n0\n0\n0\n08:00:00\n800\n600\n\n\n\n%1\n\"%2\"\n\"%3\"\n\"%4\"\n\"%5\"\n")
                    .arg(pg ? QStringLiteral("POSTGRESQL") : QStringLiteral("SQLITE"), t.settings.item14, t.settings.item15,
                         t.settings.item16, t.settings.item17)
                    .toUtf8());
        return path;
    }
    std::unique_ptr<CommandPlan> load(const testing_support::TestDb& t)
    {
        QString err;
        QTextStream stream(&err);
        auto plan = loadCommandPlan(options, iniFor(t, QStringLiteral("load.ini")), dir.path(), stream);
        EXPECT_TRUE(plan) << err.toStdString();
        return plan;
    }
    int runOn(const testing_support::TestDb& t, const std::function<void()>& beforeSave = {})
    {
        errText.clear();
        QTextStream err(&errText);
        return runImport(options, iniFor(t, QStringLiteral("planner.ini")), dir.path(), err, beforeSave);
    }
    // The export of copy b with a start, a quantity and an unknown order changed.
    QByteArray editedExport()
    {
        auto plan = load(b);
        const plan::PlanData& p = plan->session->plan();
        for (int i = 2; i <= p.size() && !(moved && resized); ++i) {
            const plan::PlanRecord& r = p[i];
            if (r.isHidden() || r.isFixed() || !r.hasMachine() || r.setRepOrderNo != 0 || r.receivedQty != 0) continue;
            if (!moved) moved = r.orderNo;
            else if (r.machineCode != p[i - 1].machineCode) resized = r.orderNo;
        }
        EXPECT_TRUE(moved && resized);
        session::CsvRead read = session::parseCsv(session::planCsv(p, plan->session->planner().rows, true));
        session::CsvTable table = std::get<session::CsvTable>(read);
        const int orderCol = int(table.header.indexOf(QStringLiteral("手配番号")));
        const int startCol = int(table.header.indexOf(QStringLiteral("開始日時")));
        const int qtyCol = int(table.header.indexOf(QStringLiteral("手配数")));
        QString text = session::csvLine(table.header) + QStringLiteral("\r\n");
        for (QStringList row : table.rows) {
            if (row[orderCol] == QString::number(moved))
                row[startCol] = core::Moment::of(core::Date::fromYmd(2024, 1, 9), core::TimeOfDay::fromHms(12, 10)).toDisplayText();
            if (row[orderCol] == QString::number(resized)) {
                originalQty = row[qtyCol].toLongLong();
                row[qtyCol] = QString::number(originalQty * 2);
            }
            text += session::csvLine(row) + QStringLiteral("\r\n");
        }
        QStringList unknown(table.header.size());
        unknown[orderCol] = QStringLiteral("987654321");
        unknown[qtyCol] = QStringLiteral("5");
        text += session::csvLine(unknown) + QStringLiteral("\r\n");
        return "\xEF\xBB\xBF" + text.toUtf8();
    }
    void writeImportFile(const QByteArray& bytes)
    {
        options.importFile = dir.filePath(QStringLiteral("edited.csv"));
        QFile f(options.importFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    std::int64_t storedQty(const testing_support::TestDb& t, std::int64_t orderNo)
    {
        db::Cursor c = t.db->query(QStringLiteral("SELECT 手配数 FROM DB0253 WHERE 手配番号=?"), {qlonglong(orderNo)});
        return c.next() ? c.integer(0) : -1;
    }

    QTemporaryDir dir;
    testing_support::TestDb a, b;
    ExportOptions options;
    QString errText;
    std::int64_t moved = 0, resized = 0, originalQty = 0;
};

}  // namespace

TEST_P(ImportRun, SavesWhatTheWindowsImportWouldHaveSaved)
{
    writeImportFile(editedExport());
    options.save = true;
    options.exportPlan = true;
    options.outFile = dir.filePath(QStringLiteral("result.csv"));
    EXPECT_EQ(runOn(a), ImportSomeRefused) << errText.toStdString();
    EXPECT_TRUE(errText.contains(QStringLiteral("手配番号 %1: 取込 / applied").arg(moved))) << errText.toStdString();
    EXPECT_TRUE(errText.contains(QStringLiteral("手配番号 987654321: 取込不可 / refused"))) << errText.toStdString();
    EXPECT_TRUE(errText.contains(QStringLiteral("取込 2 行"))) << errText.toStdString();
    EXPECT_TRUE(errText.contains(QStringLiteral("保存しました"))) << errText.toStdString();
    EXPECT_EQ(storedQty(a, resized), originalQty * 2);

    // The window's import on the other copy: the same functions behind the dialog, the session's save.
    {
        auto plan = load(b);
        session::CsvRead read = session::readCsvFile(options.importFile);
        auto request = session::matchImport(*plan->session, std::get<session::CsvTable>(read));
        const session::ImportReport report =
            session::applyImport(*plan->session, std::get<session::ImportRequest>(request), session::ImportPolicy{});
        EXPECT_EQ(report.applied, 2);
        plan->prompt->answerDefaults = true;
        EXPECT_EQ(plan->session->save().outcome, store::SaveOutcome::Saved);
    }
    const auto fromA = load(a), fromB = load(b);
    const plan::PlanData& pa = fromA->session->plan();
    const plan::PlanData& pb = fromB->session->plan();
    ASSERT_EQ(pa.size(), pb.size());
    for (int i = 2; i <= pa.size(); ++i) EXPECT_TRUE(pa[i] == pb[i]) << "order " << pa[i].orderNo;

    // The result file is the export of what was saved.
    QFile result(options.outFile);
    ASSERT_TRUE(result.open(QIODevice::ReadOnly));
    EXPECT_EQ(result.readAll(), session::planCsv(pa, fromA->session->planner().rows));

    // Brought back once more, the result changes nothing.
    options.importFile = options.outFile;
    options.exportPlan = false;
    EXPECT_EQ(runOn(a), ImportAllApplied) << errText.toStdString();
    EXPECT_TRUE(errText.contains(QStringLiteral("取込 0 行"))) << errText.toStdString();
    EXPECT_TRUE(errText.contains(QStringLiteral("保存する変更はありません"))) << errText.toStdString();
}

TEST_P(ImportRun, AChangeByAnotherProgramMeanwhileSavesNothing)
{
    writeImportFile(editedExport());
    options.save = true;
    auto other = a.connectAgain();
    const int status = runOn(a, [&] {
        other->exec(QStringLiteral("UPDATE DB0253 SET 手配数=77, 更新日='20240530', 更新オペレータ='OTHER' WHERE 手配番号=?"),
                    {qlonglong(resized)});
    });
    EXPECT_EQ(status, ImportFailed) << errText.toStdString();
    EXPECT_TRUE(errText.contains(QStringLiteral("保存しませんでした"))) << errText.toStdString();
    EXPECT_EQ(storedQty(a, resized), 77);  // the other program's value stays
    auto plan = load(a);
    for (int i = 2; i <= plan->session->plan().size(); ++i) {
        const plan::PlanRecord& r = plan->session->plan()[i];
        if (r.orderNo == moved) {
            EXPECT_NE(r.start(), core::Moment::of(core::Date::fromYmd(2024, 1, 9), core::TimeOfDay::fromHms(12, 10)));
        }
    }
}

TEST_P(ImportRun, BadFilesApplyAndSaveNothing)
{
    options.save = true;
    const auto refused = [&](const QByteArray& bytes, const QString& said) {
        writeImportFile(bytes);
        EXPECT_EQ(runOn(a), ImportFailed) << said.toStdString();
        EXPECT_TRUE(errText.contains(said)) << errText.toStdString();
        EXPECT_TRUE(errText.contains(QStringLiteral("何も取り込んでいません"))) << errText.toStdString();
    };
    // The kinds of bad file are the reader's tests; here: refused before anything is applied or saved.
    const QByteArray good = editedExport();
    QByteArray duplicated = good;
    duplicated += good.mid(good.indexOf("\r\n") + 2);
    refused(duplicated, QStringLiteral("行目と"));
    refused("\x8e\xe8\x94\x7a\x94\xd4\x8d\x86\r\n1001\r\n", QStringLiteral("UTF-8"));
    EXPECT_EQ(storedQty(a, resized), originalQty);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ImportRun, ::testing::ValuesIn(testing_support::testKinds()),
                         [](const auto& info) { return std::string(testing_support::kindName(info.param)); });

TEST(ImportOptions, ParsedAndRefused)
{
    const auto parse = [](const QStringList& args) { return parseExportOptions(args); };
    auto ok = parse({"--import", "in.csv", "--answer=no", "--save", "--export", "out.csv", "--class", "10", "--from",
                     "2024/01/05", "--", "20240105", "1001", "1", "1", "P"});
    ASSERT_FALSE(failed(ok));
    const ExportOptions& o = std::get<ExportOptions>(ok);
    EXPECT_EQ(o.importFile, QStringLiteral("in.csv"));
    EXPECT_FALSE(o.pushLater);
    EXPECT_TRUE(o.save);
    EXPECT_TRUE(o.exportPlan);
    EXPECT_EQ(o.outFile, QStringLiteral("out.csv"));
    EXPECT_EQ(o.commandTokens.size(), 5);
    for (const QStringList& bad : {QStringList{"--import"}, QStringList{"--import", "--class", "1", "--from", "2024/01/05"},
                                   QStringList{"--import", "f", "--answer", "maybe", "--class", "1", "--from", "2024/01/05"},
                                   QStringList{"--export", "--save", "--class", "1", "--from", "2024/01/05"},
                                   QStringList{"--import", "f", "--out", "x", "--class", "1", "--from", "2024/01/05"}})
        EXPECT_TRUE(failed(parse(bad))) << bad.join(u' ').toStdString();
    EXPECT_TRUE(exportHelpText().contains(QStringLiteral("--import FILE")));
}
