#include "app/ui/printing.h"

#include "common/file_path.h"
#include "common/file_write.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QStandardPaths>
#include <QTextDocument>
#include <QTextOption>
#include <memory>

namespace songwick {
namespace {

QString noPrinterQuestion() {
    return QCoreApplication::translate(
        "songwick::App", "Принтер по умолчанию не найден.\n\nСохранить эти страницы в файл PDF?");
}

// The resolution a printer job is laid out at.
constexpr int kPrintResolution = 1200;

} // namespace

QString proposedDocumentPath(const QString& fileName) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    // A dialog given a folder that is not there takes its name for the file's.
    QDir().mkpath(folder);
    return joinFolderAndName(folder, fileName);
}

void printPages(PlatformServices& services, QWidget* parent, const QTextDocument& shown,
                const QString& jobName, const QString& pdfName) {
    // A view that shows long lines whole (no wrapping) would have them cut at the page's
    // right edge: on paper they wrap.
    const std::unique_ptr<QTextDocument> document(shown.clone());
    QTextOption wrapping = document->defaultTextOption();
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document->setDefaultTextOption(wrapping);
    if (services.printer.hasDefaultPrinter()) {
        services.printer.printDocument(*document, jobName);
        return;
    }
    if (services.messages.askYesNoCancel(parent, noPrinterQuestion()) != MessageBoxes::Answer::Yes)
        return;
    FileDialogRequest request;
    request.filter = QCoreApplication::translate("songwick::App", "Документы PDF|*.pdf|");
    request.defaultExtension = QStringLiteral("pdf");
    request.startFolder = proposedDocumentPath(
        pdfName.isEmpty() ? QCoreApplication::translate("songwick::App", "таблица.pdf") : pdfName);
    request.caption = QCoreApplication::translate("songwick::App", "Сохранить страницы в файл PDF");
    const std::optional<QString> path = services.dialogs.saveFileName(parent, request);
    if (path)
        writePagesAsPdf(*document, jobName, *path);
}

void writePagesAsPdf(const QTextDocument& document, const QString& jobName, const QString& path) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setTitle(jobName);
        writer.setCreator(QStringLiteral("Songwick"));
        writer.setResolution(kPrintResolution);
        writer.setPageSize(QPageSize(QPageSize::A4));
        document.print(&writer);
    }
    writeFileAtomically(path, bytes);
}

} // namespace songwick
