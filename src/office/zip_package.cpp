#include "office/zip_package.h"

#include "common/error.h"

#include <QCoreApplication>
#include <memory>
#include <zip.h>

namespace songwick {
namespace {

struct SourceFreer {
    void operator()(zip_source_t* source) const { zip_source_free(source); }
};
struct ArchiveDiscarder {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};

Error zipError(const char* text) {
    return Error(
        QCoreApplication::translate("songwick::Office", "Не удалось собрать архив документа: %1")
            .arg(QString::fromUtf8(text)));
}

} // namespace

QByteArray zipPackage(const std::vector<std::pair<QString, QByteArray>>& parts) {
    zip_error_t error;
    zip_error_init(&error);
    std::unique_ptr<zip_source_t, SourceFreer> buffer(
        zip_source_buffer_create(nullptr, 0, 0, &error));
    if (!buffer)
        throw zipError(zip_error_strerror(&error));
    std::unique_ptr<zip_t, ArchiveDiscarder> archive(
        zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &error));
    if (!archive)
        throw zipError(zip_error_strerror(&error));
    // The archive takes a reference of its own; ours stays to read the result.
    zip_source_keep(buffer.get());
    for (const auto& [name, bytes] : parts) {
        zip_source_t* part =
            zip_source_buffer(archive.get(), bytes.constData(), zip_uint64_t(bytes.size()), 0);
        if (!part)
            throw zipError(zip_strerror(archive.get()));
        if (zip_file_add(archive.get(), name.toUtf8().constData(), part, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(part);
            throw zipError(zip_strerror(archive.get()));
        }
    }
    if (zip_close(archive.get()) != 0)
        throw zipError(zip_strerror(archive.get()));
    archive.release();

    zip_stat_t stat;
    if (zip_source_open(buffer.get()) != 0)
        throw zipError(zip_error_strerror(zip_source_error(buffer.get())));
    QByteArray result;
    if (zip_source_stat(buffer.get(), &stat) == 0 && (stat.valid & ZIP_STAT_SIZE)) {
        result.resize(qsizetype(stat.size));
        const zip_int64_t read = zip_source_read(buffer.get(), result.data(), stat.size);
        if (read != zip_int64_t(stat.size))
            result.clear();
    }
    zip_source_close(buffer.get());
    if (result.isEmpty())
        throw zipError(zip_error_strerror(zip_source_error(buffer.get())));
    return result;
}

} // namespace songwick
