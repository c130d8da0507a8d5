#include "pictures/PictureTitleChoices.h"

#include "model/FTPicture.h"

#include <QFileInfo>

QString PictureTitleChoices::titleFromFileName(const QString& path)
{
    QString title = QFileInfo(path).completeBaseName();
    title.replace(QLatin1Char('_'), QLatin1Char(' '));
    return title;
}

QStringList PictureTitleChoices::choicesFor(const FTPicture* draggedPicture, const FTPicture* newPicture)
{
    QStringList choices;
    const auto offer = [&](const QString& title) {
        const QString t = title.trimmed();
        if (!t.isEmpty() && !choices.contains(t))
            choices << t;
    };
    if (draggedPicture)
        offer(draggedPicture->name());
    if (newPicture) {
        offer(newPicture->name());
        offer(titleFromFileName(newPicture->filename()));
        offer(titleFromFileName(newPicture->originalFilename()));
    }
    return choices;
}
