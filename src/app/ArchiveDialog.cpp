#include "app/ArchiveDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace app {

QStringList askForArchives(QWidget& window, const QString& carFolder) {
    // The league's archives land where the browser puts downloads; without that folder, in the game's folder.
    QString start = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (start.isEmpty() || !QFileInfo(start).isDir())
        start = QFileInfo(QDir::cleanPath(carFolder)).absolutePath();
    QFileDialog dialog(&window, QStringLiteral("Install a skinpack from an archive"), start,
                       QStringLiteral("Skinpack archives (*.zip *.7z *.rar *.tar *.tar.gz *.tgz *.tar.xz *.txz "
                                      "*.tar.bz2 *.tbz2);;All files (*)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAccessibleName(QStringLiteral("Install a skinpack from an archive"));
    dialog.setAccessibleDescription(
        QStringLiteral("Choose one or more archives from the league; each skinpack in them is installed"));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

} // namespace app
