// A composition chosen in the detail window, applied and saved: the order's
// components become the variant's lines with their requirements, the old
// ones are deleted, and the next load holds the new ones.

#include "SaveFixture.h"
#include "session/PlanSession.h"

using namespace savetest;

namespace {

class VariantSave : public SaveFixture {};

TEST_P(VariantSave, TheChosenVariantsComponentsAreSaved)
{
    d().exec(QStringLiteral("UPDATE DB0383 SET 構成選択順序 = 1"));
    insert(d(), QStringLiteral("DB0378"), {{QStringLiteral("品名コード"), QStringLiteral("MAT-7")}, {QStringLiteral("包装単位数量"), 1}});
    insert(d(), QStringLiteral("DB0383"),
           {{QStringLiteral("生産工場コード"), 1}, {QStringLiteral("上位品名コード"), QStringLiteral("ITEM-A")}, {QStringLiteral("順序"), 999},
            {QStringLiteral("下位品名コード"), QStringLiteral("MAT-7")}, {QStringLiteral("表示順"), 1}, {QStringLiteral("原単位分子"), 3},
            {QStringLiteral("原単位分母"), 2}, {QStringLiteral("歩留率"), 100}, {QStringLiteral("支給制御区分"), QStringLiteral("1")},
            {QStringLiteral("有償無償区分"), QStringLiteral("0")}, {QStringLiteral("構成選択順序"), 2}});
    session::PlanSession s(settings, &d());
    s.setPrompt(&prompt);
    s.setClock(saveMoment);
    s.load();
    int i = 0;
    for (int k = 2; k <= s.plan().size(); ++k)
        if (s.plan()[k].orderNo == 101) i = k;
    ASSERT_NE(i, 0);
    std::optional<reschedule::DetailForm> form = s.openDetail(i);
    ASSERT_TRUE(form);
    ASSERT_EQ(form->variants.size(), 2u);
    ASSERT_TRUE(s.changeDetailVariant(*form, 2));
    ASSERT_TRUE(s.applyDetail(*form).changed);
    ASSERT_EQ(s.save().outcome, SaveOutcome::Saved) << prompt.told.join(u'\n').toStdString();

    EXPECT_EQ(countRows(d(), QStringLiteral("SELECT * FROM DB0252 WHERE 上位手配番号=101 AND 削除フラグ='0'")), 1);
    const Row added(d(), QStringLiteral("DB0252"), QStringLiteral("上位手配番号=101 AND 品名コード='MAT-7'"));
    ASSERT_TRUE(added.found());
    EXPECT_EQ(added.text(QStringLiteral("削除フラグ")), QStringLiteral("0"));
    EXPECT_EQ(added.num(QStringLiteral("必要数")), 150);  // 100 × 3 ÷ 2
    EXPECT_EQ(added.num(QStringLiteral("原単位分子")), 3);
    EXPECT_EQ(Row(d(), QStringLiteral("DB0252"), QStringLiteral("上位手配番号=101 AND 品名コード='MAT-1'")).text(QStringLiteral("削除フラグ")),
              QStringLiteral("1"));

    session::PlanSession again(settings, &d());
    again.setPrompt(&prompt);
    again.load();
    for (int k = 2; k <= again.plan().size(); ++k)
        if (again.plan()[k].orderNo == 101) {
            ASSERT_EQ(again.plan()[k].components.size(), 1u);
            EXPECT_EQ(again.plan()[k].components[0].itemCode, QStringLiteral("MAT-7"));
        }
}

SAVE_ON_EVERY_KIND(VariantSave);

}  // namespace
