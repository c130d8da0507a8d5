#include "shell/NewReportFile.h"

#include "shell/Utils.h"

#include "platform/Localizer.h"

#include <QFile>
#include <QFileInfo>

QString writeNewReportFile(const QString& name, const QString& extension, const QByteArray& bytes, QString* error)
{
    const QString failed = LocalizedString(QStringLiteral("UnableToCreateReport"));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = Utils::createReportFileName(name, extension);
        if (path.isEmpty())
            break;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (QFileInfo::exists(path))
                continue;
            *error = QStringLiteral("%1: %2\n\n%3").arg(failed, path, file.errorString());
            return {};
        }
        if (file.write(bytes) != bytes.size() || !file.flush()) {
            *error = QStringLiteral("%1: %2\n\n%3").arg(failed, path, file.errorString());
            file.close();
            QFile::remove(path);
            return {};
        }
        file.close();
        return path;
    }
    *error = QStringLiteral("%1: %2").arg(failed, Utils::reportsDirectory());
    return {};
}
