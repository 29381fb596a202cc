#pragma once
// Reading a CSV file someone brought back: UTF-8 (a byte-order mark is
// accepted), RFC 4180 quoting, CR LF or LF line ends. Anything else is refused
// as a whole with a message that says what is wrong and where; nothing is
// guessed. Files above a size limit are refused before they are read.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <variant>
#include <vector>

namespace session {

// Far above any plan a planner keeps (an export of 100,000 orders is about 40 MB).
constexpr qint64 MaxCsvBytes = 64LL * 1024 * 1024;

struct CsvTable {
    QStringList header;
    std::vector<QStringList> rows;  // lines of empty cells left out; a row may be shorter than the header
    std::vector<int> lineNos;       // the file line each row starts on (1 = the header)
};

// What is wrong with a file, in Japanese and English.
struct CsvProblem {
    QString message;
    QString englishMessage;
};

using CsvRead = std::variant<CsvTable, CsvProblem>;

CsvRead parseCsv(const QByteArray& bytes);
// The file's size is checked before a byte is read.
CsvRead readCsvFile(const QString& path);

}  // namespace session
