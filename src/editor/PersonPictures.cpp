#include "editor/PersonPictures.h"

#include "shell/DisplayMsg.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSourceRel.h"
#include "model/UtilsPics.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "model/FTMocUndoManager.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

void nameAction(FTPerson* person, const QString& name)
{
    FTMoc* moc = person ? person->moc() : nullptr;
    if (UndoManager* um = moc ? moc->undoManager() : nullptr)
        um->setActionName(name);
}

// Sorts by the packed date and the title (ignoring case), the date first or second; answers the dates read.
QHash<const FTPicture*, quint32> sortByDateAndTitle(QList<FTPicture*>& pictures, bool dateFirst)
{
    QHash<const FTPicture*, quint32> dates;
    for (const FTPicture* p : std::as_const(pictures))
        dates.insert(p, p->lDate());
    std::stable_sort(pictures.begin(), pictures.end(), [&dates, dateFirst](const FTPicture* a, const FTPicture* b) {
        const quint32 da = dates.value(a), db = dates.value(b);
        const int byTitle = a->name().compare(b->name(), Qt::CaseInsensitive);
        if (dateFirst)
            return da != db ? da < db : byTitle < 0;
        return byTitle != 0 ? byTitle < 0 : da < db;
    });
    return dates;
}

// The attributes two duplicates may differ in: the change date, the number, the thumbnail and the order.
constexpr unsigned kDuplicateOptions = FTManagedObject::CompareWithoutLastChange
    | FTManagedObject::CompareWithoutNumericId | FTManagedObject::CompareWithoutThumbNailImageData
    | FTManagedObject::CompareWithoutSeqNo;

bool sameAttributes(const FTManagedObject* a, const FTManagedObject* b, unsigned options)
{
    const std::optional<QStringList> differing = a->compareWith(b, options);
    return differing && differing->isEmpty();
}

// The citations of a duplicate go to the picture kept, except those it already has in the same form (they go
// with the duplicate).
void moveCitations(FTPicture* from, FTPicture* to)
{
    const QList<FTSourceRel*> kept = to->sourceRels();
    for (FTSourceRel* citation : from->sourceRels()) {
        const bool known = std::any_of(kept.begin(), kept.end(), [citation](const FTSourceRel* k) {
            return k->source() == citation->source()
                && sameAttributes(k, citation, FTManagedObject::CompareWithoutLastChange);
        });
        if (!known)
            citation->setPicture(to);
    }
}
}

void PersonPictures::setPerson(FTPerson* person)
{
    if (person != m_person)
        m_selected = nullptr;
    m_person = person;
    reload();
}

void PersonPictures::reload()
{
    m_pictures = m_person ? m_person->picturesArray() : QList<FTPicture*>();
    dropSelectionIfGone();
}

void PersonPictures::clear()
{
    m_person = nullptr;
    m_pictures.clear();
    m_selected = nullptr;
}

void PersonPictures::dropSelectionIfGone()
{
    if (m_selected && !m_pictures.contains(m_selected))
        m_selected = nullptr;
}

int PersonPictures::indexOf(const FTPicture* picture) const
{
    return picture ? int(m_pictures.indexOf(picture)) : -1;
}

void PersonPictures::append(const QList<FTPicture*>& added)
{
    for (FTPicture* picture : added)
        if (picture && !m_pictures.contains(picture))
            m_pictures << picture;
}

void PersonPictures::writeOrder()
{
    for (int i = 0; i < m_pictures.size(); ++i)
        m_pictures[i]->setSeqNo(i + 1);
}

void PersonPictures::makeFirstDefault()
{
    if (m_person)
        m_person->setDefaultPicture(m_pictures.isEmpty() ? nullptr : m_pictures.first());
}

void PersonPictures::remove(FTPicture* picture)
{
    FTMoc* moc = picture ? picture->moc() : nullptr;
    if (!moc)
        return;
    int remembered = -1;
    if (picture == m_selected) {
        remembered = indexOf(picture);
        m_selected = nullptr;
    }
    nameAction(m_person, QStringLiteral("%1: %2").arg(L("DeltePic"), picture->name()));
    moc->deleteObject(picture);
    m_pictures.removeAll(picture);
    makeFirstDefault();
    moc->saveMoc();
    if (remembered >= 0 && remembered < m_pictures.size())
        m_selected = m_pictures[remembered];
}

bool PersonPictures::makeDefault(FTPicture* picture)
{
    const int at = indexOf(picture);
    if (at <= 0)
        return false;
    m_pictures.move(at, 0);
    makeFirstDefault();
    writeOrder();
    return true;
}

FTPicture* PersonPictures::addPlaceholder()
{
    FTMoc* moc = m_person ? m_person->moc() : nullptr;
    if (!moc)
        return nullptr;
    const int answer = Prompts::current().choose(QStringLiteral("Add a placeholder as the default picture?"),
        QStringLiteral("This function may sometimes be convenient if you have some pictures but none of them is "
                       "suitable as the default picture or maybe you do not want to display a picture for privacy "
                       "reasons."),
        {L("Continue"), L("Cancel")});
    if (answer != 0)
        return nullptr;
    nameAction(m_person, L("AddPlaceholder"));
    FTPicture* placeholder = FTPicture::initInMoc(moc, QString(), m_person);
    if (!placeholder)
        return nullptr;
    placeholder->setName(QStringLiteral("Placeholder"));
    m_pictures.removeAll(placeholder);
    m_pictures.prepend(placeholder);
    makeFirstDefault();
    writeOrder();
    return placeholder;
}

void PersonPictures::sortByDate()
{
    if (m_pictures.size() < 2)
        return;
    const QHash<const FTPicture*, quint32> dates = sortByDateAndTitle(m_pictures, true);
    writeOrder();
    const auto undated = std::count_if(
        m_pictures.cbegin(), m_pictures.cend(), [&dates](const FTPicture* p) { return dates.value(p) == 0; });
    QString text;
    if (undated == 1)
        text = QStringLiteral("The first picture did not have a valid date.");
    else if (undated > 1)
        text = QStringLiteral("The first %1 pictures did not have a valid date.").arg(undated);
    if (m_person->defaultPicture() != m_pictures.first()) {
        if (!text.isEmpty())
            text += QStringLiteral("\n\n");
        text += QStringLiteral("%1's default picture has changed.").arg(m_person->name());
        makeFirstDefault();
    }
    if (!text.isEmpty())
        DisplayMsg(text);
}

void PersonPictures::sortByTitle()
{
    if (m_pictures.size() < 2)
        return;
    sortByDateAndTitle(m_pictures, false);
    writeOrder();
    makeFirstDefault();
}

void PersonPictures::removeDuplicates()
{
    if (m_pictures.size() < 2)
        return;
    DisplayMsg(QStringLiteral("Remove Duplicates - will delete pictures for the selected person if:\n\nTwo of his/her "
                              "pictures have the same filename, title, date, notes and crop rectangle"));
    QList<FTPicture*> byFile = m_pictures;
    std::stable_sort(byFile.begin(), byFile.end(),
        [](const FTPicture* a, const FTPicture* b) { return a->filename() < b->filename(); });
    // Duplicates share their file, so each picture is compared with the pictures of its file kept so far: a
    // duplicate is found even when a different picture of the same file sorts between the two.
    struct Duplicate {
        FTPicture* picture;
        FTPicture* kept;
    };
    QList<Duplicate> duplicates;
    QList<FTPicture*> keptOfFile;
    for (int i = 0; i < byFile.size(); ++i) {
        FTPicture* picture = byFile[i];
        if (i == 0 || picture->filename() != byFile[i - 1]->filename())
            keptOfFile.clear();
        const auto same = std::find_if(keptOfFile.begin(), keptOfFile.end(),
            [picture](const FTPicture* k) { return sameAttributes(picture, k, kDuplicateOptions); });
        if (same != keptOfFile.end())
            duplicates << Duplicate {picture, *same};
        else
            keptOfFile << picture;
    }
    if (duplicates.isEmpty()) {
        DisplayMsg(QStringLiteral("No duplicate pictures for %1").arg(m_person->nameWithBirthAndDeathYears()));
        return;
    }
    DisplayMsg(QStringLiteral("%1 duplicates deleted.").arg(duplicates.size()));
    FTMoc* moc = m_person->moc();
    bool defaultDeleted = false;
    for (const Duplicate& d : std::as_const(duplicates)) {
        nameAction(m_person, L("DeleteDupePics"));
        moveCitations(d.picture, d.kept);
        defaultDeleted = defaultDeleted || m_person->defaultPicture() == d.picture;
        moc->deleteObject(d.picture);
        m_pictures.removeAll(d.picture);
    }
    dropSelectionIfGone();
    if (defaultDeleted || !m_person->defaultPicture())
        makeFirstDefault();
    moc->saveMoc();
}

bool PersonPictures::reorder(FTPicture* dragged, int index)
{
    const int from = indexOf(dragged);
    if (from < 0)
        return false;
    m_pictures.removeAt(from);
    m_pictures.append(dragged);
    if (index >= 0) {
        m_pictures.insert(from < index ? index - 1 : index, dragged);
        m_pictures.removeLast();
    }
    writeOrder();
    if (!m_pictures.isEmpty())
        makeFirstDefault();
    return true;
}

QString PersonPictures::description(const FTPicture* picture)
{
    if (!picture)
        return QStringLiteral(" ");
    const QString title = picture->name();
    QString text = title.trimmed().isEmpty() ? QStringLiteral("No title") : title;
    text += picture->date().isEmpty() ? QStringLiteral(",  No date") : QStringLiteral(",  %1").arg(picture->date());
    const QString filename = picture->filename();
    text += filename.isEmpty() ? QStringLiteral(",  No filename")
                               : QStringLiteral(",  File: %1").arg(QFileInfo(filename).fileName());
    QString notes = picture->notes();
    if (!notes.isEmpty()) {
        static const QRegularExpression lineBreaks(QStringLiteral("\r\n|\n|\r|\u2028|\u2029"));
        notes.replace(lineBreaks, QStringLiteral(" "));
        text += QLatin1Char('\n') + notes;
    }
    return text;
}

bool PersonPictures::isFramed(const FTPicture* picture)
{
    const QString suffix = picture ? QFileInfo(picture->filename()).suffix().toLower() : QString();
    return !suffix.isEmpty() && UtilsPics::imageFileTypes().contains(suffix);
}

QString PersonPictures::iconNameFor(const FTPicture* picture)
{
    const QString kind = picture ? UtilsPics::fileKindOf(picture->filename()) : QString();
    if (kind.isEmpty())
        return QStringLiteral("image-x-generic");
    if (UtilsPics::soundFileTypes().contains(kind))
        return QStringLiteral("audio-x-generic");
    if (UtilsPics::movieFileTypes().contains(kind))
        return QStringLiteral("video-x-generic");
    if (UtilsPics::imageFileTypes().contains(kind))
        return QStringLiteral("image-missing");
    return QStringLiteral("text-x-generic");
}

bool PersonPictures::canTranscribeFromButton(const FTPicture* picture)
{
    const QString kind = picture ? UtilsPics::fileKindOf(picture->filename()) : QString();
    return !kind.isEmpty() && kind != QLatin1String("pdf") && UtilsPics::imageFileTypes().contains(kind);
}

bool PersonPictures::canTranscribeFromMenu(const FTPicture* picture)
{
    const QString kind = picture ? UtilsPics::fileKindOf(picture->filename()) : QString();
    return kind.isEmpty() || (kind != QLatin1String("pdf") && UtilsPics::imageFileTypes().contains(kind));
}
