#include "app/ui/qt_platform.h"

#include "common/error.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTextDocument>
#include <QUrl>

namespace songwick {
namespace {

const QString kTitle = QStringLiteral("Songwick");

std::optional<QString> runFileDialog(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString toQtFileFilter(const QString& pairs) {
    const QStringList fields = pairs.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        if (fields.at(i + 1).isEmpty())
            continue;
        const QString patterns = fields.at(i + 1).split(u';', Qt::SkipEmptyParts).join(u' ');
        filters << QStringLiteral("%1 (%2)").arg(fields.at(i), patterns);
    }
    return filters.join(QStringLiteral(";;"));
}

QString singleFilterExtension(const QString& nameFilter) {
    static const QRegularExpression kSinglePattern(QStringLiteral("\\(\\*\\.([^ .*()]+)\\)$"));
    const QRegularExpressionMatch match = kSinglePattern.match(nameFilter);
    return match.hasMatch() ? match.captured(1) : QString();
}

QString withDefaultExtension(const QString& fileName, const QString& extension) {
    if (extension.isEmpty() || fileName.isEmpty())
        return fileName;
    const QString lastElement = fileName.section(u'/', -1);
    if (lastElement.contains(u'.'))
        return fileName;
    return fileName + u'.' + extension;
}

void QtMessageBoxes::showMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, kTitle, text, QMessageBox::Ok, parent);
    box.exec();
}

MessageBoxes::Answer QtMessageBoxes::askYesNoCancel(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, kTitle, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

std::optional<QString> QtFileDialogs::chooseFolder(QWidget* parent, const QString& startFolder) {
    // The toolkit's own dialog, so that a typed folder that does not exist yet comes back.
    QFileDialog dialog(parent, QString(), startFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    return runFileDialog(dialog);
}

std::optional<QString>
QtFileDialogs::openFileName(QWidget* parent, const FileDialogRequest& request, bool mustExist) {
    QFileDialog dialog(parent, QString(), request.startFolder, toQtFileFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    return runFileDialog(dialog);
}

std::optional<QString> QtFileDialogs::saveFileName(QWidget* parent,
                                                   const FileDialogRequest& request) {
    QFileDialog dialog(parent, request.caption, request.startFolder,
                       toQtFileFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A name typed without an extension gets the one of the chosen filter ("Текст RTF" gives
    // ".rtf"), or the request's for a filter of many.
    const auto extensionFor = [&request](const QString& nameFilter) {
        const QString extension = singleFilterExtension(nameFilter);
        return extension.isEmpty() ? request.defaultExtension : extension;
    };
    dialog.setDefaultSuffix(extensionFor(dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, &extensionFor](const QString& nameFilter) {
                         dialog.setDefaultSuffix(extensionFor(nameFilter));
                     });
    const std::optional<QString> chosen = runFileDialog(dialog);
    if (!chosen)
        return std::nullopt;
    return withDefaultExtension(*chosen, extensionFor(dialog.selectedNameFilter()));
}

bool QtDesktopLauncher::openInDesktopProgram(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool QtPrinterAccess::hasDefaultPrinter() const {
    return !QPrinterInfo::defaultPrinter().isNull();
}

void QtPrinterAccess::printDocument(const QTextDocument& document, const QString& jobName) {
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull())
        throw Error(
            QCoreApplication::translate("songwick::App", "Принтер по умолчанию не найден."));
    QPrinter printer(defaultPrinter, QPrinter::HighResolution);
    printer.setDocName(jobName);
    if (!printer.isValid())
        throw Error(
            QCoreApplication::translate("songwick::App", "Не удалось начать печать на принтере ") +
            defaultPrinter.printerName() + u'.');
    document.print(&printer);
}

} // namespace songwick
