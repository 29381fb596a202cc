#pragma once
// Texts as the planner's searches compare them. Japanese data mixes the
// half-width and full-width forms of the same text (ｶﾊﾞｰ and カバー, ＡＢ１ and
// ab1), depending on which program or operator typed it; a search must find
// either with either.

#include <QString>
#include <QStringView>

namespace core {

// Folds width and case: full-width ASCII to ASCII, the ideographic space to a
// blank, half-width katakana (with their voicing marks) to full-width
// katakana, then letters to lower case. Everything else is kept.
QString foldForSearch(QStringView text);

// Whether `text` contains `needle`, both compared folded; an empty needle is
// contained in every text.
bool containsFolded(QStringView text, QStringView needle);

}  // namespace core
