// Source records, repositories (kept as text in the location of the sources that cite them) and citations of
// people, events and pictures.
#include "gedcom/ImportGedcomThread.h"

#include "gedcom/GedRec.h"
#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

namespace {

// Tags of one other program's source records, kept in the source's notes under these labels.
const QHash<QString, QString>& reunionSourceLabels()
{
    static const QHash<QString, QString> labels = {
        { QStringLiteral("PERI"), QStringLiteral("Book/Periodical") },
        { QStringLiteral("CALN"), QStringLiteral("Call Number") },
        { QStringLiteral("CPLR"), QStringLiteral("Compiler") },
        { QStringLiteral("CNTC"), QStringLiteral("Contact Person") },
        { QStringLiteral("COPR"), QStringLiteral("Copyright") },
        { QStringLiteral("DATE"), QStringLiteral("Date") },
        { QStringLiteral("DATV"), QStringLiteral("Date Viewed") },
        { QStringLiteral("DETA"), QStringLiteral("Detail") },
        { QStringLiteral("EDTN"), QStringLiteral("Edition") },
        { QStringLiteral("EDTR"), QStringLiteral("Editor") },
        { QStringLiteral("FILE"), QStringLiteral("File Name") },
        { QStringLiteral("FILN"), QStringLiteral("File Number") },
        { QStringLiteral("FILM"), QStringLiteral("Film Number") },
        { QStringLiteral("INFT"), QStringLiteral("Informant") },
        { QStringLiteral("INTE"), QStringLiteral("Interviewee") },
        { QStringLiteral("INTV"), QStringLiteral("Interviewer") },
        { QStringLiteral("ISSU"), QStringLiteral("Issue") },
        { QStringLiteral("REPO"), QStringLiteral("Library/Archive") },
        { QStringLiteral("PLAC"), QStringLiteral("Locality") },
        { QStringLiteral("LOCA"), QStringLiteral("Location of Source") },
        { QStringLiteral("MEDI"), QStringLiteral("Media Type") },
        { QStringLiteral("OWNR"), QStringLiteral("Owner") },
        { QStringLiteral("PAGE"), QStringLiteral("Page") },
        { QStringLiteral("QUAY"), QStringLiteral("Quality of Data") },
        { QStringLiteral("RECO"), QStringLiteral("Recorder") },
        { QStringLiteral("REGI"), QStringLiteral("Register") },
        { QStringLiteral("SERS"), QStringLiteral("Series") },
        { QStringLiteral("SUBM"), QStringLiteral("Submitter") },
        { QStringLiteral("TYPE"), QStringLiteral("Source Type") },
        { QStringLiteral("URL"), QStringLiteral("URL") },
        { QStringLiteral("VOL"), QStringLiteral("Volume Number") },
    };
    return labels;
}

bool is(const QString& tag, const char* name)
{
    return tag == QLatin1String(name);
}

} // namespace

// ---- Source records ------------------------------------------------------------------------------------------------

FTSource* ImportGedcomThread::processSOURCE_RECORD(GedRec* record)
{
    if (auto* made = exactOrDynamicCast<FTSource>(record->subjectId()))
        return made;
    FTSource* source = FTSource::initInMoc(m_moc.get());
    record->setSubjectId(source);
    source->setNumericId(record->numericId());
    m_maxSourceId = qMax(m_maxSourceId, record->numericId());
    use(record);

    const auto text = [this](GedRec* line) {
        QString t = withoutControlEnds(line->value());
        appendTextSubRecordsOf(line, t);
        use(line);
        return t;
    };
    for (GedRec* line : record->subRecords()) {
        line->removeDoubleAtSignsFromValue();
        const QString& tag = line->type();
        if (is(tag, "DATA")) {
            processSourceDATA_For(source, line);
        } else if (is(tag, "AUTH")) {
            source->setAuthor(text(line));
        } else if (is(tag, "TITL")) {
            source->setTitle(text(line));
        } else if (is(tag, "ABBR")) {
            source->setAbbreviatedTitle(line->value());
            use(line);
        } else if (is(tag, "PUBL")) {
            source->setPublisher(text(line));
        } else if (is(tag, "TEXT")) {
            appendNotes(text(line), source);
        } else if (is(tag, "REPO")) {
            processREPOSITORY_CITATION_For(source, line);
        } else if (is(tag, "OBJE")) {
            processMULTIMEDIA_LINK_For(source, line);
        } else if (is(tag, "NOTE")) {
            processNOTE_STRUCTURE_For(source, line);
        } else if (is(tag, "REFN")) {
            processUSER_REFERENCE_NUMBER_For(source, line);
        } else if (is(tag, "RIN")) {
            continue;
        } else if (is(tag, "CHAN")) {
            addLastChangeDateTo(source, line);
        } else if ((m_header.bKinloom && (is(tag, "_Type") || is(tag, "_TYPE")))
            || (m_header.bLegacy && (is(tag, "_MEDI") || is(tag, "MEDI")))) {
            source->setType(line->value());
            use(line);
        } else if ((m_header.bKinloom && (is(tag, "_Date") || is(tag, "_DATE")))
            || (m_header.bLegacy && is(tag, "DATE"))) {
            source->setDate(line->value());
            use(line);
        } else if (m_header.bKinloom && (is(tag, "_Location") || is(tag, "_LOCN"))) {
            QString location;
            appendStringByRecursingGedRecs(line, location, false);
            appendLocation(location, source);
        } else if (m_header.bReunion) {
            processSourceRecordForInvalidReunionTag(source, line);
        } else {
            processInvalidTagFor(QStringLiteral("SOURCE_RECORD"), line);
        }
    }
    // Some programs write the title on the record line itself.
    if (source->title().isEmpty() && !record->value().trimmed().isEmpty())
        source->setTitle(withoutControlEnds(record->value()).trimmed());
    return source;
}

void ImportGedcomThread::processSourceDATA_For(FTManagedObject* owner, GedRec* line)
{
    if (!dynamic_cast<FTSource*>(owner))
        return;
    use(line);
    for (GedRec* sub : line->subRecords()) {
        const QString& tag = sub->type();
        if (is(tag, "EVEN") || is(tag, "AGNC") || is(tag, "NOTE"))
            continue; // what the source records: no field of a source holds it, so the log lists it
        processInvalidTagFor(QStringLiteral("SOURCE_DATA"), sub);
    }
}

void ImportGedcomThread::processSourceRecordForInvalidReunionTag(FTSource* source, GedRec* line)
{
    const QString& tag = line->type();
    if (is(tag, "TYPE")) {
        source->setType(line->value());
        use(line);
        return;
    }
    const QString label = reunionSourceLabels().value(tag);
    if (label.isEmpty()) {
        processInvalidTagFor(QStringLiteral("SOURCE_RECORD"), line);
        return;
    }
    QString text;
    appendStringByRecursingGedRecs(line, text, false);
    appendNotes(QStringLiteral("%1: %2").arg(label, text), source);
    line->setErrorReason(GedRec::ReasonTagNotInGedcom55, GedRec::ActionAppendedToNotes);
}

// ---- Repositories --------------------------------------------------------------------------------------------------

void ImportGedcomThread::processREPOSITORY_CITATION_For(FTSource* source, GedRec* line)
{
    if (line->valueIsPointer()) {
        GedRec* record = recordForPointerOf(line);
        if (!record || !record->hasType("REPO")) {
            printBadPointer(line);
            return;
        }
        processREPOSITORY_RECORD_For(source, record);
    }
    processREPOSITORY_STRUCTURE_For(source, line);
    use(line);
}

void ImportGedcomThread::processREPOSITORY_RECORD_For(FTSource* source, GedRec* record)
{
    const QString& id = record->ptr();
    if (id.isEmpty())
        return;
    QString text = m_repositories.value(id);
    if (text.isEmpty()) {
        appendStringByRecursingGedRecs(record, text, false);
        m_repositories.insert(id, text);
    }
    appendLocation(text, source);
    use(record);
}

void ImportGedcomThread::processREPOSITORY_STRUCTURE_For(FTSource* source, GedRec* line)
{
    // The name of a repository written in place of a pointer is part of the text.
    QString text = line->valueIsPointer() ? QString() : withoutControlEnds(line->value()).trimmed();
    for (GedRec* sub : line->subRecords()) {
        QString piece;
        if (sub->hasType("NOTE") && sub->valueIsPointer()) {
            GedRec* note = recordForPointerOf(sub);
            if (!note || !note->hasType("NOTE")) {
                printBadPointer(sub);
                continue;
            }
            piece = withoutControlEnds(note->value());
            appendTextSubRecordsOf(note, piece);
            use(note);
            use(sub);
        } else {
            appendStringByRecursingGedRecs(sub, piece, false);
        }
        if (!piece.isEmpty())
            text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + piece;
    }
    appendLocation(text, source);
}

// ---- Citations -----------------------------------------------------------------------------------------------------

FTSource* ImportGedcomThread::nullSource()
{
    if (!m_nullSource)
        m_nullSource = newTextSource(QStringLiteral("Empty Source from Gedcom File"));
    return m_nullSource;
}

FTSource* ImportGedcomThread::newTextSource(const QString& title)
{
    FTSource* source = FTSource::initInMoc(m_moc.get());
    source->setNumericId(++m_maxSourceId);
    source->setTitle(title);
    return source;
}

void ImportGedcomThread::processINDISources(GedRec* indi)
{
    // An individual record's subject is its person.
    auto* person = static_cast<FTPerson*>(indi->subjectId());
    if (!person)
        return;
    for (GedRec* line : indi->subRecords())
        if (line->hasType("SOUR") && !line->isConsumed())
            processSOURCE_CITATION_STRUCTURE_For(person, line, QString());
}

void ImportGedcomThread::processSOURCE_CITATION_STRUCTURE_For(
    FTManagedObject* row, GedRec* line, const QString& itemDescribed)
{
    QString item = itemDescribed;
    if (auto* event = exactOrDynamicCast<FTEvent>(row))
        item = event->name();
    else if (!exactOrDynamicCast<FTPerson>(row) && !dynamic_cast<FTPicture*>(row))
        return;

    if (!line->valueIsPointer() && !line->isSourceCitationWithMissingPointer()) {
        // The citation's text stands in the line itself: a source of its own, never shared.
        if (line->value().trimmed().isEmpty() && !line->hasSubRecords()) {
            line->setErrorReason(GedRec::ReasonEmptySourceCitation, GedRec::ActionIgnored);
            return;
        }
        // CONC continues the title; what follows a CONT line break goes to the notes.
        QString text = withoutControlEnds(line->value());
        QString notes;
        bool broken = false;
        for (GedRec* sub : line->subRecords()) {
            if (sub->hasType("CONT"))
                broken = true;
            if (appendContinuation(sub, broken ? notes : text))
                continue;
        }
        if (notes.startsWith(u'\n'))
            notes.remove(0, 1);
        FTSource* source = newTextSource(text.trimmed());
        appendNotes(notes, source);
        FTSourceRel* citation = FTSourceRel::initInMoc(m_moc.get(), source, row, QString());
        use(line);
        if (!item.isEmpty())
            citation->setItemDescribed(item);
        for (GedRec* sub : line->subRecords()) {
            if (sub->hasType("CONC") || sub->hasType("CONT"))
                continue;
            if (sub->hasType("TEXT"))
                processNOTE_STRUCTURE_For(source, sub);
            else if (sub->hasType("NOTE"))
                processNOTE_STRUCTURE_For(citation, sub);
            else
                processInvalidTagFor(QStringLiteral("SOURCE_CITATION"), sub);
        }
        return;
    }

    FTSource* source = nullptr;
    if (line->valueIsPointer()) {
        GedRec* record = recordForPointerOf(line);
        if (!record || !record->hasType("SOUR")) {
            printBadPointer(line);
            return;
        }
        source = processSOURCE_RECORD(record);
    } else if (const QString text = withoutControlEnds(line->value()).trimmed(); !text.isEmpty()) {
        // A citation without a source pointer that names its source in its own text: the text is the source, and
        // the page and the rest stay the citation's.
        source = newTextSource(text);
        line->setErrorReason(GedRec::ReasonInvalidRecordFormat, GedRec::ActionNone,
            QStringLiteral("no source pointer: the text became a source of its own"));
    } else {
        source = nullSource();
    }
    FTSourceRel* citation = FTSourceRel::initInMoc(m_moc.get(), source, row, QString());
    use(line);

    for (GedRec* sub : line->subRecords()) {
        const QString& tag = sub->type();
        if (m_header.bReunion && is(tag, "TEXT")) {
            citation->setReference(sub->value());
            QString text;
            appendStringByRecursingGedRecs(sub, text, false);
            appendNotes(text, citation);
            sub->setErrorReason(GedRec::ReasonTagNotInGedcom55, GedRec::ActionAppendedToNotes);
        } else if (is(tag, "PAGE")) {
            // A long reference (a web address, often) goes on in CONC lines: it is one reference.
            QString reference = sub->value();
            bool more = false;
            for (GedRec* under : sub->subRecords())
                more = !appendContinuation(under, reference) || more;
            citation->setReference(reference);
            if (more) {
                // Anything else under the page is kept with the citation's notes.
                QString text;
                for (GedRec* under : sub->subRecords())
                    appendStringByRecursingGedRecs(under, text, false);
                appendNotes(text, citation);
                sub->setErrorReason(GedRec::ReasonOverlengthPage, GedRec::ActionAppendedToNotes);
            }
            use(sub);
        } else if (is(tag, "EVEN")) {
            continue;
        } else if (is(tag, "DATA")) {
            processSourceCitationDATA_For(citation, sub);
        } else if (is(tag, "QUAY")) {
            bool ok = false;
            const int quality = sub->value().trimmed().toInt(&ok);
            if (ok) {
                citation->setCertainty(quality);
                use(sub);
            } else {
                sub->setErrorReason(GedRec::ReasonInvalidValue, GedRec::ActionIgnored);
            }
        } else if (is(tag, "OBJE")) {
            processMULTIMEDIA_LINK_For(source, sub);
        } else if (is(tag, "NOTE")) {
            processNOTE_STRUCTURE_For(citation, sub);
        } else if (is(tag, "CHAN")) {
            addLastChangeDateTo(citation, sub);
        } else if (m_header.bKinloom && is(tag, "_TOPI")) {
            citation->setItemDescribed(sub->value());
            use(sub);
        } else if (tag.startsWith(u'_')) {
            processInvalidTagFor(QStringLiteral("SOURCE_CITATION"), sub);
        } else {
            QString text;
            appendStringByRecursingGedRecs(sub, text, true);
            appendNotes(text, citation);
            sub->setErrorReason(GedRec::ReasonTagNotInGedcom55, GedRec::ActionAppendedToNotes);
        }
    }
    if (!item.isEmpty() && citation->itemDescribed().isEmpty())
        citation->setItemDescribed(item);
}

void ImportGedcomThread::processSourceCitationDATA_For(FTManagedObject* owner, GedRec* line)
{
    auto* citation = dynamic_cast<FTSourceRel*>(owner);
    if (!citation)
        return;
    use(line);
    for (GedRec* sub : line->subRecords()) {
        if (sub->hasType("DATE")) {
            appendNotes(sub->value(), citation);
            use(sub);
        } else if (sub->hasType("TEXT")) {
            QString text = withoutControlEnds(sub->value());
            appendTextSubRecordsOf(sub, text);
            appendNotes(text, citation);
            use(sub);
        } else {
            processInvalidTagFor(QStringLiteral("SOURCE_CITATION_DATA"), sub);
        }
    }
}
