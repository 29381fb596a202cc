#include "session/CsvReading.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace session {

namespace {

CsvProblem problem(const QString& ja, const QString& en) { return CsvProblem{ja, en}; }

CsvProblem tooLarge(qint64 bytes)
{
    const qint64 mb = MaxCsvBytes / (1024 * 1024);
    return problem(QStringLiteral("ファイルが大きすぎます（%1 バイト）。取り込めるのは %2 MB までです。").arg(bytes).arg(mb),
                   QStringLiteral("The file is too large (%1 bytes); at most %2 MB can be imported.").arg(bytes).arg(mb));
}

}  // namespace

CsvRead parseCsv(const QByteArray& input)
{
    if (input.size() > MaxCsvBytes) return tooLarge(input.size());
    QByteArray bytes = input;
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decode(bytes);
    if (decode.hasError() || text.contains(QChar(0)))
        return problem(QStringLiteral("ファイルが UTF-8 の文字として読めません。表計算ソフトでは「CSV UTF-8（コンマ区切り）」で保存してください。"),
                       QStringLiteral("The file is not UTF-8 text. Save it as \"CSV UTF-8 (comma delimited)\"."));

    CsvTable table;
    QStringList record;
    QString field;
    bool quoted = false;      // inside a quoted field
    bool wasQuoted = false;   // the current field was quoted (it ended with its closing quote)
    int line = 1, recordLine = 1;
    bool headerDone = false;
    const auto endRecord = [&]() -> std::optional<CsvProblem> {
        record << field;
        field.clear();
        wasQuoted = false;
        // A line of empty cells (spreadsheets leave them below the data) is blank too.
        const bool blank = std::all_of(record.cbegin(), record.cend(), [](const QString& f) { return f.isEmpty(); });
        if (!headerDone) {
            table.header = record;
            headerDone = true;
        } else if (!blank) {
            if (record.size() > table.header.size())
                return problem(QStringLiteral("%1 行目の列が見出しより多くあります（%2 列、見出しは %3 列）。").arg(recordLine).arg(record.size()).arg(table.header.size()),
                               QStringLiteral("Line %1 has more fields than the header (%2, header %3).").arg(recordLine).arg(record.size()).arg(table.header.size()));
            table.rows.push_back(record);
            table.lineNos.push_back(recordLine);
        }
        record.clear();
        recordLine = line;
        return std::nullopt;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                    wasQuoted = true;
                }
            } else {
                if (c == u'\n') ++line;
                field += c;
            }
            continue;
        }
        if (c == u',') {
            record << field;
            field.clear();
            wasQuoted = false;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            ++line;
            if (auto p = endRecord()) return *p;
        } else if (wasQuoted) {
            return problem(QStringLiteral("%1 行目: 引用符（\"）で囲んだ値の後に文字があります。").arg(line),
                           QStringLiteral("Line %1: text after a closing quote.").arg(line));
        } else if (c == u'"' && field.isEmpty()) {
            quoted = true;
        } else {
            field += c;  // a quote inside an unquoted value is kept, as spreadsheets do
        }
    }
    if (quoted)
        return problem(QStringLiteral("%1 行目から始まる引用符（\"）が閉じていません。").arg(recordLine),
                       QStringLiteral("The quote opened on line %1 is never closed.").arg(recordLine));
    if (!field.isEmpty() || !record.isEmpty() || wasQuoted)
        if (auto p = endRecord()) return *p;
    if (!headerDone || (table.header.size() == 1 && table.header.front().isEmpty()))
        return problem(QStringLiteral("ファイルが空です（見出し行がありません）。"), QStringLiteral("The file is empty (no header line)."));
    return table;
}

CsvRead readCsvFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return problem(QStringLiteral("ファイルがありません。\n%1").arg(path), QStringLiteral("No such file: %1").arg(path));
    if (info.size() > MaxCsvBytes) return tooLarge(info.size());
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return problem(QStringLiteral("ファイルを開けません（%1）。\n%2").arg(f.errorString(), path),
                       QStringLiteral("Cannot open the file (%1): %2").arg(f.errorString(), path));
    // At most one byte past the limit: a file that grew meanwhile is still refused.
    const QByteArray bytes = f.read(MaxCsvBytes + 1);
    if (f.error() != QFileDevice::NoError)
        return problem(QStringLiteral("ファイルを読めません（%1）。\n%2").arg(f.errorString(), path),
                       QStringLiteral("Cannot read the file (%1): %2").arg(f.errorString(), path));
    return parseCsv(bytes);
}

}  // namespace session
