#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <zip.h>

namespace songwick::testing {

// One part of a zip archive held in memory; nothing when the archive or the part is missing.
inline std::optional<QByteArray> zipPart(const QByteArray& archiveBytes, const char* name) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(archiveBytes.constData(),
                                                    zip_uint64_t(archiveBytes.size()), 0, &error);
    if (!source)
        return std::nullopt;
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!archive) {
        zip_source_free(source);
        return std::nullopt;
    }
    std::optional<QByteArray> result;
    zip_stat_t stat;
    if (zip_stat(archive, name, 0, &stat) == 0) {
        if (zip_file_t* file = zip_fopen(archive, name, 0)) {
            QByteArray bytes(qsizetype(stat.size), '\0');
            if (zip_fread(file, bytes.data(), stat.size) == zip_int64_t(stat.size))
                result = bytes;
            zip_fclose(file);
        }
    }
    zip_discard(archive);
    return result;
}

// Replaces one part of the zip archive at path with bytes; false when there is no such part
// or libzip fails.
inline bool replaceZipPart(const QString& path, const char* name, const QByteArray& bytes) {
    int error = 0;
    zip_t* archive = zip_open(path.toUtf8().constData(), 0, &error);
    if (!archive)
        return false;
    const zip_int64_t index = zip_name_locate(archive, name, 0);
    zip_source_t* source =
        zip_source_buffer(archive, bytes.constData(), zip_uint64_t(bytes.size()), 0);
    if (index < 0 || !source || zip_file_replace(archive, zip_uint64_t(index), source, 0) < 0) {
        zip_source_free(source);
        zip_discard(archive);
        return false;
    }
    return zip_close(archive) == 0;
}

} // namespace songwick::testing
