#include "sources/SourceMenuModel.h"

#include "sources/SelectASourceDelegate.h"

#include "model/FTMoc.h"
#include "model/FTSource.h"
#include "model/ModelHooks.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"
#include "platform/store/TextMatch.h"

#include <algorithm>
#include <array>

const QString SourceMenuModel::kMenuTitle = QStringLiteral("Sources");
const QString SourceMenuModel::kRecentSourcesTitle = QStringLiteral("A/S and Recent Sources Used");
const QString SourceMenuModel::kSearchEntryTitle = QStringLiteral("Use the Source Search dialog");
const QString SourceMenuModel::kNoSourceType = QStringLiteral("No Source Type");
const QString SourceMenuModel::kAllSourcesIncluded = QStringLiteral("All Sources are included");
const QString SourceMenuModel::kRenameMessage = QStringLiteral(
    "Please rename the Source Titles so that they are unique and try again.\n\nAlternatively you may need to "
    "combine some sources.");

namespace {
const QString kSourcesSubMenu = QStringLiteral("sourcesSubMenu");

bool g_warningArmed = true;

// The name of the group of sources without the option's value.
const std::array<const char*, SourceMenuModel::OptionCount> kNoValueNames { "No NumericId", "No Short Title",
    "No Title", "No Author", "No Publishers", "No Dates", "No Locations", "No Notes", "No Description" };

QString valueOf(const FTSource* source, SourceMenuModel::Option option)
{
    switch (option) {
    case SourceMenuModel::NumericIdTitle:
        return QString::number(source->numericId());
    case SourceMenuModel::ShortTitle:
        return source->abbreviatedTitle();
    case SourceMenuModel::Title:
        return source->title();
    case SourceMenuModel::Author:
        return source->author();
    case SourceMenuModel::Publisher:
        return source->publisher();
    case SourceMenuModel::Date:
        return source->date();
    case SourceMenuModel::Location:
        return source->location();
    case SourceMenuModel::Notes:
        return source->notes();
    case SourceMenuModel::LongDescription:
        return source->shortDescriptionWithNumericIdNoLinefeed();
    case SourceMenuModel::OptionCount:
        break;
    }
    return QString();
}

QString countedTitle(const QString& title, qsizetype count)
{
    return count == 1 ? title : QStringLiteral("%1 (%2)").arg(title).arg(count);
}

void report(int line, const char* method)
{
    ModelHooks::reportException("SelectASourceButton", line, QString::fromLatin1(method));
}
}

// ---- Options ---------------------------------------------------------------------------------------------------

QString SourceMenuModel::optionItemTitle(const QString& optionName)
{
    return QStringLiteral("Set 2nd Menu Option (%1)").arg(optionName);
}

QString SourceMenuModel::activeSourceItemTitle(const QString& sourceTitle)
{
    return QStringLiteral("A/S - %1").arg(sourceTitle);
}

const QStringList& SourceMenuModel::optionKeys()
{
    static const QStringList keys { QStringLiteral("SourceSearchNumAndTitle"), QStringLiteral("SourceSearchShTit"),
        QStringLiteral("SourceSearchTitle"), QStringLiteral("SourceSearchAuth"), QStringLiteral("SourceSearchPubl"),
        QStringLiteral("SourceSearchDate"), QStringLiteral("SourceSearchLocn"), QStringLiteral("SourceSearchNotes"),
        QStringLiteral("SourceSearchLongDesc") };
    return keys;
}

QStringList SourceMenuModel::optionNames()
{
    QStringList names;
    for (const QString& key : optionKeys())
        names << LocalizedString(key);
    return names;
}

SourceMenuModel::Option SourceMenuModel::optionForName(const QString& name)
{
    if (name.isEmpty())
        return OptionCount;
    const qsizetype at = optionNames().indexOf(name);
    return at < 0 ? OptionCount : Option(at);
}

QString SourceMenuModel::defaultOptionName()
{
    return LocalizedString(QStringLiteral("SourceSearchTitle"));
}

QString SourceMenuModel::storedOptionName()
{
    UserDefaults& defaults = UserDefaults::standard();
    QString name = defaults.stringForKey(kSourcesSubMenu);
    if (name.isEmpty()) {
        name = defaultOptionName();
        defaults.setString(kSourcesSubMenu, name);
    }
    return name;
}

void SourceMenuModel::storeOptionName(const QString& name)
{
    UserDefaults::standard().setString(kSourcesSubMenu, name);
}

bool SourceMenuModel::groupingWarningArmed()
{
    return g_warningArmed;
}

void SourceMenuModel::setGroupingWarningArmed(bool armed)
{
    g_warningArmed = armed;
}

QString SourceMenuModel::groupingWarning(int untyped, int untitled, int nonUnique, int total)
{
    auto percent = [total](int count) { return total > 0 ? 100.0 * count / total : 0.0; };
    return QString::asprintf("The Sources menu works best when all Sources have been assigned a Type and a Unique "
                             "Title.\n\n%d of %d (or %2.1f%%) of your Sources do not currently have a Source "
                             "Type.\n\n%d of %d (or %2.1f%%) of your Sources do not currently have a Title.\n\n%d of "
                             "%d (or %2.1f%%) of your Sources do not currently have a Unique Title.\n\nIn the Sources "
                             "Add/Edit dialog there is a button called ",
               untyped, total, percent(untyped), untitled, total, percent(untitled), nonUnique, total,
               percent(nonUnique))
        + QStringLiteral("\"Assign Types...\"") + QStringLiteral(" that may be of assistance to auto assign Source Types.");
}

// ---- The menu ----------------------------------------------------------------------------------------------------

SourceMenuModel::SourceMenuModel(FTMoc* moc)
    : m_moc(moc)
{
}

QString SourceMenuModel::titleForSource(const FTSource* source) const
{
    if (!source)
        return QString();
    // One pass over the titles instead of a search of every source for each title asked for.
    if (!m_titlesCounted) {
        m_titlesCounted = true;
        for (const FTSource* s : m_moc->fetch<FTSource>())
            if (const QString title = s->title(); !title.isEmpty())
                ++m_titleCounts[TextMatch::fold(title)];
    }
    const QString title = source->title();
    if (!title.isEmpty() && m_titleCounts.value(TextMatch::fold(title)) <= 1)
        return title;
    return source->shortDescriptionWithNumericIdNoLinefeed();
}

bool SourceMenuModel::loadSourcesArray(const QString& optionName)
{
    m_types.clear();
    m_option = optionForName(optionName);
    if (m_option == OptionCount) {
        Prompts::current().message(QStringLiteral("gSubMenuOption = %1").arg(optionName));
        return false;
    }
    try {
        struct Row {
            FTSource* source;
            QString type;
            QString value;
            int number;
        };
        const QList<FTSource*> sources = m_moc->fetch<FTSource>();
        std::vector<Row> rows;
        rows.reserve(size_t(sources.size()));
        for (FTSource* s : sources) {
            rows.push_back(Row { s, s->type(), valueOf(s, m_option), s->numericId() });
        }
        // Values are compared without regard to case as they are met: folding every value first costs more than
        // comparisons that mostly stop at the first characters.
        const bool byValue = m_option != NumericIdTitle;
        std::sort(rows.begin(), rows.end(), [byValue](const Row& a, const Row& b) {
            if (const int c = a.type.compare(b.type); c != 0)
                return c < 0;
            if (byValue)
                if (const int c = a.value.compare(b.value, Qt::CaseInsensitive); c != 0)
                    return c < 0;
            return a.number < b.number;
        });

        const QString noValue = QString::fromLatin1(kNoValueNames[m_option]);
        int untyped = 0;
        int untitled = 0;
        QString groupName;
        for (const Row& row : rows) {
            if (row.type.isEmpty())
                ++untyped;
            if (row.source->title().isEmpty())
                ++untitled;
            const QString name = row.value.isEmpty() ? noValue : row.value;
            if (m_types.isEmpty() || m_types.last().type != row.type) {
                m_types.append(TypeGroup { row.type, {}, 0 });
                m_types.last().groups.append(Group { row.value, {} });
            } else if (name != groupName) {
                m_types.last().groups.append(Group { row.value, {} });
            }
            groupName = name;
            m_types.last().groups.last().sources << row.source;
            ++m_types.last().size;
        }
        const int total = int(rows.size());
        if (g_warningArmed && total > 0 && (100.0 * untyped / total > 5.0 || 100.0 * untitled / total > 5.0))
            warnAboutGrouping(sources, untyped, untitled);
    } catch (...) {
        report(__LINE__, "loadSourcesArray");
    }
    return true;
}

void SourceMenuModel::warnAboutGrouping(const QList<FTSource*>& sources, int untyped, int untitled)
{
    g_warningArmed = false;
    QStringList titles;
    titles.reserve(sources.size());
    for (const FTSource* s : sources)
        titles << s->title();
    std::sort(titles.begin(), titles.end());
    int nonUnique = 0;
    for (qsizetype i = 1; i < titles.size(); ++i)
        if (titles[i - 1].isEmpty() || titles[i - 1].compare(titles[i], Qt::CaseInsensitive) == 0)
            ++nonUnique;
    Prompts::current().message(groupingWarning(untyped, untitled, nonUnique, int(sources.size())));
}

QString SourceMenuModel::typeTitle(int type) const
{
    if (type < 0 || type >= m_types.size())
        return QString();
    const TypeGroup& group = m_types[type];
    return countedTitle(group.type.isEmpty() ? kNoSourceType : group.type, group.size);
}

int SourceMenuModel::typeSize(int type) const
{
    return type >= 0 && type < m_types.size() ? m_types[type].size : 0;
}

QList<SourceMenuModel::Item> SourceMenuModel::itemsOfType(int type) const
{
    QList<Item> items;
    if (type < 0 || type >= m_types.size())
        return items;
    const QList<Group>& groups = m_types[type].groups;
    items.reserve(groups.size());
    const QString noValue = QString::fromLatin1(kNoValueNames[m_option]);
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const Group& group = groups[i];
        Item item;
        item.sources = group.sources;
        if (m_option == NumericIdTitle) {
            const FTSource* first = group.sources.first();
            item.title = QStringLiteral("%1,  %2").arg(first->numericId(), 4, 10, QLatin1Char('0')).arg(first->title());
        } else if (group.value.isEmpty()) {
            item.title = QStringLiteral("Others - %1 (%2)").arg(noValue).arg(group.sources.size());
            item.separatorAfter = i + 1 < groups.size();
        } else {
            item.title = countedTitle(group.value, group.sources.size());
        }
        items << item;
    }
    return items;
}

bool SourceMenuModel::selectSource(const Choice& choice, FTMoc* moc, SelectASourceDelegate* delegate, QString* option)
{
    switch (choice.kind) {
    case Choice::SearchEntry:
        if (delegate && moc && delegate->respondsToSourceSearch())
            delegate->selectASourceFromArray(
                moc->fetch<FTSource>({}, [](const FTSource* a, const FTSource* b) { return a->numericId() < b->numericId(); }),
                kAllSourcesIncluded);
        return false;
    case Choice::Sources:
        if (!delegate || choice.sources.isEmpty())
            return false;
        if (choice.sources.size() == 1) {
            if (delegate->isToolbar())
                delegate->setActiveSource(choice.sources.first());
            else
                delegate->addReference(choice.sources.first());
        } else if (delegate->isToolbar()) {
            Prompts::current().message(kRenameMessage);
        } else if (delegate->respondsToSourceSearch()) {
            delegate->selectASourceFromArray(choice.sources,
                QStringLiteral("Sources have been prefiltered to include only:\nType = %1, %2")
                    .arg(choice.typeTitle, choice.itemTitle));
        }
        return false;
    case Choice::OptionName:
        if (optionForName(choice.optionName) == OptionCount)
            return false;
        if (option)
            *option = choice.optionName;
        storeOptionName(choice.optionName);
        return true;
    case Choice::None:
        break;
    }
    return false;
}
