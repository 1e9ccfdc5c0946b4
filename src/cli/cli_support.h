#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <stdexcept>

namespace songwick::cli {

// A command's arguments: positional ones in order and "--name value" options.
class Arguments {
public:
    // Throws UsageError for an option without its value or one not in allowedOptions or
    // allowedFlags (options without a value).
    Arguments(const QStringList& arguments, const QStringList& allowedOptions,
              const QStringList& allowedFlags = {});

    const QStringList& positional() const { return positional_; }
    std::optional<QString> option(const QString& name) const;
    bool flag(const QString& name) const { return flags_.contains(name); }

private:
    QStringList positional_;
    QStringList optionNames_;
    QStringList optionValues_;
    QStringList flags_;
};

// A command line that does not fit the command; main prints it with the usage.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Output to the terminal in UTF-8.
void printOut(const QString& text);
void printError(const QString& text);

} // namespace songwick::cli
