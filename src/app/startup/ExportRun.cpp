#include "app/startup/ExportRun.h"

#include "app/startup/ClassChoice.h"
#include "app/startup/CommandLine.h"
#include "session/PlanCsv.h"
#include "app/startup/Startup.h"
#include "session/PlanSession.h"
#include "store/loading/PlanLoading.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace app {

bool StreamPrompt::askYesNo(const QString& text, const QString& title, bool defaultYes)
{
    const bool yes = answerDefaults ? defaultYes : true;
    out_ << QStringLiteral("質問 / question: ") << QString(text).replace(u'\n', u' ').replace(u'\r', u' ')
         << (yes ? QStringLiteral(" -> はい / yes") : QStringLiteral(" -> いいえ / no")) << Qt::endl;
    return yes;
}

void StreamPrompt::tell(const QString& text, const QString& title, Icon)
{
    out_ << QStringLiteral("通知 / notice: ") << QString(text).replace(u'\n', u' ').replace(u'\r', u' ') << Qt::endl;
}

void printStartupError(QTextStream& err, const StartupError& e)
{
    err << e.message << Qt::endl;
    if (!e.englishMessage.isEmpty()) err << e.englishMessage << Qt::endl;
}

namespace {

// The class line whose code names the option's class.
StartupResult<QString> findClassLine(db::Database& db, const core::ProgramSettings& s, const QString& code)
{
    ClassChoiceList list;
    try {
        list = loadClassChoices(db, s.KojoCode);
    } catch (const db::Error& e) {
        return StartupError{QStringLiteral("工程分類（DB0399）を読み込めません。\n%1").arg(e.message),
                            QStringLiteral("Cannot read the process classes (DB0399): %1").arg(e.message)};
    }
    for (const QString& line : list.lines)
        if (sameClassCode(classCodeOfLine(line), code)) return line;
    QStringList codes;
    for (const QString& line : list.lines) codes << classCodeOfLine(line);
    return StartupError{QStringLiteral("工程分類コード「%1」は DB0399 にありません。指定できるコード: %2").arg(code, codes.join(u' ')),
                        QStringLiteral("Process class \"%1\" is not in DB0399. Known codes: %2").arg(code, codes.join(u' '))};
}

struct Period {
    core::Date start, end;
};

// The period of the options. Without --to, the dialog's default: start plus
// the display months, but never shorter than the 29 days the chart needs.
StartupResult<Period> periodOf(const ExportOptions& o, int displayMonths)
{
    const QString from = mDateChr(o.from);
    if (from.isEmpty())
        return StartupError{QStringLiteral("--from の日付「%1」が読めません。").arg(o.from),
                            QStringLiteral("--from \"%1\" is not a date.").arg(o.from)};
    Period p;
    p.start = core::Date::fromDisplayText(from);
    if (o.to.isEmpty()) {
        p.end = std::max(periodEndAfter(p.start, displayMonths), p.start.addDays(MinimumPeriodDays));
    } else {
        const QString to = mDateChr(o.to);
        if (to.isEmpty())
            return StartupError{QStringLiteral("--to の日付「%1」が読めません。").arg(o.to),
                                QStringLiteral("--to \"%1\" is not a date.").arg(o.to)};
        p.end = core::Date::fromDisplayText(to);
    }
    const PeriodCheck check = checkPeriod(p.start, p.end);
    if (check == PeriodCheck::Ok) return p;
    const QString fromText = p.start.toDisplayText(), toText = p.end.toDisplayText();
    QString english;
    switch (check) {
    case PeriodCheck::TooLong:
        english = QStringLiteral("The period may be %1 days long at most (%2 - %3).").arg(MaximumPeriodDays).arg(fromText, toText);
        break;
    case PeriodCheck::TooLate:
        english = QStringLiteral("No date after %1 can be planned (%2 - %3).").arg(latestPeriodEnd().toDisplayText(), fromText, toText);
        break;
    default: english = QStringLiteral("The period must end at least 29 days after its start (%1 - %2).").arg(fromText, toText);
    }
    const PeriodCheck said = check == PeriodCheck::Missing ? PeriodCheck::TooShort : check;
    return StartupError{periodMessage(said) + QStringLiteral("（%1 ～ %2）").arg(fromText, toText), english};
}

}  // namespace

bool writeCsvOutput(const QString& outFile, const session::PlanSession& source, bool withBom, QTextStream& err)
{
    const plan::PlanData& plan = source.plan();
    const core::RowTable& rows = source.planner().rows;
    if (outFile.isEmpty()) {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly) || !session::writePlanCsv(out, plan, rows, withBom) || !out.flush()) {
            printStartupError(err, {QStringLiteral("標準出力に書き込めません。"), QStringLiteral("Cannot write to standard output.")});
            return false;
        }
        return true;
    }
    // A failed export leaves any earlier file as it was.
    QSaveFile out(outFile);
    if (!out.open(QIODevice::WriteOnly) || !session::writePlanCsv(out, plan, rows, withBom) || !out.commit()) {
        printStartupError(err, {QStringLiteral("出力ファイルに書き込めません（%1）。\n%2").arg(out.errorString(), outFile),
                                QStringLiteral("Cannot write the output file (%1): %2").arg(out.errorString(), outFile)});
        return false;
    }
    return true;
}

std::unique_ptr<CommandPlan> loadCommandPlan(const ExportOptions& o, const QString& iniPath, const QString& programDir,
                                             QTextStream& err)
{
    const auto fail = [&](const StartupError& e) {
        printStartupError(err, e);
        return std::unique_ptr<CommandPlan>();
    };
    auto configRead = readStartupConfig(iniPath, commandLineTextOf(o.commandTokens), programDir);
    if (failed(configRead)) return fail(errorOf(configRead));
    auto plan = std::make_unique<CommandPlan>();
    plan->config = std::get<StartupConfig>(std::move(configRead));
    core::ProgramSettings& s = plan->config.settings;

    // Dates are checked before connecting: a typing error needs no database.
    if (auto period = periodOf(o, s.DisplayMonths); failed(period)) return fail(errorOf(period));

    auto connected = connectDatabase(plan->config);
    if (failed(connected)) return fail(errorOf(connected));
    plan->db = std::get<std::unique_ptr<db::Database>>(std::move(connected));

    if (auto read = readOperatorSettings(*plan->db, s); failed(read)) return fail(errorOf(read));
    // The default end depends on DB0351's display months.
    auto period = periodOf(o, s.DisplayMonths);
    if (failed(period)) return fail(errorOf(period));
    s.PeriodStart = std::get<Period>(period).start;
    s.PeriodEnd = std::get<Period>(period).end;
    auto line = findClassLine(*plan->db, s, o.classCode);
    if (failed(line)) return fail(errorOf(line));
    s.processClassLine = std::get<QString>(line);
    s.processClassCode = classCodeOfLine(s.processClassLine);

    plan->prompt = std::make_unique<StreamPrompt>(err);
    plan->session = std::make_unique<session::PlanSession>(s, plan->db.get());
    plan->session->setPrompt(plan->prompt.get());
    try {
        plan->session->load();
    } catch (const store::BreakMasterEmpty&) {
        return fail({QStringLiteral("休憩マスタが空のため、計画を読み込めません。"),
                     QStringLiteral("The break master is empty; the plan cannot be loaded.")});
    } catch (const db::Error& e) {
        return fail({QStringLiteral("計画データを読み込めません。\n%1").arg(e.message), QStringLiteral("Cannot load the plan: %1").arg(e.message)});
    } catch (const std::exception& e) {
        return fail({QStringLiteral("計画データを読み込めません。\n%1").arg(QString::fromLocal8Bit(e.what())),
                     QStringLiteral("Cannot load the plan: %1").arg(QString::fromLocal8Bit(e.what()))});
    }
    return plan;
}

int runExport(const ExportOptions& o, const QString& iniPath, const QString& programDir, QTextStream& err)
{
    const std::unique_ptr<CommandPlan> plan = loadCommandPlan(o, iniPath, programDir, err);
    if (!plan) return 1;
    const session::PlanSession& session = *plan->session;
    return writeCsvOutput(o.outFile, session, o.bom, err) ? 0 : 1;
}

}  // namespace app
