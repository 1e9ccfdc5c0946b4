#include "office/document.h"

#include "office/docx_writer.h"

#include <QRegularExpression>

namespace songwick {

void Document::insertAfter(const QString& text) {
    parts_.back().text += text;
}

void Document::insertTableAfter(DocumentTable table) {
    parts_.push_back({std::move(table), QString()});
}

std::vector<Document::BodyElement> Document::body() const {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    std::vector<BodyElement> elements;
    for (std::size_t part = 0; part < parts_.size(); ++part) {
        if (part > 0)
            elements.push_back({QString(), &parts_[part].table});
        QStringList paragraphs = parts_[part].text.split(lineBreak);
        // A table that follows takes the place of an empty last paragraph.
        if (part + 1 < parts_.size() && paragraphs.last().isEmpty())
            paragraphs.removeLast();
        for (QString& paragraph : paragraphs)
            elements.push_back({std::move(paragraph), nullptr});
    }
    return elements;
}

QStringList Document::paragraphs() const {
    QStringList paragraphs;
    for (const BodyElement& element : body()) {
        if (element.table != nullptr)
            paragraphs += element.table->lines;
        else
            paragraphs += element.paragraph;
    }
    return paragraphs;
}

void Document::saveAs(const QString& path) const {
    writeDocx(*this, path);
}

} // namespace songwick
