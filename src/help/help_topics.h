#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace songwick {

// One topic of the program's built-in help: either an answer of its own or a list of
// questions, each with its answer.
struct HelpTopic {
    QString title;
    // The answer of a topic without questions; empty otherwise.
    QString answer;
    QStringList questions;
    // One answer per question, in the same order.
    QStringList answers;

    bool hasQuestions() const { return !questions.isEmpty(); }
};

// The six topics of the help window, in the order the list shows them.
const std::vector<HelpTopic>& helpTopics();

// Added to the answers about the spreadsheet and the Word export.
QString officeNote();

} // namespace songwick
