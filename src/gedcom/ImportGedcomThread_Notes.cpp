// Notes, comments and the text of continuation lines; the helpers that append text to a record without losing
// what it holds.
#include "gedcom/ImportGedcomThread.h"

#include "gedcom/GedRec.h"
#include "model/FTManagedObject.h"
#include "platform/store/EntityDescription.h"

namespace {

const QString kNotes = QStringLiteral("notes");
const QString kComments = QStringLiteral("comments");
const QString kTitle = QStringLiteral("title");
const QString kLocation = QStringLiteral("location");

bool takesNotes(const FTManagedObject* row)
{
    if (!row)
        return false;
    // A parent-child link keeps its notes in its extra data.
    if (row->isKindOfEntity(QStringLiteral("PcRel")))
        return true;
    const PropertyDescription* p = row->entity()->property("notes");
    return p && p->kind == PropertyDescription::Kind::Attribute;
}

bool isPerson(const FTManagedObject* row)
{
    return row && row->isKindOfEntity(QStringLiteral("Person"));
}

void appendJoined(const QString& key, const QString& text, FTManagedObject* row, const QString& separator)
{
    if (!row || text.isEmpty())
        return;
    const QString old = row->valueForKey(key).toString();
    row->setValueForKey(key, old.isEmpty() ? text : old + separator + text);
}

} // namespace

QString ImportGedcomThread::withoutControlEnds(const QString& s)
{
    qsizetype from = 0;
    qsizetype to = s.size();
    while (from < to && s[from].category() == QChar::Other_Control)
        ++from;
    while (to > from && s[to - 1].category() == QChar::Other_Control)
        --to;
    return from == 0 && to == s.size() ? s : s.mid(from, to - from);
}

// ---- Continuation lines --------------------------------------------------------------------------------------------

QString ImportGedcomThread::getLegacyCONT_Subrecords(GedRec* line)
{
    QString text;
    if (!line->hasType("CONT") && !line->hasType("CONC"))
        return text;
    for (GedRec* sub : line->subRecords()) {
        if (sub->hasType("CONT")) {
            text += u'\n' + withoutControlEnds(sub->value());
            use(sub);
        } else if (sub->hasType("CONC")) {
            text += withoutControlEnds(sub->value());
            use(sub);
        }
    }
    return text;
}

bool ImportGedcomThread::appendContinuation(GedRec* sub, QString& text)
{
    if (sub->hasType("CONT"))
        text += u'\n';
    else if (!sub->hasType("CONC"))
        return false;
    // Blanks stay: a CONC line may begin or end in the middle of a sentence.
    text += withoutControlEnds(sub->value());
    use(sub);
    // Some programs nest further continuation lines one level too deep.
    if (m_header.bReunion || m_header.bLegacy)
        text += getLegacyCONT_Subrecords(sub);
    return true;
}

void ImportGedcomThread::appendTextSubRecordsOf(GedRec* line, QString& text)
{
    for (GedRec* sub : line->subRecords())
        appendContinuation(sub, text);
    text.replace(QLatin1String("  "), QLatin1String(" "));
}

// ---- Notes ---------------------------------------------------------------------------------------------------------

void ImportGedcomThread::processNOTE_STRUCTURE_For(FTManagedObject* row, GedRec* line)
{
    if (!takesNotes(row))
        return;
    if (line->valueIsPointer()) {
        GedRec* record = recordForPointerOf(line);
        if (!record || !record->hasType("NOTE")) {
            printBadPointer(line);
            return;
        }
        processNOTE_RECORD_For(row, record);
        use(line);
        for (GedRec* sub : line->subRecords()) {
            if (sub->hasType("SOUR")) {
                if (isPerson(row))
                    processSOURCE_CITATION_STRUCTURE_For(row, sub, QStringLiteral("Note"));
            } else {
                processInvalidTagFor(QStringLiteral("NOTE_STRUCTURE"), sub);
            }
        }
        return;
    }
    QString text = withoutControlEnds(line->value());
    use(line);
    for (GedRec* sub : line->subRecords()) {
        if (appendContinuation(sub, text))
            continue;
        if (sub->hasType("SOUR")) {
            if (isPerson(row))
                processSOURCE_CITATION_STRUCTURE_For(row, sub, QStringLiteral("Note"));
        } else {
            processInvalidTagFor(QStringLiteral("NOTE_STRUCTURE"), sub);
        }
    }
    appendNotes(text, row);
}

void ImportGedcomThread::processNOTE_RECORD_For(FTManagedObject* row, GedRec* record)
{
    // A note record may serve several records: each gets its text.
    QString text = withoutControlEnds(record->value());
    use(record);
    for (GedRec* sub : record->subRecords()) {
        if (appendContinuation(sub, text))
            continue;
        if (sub->hasType("SOUR")) {
            if (isPerson(row))
                processSOURCE_CITATION_STRUCTURE_For(row, sub, QStringLiteral("Note"));
        } else if (sub->hasType("REFN") || sub->hasType("RIN") || sub->hasType("CHAN")) {
            continue;
        } else {
            processInvalidTagFor(QStringLiteral("NOTE_RECORD"), sub);
        }
    }
    if (m_header.bLegacy)
        text.replace(QStringLiteral("\u00ABtab\u00BB"), QStringLiteral("\t"));
    appendNotes(text, row);
}

// ---- Comments (this program's own custom records) ------------------------------------------------------------------

void ImportGedcomThread::processCOMMENT_STRUCTURE_For(FTManagedObject* row, GedRec* line)
{
    if (!line->valueIsPointer())
        return;
    GedRec* record = recordForPointerOf(line);
    // Only a comment record is read as one: a pointer to a person or family would mark that record's lines used
    // and so hide them from the log.
    if (!record || !(record->hasType("_CMTS") || record->hasType("_Comment"))) {
        printBadPointer(line);
        return;
    }
    processCOMMENT_RECORD_For(row, record);
    use(line);
}

void ImportGedcomThread::processCOMMENT_RECORD_For(FTManagedObject* row, GedRec* record)
{
    const PropertyDescription* p = row ? row->entity()->property("comments") : nullptr;
    if (!p || p->kind != PropertyDescription::Kind::Attribute)
        return;
    QString text = withoutControlEnds(record->value());
    use(record);
    for (GedRec* sub : record->subRecords())
        if (!appendContinuation(sub, text))
            use(sub);
    appendComments(text, row);
}

// ---- A line and everything under it as text ------------------------------------------------------------------------

void ImportGedcomThread::appendStringByRecursingGedRecs(GedRec* line, QString& text, bool includeTags)
{
    // A line already used by another reader is not written twice.
    if (!line || line->flags() != 0)
        return;
    if (m_header.bReunion && line->hasType("SOUR"))
        return;
    // An empty CONT line is an empty line of the text, and a CONC line of blanks the blanks between two words:
    // neither is dropped.
    if (line->hasType("CONT")) {
        text += u'\n' + withoutControlEnds(line->value());
    } else if (line->hasType("CONC")) {
        text += withoutControlEnds(line->value());
    } else if (!(text.startsWith(QLatin1String("Address:")) && text.contains(line->value()))) {
        if (!text.isEmpty())
            text += u'\n';
        if (!includeTags)
            text += line->value();
        else if (!line->ptr().isEmpty())
            text += QStringLiteral("%1 @%2@ %3 %4").arg(line->level()).arg(line->ptr(), line->type(), line->value());
        else
            text += QStringLiteral("%1 %2 %3").arg(line->level()).arg(line->type(), line->value());
    }
    use(line);
    for (GedRec* sub : line->subRecords())
        appendStringByRecursingGedRecs(sub, text, includeTags);
}

// ---- Appending to a record's text ----------------------------------------------------------------------------------

void ImportGedcomThread::appendNotes(const QString& text, FTManagedObject* row)
{
    appendJoined(kNotes, text.trimmed(), row, QStringLiteral("\n"));
}

void ImportGedcomThread::appendComments(const QString& text, FTManagedObject* row)
{
    appendJoined(kComments, text, row, QStringLiteral("\n"));
}

void ImportGedcomThread::appendLocation(const QString& text, FTManagedObject* row)
{
    appendJoined(kLocation, text, row, QStringLiteral("\n"));
}

void ImportGedcomThread::appendTitle(const QString& text, FTManagedObject* row)
{
    if (!row || text.isEmpty())
        return;
    const QString old = row->valueForKey(kTitle).toString();
    if (old.contains(text, Qt::CaseInsensitive))
        return;
    row->setValueForKey(kTitle, old.isEmpty() ? text : QStringLiteral("%1, %2").arg(old, text));
}
