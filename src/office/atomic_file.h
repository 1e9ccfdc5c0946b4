#pragma once

#include <QString>
#include <QTemporaryFile>

namespace songwick {

// A file that a library writes by its own name, made visible under its final name only
// once complete: the library writes to a temporary name in the final folder, commit()
// renames it over the final name. Without commit() the temporary file is removed.
class AtomicFileByName {
public:
    // Throws songwick::Error when no temporary file can be made in the target's folder.
    explicit AtomicFileByName(const QString& finalPath);

    // The name to write to.
    const QString& temporaryPath() const { return temporaryPath_; }
    // Throws songwick::Error when the rename fails.
    void commit();

private:
    QString finalPath_;
    QString temporaryPath_;
    QTemporaryFile file_;
};

} // namespace songwick
