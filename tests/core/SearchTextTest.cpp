// Width and case folding of the searches.
#include "core/SearchText.h"

#include <gtest/gtest.h>

namespace {

TEST(SearchText, FoldsWidthCaseAndVoicingMarks)
{
    EXPECT_EQ(core::foldForSearch(u"ＡＢｃ－１２　x"), QStringLiteral("abc-12 x"));
    EXPECT_EQ(core::foldForSearch(u"ｶﾞｲﾄﾞ ﾊﾟﾈﾙ ｳﾞｧ"), QStringLiteral("ガイド パネル ヴァ"));
    EXPECT_EQ(core::foldForSearch(u"ｱﾟﾞ"), QStringLiteral("ア゜゛")) << "marks that combine with nothing stay marks";
    EXPECT_EQ(core::foldForSearch(u"ﾄﾞﾂﾞﾃﾞﾀﾞｯ"), QStringLiteral("ドヅデダッ"));
    EXPECT_EQ(core::foldForSearch(u"成形品Ａ"), QStringLiteral("成形品a"));
    EXPECT_TRUE(core::containsFolded(u"ｶﾊﾞｰ", u"カバ"));
    EXPECT_TRUE(core::containsFolded(u"anything", u""));
}

}  // namespace
