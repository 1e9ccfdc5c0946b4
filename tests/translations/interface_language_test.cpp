#include "common/system_error.h"
#include "translations/interface_language.h"

#include <QCoreApplication>
#include <QHash>
#include <cerrno>
#include <gtest/gtest.h>

namespace songwick {
namespace {

EnvironmentReader environmentOf(const QHash<QString, QString>& variables) {
    return [variables](const char* name) { return variables.value(QString::fromLatin1(name)); };
}

Language systemLanguageOf(const QHash<QString, QString>& variables) {
    return systemLanguage(environmentOf(variables));
}

TEST(InterfaceLanguageTest, TheEnvironmentPicksTheLanguageAsGettextReadsIt) {
    const QString ru = QStringLiteral("ru_RU.UTF-8");
    const QString en = QStringLiteral("en_US.UTF-8");
    EXPECT_EQ(systemLanguageOf({}), Language::English);
    EXPECT_EQ(systemLanguageOf({{QStringLiteral("LANG"), ru}}), Language::Russian);
    EXPECT_EQ(systemLanguageOf({{QStringLiteral("LANG"), QStringLiteral("C.UTF-8")}}),
              Language::English);
    // LC_ALL before LC_MESSAGES before LANG.
    EXPECT_EQ(systemLanguageOf({{QStringLiteral("LANG"), ru}, {QStringLiteral("LC_ALL"), en}}),
              Language::English);
    EXPECT_EQ(systemLanguageOf({{QStringLiteral("LANG"), en}, {QStringLiteral("LC_MESSAGES"), ru}}),
              Language::Russian);
    // LANGUAGE names the languages first, unless the locale is C.
    EXPECT_EQ(systemLanguageOf({{QStringLiteral("LANG"), en},
                                {QStringLiteral("LANGUAGE"), QStringLiteral("ru:en")}}),
              Language::Russian);
    EXPECT_EQ(systemLanguageOf({{QStringLiteral("LANG"), ru},
                                {QStringLiteral("LANGUAGE"), QStringLiteral("de_DE:ru")}}),
              Language::English);
    EXPECT_EQ(systemLanguageOf({{QStringLiteral("LANG"), QStringLiteral("C")},
                                {QStringLiteral("LANGUAGE"), QStringLiteral("ru")}}),
              Language::English);
}

TEST(InterfaceLanguageTest, TheForcedLanguageComesBeforeTheChoiceAndTheChoiceBeforeTheSystem) {
    const EnvironmentReader russianSystem =
        environmentOf({{QStringLiteral("LANG"), QStringLiteral("ru_RU.UTF-8")}});
    EXPECT_EQ(interfaceLanguage(LanguageChoice::System, russianSystem), Language::Russian);
    EXPECT_EQ(interfaceLanguage(LanguageChoice::English, russianSystem), Language::English);
    const EnvironmentReader forced =
        environmentOf({{QStringLiteral("LANG"), QStringLiteral("ru_RU.UTF-8")},
                       {QStringLiteral("SONGWICK_LANGUAGE"), QStringLiteral("ru")}});
    EXPECT_EQ(interfaceLanguage(LanguageChoice::English, forced), Language::Russian);
    for (const LanguageChoice choice :
         {LanguageChoice::System, LanguageChoice::Russian, LanguageChoice::English})
        EXPECT_EQ(languageChoiceFromKey(languageChoiceKey(choice)), choice);
    EXPECT_EQ(languageChoiceFromKey(QStringLiteral("fr")), LanguageChoice::System);
}

TEST(InterfaceLanguageTest, TheEnglishTranslationIsBuiltIntoTheProgram) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    EXPECT_EQ(QCoreApplication::translate("songwick::TForm12", "Да"), QStringLiteral("Да"));
    {
        const InstalledLanguage english(Language::English);
        EXPECT_EQ(QCoreApplication::translate("songwick::TForm12", "Да"), QStringLiteral("Yes"));
        EXPECT_EQ(interfaceLocale().language(), QLocale::English);
    }
    EXPECT_EQ(QCoreApplication::translate("songwick::TForm12", "Да"), QStringLiteral("Да"));
}

// A system error names its action, given in Russian by every caller, in the interface's
// language, and an action given already translated stays as it is.
TEST(InterfaceLanguageTest, SystemErrorsSpeakTheInterfaceLanguage) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    const QString path = QStringLiteral("/songs/list.swk");
    EXPECT_EQ(systemErrorMessage(QStringLiteral("открыть файл"), path, ENOENT),
              QStringLiteral("Не удалось открыть файл \"/songs/list.swk\": Нет такого файла или "
                             "каталога"));
    const InstalledLanguage english(Language::English);
    EXPECT_EQ(
        systemErrorMessage(QStringLiteral("открыть файл"), path, ENOENT),
        QStringLiteral("Could not open the file \"/songs/list.swk\": No such file or folder"));
    EXPECT_EQ(writeFailureMessage(path, ENOSPC),
              QStringLiteral("Could not write the file \"/songs/list.swk\": No space left on the "
                             "device"));
    EXPECT_EQ(systemErrorMessage(QStringLiteral("read the folder"), path, EACCES),
              QStringLiteral("Could not read the folder \"/songs/list.swk\": Permission denied"));
}

} // namespace
} // namespace songwick
