#include "catalogue/ui/text_width_cache.h"

namespace songwick {

TextWidthCache::TextWidthCache(const QFont& font) : metrics_(font), advances_(0x10000, -1) {}

int TextWidthCache::width(const QString& text) {
    int total = 0;
    for (const QChar character : text) {
        if (character.isSurrogate())
            return metrics_.horizontalAdvance(text);
        int& advance = advances_[character.unicode()];
        if (advance < 0)
            advance = metrics_.horizontalAdvance(character);
        total += advance;
    }
    return total;
}

int TextWidthCache::exactWidth(const QString& text) const {
    return text.isEmpty() ? 0 : metrics_.horizontalAdvance(text);
}

} // namespace songwick
