#pragma once

#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

namespace songwick {

// A zip archive built in memory from named parts, deflated, in the order given.
// Throws songwick::Error when libzip fails.
QByteArray zipPackage(const std::vector<std::pair<QString, QByteArray>>& parts);

} // namespace songwick
