#include "translations/interface_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QStringList>

namespace songwick {
namespace {

// "ru_RU.UTF-8", "ru@latin", "ru" → "ru".
QString languageOfLocale(const QString& locale) {
    const qsizetype end = locale.indexOf(QRegularExpression(QStringLiteral("[_.@-]")));
    return (end < 0 ? locale : locale.left(end)).toLower();
}

Language languageNamed(const QString& name) {
    return languageOfLocale(name) == QStringLiteral("ru") ? Language::Russian : Language::English;
}

} // namespace

QString languageChoiceKey(LanguageChoice choice) {
    switch (choice) {
    case LanguageChoice::Russian:
        return QStringLiteral("ru");
    case LanguageChoice::English:
        return QStringLiteral("en");
    case LanguageChoice::System:
        break;
    }
    return QStringLiteral("system");
}

LanguageChoice languageChoiceFromKey(const QString& key) {
    if (key == QStringLiteral("ru"))
        return LanguageChoice::Russian;
    if (key == QStringLiteral("en"))
        return LanguageChoice::English;
    return LanguageChoice::System;
}

QString readProcessEnvironment(const char* name) {
    return qEnvironmentVariable(name);
}

Language systemLanguage(const EnvironmentReader& environment) {
    QString locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = environment(name);
        if (!locale.isEmpty())
            break;
    }
    const bool plainLocale = locale.isEmpty() || locale == QStringLiteral("C") ||
                             locale.startsWith(QStringLiteral("C.")) ||
                             locale == QStringLiteral("POSIX");
    if (!plainLocale) {
        for (const QString& language : environment("LANGUAGE").split(u':', Qt::SkipEmptyParts))
            return languageNamed(language);
    }
    return plainLocale ? Language::English : languageNamed(locale);
}

Language interfaceLanguage(LanguageChoice choice, const EnvironmentReader& environment) {
    const QString forced = environment("SONGWICK_LANGUAGE");
    if (!forced.isEmpty())
        return languageNamed(forced);
    switch (choice) {
    case LanguageChoice::Russian:
        return Language::Russian;
    case LanguageChoice::English:
        return Language::English;
    case LanguageChoice::System:
        break;
    }
    return systemLanguage(environment);
}

QLocale interfaceLocale() {
    // The English translation answers "en" here; without a translator the source says "ru".
    if (QCoreApplication::translate("songwick::Language", "ru") == QStringLiteral("en"))
        return QLocale(QLocale::English, QLocale::UnitedStates);
    return QLocale::system();
}

InstalledLanguage::InstalledLanguage(Language language) : language_(language) {
    const auto install = [this](const QString& name, const QString& folder) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(name, folder) && QCoreApplication::installTranslator(translator.get()))
            translators_.push_back(std::move(translator));
    };
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (language == Language::Russian) {
        install(QStringLiteral("qtbase_ru"), qtFolder);
        return;
    }
    install(QStringLiteral("qtbase_en"), qtFolder);
    install(QStringLiteral("songwick_en"), QStringLiteral(":/translations"));
}

InstalledLanguage::~InstalledLanguage() {
    for (const std::unique_ptr<QTranslator>& translator : translators_)
        QCoreApplication::removeTranslator(translator.get());
}

} // namespace songwick
