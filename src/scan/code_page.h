#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <vector>

namespace songwick {

// A code page the texts of karaoke files come in: the key kept in the options ("cp1251"),
// the name shown to the user and the name iconv knows it by.
struct CodePageChoice {
    QString key;
    QString displayName;
    QByteArray iconvName;
};

// The code pages a file's texts may be read in, Windows-1251 first.
const std::vector<CodePageChoice>& knownCodePages();
// The choice with that key; nullptr when there is none.
const CodePageChoice* findCodePage(const QString& key);
// The keys of knownCodePages(), in order.
QStringList knownCodePageKeys();

inline const QString kAutomaticCodePage = QStringLiteral("auto");

// What the texts of one file were found to be written in.
struct CodePageGuess {
    QString key;             // a key of knownCodePages(), or "ascii"
    double confidence = 1.0; // 0 to 1
    // How it was decided: "bom", "utf-8", "ascii", "letters" (Russian words), "words" (how the
    // letters form words), "detector", "unsure", "forced".
    QString reason;
};

// Decides the code page of a file from all its texts together: a byte order mark or valid
// UTF-8 first; then the statistical detector, its answer restricted to knownCodePages() and
// checked against how the texts' letters form words; Windows-1251 when unsure. Keeps one
// detector and the converters it opened for the next file.
class CodePageDetector {
public:
    CodePageDetector();
    ~CodePageDetector();
    CodePageDetector(const CodePageDetector&) = delete;
    CodePageDetector& operator=(const CodePageDetector&) = delete;

    CodePageGuess detect(const std::vector<QByteArrayView>& texts);

    // The text decoded from the code page with that key ("ascii" reads as Windows-1251).
    // Bytes the code page does not define become U+FFFD; a UTF-8 byte order mark is dropped.
    QString decode(QByteArrayView text, const QString& key);

private:
    struct Detector;
    std::unique_ptr<Detector> detector_;
    struct Converter;
    std::map<QString, std::unique_ptr<Converter>> converters_;
};

} // namespace songwick
