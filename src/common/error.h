#pragma once

#include <QString>
#include <stdexcept>

namespace songwick {

// The one exception type of the core. Its text is what the user is shown, as it stands
// (the general error report of the windows, the CLI's error line).
class Error : public std::runtime_error {
public:
    explicit Error(const QString& message) : std::runtime_error(message.toStdString()) {}

    QString message() const { return QString::fromUtf8(what()); }
};

// The text of any exception, for the places that show it.
inline QString errorText(const std::exception& error) {
    return QString::fromUtf8(error.what());
}

} // namespace songwick
