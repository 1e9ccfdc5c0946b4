#include "common/error.h"
#include "help/help_topics.h"
#include "help/jpeg_picture.h"

#include <QBuffer>
#include <QColor>
#include <gtest/gtest.h>

namespace songwick {
namespace {

// JPEG is lossy: a colour is right when each channel is within a few steps of the one drawn.
void expectNear(QColor actual, QColor expected, int tolerance = 12) {
    EXPECT_NEAR(actual.red(), expected.red(), tolerance) << "red";
    EXPECT_NEAR(actual.green(), expected.green(), tolerance) << "green";
    EXPECT_NEAR(actual.blue(), expected.blue(), tolerance) << "blue";
}

QByteArray encodedByQt(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 95);
    return bytes;
}

TEST(HelpTopicsTest, EveryQuestionHasItsAnswer) {
    const std::vector<HelpTopic>& topics = helpTopics();
    ASSERT_EQ(topics.size(), 6u);
    const qsizetype questionCounts[] = {0, 0, 21, 4, 4, 11};
    for (std::size_t topic = 0; topic < topics.size(); ++topic) {
        SCOPED_TRACE(topic);
        EXPECT_EQ(topics[topic].questions.size(), questionCounts[topic]);
        EXPECT_EQ(topics[topic].answers.size(), topics[topic].questions.size());
        EXPECT_EQ(topics[topic].answer.isEmpty(), topics[topic].hasQuestions());
        for (const QString& answer : topics[topic].answers)
            EXPECT_FALSE(answer.trimmed().isEmpty());
    }
    EXPECT_EQ(topics[2].title, QStringLiteral("Главное меню (основные функции программы)"));
    EXPECT_EQ(topics[3].questions.back(), QStringLiteral("Просто так!"));
}

TEST(HelpTopicsTest, TheOfficeNoteEndsBothExportAnswersOnly) {
    const HelpTopic& menu = helpTopics()[2];
    for (qsizetype question = 0; question < menu.answers.size(); ++question) {
        SCOPED_TRACE(question);
        EXPECT_EQ(menu.answers[question].endsWith(officeNote()), question == 9 || question == 11);
    }
    EXPECT_TRUE(helpTopics()[1].answer.endsWith(QStringLiteral("Экспериментируйте!! ")));
}

TEST(JpegPictureTest, OurPicturesDecodeWithTheirSizesAndColours) {
    const QImage splash = splashPicture();
    EXPECT_EQ(splash.size(), QSize(514, 386));
    expectNear(splash.pixelColor(2, 2), QColor(10, 20, 70), 20);

    const QImage strip = aboutPicture();
    EXPECT_EQ(strip.size(), QSize(79, 4));
    expectNear(strip.pixelColor(0, 1), Qt::white, 30);

    const QImage banner = startWindowPicture();
    EXPECT_EQ(banner.size(), QSize(340, 56));
    expectNear(banner.pixelColor(1, 2), QColor(21, 91, 234), 20);
}

TEST(JpegPictureTest, DecodesColourAndGreyscalePicturesOfAnySize) {
    QImage drawn(33, 17, QImage::Format_RGB32);
    drawn.fill(QColor(200, 40, 90));
    const QImage colour = decodeJpeg(encodedByQt(drawn));
    EXPECT_EQ(colour.size(), QSize(33, 17));
    expectNear(colour.pixelColor(32, 16), QColor(200, 40, 90));

    QImage grey(8, 9, QImage::Format_Grayscale8);
    grey.fill(QColor(128, 128, 128));
    const QImage fromGrey = decodeJpeg(encodedByQt(grey));
    EXPECT_EQ(fromGrey.size(), QSize(8, 9));
    expectNear(fromGrey.pixelColor(4, 4), QColor(128, 128, 128));
}

TEST(JpegPictureTest, BytesThatAreNoPictureAreAnError) {
    EXPECT_THROW(decodeJpeg(QByteArrayView()), Error);
    EXPECT_THROW(decodeJpeg(QByteArrayView("GIF89a not a jpeg at all")), Error);
    EXPECT_THROW(loadJpegPicture(QStringLiteral("/no/such/picture.jpg")), Error);
}

} // namespace
} // namespace songwick
