#pragma once

#include "common/date_time.h"
#include "translations/interface_language.h"

#include <QLocale>
#include <QString>

namespace songwick {

// A date-time value in the desktop's default form: the locale's short date, then its long time
// without a time zone; the time is left out when it is exactly midnight. An elapsed time under
// one day therefore reads as 30.12.1899 followed by the hours, minutes and seconds.
QString defaultDateTimeText(DateTimeValue value, const QLocale& locale = interfaceLocale());

} // namespace songwick
