#pragma once

#include <QFontMetrics>
#include <QString>
#include <vector>

namespace songwick {

// Pixel widths of texts in one font, fast enough to measure every cell of a full table:
// a text's width is the sum of its characters' advances, each asked of the font once.
// Kerning between two characters is left out, so a width may be a pixel or two wider than the
// shaped text; texts with characters outside the basic plane are measured whole.
class TextWidthCache {
public:
    explicit TextWidthCache(const QFont& font);

    // The sum of the characters' advances: an estimate, within a few per cent of the shaped
    // text.
    int width(const QString& text);
    // The width of the whole text as drawn.
    int exactWidth(const QString& text) const;

private:
    QFontMetrics metrics_;
    std::vector<int> advances_; // per UTF-16 unit, -1 until asked
};

} // namespace songwick
