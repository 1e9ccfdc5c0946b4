#include "app/ui/close_question_window.h"
#include "app/ui/program_fixture.h"

#include <QPushButton>
#include <gtest/gtest.h>

namespace songwick::testing {
namespace {

class CloseQuestionTest : public ::testing::Test {
protected:
    QTemporaryDir root;
    ProgramUnderTest program{root.filePath(QStringLiteral("prop.dat"))};
    TForm12* question = program.registry->form12();
};

TEST_F(CloseQuestionTest, ActivationForgetsEveryReasonButANewScan) {
    question->QuestionReason = TForm12::ClosingProgram;
    question->FormActivate();
    EXPECT_EQ(question->QuestionReason, TForm12::NoReason);
    question->QuestionReason = TForm12::StartingNewScan;
    question->FormActivate();
    EXPECT_EQ(question->QuestionReason, TForm12::StartingNewScan);
}

TEST_F(CloseQuestionTest, ClosingByTheBorderIsCancel) {
    WindowRegistry::showWindow(question);
    question->QuestionReason = TForm12::StartingNewScan;
    question->close();
    EXPECT_FALSE(question->isVisible());
    EXPECT_EQ(question->QuestionReason, TForm12::NoReason);
    EXPECT_EQ(program.endCount, 0);
}

TEST_F(CloseQuestionTest, CaptionsAreThoseOfTheProgram) {
    EXPECT_EQ(question->windowTitle(), QStringLiteral("Сохранить изменения?"));
    EXPECT_EQ(question->Button1->text(), QStringLiteral("Да"));
    EXPECT_EQ(question->Button2->text(), QStringLiteral("Нет"));
    EXPECT_EQ(question->Button3->text(), QStringLiteral("Отмена"));
}

} // namespace
} // namespace songwick::testing
