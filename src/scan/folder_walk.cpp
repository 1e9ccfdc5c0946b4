#include "scan/folder_walk.h"

#include "common/error.h"
#include "scan/structured_reading.h"

#include <QFile>
#include <algorithm>
#include <deque>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>
#include <vector>

namespace songwick {
namespace {

struct Entry {
    QByteArray name; // the file system's bytes
    QString displayName;
    QString foldedName;
};

struct DirectoryCloser {
    void operator()(DIR* directory) const { ::closedir(directory); }
};

// The original platform lists a folder in name order, case-insensitive; equal names but for
// case come in byte order.
bool listingOrder(const Entry& a, const Entry& b) {
    const int folded = a.foldedName.compare(b.foldedName);
    return folded != 0 ? folded < 0 : a.name < b.name;
}

// Lists a folder's entries, "." and ".." left out; an unreadable folder lists as empty.
std::vector<Entry> listFolder(const QByteArray& folder, std::vector<unsigned char>& types) {
    std::vector<Entry> entries;
    types.clear();
    const std::unique_ptr<DIR, DirectoryCloser> directory(::opendir(folder.constData()));
    if (!directory)
        return entries;
    std::vector<std::pair<Entry, unsigned char>> found;
    while (const dirent* item = ::readdir(directory.get())) {
        const QByteArray name(item->d_name);
        if (name == "." || name == "..")
            continue;
        Entry entry{name, QFile::decodeName(name), {}};
        entry.foldedName = entry.displayName.toCaseFolded();
        found.emplace_back(std::move(entry), item->d_type);
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return listingOrder(a.first, b.first); });
    entries.reserve(found.size());
    types.reserve(found.size());
    for (auto& [entry, type] : found) {
        entries.push_back(std::move(entry));
        types.push_back(type);
    }
    return entries;
}

// A folder, or a link to one.
bool isFolder(const QByteArray& path, unsigned char type) {
    if (type == DT_DIR)
        return true;
    if (type != DT_LNK && type != DT_UNKNOWN)
        return false;
    struct stat status {};
    return ::stat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool isCandidateName(const QByteArray& name) {
    return name.contains("kar") || name.contains("KAR");
}

QByteArray joined(const QByteArray& folder, const QByteArray& name) {
    QByteArray path = folder;
    if (!path.endsWith('/'))
        path.append('/');
    path.append(name);
    return path;
}

class FolderWalk {
public:
    FolderWalk(RecordStore& store, const WalkOptions& options,
               const std::function<void()>& progressStep)
        : store_(store), options_(options), progressStep_(progressStep),
          parentReferenceLimit_(options.manyFilesScan ? options.limits.parentReferencesMany
                                                      : options.limits.parentReferences) {}

    WalkResult run(const QString& chosenFolder) {
        queue_.push_back(QFile::encodeName(chosenFolder));
        while (!queue_.empty() && result_.end == WalkEnd::Finished) {
            const QByteArray folder = std::move(queue_.front());
            queue_.pop_front();
            listOneFolder(folder);
            ++result_.listings;
            if (result_.end != WalkEnd::Finished)
                break;
            if (parentReferences_ > parentReferenceLimit_) {
                result_.end = WalkEnd::ParentReferenceLimit;
                break;
            }
            if (result_.listings > options_.limits.listings)
                result_.end = WalkEnd::ListingLimit;
        }
        return result_;
    }

private:
    void listOneFolder(const QByteArray& folder) {
        const std::vector<Entry> entries = listFolder(folder, types_);
        // Every record of this folder shares one folder text.
        QByteArray folderWithSeparator = folder;
        if (!folderWithSeparator.endsWith('/'))
            folderWithSeparator.append('/');
        const QString folderText = QFile::decodeName(folderWithSeparator);
        for (size_t i = 0; i < entries.size() && result_.end == WalkEnd::Finished; ++i) {
            const QByteArray path = joined(folder, entries[i].name);
            if (isFolder(path, types_[i]))
                queueFolder(path);
            else
                handleFile(path, entries[i], folderText);
        }
    }

    void queueFolder(const QByteArray& path) {
        if (queuedTotal_ >= options_.limits.queuedFolders) {
            result_.end = WalkEnd::QueueFull;
            return;
        }
        ++queuedTotal_;
        queue_.push_back(path);
    }

    void handleFile(const QByteArray& path, const Entry& entry, const QString& folderText) {
        if (++progressCounter_ >= options_.limits.progressEvery) {
            progressCounter_ = 0;
            if (progressStep_)
                progressStep_();
        }
        if (path.contains("/..")) {
            ++parentReferences_;
            return;
        }
        if (!isCandidateName(entry.name))
            return;
        parentReferences_ = 0;
        extract(path, entry, folderText);
    }

    void extract(const QByteArray& path, const Entry& entry, const QString& folderText) {
        if (store_.isFull()) {
            result_.end = WalkEnd::StoreFull;
            return;
        }
        try {
            const QByteArrayView bytes = reader_.read(path);
            if (options_.reading.reading == KarReading::Structured)
                store_.append(makeStructuredRecord(folderText, entry.displayName,
                                                   structured_.read(bytes, entry.displayName)));
            else
                store_.append(makeRecord(folderText, entry.displayName,
                                         extractKarTexts(bytes, options_.window)));
            ++result_.recordsAdded;
        } catch (const Error& error) {
            if (result_.unreadableCount++ == 0) {
                result_.firstUnreadable = QFile::decodeName(path);
                result_.firstUnreadableError = error.message();
            }
        }
    }

    RecordStore& store_;
    const WalkOptions& options_;
    const std::function<void()>& progressStep_;
    const int parentReferenceLimit_;
    std::deque<QByteArray> queue_;
    std::vector<unsigned char> types_;
    KarFileReader reader_;
    StructuredReader structured_{options_.reading.structured};
    WalkResult result_;
    int queuedTotal_ = 0;
    int parentReferences_ = 0;
    int progressCounter_ = 0;
};

} // namespace

WalkResult walkFolder(const QString& chosenFolder, RecordStore& store, const WalkOptions& options,
                      const std::function<void()>& progressStep) {
    return FolderWalk(store, options, progressStep).run(chosenFolder);
}

QString overloadMessage() {
    return QStringLiteral("Ошибка!\n\rВ выбранной папке находится очень много файлов или очень "
                          "большая глубина вложенных папок (в том числе пустых). Выберите одну из "
                          "вложенных папок и повторите попытку! За более подробной информацией "
                          "обращайтесь к Помощи\u2026.");
}

QString limitMessage(const WalkResult& result) {
    switch (result.end) {
    case WalkEnd::StoreFull:
        return QStringLiteral("Таблица заполнена: в неё помещается не более %1 файлов. "
                              "Сканирование остановлено, найденные файлы сохранены в таблице.")
            .arg(RecordStore::kCapacity);
    case WalkEnd::QueueFull:
        return QStringLiteral("В выбранной папке больше %1 вложенных папок. Сканирование "
                              "остановлено, найденные файлы сохранены в таблице.")
            .arg(RecordStore::kCapacity);
    default:
        return {};
    }
}

QString unreadableMessage(const WalkResult& result) {
    if (result.unreadableCount == 0)
        return {};
    return QStringLiteral("Не удалось прочитать файлов: %1. Первый из них: %2 (%3)")
        .arg(result.unreadableCount)
        .arg(result.firstUnreadable, result.firstUnreadableError);
}

} // namespace songwick
