#include "catalogue/songbook.h"

#include "catalogue/catalogue_duplicates.h"
#include "catalogue/catalogue_find.h"
#include "catalogue/catalogue_record.h"

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <algorithm>

namespace songwick {
namespace {

constexpr int kFileNameColumn = 1 + FileNameField;
constexpr int kTitleColumn = 1 + PerformerTitleField;

const QString kNoPerformerHeading = QStringLiteral("Без исполнителя");
const QString kContinued = QStringLiteral(" (продолжение)");

QCollator songbookCollator() {
    QCollator collator{QLocale(QLocale::Russian, QLocale::Russia)};
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

QString headingOf(const QString& performer) {
    for (const QChar c : performer) {
        if (c.isSpace())
            continue;
        if (!c.isLetter())
            return QStringLiteral("#");
        const QChar upper = c.toUpper();
        return QString(upper == u'Ё' ? QChar(u'Е') : upper);
    }
    return QStringLiteral("#");
}

// Sorts names by the collator and drops those whose folded text repeats an earlier one.
QStringList sortedDistinct(const QStringList& names, const QCollator& collator) {
    QStringList sorted = names;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&collator](const QString& a, const QString& b) { return collator(a, b); });
    QStringList distinct;
    QString lastKey;
    for (const QString& name : sorted) {
        const QString key = foldedForFind(name);
        if (!distinct.isEmpty() && key == lastKey)
            continue;
        distinct << name;
        lastKey = key;
    }
    return distinct;
}

} // namespace

SongbookSong songbookSong(const CatalogueGrid& grid, int row) {
    SongbookSong song;
    QString text =
        kTitleColumn < grid.columnCount() ? grid.cell(kTitleColumn, row).trimmed() : QString();
    if (isUntitled(text))
        text.clear();
    const qsizetype dash = performerTitleDash(text);
    if (dash >= 0) {
        song.performer = text.left(dash).trimmed();
        song.title = text.mid(dash + 1).trimmed();
    } else {
        song.title = text;
    }
    if (song.title.isEmpty() && kFileNameColumn < grid.columnCount()) {
        const QString fileName = grid.cell(kFileNameColumn, row);
        const qsizetype dot = fileName.lastIndexOf(u'.');
        song.title = dot > 0 ? fileName.left(dot) : fileName;
    }
    return song;
}

std::vector<SongbookSection> songbookSections(const CatalogueGrid& grid,
                                              const std::vector<int>& rows) {
    QHash<QString, int> performerByKey;
    std::vector<SongbookPerformer> performers;
    QStringList withoutPerformer;
    for (const int row : rows) {
        const SongbookSong song = songbookSong(grid, row);
        if (song.title.isEmpty())
            continue;
        const QString key = foldedForFind(song.performer);
        if (key.isEmpty()) {
            withoutPerformer << song.title;
            continue;
        }
        auto found = performerByKey.constFind(key);
        if (found == performerByKey.constEnd()) {
            found = performerByKey.insert(key, int(performers.size()));
            performers.push_back({song.performer, {}});
        }
        performers[std::size_t(*found)].titles << song.title;
    }

    const QCollator collator = songbookCollator();
    std::stable_sort(performers.begin(), performers.end(),
                     [&collator](const SongbookPerformer& a, const SongbookPerformer& b) {
                         return collator(a.name, b.name);
                     });
    std::vector<SongbookSection> sections;
    for (SongbookPerformer& performer : performers) {
        performer.titles = sortedDistinct(performer.titles, collator);
        const QString heading = headingOf(performer.name);
        if (sections.empty() || sections.back().heading != heading)
            sections.push_back({heading, {}});
        sections.back().performers.push_back(std::move(performer));
    }
    if (!withoutPerformer.isEmpty())
        sections.push_back(
            {kNoPerformerHeading, {{QString(), sortedDistinct(withoutPerformer, collator)}}});
    return sections;
}

namespace {

// Fills columns one after another, starting a new page when a page's columns are full.
class ColumnFlow {
public:
    ColumnFlow(int columnsPerPage, double columnHeight,
               const std::function<double(SongbookLineKind)>& height)
        : columnsPerPage_(std::max(columnsPerPage, 1)), columnHeight_(columnHeight),
          height_(height) {}

    double room() const { return pages_.empty() ? 0 : columnHeight_ - used_; }
    bool columnIsEmpty() const { return pages_.empty() || pages_.back().back().empty(); }
    double height(SongbookLineKind kind) const { return height_(kind); }

    void nextColumn() {
        if (pages_.empty() || int(pages_.back().size()) == columnsPerPage_)
            pages_.emplace_back();
        pages_.back().emplace_back();
        used_ = 0;
    }
    // Starts a new column first when the lines of `needed` height do not fit in this one
    // (an empty column takes them anyway). Returns true when it did.
    bool makeRoom(double needed) {
        if (!pages_.empty() && (needed <= room() || columnIsEmpty()))
            return false;
        nextColumn();
        return true;
    }
    void add(SongbookLine line) {
        used_ += height_(line.kind);
        pages_.back().back().push_back(std::move(line));
    }
    std::vector<SongbookPage> take() { return std::move(pages_); }

private:
    int columnsPerPage_;
    double columnHeight_;
    const std::function<double(SongbookLineKind)>& height_;
    std::vector<SongbookPage> pages_;
    double used_ = 0;
};

} // namespace

std::vector<SongbookPage> layOutSongbook(const std::vector<SongbookSection>& sections,
                                         int columnsPerPage, double columnHeight,
                                         const std::function<double(SongbookLineKind)>& height) {
    ColumnFlow flow(columnsPerPage, columnHeight, height);
    const double headingHeight = height(SongbookLineKind::Heading);
    const double performerHeight = height(SongbookLineKind::Performer);
    const double titleHeight = height(SongbookLineKind::Title);
    for (const SongbookSection& section : sections) {
        const bool firstNamed =
            !section.performers.empty() && !section.performers.front().name.isEmpty();
        flow.makeRoom(headingHeight + (firstNamed ? performerHeight : 0) + titleHeight);
        flow.add({SongbookLineKind::Heading, section.heading});
        for (const SongbookPerformer& performer : section.performers) {
            const bool named = !performer.name.isEmpty();
            if (named) {
                flow.makeRoom(performerHeight + titleHeight);
                flow.add({SongbookLineKind::Performer, performer.name});
            }
            for (const QString& title : performer.titles) {
                if (flow.makeRoom(titleHeight) && named) {
                    flow.makeRoom(performerHeight + titleHeight);
                    flow.add({SongbookLineKind::Performer, performer.name + kContinued});
                }
                flow.add({SongbookLineKind::Title, title});
            }
        }
    }
    return flow.take();
}

} // namespace songwick
