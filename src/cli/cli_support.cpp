#include "cli/cli_support.h"

#include <cstdio>

namespace songwick::cli {

Arguments::Arguments(const QStringList& arguments, const QStringList& allowedOptions,
                     const QStringList& allowedFlags) {
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!argument.startsWith(QStringLiteral("--"))) {
            positional_.append(argument);
            continue;
        }
        const QString name = argument.mid(2);
        if (allowedFlags.contains(name)) {
            flags_.append(name);
            continue;
        }
        if (!allowedOptions.contains(name))
            throw UsageError("unknown option " + argument.toStdString());
        if (i + 1 >= arguments.size())
            throw UsageError("option " + argument.toStdString() + " needs a value");
        optionNames_.append(name);
        optionValues_.append(arguments[++i]);
    }
}

std::optional<QString> Arguments::option(const QString& name) const {
    const qsizetype at = optionNames_.lastIndexOf(name);
    if (at < 0)
        return std::nullopt;
    return optionValues_[at];
}

void printOut(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
}

void printError(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
}

} // namespace songwick::cli
