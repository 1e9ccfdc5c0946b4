// Draws the program's three pictures and writes them as JPEG files into the folder given on
// the command line (src/help/pictures/), and PNG copies for a look into a second folder if one
// is given. Run it again after changing a drawing:
//   draw_help_pictures src/help/pictures [PREVIEW_FOLDER]
#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

const QColor kBlue(21, 91, 234);
const QColor kViolet(120, 40, 180);
const QColor kRed(210, 30, 60);
const QColor kGold(255, 200, 60);

// A quaver (or a pair of them) with its head centred at head.
void drawNote(QPainter& painter, QPointF head, qreal size, const QColor& colour, bool pair) {
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const QSizeF headSize(size, size * 0.75);
    const auto drawHead = [&](QPointF centre) {
        painter.save();
        painter.translate(centre);
        painter.rotate(-20);
        painter.drawEllipse(
            QRectF(QPointF(-headSize.width() / 2, -headSize.height() / 2), headSize));
        painter.restore();
    };
    drawHead(head);
    const QPointF stemFoot(head.x() + size * 0.45, head.y());
    painter.setPen(QPen(colour, size * 0.14));
    painter.drawLine(stemFoot, stemFoot - QPointF(0, size * 2.6));
    if (pair) {
        const QPointF second = head + QPointF(size * 1.8, -size * 0.3);
        drawHead(second);
        const QPointF secondFoot(second.x() + size * 0.45, second.y());
        painter.drawLine(secondFoot, secondFoot - QPointF(0, size * 2.6));
        painter.setPen(QPen(colour, size * 0.45, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(stemFoot - QPointF(0, size * 2.45), secondFoot - QPointF(0, size * 2.45));
    } else {
        QPainterPath flag(stemFoot - QPointF(0, size * 2.6));
        flag.cubicTo(stemFoot + QPointF(size * 0.2, -size * 2.0),
                     stemFoot + QPointF(size * 1.2, -size * 1.9),
                     stemFoot + QPointF(size * 0.7, -size * 1.0));
        painter.setPen(QPen(colour, size * 0.16));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(flag);
    }
    painter.restore();
}

// A stage microphone, its head at the top of rect.
void drawMicrophone(QPainter& painter, const QRectF& rect) {
    painter.save();
    const qreal headRadius = rect.width() / 2;
    const QPointF headCentre(rect.center().x(), rect.top() + headRadius);
    QRadialGradient mesh(headCentre - QPointF(headRadius / 3, headRadius / 3), headRadius * 1.4);
    mesh.setColorAt(0, QColor(250, 250, 250));
    mesh.setColorAt(0.6, QColor(170, 175, 190));
    mesh.setColorAt(1, QColor(90, 95, 110));
    painter.setPen(QPen(QColor(60, 60, 70), 2));
    painter.setBrush(mesh);
    painter.drawEllipse(headCentre, headRadius, headRadius);
    painter.setPen(QPen(QColor(120, 125, 140), 1));
    for (int line = -2; line <= 2; ++line) {
        const qreal offset = line * headRadius / 3;
        painter.drawLine(QPointF(headCentre.x() - headRadius * 0.85, headCentre.y() + offset),
                         QPointF(headCentre.x() + headRadius * 0.85, headCentre.y() + offset));
    }
    QLinearGradient body(rect.left(), 0, rect.right(), 0);
    body.setColorAt(0, QColor(30, 30, 35));
    body.setColorAt(0.45, QColor(95, 95, 105));
    body.setColorAt(1, QColor(20, 20, 25));
    QPainterPath handle;
    const qreal top = headCentre.y() + headRadius * 0.9;
    handle.moveTo(headCentre.x() - headRadius * 0.75, top);
    handle.lineTo(headCentre.x() + headRadius * 0.75, top);
    handle.lineTo(headCentre.x() + headRadius * 0.3, rect.bottom());
    handle.lineTo(headCentre.x() - headRadius * 0.3, rect.bottom());
    handle.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(body);
    painter.drawPath(handle);
    painter.setBrush(kGold);
    painter.drawRect(QRectF(headCentre.x() - headRadius * 0.75, top, headRadius * 1.5, 4));
    painter.restore();
}

QFont titleFont(int pixels) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(true);
    font.setItalic(true);
    return font;
}

QImage drawSplash() {
    QImage picture(514, 386, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, picture.height());
    sky.setColorAt(0, QColor(10, 20, 70));
    sky.setColorAt(0.55, kViolet.darker(140));
    sky.setColorAt(1, kRed.darker(170));
    painter.fillRect(picture.rect(), sky);

    // Stage lights.
    for (const auto& [x, colour] : {std::pair{90.0, QColor(255, 230, 120, 70)},
                                    std::pair{424.0, QColor(120, 200, 255, 70)}}) {
        QPainterPath beam;
        beam.moveTo(x, 0);
        beam.lineTo(257 - 40, 386);
        beam.lineTo(257 + 40, 386);
        beam.closeSubpath();
        painter.fillPath(beam, colour);
    }
    // A few stars.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 190));
    const QPointF stars[] = {{30, 30},  {70, 80},  {140, 22}, {210, 60}, {300, 18},
                             {360, 70}, {450, 30}, {490, 95}, {25, 150}, {480, 170}};
    for (const QPointF& star : stars)
        painter.drawEllipse(star, 1.6, 1.6);

    drawMicrophone(painter, QRectF(232, 170, 50, 160));
    drawNote(painter, QPointF(120, 250), 18, kGold, true);
    drawNote(painter, QPointF(380, 230), 20, QColor(120, 220, 255), false);
    drawNote(painter, QPointF(430, 300), 14, QColor(255, 140, 170), true);
    drawNote(painter, QPointF(70, 330), 12, QColor(180, 255, 170), false);

    painter.setFont(titleFont(64));
    painter.setPen(QColor(0, 0, 0, 120));
    painter.drawText(QRectF(4, 44, 514, 90), Qt::AlignCenter, QStringLiteral("Songwick"));
    QLinearGradient letters(0, 50, 0, 130);
    letters.setColorAt(0, QColor(255, 245, 200));
    letters.setColorAt(1, kGold);
    painter.setPen(QPen(QBrush(letters), 1));
    painter.drawText(QRectF(0, 40, 514, 90), Qt::AlignCenter, QStringLiteral("Songwick"));

    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(18);
    painter.setFont(subtitle);
    painter.setPen(QColor(230, 235, 255));
    painter.drawText(QRectF(0, 128, 514, 28), Qt::AlignCenter,
                     QStringLiteral("каталог Ваших караоке-файлов"));
    subtitle.setPixelSize(13);
    painter.setFont(subtitle);
    painter.drawText(QRectF(0, 350, 505, 28), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("Версия 1.3"));
    return picture;
}

QImage drawAboutStrip() {
    QImage picture(79, 4, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient band(0, 0, picture.width(), 0);
    band.setColorAt(0.0, Qt::white);
    band.setColorAt(0.33, kBlue);
    band.setColorAt(0.66, kRed);
    band.setColorAt(1.0, kGold);
    painter.fillRect(picture.rect(), band);
    return picture;
}

QImage drawStartBanner() {
    QImage picture(340, 56, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient band(0, 0, picture.width(), 0);
    band.setColorAt(0.0, kBlue);
    band.setColorAt(0.5, kViolet);
    band.setColorAt(1.0, kRed);
    painter.fillRect(picture.rect(), band);
    drawNote(painter, QPointF(26, 40), 10, kGold, true);
    drawNote(painter, QPointF(300, 42), 11, QColor(200, 235, 255), false);
    painter.setFont(titleFont(34));
    painter.setPen(QColor(0, 0, 0, 110));
    painter.drawText(QRectF(2, 2, 340, 56), Qt::AlignCenter, QStringLiteral("Songwick"));
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, 0, 340, 56), Qt::AlignCenter, QStringLiteral("Songwick"));
    return picture;
}

bool save(const QImage& picture, const QDir& folder, const QString& name,
          const QString& previewFolder) {
    if (!previewFolder.isEmpty())
        picture.save(QDir(previewFolder).filePath(QString(name).replace(u".jpg"_s, u".png"_s)));
    const QString path = folder.filePath(name);
    if (!picture.save(path, "JPEG", 92)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s %dx%d\n", qPrintable(path), picture.width(), picture.height());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: draw_help_pictures FOLDER [PREVIEW_FOLDER]\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QString preview = argc == 3 ? QString::fromLocal8Bit(argv[2]) : QString();
    const bool written =
        save(drawSplash(), folder, QStringLiteral("splash.jpg"), preview) &&
        save(drawAboutStrip(), folder, QStringLiteral("about_strip.jpg"), preview) &&
        save(drawStartBanner(), folder, QStringLiteral("start_banner.jpg"), preview);
    return written ? 0 : 1;
}
