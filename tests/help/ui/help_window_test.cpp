#include "app/ui/hint_switch.h"
#include "app/ui/program_fixture.h"
#include "help/help_topics.h"
#include "help/ui/help_window.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolTip>
#include <gtest/gtest.h>

namespace songwick {
namespace {

using testing::ProgramUnderTest;

class HelpWindowTest : public ::testing::Test {
protected:
    HelpWindowTest()
        : program(folder.filePath(QStringLiteral("prop.dat"))), help(*program.registry) {
        WindowRegistry::showWindow(&help);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&help));
    }
    ~HelpWindowTest() override {
        QToolTip::hideText();
        help.hide();
    }

    // Clicks an item of a list as the user does.
    static void clickItem(QListWidget* list, int row) {
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

    QStringList questionsShown() const {
        QStringList shown;
        for (int row = 0; row < help.ListBox2->count(); ++row)
            shown << help.ListBox2->item(row)->text();
        return shown;
    }

    QTemporaryDir folder;
    ProgramUnderTest program;
    THelp help;
};

TEST_F(HelpWindowTest, EachTopicShowsExactlyItsOwnQuestions) {
    clickItem(help.ListBox1, 2);
    EXPECT_EQ(help.ListBox2->count(), 21);
    clickItem(help.ListBox1, 3);
    EXPECT_EQ(help.ListBox2->count(), 4);
    clickItem(help.ListBox1, 2);
    EXPECT_EQ(help.ListBox2->count(), 21);
    EXPECT_EQ(questionsShown(), helpTopics()[2].questions);
    EXPECT_TRUE(help.ListBox2->isVisible());
    EXPECT_TRUE(help.Label2->isVisible());
    EXPECT_EQ(help.ListBox2->currentRow(), -1);
    EXPECT_EQ(help.Label4->text(), QStringLiteral("Уточнение вопроса..."));
    EXPECT_EQ(help.Label3->text(),
              QStringLiteral("Вопрос: Главное меню (основные функции программы)...."));
    EXPECT_EQ(help.Memo1->toPlainText(), THelp::questionPrompt());
    EXPECT_EQ(help.Memo1->palette().color(QPalette::Text), QColor(220, 24, 98));
}

TEST_F(HelpWindowTest, AQuestionShowsItsAnswerInBlack) {
    clickItem(help.ListBox1, 3);
    clickItem(help.ListBox2, 3);
    EXPECT_EQ(help.Label4->text(), QStringLiteral("Ответ:"));
    EXPECT_EQ(help.Label3->text(), QStringLiteral("Вопрос: Рекомендации > Просто так!"));
    EXPECT_EQ(help.Memo1->toPlainText(), helpTopics()[3].answers[3]);
    EXPECT_EQ(help.Memo1->palette().color(QPalette::Text), QColor(Qt::black));
}

TEST_F(HelpWindowTest, ClickingTheChosenTopicAgainBringsBackItsPrompt) {
    clickItem(help.ListBox1, 2);
    clickItem(help.ListBox2, 5);
    ASSERT_EQ(help.Memo1->toPlainText(), helpTopics()[2].answers[5]);
    clickItem(help.ListBox1, 2);
    EXPECT_EQ(help.Memo1->toPlainText(), THelp::questionPrompt());
    EXPECT_EQ(help.Label4->text(), QStringLiteral("Уточнение вопроса..."));
    EXPECT_EQ(help.ListBox2->currentRow(), -1);
}

TEST_F(HelpWindowTest, ADirectTopicEmptiesAndHidesTheQuestions) {
    EXPECT_FALSE(help.Label4->isVisible());
    clickItem(help.ListBox1, 4);
    ASSERT_EQ(help.ListBox2->count(), 4);
    clickItem(help.ListBox1, 0);
    EXPECT_EQ(help.ListBox2->count(), 0);
    EXPECT_FALSE(help.ListBox2->isVisible());
    EXPECT_FALSE(help.Label2->isVisible());
    EXPECT_TRUE(help.Label4->isVisible());
    EXPECT_EQ(help.Label4->text(), QStringLiteral("Ответ:"));
    EXPECT_EQ(help.Label3->text(), QStringLiteral("Вопрос: Для чего нужна эта программа?"));
    EXPECT_EQ(help.Memo1->toPlainText(), helpTopics()[0].answer);
}

TEST_F(HelpWindowTest, OnlyAnItemTooLongForTheListHasAHint) {
    clickItem(help.ListBox1, 2);
    QListWidget* questions = help.ListBox2;
    // "Файл > Переименовать файлы > Сложное переименование..." does not fit 239 pixels.
    questions->scrollToItem(questions->item(13));
    const QPoint longItem = questions->visualItemRect(questions->item(13)).center();
    EXPECT_EQ(listItemHintText(*questions, longItem), helpTopics()[2].questions[13]);
    EXPECT_TRUE(help.hints->showHintAt(questions, longItem));
    EXPECT_EQ(QToolTip::text(), helpTopics()[2].questions[13]);
    QToolTip::hideText();

    questions->scrollToItem(questions->item(4));
    const QPoint shortItem = questions->visualItemRect(questions->item(4)).center();
    EXPECT_TRUE(listItemHintText(*questions, shortItem).isEmpty());
    EXPECT_FALSE(help.hints->showHintAt(questions, shortItem));

    program.registry->hints().setHintsShown(false);
    questions->scrollToItem(questions->item(13));
    EXPECT_FALSE(
        help.hints->showHintAt(questions, questions->visualItemRect(questions->item(13)).center()));
}

TEST_F(HelpWindowTest, OkHidesTheWindowAndItKeepsItsState) {
    clickItem(help.ListBox1, 3);
    QTest::mouseClick(help.Button1, Qt::LeftButton);
    EXPECT_TRUE(help.isHidden());
    WindowRegistry::showWindow(&help);
    EXPECT_EQ(help.ListBox2->count(), 4);
    EXPECT_EQ(help.ListBox1->currentRow(), 3);
}

} // namespace
} // namespace songwick
