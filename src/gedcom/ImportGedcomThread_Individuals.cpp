// The header record and the individual records: people, their names, numbers and change dates.
#include "gedcom/ImportGedcomThread.h"

#include "gedcom/GedRec.h"
#include "gedcom/GedcomForest.h"
#include "gedcom/ImportGedcomListener.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FamilyNames.h"
#include "platform/FTLog.h"
#include "platform/store/EntityDescription.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QTime>
#include <QTimeZone>

#include <algorithm>

namespace {

const QChar kNoBreakSpace(0x00A0);

void collapseBlanks(QString& s)
{
    while (s.contains(QLatin1String("  ")))
        s.replace(QLatin1String("  "), QLatin1String(" "));
}

// Runs of blanks become one blank, and a run beside a slash goes ("John / Smith /" reads "John /Smith/"): in one
// pass, as every name of a file needs it.
void blanksCollapsedAndOffSlashes(QString& text)
{
    const QChar* s = text.constData();
    const qsizetype n = text.size();
    QString out(n, Qt::Uninitialized);
    QChar* o = out.data();
    for (qsizetype i = 0; i < n;) {
        if (s[i] != u' ') {
            *o++ = s[i++];
            continue;
        }
        qsizetype j = i;
        while (j < n && s[j] == u' ')
            ++j;
        if (!((i > 0 && s[i - 1] == u'/') || (j < n && s[j] == u'/')))
            *o++ = u' ';
        i = j;
    }
    out.truncate(o - out.constData());
    text = std::move(out);
}

const Key kUserId("userId");
const Key kLastChange("lastChange");

bool hasAttribute(const FTManagedObject* row, const Key& key)
{
    const PropertyDescription* p = row->entity()->property(key);
    return p && p->kind == PropertyDescription::Kind::Attribute;
}

bool isOneOf(const QString& tag, std::initializer_list<const char*> tags)
{
    for (const char* t : tags)
        if (tag == QLatin1String(t))
            return true;
    return false;
}

// Words that may follow a family name ("Jr", "Sr.", "III"), each of them.
bool isOnlySuffixes(const QString& text)
{
    const QSet<QString>& suffixes = FamilyNames::suffixes();
    const QStringList words = text.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return false;
    for (QString w : words) {
        while (w.endsWith(u'.'))
            w.chop(1);
        const QString capitalised = w.left(1).toUpper() + w.mid(1).toLower();
        if (!suffixes.contains(w) && !suffixes.contains(capitalised) && !suffixes.contains(w.toUpper()))
            return false;
    }
    return true;
}

int monthOfGedcomName(QStringView word)
{
    static const char* const months[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                           "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    // A word of ASCII letters (nearly all) is compared in place, without its upper-case copy: the months are found
    // by their first three letters.
    if (std::all_of(word.begin(), word.end(), [](QChar c) { return c.unicode() < 0x80; })) {
        if (word.size() < 3)
            return 0;
        const auto upper = [&word](int i) {
            const char16_t c = word[i].unicode();
            return char(c >= u'a' && c <= u'z' ? c - (u'a' - u'A') : c);
        };
        const char first = upper(0), second = upper(1), third = upper(2);
        for (int i = 0; i < 12; ++i)
            if (months[i][0] == first && months[i][1] == second && months[i][2] == third)
                return i + 1;
        return 0;
    }
    const QString w = word.toString().toUpper();
    for (int i = 0; i < 12; ++i)
        if (w == QLatin1String(months[i]) || (w.size() > 3 && w.startsWith(QLatin1String(months[i]))))
            return i + 1;
    return 0;
}

// "3 MAR 2005": the day, month name and year of a change date.
QDate changeDate(QStringView text)
{
    QStringView words[3];
    int count = 0;
    for (QStringView word : text.tokenize(u' ', Qt::SkipEmptyParts)) {
        if (count == 3)
            return {};
        words[count++] = word;
    }
    if (count != 3)
        return {};
    bool dayOk = false, yearOk = false;
    const int day = words[0].toInt(&dayOk);
    const int year = words[2].toInt(&yearOk);
    const int month = monthOfGedcomName(words[1]);
    if (!dayOk || !yearOk || month == 0)
        return {};
    return QDate(year, month, day);
}

} // namespace

// ---- Header --------------------------------------------------------------------------------------------------------

void ImportGedcomThread::processHEAD(GedRec* head)
{
    use(head);
    for (GedRec* line : head->subRecords()) {
        const QString& tag = line->type();
        if (tag == QLatin1String("SOUR")) {
            m_header.sourceApplication = line->value();
            m_header.sourceVersion.clear();
            use(line);
            for (GedRec* sub : line->subRecords()) {
                if (sub->hasType("VERS")) {
                    m_header.sourceVersion = sub->value();
                    use(sub);
                } else if (sub->hasType("NAME") && m_header.sourceApplication.isEmpty()) {
                    m_header.sourceApplication = sub->value();
                    use(sub);
                }
            }
            m_header.setProgramFlags();
        } else if (tag == QLatin1String("DATE")) {
            m_header.creationDate = line->value();
            use(line);
        } else if (tag == QLatin1String("CHAR")) {
            m_header.characterSet = line->value();
            use(line);
        } else if (isOneOf(tag, {"DEST", "SUBM", "SUBN", "FILE", "COPR", "GEDC", "LANG", "PLAC", "NOTE"})) {
            // Nothing of these goes into a family database: the log lists them.
        } else {
            processInvalidTagFor(QStringLiteral("HEAD RECORD"), line);
        }
    }
    m_listener->setGedcomSourceInfo(m_header.infoText());
}

// ---- Individuals ---------------------------------------------------------------------------------------------------

void ImportGedcomThread::processINDI(GedRec* indi)
{
    auto* person = m_moc->insertObject<FTPerson>();
    // The number of the identifier; a record without one, or with one taken already, gets the next free number.
    int id = indi->numericId();
    if (id == 0 || m_personIds.contains(id))
        id = ++m_maxPersonId;
    m_personIds.insert(id);
    person->setNumericId(id);
    indi->setSubjectId(person);
    use(indi);

    for (GedRec* line : indi->subRecords()) {
        const QString& tag = line->type();
        // Most of a person's lines are events, attributes and ordinances, for the events pass: their tag classes
        // are tested before the tags below (of which only IMMI has such a class, and a use here for one program).
        const bool eventTag
            = line->isIndividualEvent() || line->isIndividualAttribute() || line->isLDSIndividualOrdinance();
        if (eventTag && !(m_header.bReunion && line->hasType("IMMI")))
            continue; // the events pass reads them (writeValuesFromEventLines below takes the person's values)
        if (line->hasType("RESN")) {
            continue;
        } else if (line->hasType("NAME")) {
            processNAME_STRUCTURE_For(person, line);
        } else if (line->hasType("SEX")) {
            // M and F as given; U, an empty value or anything else leaves the gender unknown.
            const QString value = line->value().trimmed();
            if (value.startsWith(u'M', Qt::CaseInsensitive))
                person->setGender(m_male);
            else if (value.startsWith(u'F', Qt::CaseInsensitive))
                person->setGender(m_female);
            else if (!value.isEmpty() && value.compare(QLatin1String("U"), Qt::CaseInsensitive) != 0)
                line->setErrorReason(GedRec::ReasonUnrecognisedValue, GedRec::ActionIgnored);
            use(line);
        } else if (line->hasType("IMMI") && m_header.bReunion && line->valueIsPointer()
                   && line->value().startsWith(QLatin1String("@N"))) {
            processNOTE_STRUCTURE_For(person, line);
            line->setErrorReason(GedRec::ReasonTagNotInGedcom55, GedRec::ActionAppendedToNotes);
        } else if (line->hasType("CAUS") && m_header.bReunion && !line->value().isEmpty()) {
            person->setCauseOfDeath(line->value());
            use(line);
        } else if (m_header.bFTW && tag.startsWith(QLatin1String("_FA"))) {
            processEVENT_STRUCTURE_For(person, line);
        } else if (line->hasType("FAMC") || line->hasType("FAMS")) {
            flagRedundantGedRecs(line);
        } else if (line->hasType("SUBM") || line->hasType("ASSO")) {
            continue;
        } else if (isOneOf(tag, {"ALIA", "ANCI", "DESI"})) {
            QString text;
            appendStringByRecursingGedRecs(line, text, true);
            appendComments(text, person);
            line->setErrorReason(GedRec::ReasonTagNotRecognised, GedRec::ActionAppendedToCommentsWithSubRecords);
        } else if (line->hasType("OBJE")) {
            processMULTIMEDIA_LINK_For(person, line);
        } else if (line->hasType("NOTE")) {
            processNOTE_STRUCTURE_For(person, line);
        } else if (line->hasType("RFN") || line->hasType("RIN")) {
            continue;
        } else if (line->hasType("AFN")) {
            person->setAncestralFileNumber(line->value());
            use(line);
        } else if (line->hasType("REFN")) {
            processUSER_REFERENCE_NUMBER_For(person, line);
        } else if (line->hasType("CHAN")) {
            addLastChangeDateTo(person, line);
        } else if (m_header.bKinloom && (line->hasType("_Occupation") || line->hasType("_OCTI"))) {
            person->setTitle(line->value());
            use(line);
        } else if (m_header.bKinloom && (line->hasType("_Comment") || line->hasType("_CMTS"))) {
            processCOMMENT_STRUCTURE_For(person, line);
        } else if (m_header.bKinloom && (line->hasType("_FocalPerson") || line->hasType("_FPER"))) {
            processFocalPerson(person, line);
        } else if (line->isLDSIndividualOrdinance() || line->isIndividualAttribute() || line->isIndividualEvent()
                   || line->isEventStructure()) {
            continue; // the events pass reads them
        } else if (line->hasType("SOUR")) {
            continue; // the citations pass reads it
        } else {
            QString text;
            appendStringByRecursingGedRecs(line, text, true);
            appendComments(text, person);
            line->setErrorReason(tag.startsWith(u'_') ? GedRec::ReasonCustomTag : GedRec::ReasonTagNotInGedcom55,
                                 GedRec::ActionAppendedToComments);
        }
    }
    writeValuesFromEventLines(person, indi);
    if (person->name().isEmpty())
        person->setName(QStringLiteral("Unknown"));
}

// A TITL or OCCU line's value is added to the person's title (files of this program keep the title on a line of its
// own; one program's occupation with continuation lines is an event name and a note).
bool ImportGedcomThread::givesTitle(const GedRec* line) const
{
    if (m_header.bKinloom)
        return false;
    if (line->hasType("OCCU"))
        return !(m_header.bTMG && line->hasContinuationLines()) && !line->value().isEmpty();
    return line->hasType("TITL") && !line->value().isEmpty();
}

void ImportGedcomThread::writeValuesFromEventLines(FTPerson* person, GedRec* indi)
{
    // Of the lines the events pass reads, in their order.
    for (GedRec* line : indi->subRecords())
        if ((line->isIndividualEvent() || line->isIndividualAttribute() || line->isLDSIndividualOrdinance())
            && givesTitle(line))
            appendTitle(line->value(), person);
    // The first death line is the person's death event; a later one is an alternate death.
    if (GedRec* death = indi->firstSubRecord("DEAT"))
        for (GedRec* sub : death->subRecords())
            if (sub->hasType("CAUS"))
                person->setCauseOfDeath(sub->value());
}

QString ImportGedcomThread::nameFromGedcom(const QString& value, bool ftw, QString* familyName, QString* trailing)
{
    QString text = value.trimmed();
    if (ftw) {
        text.replace(u',', u' ');
        text.replace(u'.', u' ');
    }
    blanksCollapsedAndOffSlashes(text);

    // The slashes become blanks; a family name of several words becomes one word (no-break spaces), so that the
    // family name found in the name later is the whole of it.
    int marks = 0;
    qsizetype first = -1;
    qsizetype second = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'/') {
            text[i] = u' ';
            if (++marks == 1) {
                first = i;
            } else if (marks == 2 && !ftw) {
                second = i;
                break;
            }
        } else if (text[i] == u' ' && marks == 1) {
            text[i] = kNoBreakSpace;
        }
    }
    if (familyName)
        *familyName = first >= 0 ? text.mid(first + 1, (second >= 0 ? second : text.size()) - first - 1).trimmed()
                                 : QString();
    if (trailing) {
        trailing->clear();
        if (second >= 0) {
            const QString rest = text.mid(second + 1).trimmed();
            if (!rest.isEmpty() && !isOnlySuffixes(rest))
                *trailing = rest;
        }
    }
    collapseBlanks(text);
    return text.trimmed();
}

void ImportGedcomThread::processNAME_STRUCTURE_For(FTPerson* person, GedRec* line)
{
    QString family, trailing;
    const QString text = nameFromGedcom(line->value(), m_header.bFTW, &family, &trailing);

    if (person->name().isEmpty()) {
        person->setName(text);
        if (!trailing.isEmpty()) {
            // Text after the family name ("/Kovacs/ Janos", "John /Smith/ of Leeds") stays in the name; the family
            // name is the one the file marked.
            if (!family.isEmpty()) {
                QString given = person->name();
                const qsizetype at = given.indexOf(family);
                if (at >= 0)
                    given.remove(at, family.size());
                collapseBlanks(given);
                person->setFamilyName(family);
                person->setGivenNames(given.trimmed());
            }
            line->setErrorReason(GedRec::ReasonInvalidValue, GedRec::ActionNone,
                                 QStringLiteral("the text after the family name, \"%1\", is kept in the name")
                                     .arg(QString(trailing).replace(kNoBreakSpace, u' ')));
        }
    } else {
        QString alternate = text;
        alternate.replace(kNoBreakSpace, u' ');
        appendComments(QStringLiteral("Alternate name = %1").arg(alternate), person);
        line->setErrorReason(GedRec::ReasonDuplicateName, GedRec::ActionAppendedToComments,
                             QStringLiteral("Alternate name for %1").arg(person->name()));
    }
    use(line);
    if (const qsizetype at = text.indexOf(kNoBreakSpace); at >= 0)
        FTLog(QStringLiteral("no-break space inserted in family name for: \"%1\" at Character No. %2").arg(text).arg(at));

    // The parts of the name go to the comments in one write: each write rereads and rewrites all of them.
    QString parts;
    const auto writeParts = [&] {
        if (!parts.isEmpty())
            appendComments(parts, person);
        parts.clear();
    };
    for (GedRec* sub : line->subRecords()) {
        const char* label = sub->hasType("NPFX") ? "Name prefix = "
            : sub->hasType("GIVN")                ? "Given name = "
            : sub->hasType("NICK")                ? "Nick name = "
            : sub->hasType("SPFX")                ? "Family name prefix = "
            : sub->hasType("SURN")                ? "Family name = "
            : sub->hasType("NSFX")                ? "Name Suffix = "
                                                  : nullptr;
        if (label) {
            if (!parts.isEmpty())
                parts += u'\n';
            parts += QLatin1String(label);
            parts += sub->value();
            use(sub);
            continue;
        }
        writeParts();
        if (sub->hasType("SOUR")) {
            processSOURCE_CITATION_STRUCTURE_For(person, sub, QStringLiteral("Name"));
        } else if (sub->hasType("NOTE")) {
            processNOTE_STRUCTURE_For(person, sub);
        } else {
            processInvalidTagFor(QStringLiteral("NAME_STRUCTURE"), sub);
        }
    }
    writeParts();
}

void ImportGedcomThread::processFocalPerson(FTPerson* person, GedRec* line)
{
    use(line);
    m_moc->setFocalPerson(person);
}

void ImportGedcomThread::processUSER_REFERENCE_NUMBER_For(FTManagedObject* row, GedRec* line)
{
    if (!row || !hasAttribute(row, kUserId))
        return;
    row->setValue(kUserId, line->value());
    use(line);
}

void ImportGedcomThread::addLastChangeDateTo(FTManagedObject* row, GedRec* line)
{
    if (!row || !hasAttribute(row, kLastChange))
        return;
    use(line);
    for (GedRec* sub : line->subRecords()) {
        const QString& tag = sub->type();
        if (sub->hasType("DATE")) {
            use(sub);
            const QDate date = changeDate(sub->value());
            if (!date.isValid()) {
                // Not a date this import can read: the log shows it rather than losing it.
                sub->setErrorReason(GedRec::ReasonInvalidDate, GedRec::ActionIgnored);
                continue;
            }
            QTime time(0, 0);
            for (GedRec* under : sub->subRecords()) {
                if (!under->hasType("TIME")) {
                    processInvalidTagFor(QStringLiteral("DATE"), under);
                    continue;
                }
                const QStringList pieces = under->value().trimmed().split(u':');
                if (pieces.size() != 2 && pieces.size() != 3)
                    continue;
                bool hOk = false, mOk = false, sOk = true;
                const int h = pieces[0].toInt(&hOk);
                const int m = pieces[1].toInt(&mOk);
                const int s = pieces.size() == 3 ? int(pieces[2].toDouble(&sOk)) : 0;
                const QTime t(h, m, s);
                if (!hOk || !mOk || !sOk || !t.isValid())
                    continue;
                time = t;
                use(under);
            }
            // In the zone of this computer, read once: asking the C library per record rereads its zone file.
            static const QTimeZone zone = QTimeZone::systemTimeZone();
            const qint64 when = date.toJulianDay() * 86400 + time.msecsSinceStartOfDay() / 1000;
            auto stamp = m_changeStamps.constFind(when);
            if (stamp == m_changeStamps.constEnd())
                stamp = m_changeStamps.insert(when, QDateTime(date, time, zone));
            row->setValue(kLastChange, *stamp);
        } else if (tag == QLatin1String("NOTE")) {
            continue;
        } else if (tag == QLatin1String("SOUR") && m_header.bFTW) {
            processSOURCE_CITATION_STRUCTURE_For(row, sub, QString());
        } else {
            processInvalidTagFor(QStringLiteral("CHANGE DATE STRUCTURE"), sub);
        }
    }
}

void ImportGedcomThread::processInvalidTagFor(const QString& label, GedRec* line)
{
    Q_UNUSED(label);
    line->setErrorReason(line->type().startsWith(u'_') ? GedRec::ReasonCustomTag : GedRec::ReasonTagNotInGedcom55,
                         GedRec::ActionIgnored);
}

void ImportGedcomThread::printBadPointer(GedRec* line)
{
    line->setErrorReason(GedRec::ReasonInvalidPointer, GedRec::ActionIgnored,
                         QStringLiteral("Pointer = %1").arg(line->fwdPtr()));
}
