#pragma once

#include <QLocale>
#include <QString>
#include <QTranslator>
#include <functional>
#include <memory>
#include <vector>

class QCoreApplication;

namespace songwick {

// Russian is the language the program is written in; every other language gets English.
enum class Language { Russian, English };

// The user's choice in the settings ("interface/language" in options.ini).
enum class LanguageChoice { System, Russian, English };

// The choice as options.ini keeps it: "system", "ru", "en"; anything else reads as System.
QString languageChoiceKey(LanguageChoice choice);
LanguageChoice languageChoiceFromKey(const QString& key);

// Reads one environment variable; empty when it is not set.
using EnvironmentReader = std::function<QString(const char* name)>;
QString readProcessEnvironment(const char* name);

// The language the environment asks for, as gettext reads it: the locale of messages is the
// first of LC_ALL, LC_MESSAGES and LANG that is set; LANGUAGE, a list of languages, comes
// first unless that locale is "C" or "POSIX". Russian when the first language named is ru.
Language systemLanguage(const EnvironmentReader& environment = readProcessEnvironment);

// The language the interface speaks: SONGWICK_LANGUAGE ("ru" or "en", for the tests and for
// a one-off run) before the user's choice, the user's choice before the system's language.
Language interfaceLanguage(LanguageChoice choice,
                           const EnvironmentReader& environment = readProcessEnvironment);

// The locale dates are written in, with their month names: the system's under the Russian
// interface, English under the English one.
QLocale interfaceLocale();

// The translators of one language, installed into the application while the object lives:
// the program's English (none for Russian, whose texts are the source) and Qt's own texts
// (its dialogs and standard buttons) from Qt's translations folder when they are there.
class InstalledLanguage {
public:
    explicit InstalledLanguage(Language language);
    ~InstalledLanguage();
    InstalledLanguage(const InstalledLanguage&) = delete;
    InstalledLanguage& operator=(const InstalledLanguage&) = delete;

    Language language() const { return language_; }

private:
    Language language_;
    std::vector<std::unique_ptr<QTranslator>> translators_;
};

} // namespace songwick
