#include "editor/StoryRtfFile.h"

#include "shell/Utils.h"

#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QSaveFile>

QString StoryRtfFile::pathFor(const FTPerson* person, const QString& reportsFolder)
{
    const QString name = Utils::replaceForwardSlashInString(LocalizedString(QStringLiteral("StoryOf"))
                                                            + person->nameWithBirthAndDeathYears());
    return QStringLiteral("%1/%2.rtf").arg(reportsFolder, name);
}

bool StoryRtfFile::write(const QTextDocument& story, const QString& path, QString* error)
{
    QSaveFile file(path);
    const QByteArray rtf = Utils::encodeRTFwithPictures(story).toLatin1();
    if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
