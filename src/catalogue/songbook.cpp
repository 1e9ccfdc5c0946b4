#include "catalogue/songbook.h"

#include "catalogue/catalogue_duplicates.h"
#include "catalogue/catalogue_find.h"
#include "catalogue/catalogue_record.h"
#include "catalogue/song_words.h"

#include <QCollator>
#include <QCoreApplication>
#include <QHash>
#include <QLocale>
#include <algorithm>

namespace songwick {
namespace {

QString noPerformerHeading() {
    return QCoreApplication::translate("songwick::Catalogue", "Без исполнителя");
}

QString continuedMark() {
    return QCoreApplication::translate("songwick::Catalogue", " (продолжение)");
}

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

// Sorts the titles by the collator, each with its number, and drops those whose folded text
// repeats an earlier one.
void sortDistinct(SongbookPerformer& performer, const QCollator& collator) {
    std::vector<std::size_t> order(std::size_t(performer.titles.size()));
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return collator(performer.titles[qsizetype(a)], performer.titles[qsizetype(b)]);
    });
    QStringList titles;
    std::vector<int> numbers;
    QString lastKey;
    for (const std::size_t i : order) {
        const QString& title = performer.titles[qsizetype(i)];
        const QString key = foldedForFind(title);
        if (!titles.isEmpty() && key == lastKey)
            continue;
        titles << title;
        numbers.push_back(performer.numberOf(qsizetype(i)));
        lastKey = key;
    }
    performer.titles = std::move(titles);
    performer.numbers = std::move(numbers);
}

} // namespace

std::vector<SongbookSection> songbookSections(const CatalogueGrid& grid,
                                              const std::vector<int>& rows) {
    const SongReader reader(grid);
    QHash<QString, int> performerByKey;
    std::vector<SongbookPerformer> performers;
    std::vector<QHash<QString, int>> spellings; // by performer: how often each spelling occurs
    SongbookPerformer withoutPerformer;
    for (const int row : rows) {
        const RowSong song = reader.song(row);
        if (song.title.isEmpty())
            continue;
        const QString key = foldedSongName(song.performer);
        if (key.isEmpty()) {
            withoutPerformer.titles << song.title;
            withoutPerformer.numbers.push_back(row);
            continue;
        }
        auto found = performerByKey.constFind(key);
        if (found == performerByKey.constEnd()) {
            found = performerByKey.insert(key, int(performers.size()));
            performers.push_back({song.performer, {}, {}});
            spellings.emplace_back();
        }
        const std::size_t index = std::size_t(*found);
        performers[index].titles << song.title;
        performers[index].numbers.push_back(row);
        QHash<QString, int>& counts = spellings[index];
        const int count = ++counts[song.performer];
        if (song.performer != performers[index].name &&
            count > counts.value(performers[index].name))
            performers[index].name = song.performer;
    }

    const QCollator collator = songbookCollator();
    std::stable_sort(performers.begin(), performers.end(),
                     [&collator](const SongbookPerformer& a, const SongbookPerformer& b) {
                         return collator(a.name, b.name);
                     });
    std::vector<SongbookSection> sections;
    for (SongbookPerformer& performer : performers) {
        sortDistinct(performer, collator);
        const QString heading = headingOf(performer.name);
        if (sections.empty() || sections.back().heading != heading)
            sections.push_back({heading, {}});
        sections.back().performers.push_back(std::move(performer));
    }
    if (!withoutPerformer.titles.isEmpty()) {
        sortDistinct(withoutPerformer, collator);
        sections.push_back({noPerformerHeading(), {std::move(withoutPerformer)}});
    }
    return sections;
}

SongbookSection songbookIndex(const std::vector<SongbookSection>& sections) {
    struct Entry {
        QString title;
        QString text;
        int number;
    };
    std::vector<Entry> entries;
    for (const SongbookSection& section : sections)
        for (const SongbookPerformer& performer : section.performers)
            for (qsizetype i = 0; i < performer.titles.size(); ++i)
                entries.push_back(
                    {performer.titles[i],
                     performer.name.isEmpty()
                         ? performer.titles[i]
                         : performer.titles[i] + QStringLiteral(" — ") + performer.name,
                     performer.numberOf(i)});
    const QCollator collator = songbookCollator();
    std::stable_sort(entries.begin(), entries.end(), [&collator](const Entry& a, const Entry& b) {
        return collator(a.title, b.title);
    });
    SongbookPerformer all;
    for (const Entry& entry : entries) {
        all.titles << entry.text;
        all.numbers.push_back(entry.number);
    }
    return {QCoreApplication::translate("songwick::Catalogue", "Указатель песен"),
            {std::move(all)}};
}

namespace {

// Fills columns one after another, starting a new page when a page's columns are full.
class ColumnFlow {
public:
    ColumnFlow(int columnsPerPage, double columnHeight,
               const std::function<double(const SongbookLine&)>& height)
        : columnsPerPage_(std::max(columnsPerPage, 1)), columnHeight_(columnHeight),
          height_(height) {}

    double room() const { return pages_.empty() ? 0 : columnHeight_ - used_; }
    bool columnIsEmpty() const { return pages_.empty() || pages_.back().back().empty(); }

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
        used_ += height_(line);
        pages_.back().back().push_back(std::move(line));
    }
    std::vector<SongbookPage> take() { return std::move(pages_); }

private:
    int columnsPerPage_;
    double columnHeight_;
    const std::function<double(const SongbookLine&)>& height_;
    std::vector<SongbookPage> pages_;
    double used_ = 0;
};

} // namespace

std::vector<SongbookPage> layOutSongbook(const std::vector<SongbookSection>& sections,
                                         int columnsPerPage, double columnHeight,
                                         const std::function<double(const SongbookLine&)>& height) {
    ColumnFlow flow(columnsPerPage, columnHeight, height);
    for (const SongbookSection& section : sections) {
        const SongbookLine headingLine{SongbookLineKind::Heading, section.heading};
        double needed = height(headingLine);
        if (!section.performers.empty() && !section.performers.front().titles.isEmpty()) {
            const SongbookPerformer& first = section.performers.front();
            if (!first.name.isEmpty())
                needed += height({SongbookLineKind::Performer, first.name});
            needed += height({SongbookLineKind::Title, first.titles.front()});
        }
        flow.makeRoom(needed);
        flow.add(headingLine);
        for (const SongbookPerformer& performer : section.performers) {
            const bool named = !performer.name.isEmpty();
            const SongbookLine performerLine{SongbookLineKind::Performer, performer.name};
            for (qsizetype i = 0; i < performer.titles.size(); ++i) {
                const SongbookLine titleLine{SongbookLineKind::Title, performer.titles[i],
                                             performer.numberOf(i)};
                if (i == 0 && named) {
                    flow.makeRoom(height(performerLine) + height(titleLine));
                    flow.add(performerLine);
                }
                if (flow.makeRoom(height(titleLine)) && named) {
                    const SongbookLine continued{SongbookLineKind::Performer,
                                                 performer.name + continuedMark()};
                    flow.makeRoom(height(continued) + height(titleLine));
                    flow.add(continued);
                }
                flow.add(titleLine);
            }
        }
    }
    return flow.take();
}

} // namespace songwick
