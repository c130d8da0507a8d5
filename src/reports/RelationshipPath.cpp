#include "reports/RelationshipPath.h"

#include "model/FTPerson.h"
#include "model/RelativesHierarchy.h"

#include "shell/NewReportFile.h"
#include "shell/Utils.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

#include <QFont>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

const QChar kPartnerMark(0x2192);

bool isPartnerLink(const RelativesHierarchy* node)
{
    return node->relationship().startsWith(kPartnerMark);
}

// The blood relationship of `other` to `person` without its " of <person>" tail: "Brother", "1st cousin".
QString bloodRelationship(FTPerson* person, FTPerson* other)
{
    const QString full = person->consanguinityWithPerson(other);
    const qsizetype cut = full.indexOf(QStringLiteral(" %1 ").arg(L("ConjunctiveOf")));
    return cut < 0 ? full : full.left(cut);
}

QTextCharFormat headingFormat()
{
    QTextCharFormat format;
    format.setFontFamilies({QStringLiteral("Arial")});
    format.setFontWeight(QFont::Bold);
    format.setFontPointSize(14);
    format.setForeground(QColor(255, 0, 0));
    return format;
}

QTextCharFormat plainFormat()
{
    QTextCharFormat format;
    format.setFontFamilies({QStringLiteral("Arial")});
    format.setFontPointSize(12);
    format.setForeground(QColor(0, 0, 0));
    return format;
}
}

RelationshipPath::RelationshipPath(FTPerson* source, FTPerson* target)
    : m_source(source)
    , m_target(target)
{
}

RelationshipPath::~RelationshipPath() = default;

RelativesHierarchy* RelationshipPath::addLevelToHierarchy(
    RelativesHierarchy* node, int level, QSet<FTPerson*>& peopleSet, const FTPerson* target)
{
    if (node->person() == target)
        return node;
    for (RelativesHierarchy* next : node->nextGenArray(peopleSet)) {
        if (next->person() == target)
            return next;
        if (next->level() < level)
            if (RelativesHierarchy* found = addLevelToHierarchy(next, level, peopleSet, target))
                return found;
    }
    return nullptr;
}

bool RelationshipPath::createPath(const std::function<void(int)>& progress)
{
    m_message.clear();
    m_path.clear();
    m_root.reset();
    if (!m_source || !m_target)
        return false;
    QSet<FTPerson*> visited{m_source};
    m_root = std::make_unique<RelativesHierarchy>(m_source, nullptr, L("Self"));
    if (progress)
        progress(0);
    RelativesHierarchy* found = nullptr;
    for (int level = 1; level <= kMaxLevel && !found; ++level) {
        if (progress)
            progress(int(std::sqrt(double(level)) * 10));
        const qsizetype before = visited.size();
        found = addLevelToHierarchy(m_root.get(), level, visited, m_target);
        if (!found && visited.size() == before)
            break;
    }
    if (progress) {
        progress(100);
        progress(0);
    }
    if (!found) {
        m_message = QStringLiteral("%1 %2 %3 %4")
                        .arg(L("NoRelnBtwn"), m_source->nameWithBirthAndDeathYears(), L("ConjunctiveAnd"),
                            m_target->nameWithBirthAndDeathYears());
        return false;
    }
    for (RelativesHierarchy* node = found; node; node = node->owner())
        m_path.prepend(node);

    FTPerson* ancestor = nullptr;
    const QString blood = m_source->consanguinityWithPerson(m_target, &ancestor);
    if (blood.isEmpty())
        m_message.clear();
    else if (blood == L("None"))
        m_message = complexPathTo();
    else
        m_message = QStringLiteral("%1 %2 %3 %4 %5")
                        .arg(m_target->nameWithBirthAndDeathYears(), L("isThe"), blood, L("andTheNearestCommon"),
                            ancestor ? ancestor->nameWithBirthAndDeathYears() : QString());
    return true;
}

QString RelationshipPath::complexPathTo() const
{
    if (m_path.isEmpty())
        return {};
    QStringList parts;
    const RelativesHierarchy* start = m_path.first();
    const RelativesHierarchy* end = nullptr;
    const RelativesHierarchy* last = m_path.last();
    for (const RelativesHierarchy* node : m_path) {
        if (!isPartnerLink(node)) {
            if (node == last) {
                parts << bloodRelationship(start->person(), node->person());
                break;
            }
            end = node;
            continue;
        }
        const QString link = node == last ? node->relationship()
                                          : QStringLiteral("%1'%2").arg(node->relationship(), L("possessiveSuffix"));
        if (end) {
            parts << (end->person() == start->person() ? QStringLiteral(" ")
                                                        : bloodRelationship(start->person(), end->person()));
            parts << link;
        } else if (node == last) {
            // Partner of a partner at the end of the chain: the link still names who the target is.
            parts << link;
        }
        start = node;
        end = nullptr;
    }
    return QStringLiteral("%1 %2 %3'%4 ")
               .arg(m_target->nameWithBirthAndDeathYears(), L("ConjunctiveIs"), m_source->nameWithBirthAndDeathYears(),
                   L("possessiveSuffix"))
        + parts.join(QStringLiteral("  "));
}

QString RelationshipPath::reportBaseName() const
{
    return Utils::safeFileName(QStringLiteral("%1 %2 %3 %4")
                                   .arg(L("relnBtwn"), m_source->nameWithBirthAndDeathYears(), L("ConjunctiveAnd"),
                                       m_target->nameWithBirthAndDeathYears()),
        QStringLiteral("Relationship"));
}

std::unique_ptr<QTextDocument> RelationshipPath::document() const
{
    auto doc = std::make_unique<QTextDocument>();
    QTextCursor cursor(doc.get());
    const QTextCharFormat heading = headingFormat();
    const QTextCharFormat plain = plainFormat();
    cursor.insertText(QStringLiteral("\n%1\n\n%2 %3 %4\n")
                          .arg(L("relnBtwn"), m_source->nameWithBirthAndDeathYears(), L("ConjunctiveAnd"),
                              m_target->nameWithBirthAndDeathYears()),
        heading);
    cursor.insertText(QStringLiteral("\n%1\n").arg(m_message), plain);
    if (!m_path.isEmpty()) {
        QString chain = QStringLiteral("\n%1 %2 %3'%4 ")
                            .arg(m_target->name(), L("ConjunctiveIs"), m_source->name(), L("possessiveSuffix"));
        for (qsizetype i = 1; i < m_path.size(); ++i)
            chain += i + 1 < m_path.size()
                ? QStringLiteral("%1'%2 ").arg(m_path[i]->relationship(), L("possessiveSuffix"))
                : m_path[i]->relationship() + QLatin1Char('\n');
        cursor.insertText(chain, plain);
    }
    for (const RelativesHierarchy* node : m_path) {
        cursor.insertText(QStringLiteral("\n\n%1\n").arg(node->relationship()), heading);
        cursor.insertHtml(node->person()->extendedAttributedDescription(
            FTPerson::SummaryTitle | FTPerson::SummaryBirth | FTPerson::SummaryDeath | FTPerson::SummaryMarriages));
    }
    cursor.insertText(QStringLiteral("\n\n\n"), plain);
    return doc;
}

QString RelationshipPath::writeReport() const
{
    QString error;
    const QString path = writeNewReportFile(
        reportBaseName(), QStringLiteral("rtf"), Utils::encodeRTFwithPictures(*document()).toLatin1(), &error);
    if (path.isEmpty())
        Prompts::current().message(error);
    return path;
}
