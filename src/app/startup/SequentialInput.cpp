#include "app/startup/SequentialInput.h"

#include <cmath>
#include <limits>

namespace app {

namespace {
bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
}  // namespace

SequentialInput::SequentialInput(QString text) : text_(std::move(text))
{
    if (text_.startsWith(QChar(0xFEFF))) text_.remove(0, 1);  // editors on the plant's PCs write a BOM
}

bool SequentialInput::atLineEnd() const
{
    return pos_ < text_.size() && (text_[pos_] == u'\r' || text_[pos_] == u'\n');
}

void SequentialInput::skipBlanks()
{
    while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
}

void SequentialInput::consumeDelimiter()
{
    if (pos_ >= text_.size()) return;
    if (text_[pos_] == u',') {
        ++pos_;
        return;
    }
    if (text_[pos_] == u'\r') {
        ++pos_;
        if (pos_ < text_.size() && text_[pos_] == u'\n') ++pos_;
        return;
    }
    if (text_[pos_] == u'\n') ++pos_;
}

QString SequentialInput::next()
{
    skipBlanks();
    if (pos_ >= text_.size()) return {};
    QString item;
    if (text_[pos_] == u'"') {
        ++pos_;
        // A quoted item runs to its closing quote; an unclosed one stops at the line end.
        while (pos_ < text_.size() && text_[pos_] != u'"' && !atLineEnd()) item += text_[pos_++];
        if (pos_ < text_.size() && text_[pos_] == u'"') ++pos_;
        // Anything between the closing quote and the delimiter is not part of the item.
        while (pos_ < text_.size() && text_[pos_] != u',' && !atLineEnd()) ++pos_;
    } else {
        while (pos_ < text_.size() && text_[pos_] != u',' && !atLineEnd()) item += text_[pos_++];
        item = item.trimmed();
    }
    consumeDelimiter();
    return item;
}

bool itemToInt(const QString& item, int& value)
{
    const QString t = item.trimmed();
    if (t.isEmpty()) {
        value = 0;
        return true;
    }
    bool ok = false;
    const double d = t.toDouble(&ok);  // C locale: "." is the decimal point
    if (!ok || !std::isfinite(d)) return false;
    const double r = std::nearbyint(d);  // default rounding mode: halves to even
    if (r < double(std::numeric_limits<int>::min()) || r > double(std::numeric_limits<int>::max())) return false;
    value = int(r);
    return true;
}

}  // namespace app
