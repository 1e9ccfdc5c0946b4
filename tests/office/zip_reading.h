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

} // namespace songwick::testing
