#include "shell/NewDatabase.h"

#include "shell/UtilsFunctions.h"

#include "model/FTMoc.h"
#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"

#include "platform/FTLog.h"
#include "platform/Prompts.h"

#include <QFile>
#include <QFileInfo>

namespace {
// Another program may take the free name between the look-up and the creation: then look again, a few times.
constexpr int kCreateAttempts = 5;
}

QString NewDatabase::create(const QString& modelName, const QString& personName, const QString& gender)
{
    QString path;
    bool created = false;
    for (int attempt = 0; attempt < kCreateAttempts && !created; ++attempt) {
        path = CreateUniquePathNameForNewModel(modelName, QStringLiteral("SQL"));
        if (path.isEmpty())
            return {};
        QFile file(path);
        // NewOnly: the file is made here or not at all, so an existing database is never emptied.
        created = file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
        if (!created && !QFileInfo::exists(path))
            break;
    }
    if (!created) {
        Prompts::current().message(QStringLiteral("Unable to create the file for the new database:\n\n %1").arg(path));
        return {};
    }

    std::unique_ptr<FTMoc> moc = FTMoc::initForStoreURL(path, true);
    if (!moc) {
        // The empty file made above, and only while it is still that: nothing was written into it.
        if (QFileInfo(path).size() == 0)
            QFile::remove(path);
        return {};
    }
    FTPerson* person = FTPerson::initInMoc(moc.get(), personName, gender);
    moc->setFocalPerson(person);
    moc->setSelectedPerson(person);
    if (!moc->saveMoc())
        return {};
    FTLog(QStringLiteral("New database %1").arg(path));
    return path;
}
