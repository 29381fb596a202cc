// Fixed-width texts for lists that line up in Shift-JIS bytes (as the plant's
// other programs print them): width is measured with glibc's CP932 converter.
#include "core/WorkingTime.h"

#include <iconv.h>

#include <vector>

namespace core {
namespace {

class Cp932Encoder {
public:
    Cp932Encoder() : cd_(iconv_open("CP932", "UTF-32LE")) {}
    ~Cp932Encoder()
    {
        if (cd_ != iconv_t(-1)) iconv_close(cd_);
    }
    Cp932Encoder(const Cp932Encoder&) = delete;
    Cp932Encoder& operator=(const Cp932Encoder&) = delete;

    // Bytes of the code point in CP932; 0 when it cannot be encoded.
    int bytesOf(char32_t cp)
    {
        if (cd_ == iconv_t(-1)) return 0;
        char in[4] = {char(cp & 0xFF), char((cp >> 8) & 0xFF), char((cp >> 16) & 0xFF), char((cp >> 24) & 0xFF)};
        char out[8];
        char* inPtr = in;
        char* outPtr = out;
        size_t inLeft = sizeof in, outLeft = sizeof out;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // a failed call may leave state behind
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1)) return 0;
        return int(sizeof out - outLeft);
    }

private:
    iconv_t cd_;
};

int byteWidthOf(char32_t cp)
{
    if (cp < 0x80) return 1;
    if (cp >= 0xFF61 && cp <= 0xFF9F) return 1;  // half-width katakana
    thread_local Cp932Encoder encoder;
    const int n = encoder.bytesOf(cp);
    // Characters CP932 lacks are kept as they are and reserve the width of a full-width one.
    return n == 0 ? 2 : n;
}

struct Piece {
    QString text;  // one code point (two UTF-16 units for a surrogate pair)
    int bytes;
};

std::vector<Piece> piecesOf(const QString& text)
{
    std::vector<Piece> out;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text.at(i);
        const bool pair = c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const char32_t cp = pair ? QChar::surrogateToUcs4(c, text.at(i + 1)) : char32_t(c.unicode());
        const qsizetype len = pair ? 2 : 1;
        out.push_back({text.mid(i, len), byteWidthOf(cp)});
        i += len;
    }
    return out;
}

}  // namespace

int shiftJisByteWidth(const QString& text)
{
    int total = 0;
    for (const Piece& p : piecesOf(text)) total += p.bytes;
    return total;
}

QString fitByteWidth(const QString& text, int width, const QString& alignment)
{
    const QString align = alignment.trimmed().toUpper();
    if (align != u"L" && align != u"R") return text;
    if (width <= 0) return QString();

    const std::vector<Piece> pieces = piecesOf(text);
    QString kept;
    int used = 0;
    if (align == u"L") {
        for (const Piece& p : pieces) {
            if (used + p.bytes > width) break;
            kept += p.text;
            used += p.bytes;
        }
        return kept + QString(width - used, u' ');
    }
    std::size_t first = pieces.size();
    while (first > 0 && used + pieces[first - 1].bytes <= width) used += pieces[--first].bytes;
    for (std::size_t i = first; i < pieces.size(); ++i) kept += pieces[i].text;
    return QString(width - used, u' ') + kept;
}

QString padRight(const QString& text, int width, const QString& pad)
{
    if (width <= 0) return QString();
    QString out = text;
    if (!pad.isEmpty())
        while (out.size() < width) out += pad;
    return out.left(width);
}

}  // namespace core
