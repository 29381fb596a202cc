#include "app/startup/CommandLine.h"

#include "app/startup/SequentialInput.h"

namespace app {

namespace {

const QString Usage = QStringLiteral("起動日付(yyyymmdd) 担当者コード 工場コード 端末番号 プログラムID");

StartupError numberError(int token, const QString& what, const QString& whatEn, const QString& value)
{
    return StartupError{
        QStringLiteral("コマンドラインの %1 番目の値（%2）「%3」は数値ではありません。\n形式: %4").arg(token + 1).arg(what, value, Usage),
        QStringLiteral("Command-line token %1 (%2) \"%3\" is not a number.").arg(token + 1).arg(whatEn, value)};
}

StartupError tooLongError(int token, const QString& what, const QString& whatEn, const QString& value, int width)
{
    return StartupError{QStringLiteral("コマンドラインの %1 番目の値（%2）「%3」が長すぎます（%4 文字まで）。\n形式: %5")
                            .arg(token + 1).arg(what, value).arg(width).arg(Usage),
                        QStringLiteral("Command-line token %1 (%2) \"%3\" is longer than %4 characters.").arg(token + 1).arg(whatEn, value).arg(width)};
}

}  // namespace

QString commandLineTextOf(const QStringList& arguments)
{
    return arguments.join(u' ');
}

StartupResult<CommandLine> parseCommandLine(const QString& text)
{
    CommandLine c;
    c.text = text;
    c.tokens = text.split(u' ', Qt::KeepEmptyParts);
    if (c.tokens.size() < 5)
        return StartupError{
            QStringLiteral("コマンドラインの値が足りません（%1 個、5 個必要です）。\n形式: %2\n受け取った値: 「%3」")
                .arg(text.isEmpty() ? 0 : c.tokens.size()).arg(Usage, text),
            QStringLiteral("The command line needs five blank-separated values (date, operator, factory, terminal, program id); got \"%1\".")
                .arg(text)};
    c.TantoCode = c.tokens[1];
    // The conversion takes no empty token: an empty factory or terminal is an error, not 0.
    if (c.tokens[2].trimmed().isEmpty() || !itemToInt(c.tokens[2], c.KojoCode))
        return numberError(2, QStringLiteral("工場コード"), QStringLiteral("factory code"), c.tokens[2]);
    if (c.tokens[3].trimmed().isEmpty() || !itemToInt(c.tokens[3], c.TanmatsuNo))
        return numberError(3, QStringLiteral("端末番号"), QStringLiteral("terminal number"), c.tokens[3]);
    c.ProgramId = c.tokens[4];
    // Both are written into every saved row's audit columns: a value the
    // columns cannot hold would make every save fail (or be cut) later.
    if (c.TantoCode.size() > AuditOperatorWidth)
        return tooLongError(1, QStringLiteral("担当者コード"), QStringLiteral("operator code"), c.TantoCode, AuditOperatorWidth);
    if (c.ProgramId.size() > AuditProgramWidth)
        return tooLongError(4, QStringLiteral("プログラムID"), QStringLiteral("program identifier"), c.ProgramId, AuditProgramWidth);
    return c;
}

}  // namespace app
