#include "merge/ComparisonDictionary.h"

#include "merge/CompareFormats.h"
#include "merge/PersonComparison.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"

#include <QTextCursor>

#include <algorithm>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

// The label keys in the order shown; those marked always are present for every person.
struct DataType {
    const char* key;
    bool always;
};
constexpr DataType kDataTypes[] = {
    { "CompareDictId", false },
    { "CompareDictName", false },
    { "CompareDictGender", false },
    { "CompareDictTitlOccu", false },
    { "CompareDictBorn", true },
    { "CompareDictBNotes", false },
    { "CompareDictDied", true },
    { "CompareDictDNotes", false },
    { "CompareDictCOD", false },
    { "Parents", true },
    { "Spouses", true },
    { "Children", true },
    { "CompareDictPerEvents", true },
    { "CompareDictScRef", true },
    { "Pictures", true },
    { "CompareDictNotes", false },
    { "CompareDictComments", false },
};

// Where a text has nothing, the comparison shows the platform's word for nothing.
QString orNull(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("(null)") : text;
}

void setIfSet(ComparisonDictionary::Dictionary& dict, const char* key, const QString& value)
{
    if (!value.isEmpty())
        dict.insert(L(key), value);
}

// "<date> at <place>", either part alone, or nothing.
QString dateAndPlace(const FTEvent* event)
{
    if (!event)
        return {};
    const QString date = event->date();
    const QString place = event->place();
    QString text = date;
    if (!date.isEmpty() && !place.isEmpty())
        text += ' ' + L("ConjunctiveAt") + ' ';
    return text + place;
}

QString namesWithBirthYears(const QList<FTPerson*>& people)
{
    QStringList entries;
    for (const FTPerson* p : people) {
        QString entry = p->name();
        const int year = p->birth() ? p->birth()->year() : 0;
        if (year != 0)
            entry += QStringLiteral(" (%1)").arg(year);
        entries << entry;
    }
    return entries.join(QStringLiteral(", "));
}

QString spousesText(const FTPerson* person)
{
    const QList<FTSpouseRel*> couples = person->spouseRelsArray();
    const bool several = couples.size() > 1;
    QString text;
    int number = 0;
    for (const FTSpouseRel* couple : couples) {
        ++number;
        const FTEvent* marriage = couple->marriage();
        if (several)
            text += '\n';
        text += marriage ? QStringLiteral(" %1.").arg(L("MarriageShort")) : QStringLiteral(" +.");
        if (several)
            text += QStringLiteral("(%1)").arg(number);
        if (marriage && !marriage->date().isEmpty())
            text += ' ' + marriage->date();
        const FTPerson* partner = couple->partnerOf(person);
        text += ' ' + (partner ? partner->name() : QStringLiteral("(null)")) + ' ';
        if (marriage && !marriage->place().isEmpty())
            text += ' ' + L("ConjunctiveAt") + ' ' + marriage->place();
        if (marriage && !marriage->notes().isEmpty())
            text += QStringLiteral(". ") + L("Notes") + QStringLiteral(" = ") + marriage->notes();
    }
    return text;
}

QString personalEventsText(const FTPerson* person)
{
    QList<FTEvent*> events = person->otherEvents();
    std::stable_sort(events.begin(), events.end(), [](const FTEvent* a, const FTEvent* b) {
        if (const int c = a->subtype().compare(b->subtype()))
            return c < 0;
        return a->lDate() < b->lDate();
    });
    QString text;
    bool first = true;
    for (const FTEvent* e : std::as_const(events)) {
        text += first ? QStringLiteral("\n") : QStringLiteral("\n\n");
        first = false;
        const QString date = e->date().isEmpty() ? QStringLiteral("??") : e->date();
        const QString place = e->place().isEmpty() ? QStringLiteral("??") : e->place();
        text += orNull(e->subtype()) + QStringLiteral(", ") + orNull(e->name()) + ' ' + L("ConjunctiveOn") + ' ' + date
            + ' ' + L("ConjunctiveAt") + ' ' + place + QStringLiteral(". ") + L("Notes") + QStringLiteral(" = ")
            + orNull(e->notes());
    }
    return text;
}

QString citationsText(const FTPerson* person)
{
    QList<FTSourceRel*> citations = person->allSourceRels();
    std::stable_sort(citations.begin(), citations.end(), [](const FTSourceRel* a, const FTSourceRel* b) {
        const FTSource* sa = a->source();
        const FTSource* sb = b->source();
        if (const int c = (sa ? sa->title() : QString()).compare(sb ? sb->title() : QString()))
            return c < 0;
        const int na = sa ? sa->numericId() : 0;
        const int nb = sb ? sb->numericId() : 0;
        if (na != nb)
            return na < nb;
        if (const int c = a->reference().compare(b->reference()))
            return c < 0;
        return a->itemDescribed().compare(b->itemDescribed()) < 0;
    });
    QString text;
    bool first = true;
    for (const FTSourceRel* c : std::as_const(citations)) {
        text += first ? QStringLiteral("\n") : QStringLiteral("\n\n");
        first = false;
        text += PersonComparison::sourceRelDescription(c);
    }
    return text;
}

QString picturesText(const FTPerson* person)
{
    QList<FTPicture*> pictures = person->pictures();
    std::stable_sort(pictures.begin(), pictures.end(), [](const FTPicture* a, const FTPicture* b) {
        if (const int c = a->filename().compare(b->filename()))
            return c < 0;
        if (const int c = a->name().compare(b->name()))
            return c < 0;
        return a->numericId() < b->numericId();
    });
    QString text;
    for (const FTPicture* p : std::as_const(pictures)) {
        QString name = p->filename();
        if (name.isEmpty())
            name = p->originalFilename();
        if (name.isEmpty())
            name = p->name();
        if (name.isEmpty())
            name = QStringLiteral("?");
        text += '\n' + name;
    }
    return text;
}

void appendRun(ComparisonDictionary::SideText& out, const QString& text, QList<ComparisonDictionary::Range>* ranges)
{
    if (ranges && !text.isEmpty())
        ranges->append({ int(out.text.size()), int(text.size()) });
    out.text += text;
}
}

QStringList ComparisonDictionary::dataTypes()
{
    QStringList labels;
    for (const DataType& t : kDataTypes)
        labels << L(t.key);
    return labels;
}

ComparisonDictionary::Dictionary ComparisonDictionary::loadDictionaryFor(const FTPerson* person)
{
    Dictionary dict;
    for (const DataType& t : kDataTypes)
        if (t.always)
            dict.insert(L(t.key), QString());
    if (!person)
        return dict;
    if (person->numericId() != 0)
        dict.insert(L("CompareDictId"), QString::number(person->numericId()));
    setIfSet(dict, "CompareDictName", person->name());
    setIfSet(dict, "CompareDictGender", person->gender());
    setIfSet(dict, "CompareDictTitlOccu", person->title());
    const FTEvent* birth = person->birth();
    const FTEvent* death = person->death();
    dict.insert(L("CompareDictBorn"), dateAndPlace(birth));
    if (birth)
        setIfSet(dict, "CompareDictBNotes", birth->notes());
    dict.insert(L("CompareDictDied"), dateAndPlace(death));
    if (death)
        setIfSet(dict, "CompareDictDNotes", death->notes());
    setIfSet(dict, "CompareDictCOD", person->causeOfDeath());
    dict.insert(L("Parents"), namesWithBirthYears(person->naturalParents()));
    dict.insert(L("Spouses"), spousesText(person));
    dict.insert(L("Children"), namesWithBirthYears(person->naturalChildren()));
    dict.insert(L("CompareDictPerEvents"), personalEventsText(person));
    setIfSet(dict, "CompareDictNotes", person->notes());
    setIfSet(dict, "CompareDictComments", person->comments());
    dict.insert(L("CompareDictScRef"), citationsText(person));
    dict.insert(L("Pictures"), picturesText(person));
    return dict;
}

ComparisonDictionary::SideText ComparisonDictionary::makeSideText(
    int side, const Dictionary& p1Dict, const Dictionary& p2Dict, const Options& options, int* differences)
{
    SideText out;
    if (options.doubleSpaced)
        out.text = QStringLiteral("\n");
    int differing = 0;
    for (const QString& label : dataTypes()) {
        const QString separator = out.text.size() <= 1 ? QString()
            : options.doubleSpaced                     ? QStringLiteral("\n\n")
                                                       : QStringLiteral("\n");
        QString a = p1Dict.value(label);
        const QString b = p2Dict.value(label);
        if (options.showDifferencesOnly && a == b)
            continue;
        appendRun(out, separator + label + QStringLiteral(": "), &out.bold);
        if (side != 1) {
            appendRun(out, b, nullptr);
            continue;
        }
        // A shorter text on this side shows a highlighted band where the other side has more.
        if (a.size() < b.size())
            a += QStringLiteral("       ");
        if (a == b) {
            appendRun(out, a, nullptr);
            continue;
        }
        const qsizetype shorter = std::min(a.size(), b.size());
        qsizetype position = 0;
        for (qsizetype i = 0; i < shorter; ++i)
            if (a[i] != b[i]) {
                position = i;
                break;
            }
        while (position < a.size() && a[position] == QLatin1Char('\n'))
            ++position;
        const int start = int(out.text.size());
        appendRun(out, a, nullptr);
        if (position < a.size())
            out.highlight.append({ start + int(position), int(a.size() - position) });
        ++differing;
    }
    if (differences)
        *differences = differing;
    return out;
}

ComparisonDictionary::SideText ComparisonDictionary::makeAttribString(const QString& label, const QString& value)
{
    SideText out;
    const QString lead = label == L("CompareDictName") ? QString() : QStringLiteral("\n\n");
    appendRun(out, lead + label + QStringLiteral(": "), &out.bold);
    appendRun(out, value, nullptr);
    return out;
}

ComparisonDictionary::Details ComparisonDictionary::setPersonDetailsFor(
    const FTPerson* person1, const FTPerson* person2, const Options& options)
{
    Details d;
    d.p1Dict = loadDictionaryFor(person1);
    d.p2Dict = loadDictionaryFor(person2);
    if (person1)
        d.person1Details = makeSideText(1, d.p1Dict, d.p2Dict, options, &d.numDifferences);
    if (person2)
        d.person2Details = makeSideText(2, d.p1Dict, d.p2Dict, options);
    else if (person1)
        d.person2Details
            = makeAttribString(L(options.matchMode == 1 ? "NoMatchingID" : "NoMatchingName"), person1->name());
    return d;
}

void ComparisonDictionary::append(QTextCursor& cursor, const SideText& text)
{
    // Each character's format: plain or bold, with the highlight laid over it.
    const int base = cursor.position();
    int at = 0;
    auto plainUpTo = [&](int end) {
        if (end > at)
            cursor.insertText(text.text.mid(at, end - at), CompareFormats::plain());
        at = std::max(at, end);
    };
    for (const Range& r : text.bold) {
        plainUpTo(r.start);
        cursor.insertText(text.text.mid(r.start, r.length), CompareFormats::bold());
        at = r.start + r.length;
    }
    plainUpTo(int(text.text.size()));
    for (const Range& r : text.highlight) {
        QTextCursor mark(cursor.document());
        mark.setPosition(base + r.start);
        mark.setPosition(base + r.start + r.length, QTextCursor::KeepAnchor);
        mark.mergeCharFormat(CompareFormats::highlight());
    }
}
