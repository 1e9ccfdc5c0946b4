#include "office/document.h"

#include "office/docx_writer.h"

#include <QRegularExpression>

namespace songwick {

QStringList Document::paragraphs() const {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    return text_.split(lineBreak);
}

void Document::saveAs(const QString& path) const {
    writeDocx(paragraphs(), path);
}

} // namespace songwick
