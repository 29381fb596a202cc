// Reading a brought-back CSV file: what is read as it is meant, and every kind
// of bad file refused as a whole with a message that says what is wrong.
#include "session/CsvReading.h"
#include "support/QtPrinting.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace session;

namespace {

CsvTable table(const QByteArray& bytes)
{
    CsvRead r = parseCsv(bytes);
    if (auto* p = std::get_if<CsvProblem>(&r)) ADD_FAILURE() << p->message.toStdString();
    return std::holds_alternative<CsvTable>(r) ? std::get<CsvTable>(r) : CsvTable{};
}

QString problemOf(const QByteArray& bytes)
{
    CsvRead r = parseCsv(bytes);
    return std::holds_alternative<CsvProblem>(r) ? std::get<CsvProblem>(r).message : QString();
}

}  // namespace

TEST(CsvReading, QuotingLineEndsAndBom)
{
    const CsvTable t = table("\xEF\xBB\xBF" "手配番号,備考,手配数\r\n"
                             "1001,\"a,b\",5\r\n"
                             "1002,\"say \"\"hi\"\"\nnext line\",6\n"
                             "\r\n"
                             "1003,,\n"
                             "1004,\"'; DROP TABLE DB0253;--\"\r\n"
                             ",,\r\n");
    EXPECT_EQ(t.header, (QStringList{"手配番号", "備考", "手配数"}));  // the BOM is not part of the first name
    ASSERT_EQ(t.rows.size(), 4u);
    EXPECT_EQ(t.rows[0], (QStringList{"1001", "a,b", "5"}));
    EXPECT_EQ(t.rows[1], (QStringList{"1002", "say \"hi\"\nnext line", "6"}));
    EXPECT_EQ(t.rows[2], (QStringList{"1003", "", ""}));
    EXPECT_EQ(t.rows[3], (QStringList{"1004", "'; DROP TABLE DB0253;--"}));  // a short line
    // Lines as a person counts them in an editor: the quoted line break counts, the blank line is skipped.
    EXPECT_EQ(t.lineNos, (std::vector<int>{2, 3, 6, 7}));
    // A quote inside an unquoted value stays, as spreadsheets write it.
    EXPECT_EQ(table("a,b\n1,2\"3\n").rows[0], (QStringList{"1", "2\"3"}));
}

TEST(CsvReading, BadFilesAreRefusedWhole)
{
    // Shift-JIS, as a spreadsheet saves "CSV" on a Japanese desktop.
    EXPECT_TRUE(problemOf("\x8e\xe8\x94\x7a\x94\xd4\x8d\x86\r\n1001\r\n").contains(QStringLiteral("UTF-8")));
    EXPECT_TRUE(problemOf(QByteArray("a,b\n1,\0", 7)).contains(QStringLiteral("UTF-8")));
    EXPECT_TRUE(problemOf("a,b\n1,2\n3,4,5\n").contains(QStringLiteral("3 行目")));
    EXPECT_TRUE(problemOf("a,b\n1,\"open\n").contains(QStringLiteral("閉じていません")));
    EXPECT_TRUE(problemOf("a,b\n1,\"x\"y\n").contains(QStringLiteral("2 行目")));
    EXPECT_FALSE(problemOf("").isEmpty());
    EXPECT_FALSE(problemOf("\xEF\xBB\xBF").isEmpty());
}

TEST(CsvReading, FilesAboveTheLimitAreNotRead)
{
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("huge.csv")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("手配番号,手配数\r\n");
    ASSERT_TRUE(f.resize(MaxCsvBytes + 1));  // sparse: nothing is really written
    f.close();
    CsvRead r = readCsvFile(f.fileName());
    ASSERT_TRUE(std::holds_alternative<CsvProblem>(r));
    EXPECT_TRUE(std::get<CsvProblem>(r).message.contains(QStringLiteral("大きすぎます")));

    CsvRead missing = readCsvFile(dir.filePath(QStringLiteral("none.csv")));
    ASSERT_TRUE(std::holds_alternative<CsvProblem>(missing));
}
