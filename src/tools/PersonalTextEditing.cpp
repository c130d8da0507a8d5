#include "tools/PersonalTextEditing.h"

#include "tools/UndoPass.h"

#include "shell/CsvWriter.h"
#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/ModelProgress.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/store/ReleasingWalk.h"
#include "platform/store/TextMatch.h"

#include <QStringList>

#include <algorithm>
#include <tuple>

namespace {
QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }

int yearOf(const FTEvent* e) { return e ? e->year() : 0; }

// Replaces `from` by `to` until none is left (a replacement may make a new one).
void replaceAll(QString& text, const QString& from, const QString& to)
{
    while (text.contains(from))
        text.replace(from, to);
}
}

PersonalTextEditing::PersonalTextEditing(FTMoc* moc, Field field)
    : m_moc(moc)
    , m_field(field)
{
    reload();
}

QString PersonalTextEditing::text(const FTPerson* person) const
{
    if (!person)
        return {};
    return m_field == Comments ? person->comments() : person->notes();
}

void PersonalTextEditing::setText(FTPerson* person, const QString& text)
{
    if (!person)
        return;
    if (m_field == Comments)
        person->setComments(text);
    else
        person->setNotes(text);
}

void PersonalTextEditing::setNotEmptyOnly(bool on)
{
    if (on == m_notEmptyOnly)
        return;
    m_notEmptyOnly = on;
    reload();
}

void PersonalTextEditing::setFilter(const QString& text)
{
    m_filter = text.trimmed();
    rearrange();
}

void PersonalTextEditing::setFamilyNameFilter(const QString& text)
{
    m_familyNameFilter = text.trimmed();
    rearrange();
}

void PersonalTextEditing::reload()
{
    m_base.clear();
    if (m_moc) {
        const bool notEmpty = m_notEmptyOnly;
        const Field field = m_field;
        ReleasingWalk walk(*m_moc);
        QList<FTPerson*> all = m_moc->fetch<FTPerson>([notEmpty, field, &walk](const FTPerson* p) {
            walk.releasePoint();
            return !notEmpty || !(field == Comments ? p->comments() : p->notes()).isEmpty();
        });
        // The sort keys are read once a person, not once a comparison.
        struct Keyed {
            QString name, gender;
            int birth, death, id;
            FTPerson* person;
        };
        QList<Keyed> keyed;
        keyed.reserve(all.size());
        for (FTPerson* p : all) {
            walk.releasePoint();
            keyed.push_back({p->name(), p->gender(), yearOf(p->birth()), yearOf(p->death()), p->numericId(), p});
        }
        std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
            if (const int c = a.name.compare(b.name, Qt::CaseInsensitive))
                return c < 0;
            if (const int c = a.gender.compare(b.gender, Qt::CaseInsensitive))
                return c < 0;
            return std::tie(a.birth, a.death, a.id) < std::tie(b.birth, b.death, b.id);
        });
        m_base.reserve(keyed.size());
        for (const Keyed& k : keyed)
            m_base << k.person;
    }
    // Folded now, while the window opens, so that the first letter typed finds at once.
    m_folded = QList<FoldedText>(m_base.size());
    for (qsizetype i = 0; i < m_base.size(); ++i)
        foldedText(i, text(m_base[i]));
    rearrange();
}

void PersonalTextEditing::rearrange()
{
    m_people.clear();
    const QString filter = TextMatch::fold(m_filter);
    for (qsizetype i = 0; i < m_base.size(); ++i) {
        FTPerson* p = m_base[i];
        if (p->isDeleted())
            continue;
        if (m_notEmptyOnly || !filter.isEmpty()) {
            const QString t = text(p);
            if (m_notEmptyOnly && t.isEmpty())
                continue;
            if (!filter.isEmpty() && !foldedText(i, t).contains(filter))
                continue;
        }
        if (m_field == Notes && !m_familyNameFilter.isEmpty()
            && !TextMatch::contains(p->familyName(), m_familyNameFilter))
            continue;
        m_people << p;
    }
}

const QString& PersonalTextEditing::foldedText(qsizetype index, const QString& text)
{
    FoldedText& cached = m_folded[index];
    // The copy kept here holds on to the text's storage, so the same storage means the same text: a text changed
    // in any way (this editor, another window, an undo or redo) comes as other storage and is folded again.
    const bool same = (cached.text.constData() == text.constData() && cached.text.size() == text.size())
        || cached.text == text;
    if (!same)
        cached = {text, TextMatch::fold(text)};
    return cached.folded;
}

void PersonalTextEditing::clearText(FTPerson* person)
{
    if (!person) {
        DisplayMsg(L("SelectPersonTryAgain"));
        return;
    }
    setText(person, {});
}

void PersonalTextEditing::promoteToFocalPerson(FTPerson* person)
{
    if (!person || !m_moc) {
        DisplayMsg(L("SelectPersonTryAgain"));
        return;
    }
    m_moc->setFocalPerson(person);
}

QString PersonalTextEditing::withoutLinesContaining(const QString& text, const QString& filter)
{
    QStringList kept;
    for (const QString& line : text.split(QLatin1Char('\n')))
        if (!TextMatch::contains(line, filter))
            kept << line;
    return kept.join(QLatin1Char('\n'));
}

int PersonalTextEditing::deleteAllLinesThatContainTheFilterString(ModelProgress* progress)
{
    if (m_filter.isEmpty()) {
        DisplayMsg(L("EnterSearchTryAgain"));
        return 0;
    }
    int count = 0;
    {
        UndoPass pass(m_moc, L("DeleteCommentLines"));
        ModelProgress::begin(progress, L("DeleteCommentLines"));
        ModelProgress::Steps steps(progress, m_people.size(), 2);
        bool askEach = true;
        for (qsizetype i = 0; i < m_people.size(); ++i) {
            steps.at(i);
            FTPerson* p = m_people[i];
            const QString old = text(p);
            if (old.isEmpty() || !TextMatch::contains(old, m_filter))
                continue;
            const QString replacement = withoutLinesContaining(old, m_filter);
            if (askEach) {
                const QString question = QStringLiteral("%1 %2\n\n%3\n\n%4\n\n%5\n\n%6")
                                             .arg(L("For"), p->nameWithBirthAndDeathYears(), L("replaceComments"),
                                                  old, L("ReplaceCommentsWith"), replacement);
                // Closing the question stops the run rather than replacing everything.
                const int answer = Prompts::current().chooseWithEscape(L("ReplaceComments"), question, {},
                    {L("ReplaceCommentsButton"), L("Skip"), L("Stop"), L("ReplaceAllComments")}, Stop);
                if (answer == Skip)
                    continue;
                if (answer == ReplaceAll)
                    askEach = false;
                else if (answer != Replace)
                    break;
            }
            setText(p, replacement);
            ++count;
        }
        if (progress)
            progress->setPercent(0);
    }
    if (count > 0 && m_moc)
        m_moc->saveMoc();
    DisplayMsg(QStringLiteral("%1 %2").arg(count).arg(L("NumCommentsChanged")));
    rearrange();
    return count;
}

std::optional<QString> PersonalTextEditing::joinedLines(const QString& note)
{
    QString text = note;
    replaceAll(text, QStringLiteral("  \n"), QStringLiteral(" \n"));
    text.replace(QStringLiteral(": \n"), QStringLiteral(":\n"));
    if (!text.contains(QStringLiteral(" \n")))
        return std::nullopt;
    replaceAll(text, QStringLiteral(" \n"), QStringLiteral(" "));
    text.replace(QStringLiteral("\n\n\n"), QStringLiteral("\n\n"));
    return text.trimmed();
}

std::optional<QString> PersonalTextEditing::unindented(const QString& note)
{
    QString text = note;
    replaceAll(text, QStringLiteral("\n "), QStringLiteral("\n"));
    if (text.size() == note.size())
        return std::nullopt;
    return text.trimmed();
}

bool PersonalTextEditing::changeOne(FTPerson* person, std::optional<QString> (*change)(const QString&))
{
    if (!person) {
        DisplayMsg(L("SelectPersonTryAgain"));
        return false;
    }
    const QString note = text(person);
    if (note.isEmpty())
        return false;
    const std::optional<QString> changed = change(note);
    if (changed)
        setText(person, *changed);
    DisplayMsg(L(changed ? "NoteUpdated" : "NoNotesUpdated"));
    return changed.has_value();
}

bool PersonalTextEditing::replaceSpaceLinefeedWithSpace(FTPerson* person) { return changeOne(person, joinedLines); }

bool PersonalTextEditing::replaceLinefeedSpaceWithLinefeed(FTPerson* person) { return changeOne(person, unindented); }

int PersonalTextEditing::changeAll(const char* questionKey, const char* undoKey,
                                   std::optional<QString> (*change)(const QString&), ModelProgress* progress)
{
    if (!Utils::displayYesNoQuery(L(questionKey), L("Proceed"), L("Cancel")))
        return -1;
    int count = 0;
    {
        UndoPass pass(m_moc, L(undoKey));
        ModelProgress::begin(progress, L(undoKey));
        ModelProgress::Steps steps(progress, m_people.size(), 2);
        for (qsizetype i = 0; i < m_people.size(); ++i) {
            steps.at(i);
            FTPerson* p = m_people[i];
            const QString note = text(p);
            if (note.isEmpty())
                continue;
            if (const std::optional<QString> changed = change(note)) {
                setText(p, *changed);
                ++count;
            }
        }
        if (progress)
            progress->setPercent(0);
    }
    if (count > 0 && m_moc)
        m_moc->saveMoc();
    DisplayMsg(QStringLiteral("%1 %2").arg(count).arg(L("NotesUpdated")));
    return count;
}

int PersonalTextEditing::replaceSpaceLinefeedWithSpaceAll(ModelProgress* progress)
{
    return changeAll("ReplaceAllLineFeedToSpace", "JoinNoteLines", joinedLines, progress);
}

int PersonalTextEditing::replaceLinefeedSpaceWithLinefeedAll(ModelProgress* progress)
{
    return changeAll("ReplaceAllLineFeedJustified", "UnindentNotes", unindented, progress);
}

QString PersonalTextEditing::writeCsv(ModelProgress* progress)
{
    if (!m_moc)
        return {};
    const bool comments = m_field == Comments;
    CsvWriter csv;
    if (!csv.create(QStringLiteral("%1_%2").arg(m_moc->modelName(),
                                                 L(comments ? "PersonalCommentsFileName" : "PersonalNotesFileName"))))
        return {};
    csv.write(L(comments ? "CommentsCsvHeaderLine" : "NotesCsvHeaderLine") + QLatin1Char('\n'));
    ModelProgress::begin(progress, csv.localFilename());
    ModelProgress::Steps steps(progress, m_people.size(), 5);
    for (qsizetype i = 0; i < m_people.size(); ++i) {
        const FTPerson* p = m_people[i];
        csv.writeLine({QString::number(p->numericId()), CsvWriter::quoted(p->name()),
                       CsvWriter::number(yearOf(p->birth())), CsvWriter::number(yearOf(p->death())),
                       CsvWriter::quoted(text(p))});
        steps.at(i);
    }
    if (progress)
        progress->setPercent(100);
    if (!csv.close())
        return {};
    if (progress)
        progress->setPercent(0);
    return csv.outputPath();
}

QString PersonalTextEditing::print(ModelProgress* progress)
{
    const QString path = writeCsv(progress);
    if (path.isEmpty())
        return path;
    const QStringList applications = Utils::applicationsThatOpenFile(path);
    if (applications.isEmpty())
        DisplayMsg(QStringLiteral("%1 %2 %3").arg(L("FileNotOpened1"), path, L("FileNotOpened2")));
    else
        Utils::displayFile(path, applications.first());
    return path;
}
