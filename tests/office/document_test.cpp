#include "common/error.h"
#include "office/document.h"
#include "office/docx_writer.h"
#include "zip_reading.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace songwick {
namespace {

TEST(Document, LineBreaksEndParagraphsAndTheLastOneMayBeEmpty) {
    Document document;
    EXPECT_EQ(document.paragraphs(), QStringList{QString()});
    document.insertAfter(QStringLiteral("1\tпуть/песня.kar \tИсполнитель\t\r\n"));
    document.insertAfter(QStringLiteral("2\tb\rc\nd\r\n"));
    EXPECT_EQ(
        document.paragraphs(),
        (QStringList{QStringLiteral("1\tпуть/песня.kar \tИсполнитель\t"), QStringLiteral("2\tb"),
                     QStringLiteral("c"), QStringLiteral("d"), QString()}));
    EXPECT_EQ(document.printText(),
              QStringLiteral("1\tпуть/песня.kar \tИсполнитель\t\n2\tb\nc\nd\n"));
}

TEST(Document, SavedDocxHoldsOneParagraphPerLineWithItsTabs) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("out.docx"));
    Document document;
    document.insertAfter(QStringLiteral("1\tА & Б <c>\t\r\n\r\n\x01x  y"));
    document.saveAs(path);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray package = file.readAll();
    ASSERT_TRUE(testing::zipPart(package, "[Content_Types].xml"));
    const auto relations = testing::zipPart(package, "_rels/.rels");
    ASSERT_TRUE(relations);
    EXPECT_TRUE(relations->contains("Target=\"word/document.xml\""));
    const auto documentXml = testing::zipPart(package, "word/document.xml");
    ASSERT_TRUE(documentXml);
    const QString xml = QString::fromUtf8(*documentXml);
    const QString body =
        QStringLiteral("<w:body>"
                       "<w:p><w:r><w:t xml:space=\"preserve\">1</w:t><w:tab/>"
                       "<w:t xml:space=\"preserve\">А &amp; Б &lt;c&gt;</w:t><w:tab/></w:r></w:p>"
                       "<w:p/>"
                       "<w:p><w:r><w:t xml:space=\"preserve\">x  y</w:t></w:r></w:p>"
                       "<w:sectPr>");
    EXPECT_TRUE(xml.contains(body)) << xml.toStdString();
}

TEST(Document, TableTakesTheEmptyLastParagraphAndTextAfterItStartsANewOne) {
    DocumentTable table;
    table.header = {QStringLiteral("№"), QStringLiteral("Песня")};
    table.rows = {{QStringLiteral("1"), QStringLiteral("Катюша")}};
    table.lines = {QStringLiteral("1\tКатюша")};
    Document document;
    document.insertAfter(QStringLiteral("До таблицы\r\n"));
    document.insertTableAfter(table);
    EXPECT_EQ(document.paragraphs(),
              (QStringList{QStringLiteral("До таблицы"), QStringLiteral("1\tКатюша"), QString()}));
    document.insertAfter(QStringLiteral("\r\nпосле"));
    document.insertTableAfter(table);
    EXPECT_EQ(document.paragraphs(),
              (QStringList{QStringLiteral("До таблицы"), QStringLiteral("1\tКатюша"), QString(),
                           QStringLiteral("после"), QStringLiteral("1\tКатюша"), QString()}));
}

TEST(Document, SavingIntoAMissingFolderFails) {
    QTemporaryDir folder;
    Document document;
    EXPECT_THROW(document.saveAs(folder.filePath(QStringLiteral("missing/out.docx"))), Error);
}

} // namespace
} // namespace songwick
