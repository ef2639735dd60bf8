#include "platform/qt/popups.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

#include "platform/ui/constants.h"

namespace qtfe {

namespace {

QStringList Patterns(const std::string& list) {
    static const QRegularExpression separators(QStringLiteral("[;,\\s]+"));
    return QString::fromStdString(list).split(separators, Qt::SkipEmptyParts);
}

bool IsPattern(const QString& s) {
    return s.contains(u'*') || s.contains(u'?');
}

}  // namespace

void ShowMessage(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

int AskYesNo(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Yes ? 1 : 0;
}

int SelectFile(QWidget* parent, const ui::FileSelectRequest& request, std::string* path) {
    QFileDialog dialog(parent, QString::fromStdString(request.title));
    // Qt's own dialog: the restrictions below cannot be put on a native one.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(request.saveButton ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.saveButton ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QString start =
        QDir(request.defaultDirectory.empty() ? QDir::currentPath()
                                              : QFile::decodeName(request.defaultDirectory.c_str()))
            .absolutePath();
    dialog.setDirectory(start);

    QStringList patterns = Patterns(request.fileTypeList);
    const QString given = QFile::decodeName(request.defaultFileSpec.c_str());
    if (IsPattern(given) && !patterns.contains(given)) patterns.prepend(given);
    if (!given.isEmpty() && !IsPattern(given)) dialog.selectFile(given);
    QStringList filters;
    if (!patterns.isEmpty()) filters << QStringLiteral("(%1)").arg(patterns.join(u' '));
    if (!request.restrictExtension || patterns.isEmpty())
        filters << QStringLiteral("All files (*)");
    dialog.setNameFilters(filters);
    if (request.saveButton && patterns.size() == 1 && patterns[0].startsWith(QStringLiteral("*.")))
        dialog.setDefaultSuffix(patterns[0].mid(2));
    // No "new folder" button unless asked for.
    dialog.setOption(QFileDialog::ReadOnly, !request.allowMakeDirectory);
    if (request.restrictDirectory) {
        dialog.setSidebarUrls({QUrl::fromLocalFile(start)});
        QObject::connect(&dialog, &QFileDialog::directoryEntered, &dialog,
                         [&dialog, start](const QString& dir) {
                             if (QDir(dir).absolutePath() != start) dialog.setDirectory(start);
                         });
    }

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return ui::VAL_NO_FILE_SELECTED;
    const QFileInfo chosen(dialog.selectedFiles().first());
    if (request.restrictDirectory && chosen.absolutePath() != start)
        return ui::VAL_NO_FILE_SELECTED;
    *path = QFile::encodeName(chosen.absoluteFilePath()).toStdString();
    return chosen.exists() ? ui::VAL_EXISTING_FILE_SELECTED : ui::VAL_NEW_FILE_SELECTED;
}

}  // namespace qtfe
