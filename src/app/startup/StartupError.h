#pragma once
// Why start-up cannot go on. Start-up never throws past its own functions: each
// step returns either its result or one of these, and the caller shows the
// message (a message box in the window program, stderr in the export) and
// ends the program with a non-zero status before any window opens.

#include <QString>
#include <variant>

namespace app {

struct StartupError {
    QString message;         // Japanese, names the cause (file, item, database text)
    QString englishMessage;  // the same in English, for logs and the export's stderr
};

// Either a value or the reason start-up stops.
template <typename T>
using StartupResult = std::variant<T, StartupError>;

template <typename T>
bool failed(const StartupResult<T>& r) { return std::holds_alternative<StartupError>(r); }
template <typename T>
const StartupError& errorOf(const StartupResult<T>& r) { return std::get<StartupError>(r); }

}  // namespace app
