#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace songwick {

class MessageBoxes;

// The program's one error report: runs the handler and shows the text of any exception it
// throws in a message box. What the handler did before the failure stays done; the program
// keeps running. True when the handler ran to its end.
bool runReportingErrors(MessageBoxes& messages, QWidget* parent,
                        const std::function<void()>& handler);

} // namespace songwick
