#pragma once

#include <QString>

namespace songwick {

// Hands a written file to the desktop's program for its kind (the spreadsheet or the word
// processor), which shows it to the user. Throws songwick::Error when no program can be
// started for it.
class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    virtual void open(const QString& path) = 0;
};

} // namespace songwick
