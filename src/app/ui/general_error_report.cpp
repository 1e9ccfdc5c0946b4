#include "app/ui/general_error_report.h"

#include "app/ui/platform_interfaces.h"
#include "common/error.h"

#include <QCoreApplication>
#include <exception>

namespace songwick {

bool runReportingErrors(MessageBoxes& messages, QWidget* parent,
                        const std::function<void()>& handler) {
    QString failure;
    try {
        handler();
        return true;
    } catch (const std::exception& error) {
        failure = errorText(error);
    } catch (...) {
        failure = QCoreApplication::translate("songwick::App", "Неизвестная ошибка.");
    }
    messages.showMessage(parent, failure);
    return false;
}

} // namespace songwick
