#include "model/RelativesHierarchy.h"

#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"
#include "model/RelationshipWords.h"

#include "platform/Localizer.h"

RelativesHierarchy::RelativesHierarchy(FTPerson* person, RelativesHierarchy* owner, const QString& relToOwner)
    : m_person(person)
    , m_owner(owner)
    , m_relToOwner(relToOwner)
    , m_level(owner ? owner->level() + 1 : 0)
{
}

// Frees the tree below without recursion: a kinship tree can be as deep as the database is large.
RelativesHierarchy::~RelativesHierarchy()
{
    std::vector<std::unique_ptr<RelativesHierarchy>> pending = std::move(m_nextGen);
    while (!pending.empty()) {
        std::unique_ptr<RelativesHierarchy> node = std::move(pending.back());
        pending.pop_back();
        for (auto& below : node->m_nextGen)
            pending.push_back(std::move(below));
        node->m_nextGen.clear();
    }
}

QList<RelativesHierarchy*> RelativesHierarchy::nextGenArray(QSet<FTPerson*>& peopleSet)
{
    if (!m_built && m_person) {
        m_built = true;
        auto take = [&](FTPerson* p, const QString& label) {
            if (!p || peopleSet.contains(p))
                return;
            peopleSet.insert(p);
            auto node = std::make_unique<RelativesHierarchy>(p, this, label);
            m_nextGen.push_back(std::move(node));
        };
        for (const FTPcRel* link : m_person->parentRels()) {
            const int type = link->intPcRelType();
            if (type == FTPcRel::kStep)
                continue;
            FTPerson* parent = link->parent();
            const QString word = parent && parent->isMale() ? LocalizedString("Father") : LocalizedString("Mother");
            take(parent,
                RelationshipWords::withTypeWord(
                    type == FTPcRel::kFoster || type == FTPcRel::kAdopted ? type : 0, word));
        }
        for (const FTSpouseRel* couple : m_person->spouseRelsArray()) {
            FTPerson* partner = couple->partnerOf(m_person);
            if (!partner)
                continue;
            // A married partner of unknown gender is neither husband nor wife.
            const QString label = m_person->isMarriedTo(partner)
                ? RelationshipWords::byGender(
                    partner, LocalizedString("Husband"), LocalizedString("Wife"), LocalizedString("Spouse/Partner"))
                : LocalizedString("Spouse/Partner");
            take(partner, label);
        }
        for (const FTPcRel* link : m_person->childRels()) {
            const int type = link->intPcRelType();
            if (type == FTPcRel::kStep)
                continue;
            FTPerson* child = link->child();
            const QString word = child && child->isMale() ? LocalizedString("Son") : LocalizedString("Daughter");
            take(child,
                RelationshipWords::withTypeWord(
                    type == FTPcRel::kFoster || type == FTPcRel::kAdopted ? type : 0, word));
        }
    }
    return builtNextGen();
}

QList<RelativesHierarchy*> RelativesHierarchy::builtNextGen() const
{
    QList<RelativesHierarchy*> out;
    out.reserve(qsizetype(m_nextGen.size()));
    for (const auto& node : m_nextGen)
        out << node.get();
    return out;
}

bool RelativesHierarchy::isPartnerLink() const
{
    return m_relToOwner.contains(LocalizedString("Husband")) || m_relToOwner.contains(LocalizedString("Wife"))
        || m_relToOwner.contains(LocalizedString("Spouse/Partner"));
}

QString RelativesHierarchy::relationship() const
{
    if (!m_owner)
        return LocalizedString("FocalPerson");
    QChar arrow;
    if (isPartnerLink())
        arrow = QChar(0x2192);
    else if (m_relToOwner.contains(LocalizedString("Father")) || m_relToOwner.contains(LocalizedString("Mother")))
        arrow = QChar(0x2191);
    else if (m_relToOwner.contains(LocalizedString("Son")) || m_relToOwner.contains(LocalizedString("Daughter")))
        arrow = QChar(0x2193);
    else
        return QString(QLatin1String(""));
    return QStringLiteral("%1 %2").arg(arrow, m_relToOwner);
}

QColor RelativesHierarchy::displayColour() const
{
    return isPartnerLink() ? QColor(255, 0, 0) : QColor(0, 0, 0);
}
