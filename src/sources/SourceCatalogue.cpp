#include "sources/SourceCatalogue.h"

#include "sources/SourceHooks.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTModelDefaults.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"

#include <QSaveFile>

#include <algorithm>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

const QString kNotesFormat = QStringLiteral("sourceNotesFormat");
const Key kTitle("title");
const Key kNotes("notes");

// The keys compared when merging, in this order.
const Key kMergeKeys[] = { Key("type"), Key("title"), Key("abbreviatedTitle"), Key("author"), Key("date"),
    Key("location"), Key("notes"), Key("publisher") };

int compareForMerge(const FTSource* a, const FTSource* b, const Key& key)
{
    const bool aNil = a->isNil(key), bNil = b->isNil(key);
    if (aNil || bNil)
        return int(bNil) - int(aNil); // absent first
    const QString x = a->stringValue(key), y = b->stringValue(key);
    if (const int c = x.compare(y, Qt::CaseInsensitive))
        return c;
    return x.compare(y);
}
}

void SourceCatalogue::deleteSourceRecord(FTSource* source)
{
    if (!source || source->isDeleted())
        return;
    FTMoc* moc = source->moc();
    NotificationCenter::defaultCenter().post(QStringLiteral("SourceToBeDeleted"), source, moc);
    if (moc && moc->activeSource() == source)
        deactivateActiveSource(moc);
    for (FTSourceRel* citation : source->sourceRels())
        source->context()->deleteObject(citation);
    source->context()->deleteObject(source);
}

void SourceCatalogue::deleteMergedSource(FTSource* merged, FTSource* survivor)
{
    if (!merged || merged->isDeleted())
        return;
    if (survivor && survivor != merged)
        if (FTPicture* picture = merged->picture(); picture && !survivor->picture())
            picture->setSource(survivor);
    deleteSourceRecord(merged);
}

bool SourceCatalogue::mergeLosesPicture(const FTSource* merged, const FTSource* survivor)
{
    return merged && survivor && merged != survivor && merged->picture() && survivor->picture();
}

bool SourceCatalogue::deleteSource(FTSource* source)
{
    if (!source) {
        DisplayMsg(L("PleaseReselectSource"));
        return false;
    }
    if (const int count = source->numSourceRels(); count > 0) {
        const QString message = count == 1 ? L("OneCitationAssociated") : L("MultipleCitationsAssociated").arg(count);
        if (Prompts::current().chooseWithTitle(
                L("DeleteSource"), message, L("DeleteCitationsAlert"), { L("Continue"), L("Cancel") })
            != 0)
            return false;
    }
    m_moc->undoManager()->setActionName(L("DeleteSource"));
    deleteSourceRecord(source);
    m_moc->saveMoc();
    return true;
}

bool SourceCatalogue::setAsActiveSource(FTSource* source)
{
    if (!source) {
        DisplayMsg(L("PleaseReselectSource"));
        return false;
    }
    m_moc->setActiveSource(source);
    m_moc->setActiveSourcePageRef(QString());
    SourceHooks::noteActiveSourceChanged(*m_moc);
    return true;
}

void SourceCatalogue::deactivateActiveSource(FTMoc* moc)
{
    moc->setActiveSource(nullptr);
    moc->setActiveSourcePageRef(QString());
    SourceHooks::noteActiveSourceChanged(*moc);
}

bool SourceCatalogue::renumberAll()
{
    if (Prompts::current().choose(L("RenumberSourcesConfirm"), {}, { L("Continue"), L("Cancel") }) != 0)
        return false;
    const QList<FTSource*> sources = m_moc->fetch<FTSource>(
        {}, [](const FTSource* a, const FTSource* b) { return a->numericId() < b->numericId(); });
    int number = 0;
    for (FTSource* source : sources)
        if (source->numericId() != ++number)
            source->setNumericId(number);
    m_moc->modelDefaults()->setMaxSourceId(int(sources.size()));
    return true;
}

bool SourceCatalogue::resetMaxSourceId()
{
    if (Prompts::current().chooseWithTitle(L("resetMaxSourceIdTitle"), L("resetMaxSourceIdMsg"),
            L("resetMaxSourceIdText"), { L("resetMaxSourceIdTitle"), L("Cancel") })
        != 0)
        return false;
    int highest = 0;
    for (const FTSource* source : m_moc->fetch<FTSource>())
        highest = std::max(highest, source->numericId());
    FTModelDefaults* defaults = m_moc->modelDefaults();
    if (highest == defaults->maxSourceId()) {
        DisplayMsg(L("resetMaxSourceIdFail").arg(highest));
    } else {
        defaults->setMaxSourceId(highest);
        DisplayMsg(L("resetMaxSourceIdSuccess").arg(highest));
    }
    return true;
}

bool SourceCatalogue::mergeLess(const FTSource* a, const FTSource* b)
{
    for (const Key& key : kMergeKeys)
        if (const int c = compareForMerge(a, b, key))
            return c < 0;
    return false;
}

bool SourceCatalogue::haveEqualFields(const FTSource* a, const FTSource* b)
{
    for (const Key& key : kMergeKeys) {
        if (a->isNil(key) != b->isNil(key))
            return false;
        if (a->stringValue(key) != b->stringValue(key))
            return false;
    }
    return true;
}

SourceCatalogue::MergeResult SourceCatalogue::mergeAllEqualSources(const QList<FTSource*>& sources)
{
    MergeResult result;
    result.remaining = sources;
    QList<FTSource*>& list = result.remaining;
    std::stable_sort(list.begin(), list.end(), mergeLess);
    m_moc->undoManager()->setActionName(L("MergeEqualSources"));
    QString log;
    for (qsizetype i = 1; i < list.size();) {
        FTSource* earlier = list[i - 1];
        FTSource* later = list[i];
        if (!haveEqualFields(earlier, later)) {
            ++i;
            continue;
        }
        if (mergeLosesPicture(later, earlier)) {
            log += L("SourcesKeptApartForPictures")
                       .arg(later->numericId())
                       .arg(earlier->numericId())
                       .arg(earlier->sourceDescriptionForCompareAndMerge())
                + QLatin1Char('\n');
            ++result.keptApart;
            ++i;
            continue;
        }
        for (FTSourceRel* citation : later->sourceRels()) {
            citation->setSource(earlier);
            ++result.moved;
        }
        log += L("MergedSourcesConfirmation")
                   .arg(later->numericId())
                   .arg(earlier->numericId())
                   .arg(earlier->sourceDescriptionForCompareAndMerge())
            + QLatin1Char('\n');
        deleteMergedSource(later, earlier);
        list.removeAt(i);
        ++result.merged;
        // The earlier source is compared next with the one that followed the merged one.
    }
    QString summary = L("MergeSourcesSummary").arg(result.merged).arg(result.moved);
    if (result.keptApart > 0)
        summary += QLatin1Char(' ') + L("MergeSourcesKeptApartSummary").arg(result.keptApart);
    DisplayMsg(L("UndoAdviceWithSummary").arg(summary));
    if (result.merged == 0 && result.moved == 0 && result.keptApart == 0)
        return result;

    log += QStringLiteral("\n%1\n\n").arg(summary);
    const QString reports = Utils::reportsDirectory();
    const QString path = reports.isEmpty() ? QString() : reports + QStringLiteral("/SourceMerge.txt");
    QSaveFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(log.toUtf8()) < 0 || !file.commit()) {
        DisplayMsg(QStringLiteral("%1: %2").arg(
            L("UnableToWriteFile"), path.isEmpty() ? QStringLiteral("SourceMerge.txt") : path));
        return result;
    }
    result.logPath = path;
    if (!Workspace::shared().openFile(path))
        DisplayMsg(QStringLiteral("%1: %2").arg(L("UnableToOpen"), path));
    return result;
}

std::optional<int> SourceCatalogue::moveNotesToTitle(const QList<FTSource*>& sources)
{
    if (Prompts::current().chooseWithTitle(
            L("MoveNotesTitle"), L("moveNotesToTitleFieldAlert_ThisIsNotUndoable"), {}, { L("Cancel"), L("Continue") })
        == 0)
        return std::nullopt;
    int count = 0;
    for (FTSource* source : sources) {
        const QString notes = source->notes().trimmed();
        if (!source->title().trimmed().isEmpty() || notes.isEmpty())
            continue;
        source->setPrimitiveValue(kTitle, notes);
        source->setPrimitiveValue(kNotes, QVariant());
        source->setFlags(0);
        ++count;
    }
    if (count > 0)
        m_moc->saveMoc();
    DisplayMsg(L("MoveNotesToTitleConfirm").arg(count));
    return count;
}

bool SourceCatalogue::defineNotesFormat(const QString& notesText)
{
    const QString format = notesText.trimmed();
    if (format.isEmpty()) {
        DisplayMsg(L("RetryDefineNotesFormat"));
        return false;
    }
    UserDefaults::standard().setString(kNotesFormat, format);
    DisplayMsg(L("NotesFormatSaved").arg(format));
    return true;
}

std::optional<QString> SourceCatalogue::appendNotesFormat(const QString& notesText)
{
    const QString format = UserDefaults::standard().stringForKey(kNotesFormat);
    if (format.isEmpty()) {
        DisplayMsg(L("DefineFormatTryAgain"));
        return std::nullopt;
    }
    const QString notes = notesText.trimmed();
    return notes.isEmpty() ? format : QStringLiteral("%1\n\n%2").arg(notes, format);
}

bool SourceCatalogue::setTypedNumber(FTSource* source, const QString& typed, QString* restored)
{
    if (!source)
        return false;
    const QString text = typed.trimmed();
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    auto refuse = [&](const QString& message) {
        DisplayMsg(message);
        if (restored)
            *restored = QString::number(source->numericId());
        return false;
    };
    if (!isNumber || number < 1)
        return refuse(L("SourceNumberNotANumber").arg(typed));
    const FTSource* other
        = m_moc->fetchFirst<FTSource>([&](const FTSource* s) { return s != source && s->numericId() == number; });
    if (other)
        return refuse(L("DuplicateSourceAlready").arg(text));
    FTModelDefaults* defaults = m_moc->modelDefaults();
    if (number > defaults->maxSourceId())
        defaults->setMaxSourceId(number);
    source->setNumericId(number);
    return true;
}

bool SourceCatalogue::confirmEditOfSeveral(int count)
{
    if (count < 2)
        return true;
    const QString question = count == 2 ? L("EditAppliesToBoth") : L("AppliesToXNumberOfSources").arg(count);
    return Utils::displayYesNoQuery(question, L("Continue"), L("Cancel"));
}
