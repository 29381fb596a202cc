#include "app/startup/ImportRun.h"

#include "app/startup/ExportRun.h"
#include "session/PlanCsv.h"
#include "session/PlanImport.h"

namespace app {

namespace {

int failWith(QTextStream& err, const QString& ja, const QString& en)
{
    printStartupError(err, {ja, en});
    return ImportFailed;
}

}  // namespace

int runImport(const ExportOptions& o, const QString& iniPath, const QString& programDir, QTextStream& err,
              const std::function<void()>& beforeSave)
{
    // A file that cannot be read needs no database.
    session::CsvRead read = session::readCsvFile(o.importFile);
    if (const auto* problem = std::get_if<session::CsvProblem>(&read))
        return failWith(err, problem->message + QStringLiteral("\n何も取り込んでいません。"),
                        problem->englishMessage + QStringLiteral(" Nothing was imported."));

    const std::unique_ptr<CommandPlan> plan = loadCommandPlan(o, iniPath, programDir, err);
    if (!plan) return ImportFailed;
    session::PlanSession& session = *plan->session;
    if (o.save && session.inquiryMode())
        return failWith(err, QStringLiteral("照会のみの権限では保存できません。何も取り込んでいません。"),
                        QStringLiteral("The operator may only look at the plan; nothing was imported or saved."));

    auto matched = session::matchImport(session, std::get<session::CsvTable>(read));
    if (const auto* problem = std::get_if<session::CsvProblem>(&matched))
        return failWith(err, problem->message + QStringLiteral("\n何も取り込んでいません。"),
                        problem->englishMessage + QStringLiteral(" Nothing was imported."));
    session::ImportPolicy policy;
    policy.pushLater = o.pushLater;
    const session::ImportReport report = session::applyImport(session, std::get<session::ImportRequest>(matched), policy);
    if (report.failed())
        return failWith(err, report.failure, QStringLiteral("The import failed; nothing was imported."));
    for (const QString& line : session::reportLines(report)) err << line << Qt::endl;
    err << session::reportSummary(report) << Qt::endl;

    if (o.save) {
        if (beforeSave) beforeSave();
        plan->prompt->answerDefaults = true;  // the save's questions: as the planner's defaults
        const store::SaveResult saved = session.save();
        switch (saved.outcome) {
        case store::SaveOutcome::Saved:
            err << QStringLiteral("保存しました（手配 %1 件）。 / Saved (%1 orders).").arg(saved.ordersWritten + saved.ordersCreated) << Qt::endl;
            break;
        case store::SaveOutcome::NothingToSave:
            err << QStringLiteral("保存する変更はありません。 / Nothing to save.") << Qt::endl;
            break;
        case store::SaveOutcome::Cancelled:
            return failWith(err, QStringLiteral("保存しませんでした。データベースには何も書いていません。"),
                            QStringLiteral("Not saved; nothing was written to the database."));
        case store::SaveOutcome::Failed:
            return failWith(err, QStringLiteral("保存に失敗しました。データベースには何も書いていません。\n%1").arg(saved.error),
                            QStringLiteral("The save failed; nothing was written: %1").arg(saved.error));
        }
    }
    if (o.exportPlan && !writeCsvOutput(o.outFile, session, o.bom, err))
        return ImportFailed;
    return report.refused == 0 ? ImportAllApplied : ImportSomeRefused;
}

}  // namespace app
