#include "sources/SourceReferencesReview.h"

#include "model/FTMoc.h"
#include "model/FTSource.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/store/ReleasingWalk.h"

#include <algorithm>
#include <vector>

SourceReferencesReview::SourceReferencesReview(FTMoc* moc, FTSource* source)
    : m_moc(moc)
    , m_source(source)
{
    if (!m_source && m_moc) {
        m_source = m_moc->activeSource();
        if (!m_source) {
            const QList<FTSource*> sources = sourcesByNumber(m_moc);
            m_source = sources.isEmpty() ? nullptr : sources.first();
        }
    }
    NotificationCenter::defaultCenter().addObserver(
        QStringLiteral("SourceToBeDeleted"), nullptr, [this](const Notification& n) { sourceToBeDeleted(n); }, this);
}

SourceReferencesReview::~SourceReferencesReview()
{
    NotificationCenter::defaultCenter().removeObserversOf(this);
}

QList<FTSource*> SourceReferencesReview::sourcesByNumber(const FTMoc* moc)
{
    if (!moc)
        return {};
    // The numbers are read once, not at every comparison.
    std::vector<std::pair<int, FTSource*>> keyed;
    ReleasingWalk walk(*moc);
    moc->forEachObject(QString::fromLatin1(FTSource::kEntityName), [&keyed, &walk](ManagedObject* o) {
        walk.releasePoint();
        auto* s = static_cast<FTSource*>(o);
        keyed.emplace_back(s->numericId(), s);
        return true;
    });
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<FTSource*> out;
    out.reserve(qsizetype(keyed.size()));
    for (const auto& entry : keyed)
        out << entry.second;
    return out;
}

void SourceReferencesReview::showSource(FTSource* source)
{
    m_source = source;
    m_sourceCount.clear();
}

bool SourceReferencesReview::nextSource()
{
    return step(true);
}

bool SourceReferencesReview::previousSource()
{
    return step(false);
}

bool SourceReferencesReview::step(bool forward)
{
    const int current = m_source && !m_source->isDeleted() ? m_source->numericId() : 0;
    const QList<FTSource*> sources = sourcesByNumber(m_moc);
    qsizetype found = -1;
    if (forward) {
        for (qsizetype i = 0; i < sources.size() && found < 0; ++i)
            if (sources[i]->numericId() > current)
                found = i;
    } else {
        for (qsizetype i = sources.size() - 1; i >= 0 && found < 0; --i)
            if (sources[i]->numericId() < current)
                found = i;
    }
    if (found < 0)
        return false;
    m_source = sources[found];
    m_sourceCount = QStringLiteral("%1 %2 %3")
                        .arg(QString::number(found + 1), LocalizedString(QStringLiteral("ConjunctiveOf")),
                            QString::number(sources.size()));
    return true;
}

void SourceReferencesReview::sourceToBeDeleted(const Notification& notification)
{
    if (!m_moc || notification.context != m_moc)
        return;
    // Only a source of this database: the object is compared, never read, before that is known.
    if (notification.object && notification.object == m_source) {
        if (!previousSource() && !nextSource())
            m_source = nullptr;
    }
    m_sourceCount.clear();
    if (sourceChanged)
        sourceChanged();
}
