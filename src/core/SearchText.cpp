#include "core/SearchText.h"

namespace core {

namespace {

// Full-width forms of U+FF61 .. U+FF9F (half-width katakana and punctuation).
constexpr char16_t kHalfKana[] = {
    u'。', u'「', u'」', u'、', u'・', u'ヲ', u'ァ', u'ィ', u'ゥ', u'ェ', u'ォ', u'ャ', u'ュ', u'ョ', u'ッ', u'ー',
    u'ア', u'イ', u'ウ', u'エ', u'オ', u'カ', u'キ', u'ク', u'ケ', u'コ', u'サ', u'シ', u'ス', u'セ', u'ソ', u'タ',
    u'チ', u'ツ', u'テ', u'ト', u'ナ', u'ニ', u'ヌ', u'ネ', u'ノ', u'ハ', u'ヒ', u'フ', u'ヘ', u'ホ', u'マ', u'ミ',
    u'ム', u'メ', u'モ', u'ヤ', u'ユ', u'ヨ', u'ラ', u'リ', u'ル', u'レ', u'ロ', u'ワ', u'ン', u'゛', u'゜'};
static_assert(sizeof kHalfKana / sizeof kHalfKana[0] == 0xFF9F - 0xFF61 + 1);

constexpr char16_t kVoiced = 0xFF9E;      // ﾞ
constexpr char16_t kSemiVoiced = 0xFF9F;  // ﾟ

// The katakana a half-width voicing mark turns `c` into; 0 when it does not combine.
char16_t voiced(char16_t c, bool semi)
{
    if (!semi) {
        if (c == u'ウ') return u'ヴ';
        if (c == u'ワ') return u'ヷ';
        if (c == u'ヲ') return u'ヺ';
        // カ..ト: the voiced letter follows each plain one (ツ, テ, ト included).
        if (c >= u'カ' && c <= u'ト' && c != u'ッ') {
            const bool plain = c < u'ッ' ? (c - u'カ') % 2 == 0 : (c - u'ツ') % 2 == 0;
            if (plain) return char16_t(c + 1);
        }
    }
    // ハ ヒ フ ヘ ホ: voiced +1, semi-voiced +2.
    if (c >= u'ハ' && c <= u'ホ' && (c - u'ハ') % 3 == 0) return char16_t(c + (semi ? 2 : 1));
    return 0;
}

inline char16_t foldChar(char16_t c)
{
    if (c < 0x80) return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
    if (c >= 0xFF01 && c <= 0xFF5E) {
        const char16_t a = char16_t(c - 0xFF01 + 0x21);
        return a >= u'A' && a <= u'Z' ? char16_t(a + 32) : a;
    }
    if (c == 0x3000) return u' ';
    if (c >= 0xFF61 && c <= 0xFF9F) return kHalfKana[c - 0xFF61];
    if (c >= 0x3000 && c <= 0x9FFF) return c;  // kana and kanji have no case
    return QChar(c).toCaseFolded().unicode();
}

}  // namespace

QString foldForSearch(QStringView text)
{
    QString out;
    out.resize(text.size());
    char16_t* o = reinterpret_cast<char16_t*>(out.data());
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if ((c == kVoiced || c == kSemiVoiced) && n > 0) {
            if (const char16_t v = voiced(o[n - 1], c == kSemiVoiced)) {
                o[n - 1] = v;
                continue;
            }
        }
        o[n++] = foldChar(c);
    }
    out.truncate(n);
    return out;
}

bool containsFolded(QStringView text, QStringView needle)
{
    if (needle.isEmpty()) return true;
    return foldForSearch(text).contains(foldForSearch(needle));
}

}  // namespace core
