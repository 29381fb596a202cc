#pragma once
// Reads a text as the sequential-input items the plant's configuration files
// are written in: items are separated by commas or line ends; a double-quoted
// item is taken without its quotes and may contain commas; blanks round an
// unquoted item are dropped. Numbers are converted by the caller.

#include <QString>

namespace app {

class SequentialInput {
public:
    explicit SequentialInput(QString text);

    // True when every character has been consumed (the end-of-file test made
    // before each optional item).
    bool atEnd() const { return pos_ >= text_.size(); }
    // The next item; "" at the end.
    QString next();

private:
    void skipBlanks();
    // Consumes the delimiter that ends an item (a comma, or a line end in any
    // of its three spellings).
    void consumeDelimiter();
    bool atLineEnd() const;

    QString text_;
    qsizetype pos_ = 0;
};

// A numeric item as an integer: blank gives 0, a decimal number is rounded half
// to even like the platform's integer conversion. False when the text is no number
// or lies outside the int range.
bool itemToInt(const QString& item, int& value);

}  // namespace app
