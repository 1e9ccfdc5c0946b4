#include "cli/cli_support.h"

#include "common/file_name_codec.h"

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

namespace {

// A terminal's line break is LF: the "\n\r" of the program's message boxes would leave a
// carriage return at the start of the next line. A byte of a file name that is not text is
// shown as the windows show it.
QByteArray terminalBytes(const QString& text) {
    QString shown = displayFileName(text);
    shown.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    return shown.toUtf8();
}

} // namespace

void printOut(const QString& text) {
    const QByteArray bytes = terminalBytes(text);
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
}

void printError(const QString& text) {
    const QByteArray bytes = terminalBytes(text);
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
}

} // namespace songwick::cli
