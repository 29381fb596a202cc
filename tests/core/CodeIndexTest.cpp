// The machine-code index against a plain map: many codes sharing their ends
// (the hash only looks at the ends), growth, blanks, first-wins, wide characters.
#include "core/CodeIndex.h"
#include "core/RowTable.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <map>

TEST(CodeIndex, AgreesWithAMapOnCodesThatShareTheirEnds)
{
    core::CodeIndex index;
    std::map<QString, int> reference;
    QStringList codes;
    for (int i = 0; i < 3000; ++i) {
        // Same first and last four units, differing in the middle; plus short ones.
        codes << QStringLiteral("ABCD%1WXYZ").arg(i) << QString::number(i % 97) << QStringLiteral("機械%1").arg(i % 13);
    }
    int row = 1;
    for (const QString& c : codes) {
        ++row;
        index.insert(c, row);
        reference.emplace(c, row);  // emplace keeps the first, like the index
    }
    for (const auto& [code, r] : reference) {
        ASSERT_EQ(index.find(code), r) << code.toStdString();
        ASSERT_EQ(index.find(QStringLiteral("  ") + code + QStringLiteral("\t")), r);
    }
    EXPECT_EQ(index.find(QStringLiteral("ABCD3000WXYZ")), 0);
    EXPECT_EQ(index.find(QStringLiteral("ABCDWXYZ")), 0);
    EXPECT_EQ(index.find(QString()), 0);
    index.clear();
    EXPECT_EQ(index.find(QStringLiteral("1")), 0);
}

TEST(CodeIndex, RowTableFindsTrimmedCodesAndTheBlankRow)
{
    core::RowTable rows;
    const int m1 = rows.append(QStringLiteral("M1 "), QStringLiteral("a"), QStringLiteral("a"));
    rows.append(QStringLiteral(" M1"), QStringLiteral("b"), QStringLiteral("b"));  // same trimmed code: first wins
    EXPECT_EQ(rows.findRow(QStringLiteral("M1")), m1);
    EXPECT_EQ(rows.findRow(QStringLiteral("   ")), 1);
    EXPECT_EQ(rows.getMachineIndex(QStringLiteral("M2")), 1);
    rows.clear();
    EXPECT_EQ(rows.findRow(QStringLiteral("M1")), 0);
}
