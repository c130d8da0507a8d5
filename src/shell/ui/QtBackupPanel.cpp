#include "shell/ui/QtBackupPanel.h"

#include "shell/Utils.h"

#include <QApplication>
#include <QFileDialog>

QString QtBackupPanel::run(const QString& title, const QString& message, const QString& folder,
                           const QString& proposedName)
{
    QFileDialog dialog(QApplication::activeWindow(), title, folder, QStringLiteral("Kinloom databases (*.RezUdu)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("RezUdu"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Save"));
    dialog.selectFile(proposedName);
    dialog.setToolTip(message);
    while (dialog.exec() == QDialog::Accepted) {
        const QStringList files = dialog.selectedFiles();
        if (files.isEmpty())
            break;
        if (Utils::panelUserEnteredFilename(files.first()))
            return files.first();
    }
    return {};
}
