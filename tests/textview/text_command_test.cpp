#include "catalogue/catalogue_grid.h"
#include "catalogue/list_file.h"
#include "common/cp1251_codec.h"
#include "common/random_source.h"
#include "settings/program_settings.h"
#include "settings/settings_file.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace songwick {
namespace {

class FixedRandom final : public RandomSource {
public:
    int below(int) override { return 0; }
};

struct CliResult {
    int exitCode = -1;
    QString out;
    QString error;
};

CliResult runCli(const QStringList& arguments) {
    QProcess process;
    process.start(QString::fromUtf8(SONGWICK_CLI_PATH), arguments);
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

class TextCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        CatalogueGrid grid(7, 3);
        const QStringList row1 = {u"1"_s,     u"Ой, мороз.kar"_s, u"/музыка/"_s, u"Н. Кадышева"_s,
                                  u"слова"_s, QString(),          u"KarMaker"_s};
        const QStringList row2 = {u"V 2"_s,  u"b.kar"_s, u"/m/"_s, QString(),
                                  QString(), QString(),  QString()};
        for (int column = 0; column < 7; ++column) {
            grid.setCell(column, 1, row1[column]);
            grid.setCell(column, 2, row2[column]);
        }
        writeFile(listPath(), listFileBytes(grid));
    }

    QString listPath() const { return folder.filePath(u"список.swk"_s); }

    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir folder;
};

TEST_F(TextCommandTest, PrintsLayoutAWithTheEmptyLineByDefault) {
    const CliResult result = runCli({u"text"_s, listPath()});
    EXPECT_EQ(result.exitCode, 0) << result.error.toStdString();
    EXPECT_EQ(result.out, u"1\t/музыка/Ой, мороз.kar Н. Кадышева\tслова\t\tKarMaker\t\n"
                          u"V 2\t/m/b.kar \t\t\t\t\n"
                          u"\n"_s);
}

TEST_F(TextCommandTest, PrintsLayoutBWithTheLinesTheSettingsAskFor) {
    ProgramSettings settings;
    settings.TextAddDateTime = true;
    settings.TextAddCaption = true;
    settings.TextCaptionChoice = 6;
    FixedRandom random;
    const QString settingsPath = folder.filePath(u"prop.dat"_s);
    writeFile(settingsPath, settingsFileBytes(settings, {}, random));

    const CliResult result =
        runCli({u"text"_s, listPath(), u"--layout"_s, u"B"_s, u"--settings"_s, settingsPath});
    EXPECT_EQ(result.exitCode, 0) << result.error.toStdString();
    const QStringList lines = result.out.split(u'\n');
    ASSERT_EQ(lines.size(), 6) << result.out.toStdString();
    EXPECT_EQ(lines[0], u"1\t/музыка/Н. Кадышева\tслова\t\tKarMaker\t"_s);
    EXPECT_EQ(lines[1], u"V 2\t/m/\t\t\t\t"_s);
    EXPECT_EQ(lines[2], QString());
    EXPECT_TRUE(QRegularExpression(u"^\\d\\d\\.[^.]+\\.?\\.\\d{4}  \\d\\d\\.\\d\\d\\.\\d\\d$"_s)
                    .match(lines[3])
                    .hasMatch())
        << lines[3].toStdString();
    EXPECT_EQ(lines[4], u' ' + textCaptionItems().at(6));
    EXPECT_EQ(lines[5], QString());
}

TEST_F(TextCommandTest, FailuresEndWithAMessageAndNonZeroCode) {
    const QString foreign = folder.filePath(u"foreign.swk"_s);
    writeFile(foreign, "not a list\r\n");
    CliResult result = runCli({u"text"_s, foreign});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.error.contains(u"Данный файл не является файлом Songwick."_s))
        << result.error.toStdString();
    EXPECT_TRUE(result.out.isEmpty());

    result = runCli({u"text"_s, folder.filePath(u"missing.swk"_s)});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.isEmpty());

    EXPECT_EQ(runCli({u"text"_s, listPath(), u"--layout"_s, u"C"_s}).exitCode, 2);
    EXPECT_EQ(runCli({u"text"_s}).exitCode, 2);
}

} // namespace
} // namespace songwick
