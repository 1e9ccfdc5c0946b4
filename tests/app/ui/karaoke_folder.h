#pragma once

#include "scan/kar_builder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <utility>

namespace songwick::testing {

// A folder of three small karaoke files, in the order they list: one without a track name, a
// Soft Karaoke file and one with only a track name.
inline QString makeKaraokeFolder(const QTemporaryDir& root, const QString& name) {
    using songwick::test::KarBuilder;
    const QString folder = root.filePath(name);
    QDir().mkpath(folder);
    const std::pair<const char*, QByteArray> files[] = {
        {"MIDIOkFormat1-lyrics-kar.mid", KarBuilder().text("Lyrics").bytes()},
        {"Negra_Sombra.kar", KarBuilder()
                                 .trackName("Soft karaoke")
                                 .text("@KMIDI KARAOKE FILE")
                                 .nextTrack()
                                 .trackName("Words")
                                 .text("@TNegra Sombra")
                                 .bytes()},
        {"twinkle.kar", KarBuilder().trackName("twinkle").bytes()},
    };
    for (const auto& [fileName, bytes] : files) {
        QFile file(folder + u'/' + QString::fromLatin1(fileName));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            ADD_FAILURE() << "cannot write " << file.fileName().toStdString();
    }
    return folder;
}

} // namespace songwick::testing
