#include "catalogue/songbook_pdf.h"

#include "common/error.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

namespace songwick {
namespace {

using namespace Qt::StringLiterals;

constexpr int kResolution = 600; // device units per inch
constexpr double kMarginMillimetres = 15;
constexpr double kColumnGapPoints = 14;
constexpr double kTitleIndentPoints = 8;
constexpr double kNumberGapPoints = 4;

double points(double value) {
    return value * kResolution / 72.0;
}

QFont songbookFont(double pointSize, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

struct SongbookFonts {
    QFont heading = songbookFont(14, true);
    QFont performer = songbookFont(9.5, true);
    QFont title = songbookFont(9, false);
    QFont header = songbookFont(8, false);

    const QFont& of(SongbookLineKind kind) const {
        switch (kind) {
        case SongbookLineKind::Heading:
            return heading;
        case SongbookLineKind::Performer:
            return performer;
        case SongbookLineKind::Title:
            break;
        }
        return title;
    }
};

// Painting on the writer: the page's frame (header line, number) and the lines of a column.
class SongbookPainter {
public:
    SongbookPainter(QPdfWriter& writer, const SongbookOptions& options)
        : painter_(&writer), options_(options) {
        const QRect page = painter_.viewport();
        const double margin = kMarginMillimetres / 25.4 * kResolution;
        body_ = QRectF(page).adjusted(margin, margin, -margin, -margin);
        headerHeight_ = QFontMetricsF(fonts_.header, &writer).height() * 1.8;
        footerHeight_ = headerHeight_;
        const int columns = std::clamp(options.columns, 1, 3);
        columnWidth_ = (body_.width() - (columns - 1) * points(kColumnGapPoints)) / columns;
        for (const SongbookLineKind kind :
             {SongbookLineKind::Heading, SongbookLineKind::Performer, SongbookLineKind::Title}) {
            metrics_.emplace_back(fonts_.of(kind), &writer);
            const double fontHeight = metrics_.back().height();
            heights_[int(kind)] =
                kind == SongbookLineKind::Heading ? fontHeight * 1.6 : fontHeight * 1.15;
        }
        if (options.numbers)
            numberWidth_ = QFontMetricsF(fonts_.title, &writer).horizontalAdvance(u"00000"_s) +
                           points(kNumberGapPoints);
    }
    ~SongbookPainter() { painter_.end(); }
    SongbookPainter(const SongbookPainter&) = delete;
    SongbookPainter& operator=(const SongbookPainter&) = delete;

    double columnHeight() const { return body_.height() - headerHeight_ - footerHeight_; }
    // One line's height, or its wrapped lines' when it is too wide for the column.
    double lineHeight(const SongbookLine& line) const {
        QHash<QString, double>& known = knownHeights_[int(line.kind)];
        const auto found = known.constFind(line.text);
        if (found != known.constEnd())
            return *found;
        const double single = heights_[int(line.kind)];
        const QFontMetricsF& metrics = metrics_[int(line.kind)];
        const double width = textWidth(line.kind);
        double height = single;
        if (metrics.horizontalAdvance(line.text) > width)
            height +=
                std::max(metrics.boundingRect(QRectF(0, 0, width, 1e9), kWrap, line.text).height() -
                             metrics.height(),
                         0.0);
        known.insert(line.text, height);
        return height;
    }
    bool isActive() const { return painter_.isActive(); }

    void paintPage(const SongbookPage& page, int number, int pageCount) {
        paintFrame(number, pageCount);
        double left = body_.left();
        for (const std::vector<SongbookLine>& column : page) {
            paintColumn(column, left);
            left += columnWidth_ + points(kColumnGapPoints);
        }
    }

private:
    void paintFrame(int number, int pageCount) {
        painter_.setFont(fonts_.header);
        painter_.setPen(Qt::black);
        const QRectF header(body_.left(), body_.top(), body_.width(), headerHeight_ * 0.7);
        const QFontMetricsF metrics(fonts_.header, painter_.device());
        const double dateWidth = metrics.horizontalAdvance(options_.date);
        const QString& title = options_.title.isEmpty() ? options_.folder : options_.title;
        painter_.drawText(
            header, Qt::AlignLeft | Qt::AlignVCenter,
            metrics.elidedText(title, Qt::ElideMiddle, header.width() - dateWidth - points(20)));
        painter_.drawText(header, Qt::AlignRight | Qt::AlignVCenter, options_.date);
        painter_.drawLine(QPointF(body_.left(), header.bottom()),
                          QPointF(body_.right(), header.bottom()));
        const QRectF footer(body_.left(), body_.bottom() - footerHeight_ * 0.7, body_.width(),
                            footerHeight_ * 0.7);
        painter_.drawText(footer, Qt::AlignHCenter | Qt::AlignBottom,
                          QStringLiteral("%1 / %2").arg(number).arg(pageCount));
    }

    void paintColumn(const std::vector<SongbookLine>& lines, double left) {
        double top = body_.top() + headerHeight_;
        for (const SongbookLine& line : lines) {
            const QFont& font = fonts_.of(line.kind);
            const QFontMetricsF metrics(font, painter_.device());
            const double height = lineHeight(line);
            const double pad = (heights_[int(line.kind)] - metrics.height()) / 2;
            const double textLeft = left + columnWidth_ - textWidth(line.kind);
            painter_.setFont(font);
            if (line.number > 0)
                painter_.drawText(QRectF(textLeft - numberWidth_, top + pad,
                                         numberWidth_ - points(kNumberGapPoints), height),
                                  Qt::AlignRight | Qt::AlignTop, QString::number(line.number));
            painter_.drawText(QRectF(textLeft, top + pad, textWidth(line.kind), height), kWrap,
                              line.text);
            top += height;
        }
    }

    double textWidth(SongbookLineKind kind) const {
        if (kind != SongbookLineKind::Title)
            return columnWidth_;
        return columnWidth_ - points(kTitleIndentPoints) - numberWidth_;
    }

    static constexpr int kWrap = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

    QPainter painter_;
    const SongbookOptions& options_;
    SongbookFonts fonts_;
    QRectF body_;
    double headerHeight_ = 0;
    double footerHeight_ = 0;
    double columnWidth_ = 0;
    double numberWidth_ = 0; // the song numbers' gutter before the titles
    double heights_[3] = {};
    std::vector<QFontMetricsF> metrics_;             // by line kind
    mutable QHash<QString, double> knownHeights_[3]; // by line kind: heights measured
};

} // namespace

QByteArray drawSongbookPdf(const std::vector<SongbookSection>& book, const SongbookOptions& options,
                           const SongbookLayout& layOut) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        throw Error(
            QCoreApplication::translate("songwick::Catalogue", "Песенник: нет доступа к шрифтам."));
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(kResolution);
        writer.setCreator(QStringLiteral("Songwick"));
        writer.setTitle(options.title.isEmpty()
                            ? QCoreApplication::translate("songwick::Catalogue", "Песенник")
                            : options.title);
        writer.setPageLayout(QPageLayout(
            QPageSize(options.paper == SongbookPaper::Letter ? QPageSize::Letter : QPageSize::A4),
            QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        SongbookPainter painter(writer, options);
        if (!painter.isActive())
            throw Error(QCoreApplication::translate("songwick::Catalogue",
                                                    "Песенник не может быть нарисован."));
        const std::vector<SongbookPage> pages =
            layOut(book, options.columns, painter.columnHeight(),
                   [&painter](const SongbookLine& line) { return painter.lineHeight(line); });
        const int pageCount = std::max<int>(int(pages.size()), 1);
        if (pages.empty())
            painter.paintPage({}, 1, 1);
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (i > 0)
                writer.newPage();
            painter.paintPage(pages[i], int(i) + 1, pageCount);
        }
    }
    return pdf.data();
}

} // namespace songwick
