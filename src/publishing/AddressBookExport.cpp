#include "publishing/AddressBookExport.h"

#include "diagrams/DiagramFileName.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "platform/Localizer.h"
#include "platform/store/ReleasingWalk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {
const QString kExtension = QStringLiteral("vcf");

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

bool caseInsensitiveLess(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) < 0;
}
}

AddressBookExport::AddressBookExport(FTMoc* moc)
    : m_moc(moc)
{
}

QList<FTPerson*> AddressBookExport::createPeopleArray() const
{
    if (!m_moc)
        return {};
    const int earliest = (m_now.isValid() ? m_now : QDateTime::currentDateTime()).date().year() - 100;
    ReleasingWalk walk(*m_moc);
    QList<FTPerson*> people = m_moc->fetch<FTPerson>([earliest, &walk](const FTPerson* p) {
        walk.releasePoint();
        const FTEvent* birth = p->birth();
        if (!birth || birth->year() < earliest)
            return false;
        const FTEvent* death = p->death();
        return !death || death->date().isEmpty();
    });
    // Names with years are made once each, not at every comparison.
    QList<std::pair<QString, FTPerson*>> keyed;
    keyed.reserve(people.size());
    for (FTPerson* p : people) {
        walk.releasePoint();
        keyed.push_back({p->nameWithBirthAndDeathYears(), p});
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return caseInsensitiveLess(a.first, b.first); });
    people.clear();
    for (const auto& [name, p] : keyed)
        people << p;
    return people;
}

QStringList AddressBookExport::existingGroups()
{
    QStringList groups;
    const QDir reports(Utils::reportsDirectory());
    for (const QFileInfo& file : reports.entryInfoList({QStringLiteral("*.") + kExtension}, QDir::Files))
        groups << file.completeBaseName();
    std::sort(groups.begin(), groups.end(), caseInsensitiveLess);
    return groups;
}

QString AddressBookExport::groupFilePath(const QString& group)
{
    return QStringLiteral("%1/%2.%3")
        .arg(Utils::reportsDirectory(), DiagramFileName::safeBaseName(group, L("AddressBookGroupFile")), kExtension);
}

bool AddressBookExport::groupExists(const QString& group)
{
    return QFileInfo(groupFilePath(group)).isFile();
}

VCardWriter::Card AddressBookExport::cardFor(const FTPerson* person, const QString& group)
{
    VCardWriter::Card card;
    card.formattedName = person->name();
    card.familyName = person->familyName();
    card.givenName = person->firstName();
    QStringList given = person->givenNames().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (!given.isEmpty() && given.first() == card.givenName)
        given.removeFirst();
    card.additionalNames = given;
    card.note = person->notes();
    card.categories = {group};
    return card;
}

QString AddressBookExport::exportToGroup(const QList<FTPerson*>& people, const QString& group)
{
    const QString path = groupFilePath(group);
    QFile file(path);
    const bool append = QFileInfo(path).isFile();
    if (!file.open(append ? QIODevice::ReadWrite : QIODevice::WriteOnly | QIODevice::NewOnly)) {
        DisplayMsg(QStringLiteral("%1: %2").arg(L("UnableToCreateReport"), path));
        return {};
    }
    QByteArray bytes;
    if (append && file.size() > 0) {
        // A file that another program left without a final line end still gets its last line closed first.
        file.seek(file.size() - 1);
        if (file.read(1) != "\n")
            bytes += "\r\n";
    }
    file.seek(file.size());
    for (const FTPerson* p : people)
        bytes += VCardWriter::card(cardFor(p, group));
    const bool ok = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    if (!ok) {
        DisplayMsg(QStringLiteral("%1: %2").arg(L("UnableToCreateReport"), path));
        return {};
    }
    return path;
}
