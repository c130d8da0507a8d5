#include "diagrams/HierarchyLayout.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTProjectView.h"
#include "model/Hierarchy.h"

#include "platform/Localizer.h"

#include <QRunnable>
#include <QSemaphore>
#include <QTextDocument>
#include <QThreadPool>

#include <algorithm>
#include <cmath>
#include <atomic>

HierarchyLayout::HierarchyLayout(const TextMeasurer& measurer)
    : m_measurer(measurer)
{
}

HierarchyLayout::~HierarchyLayout() = default;

void HierarchyLayout::setRootPerson(FTPerson* person)
{
    m_rootPerson = person;
    m_refreshArray = true;
}

void HierarchyLayout::setBAncestors(bool ancestors)
{
    m_bAncestors = ancestors;
    m_refreshArray = true;
}

const QString& HierarchyLayout::word(const char* key) const
{
    auto it = m_words.constFind(key);
    if (it == m_words.constEnd())
        it = m_words.insert(key, LocalizedString(QString::fromLatin1(key)));
    return *it;
}

// ---- Walks ----

QList<Hierarchy*> HierarchyLayout::shownChildren(Hierarchy* node) const
{
    // A repeated or folded node answers no next generation.
    return node->level() < m_maxLevel ? node->nextGenArray() : QList<Hierarchy*> {};
}

void HierarchyLayout::walk(Hierarchy* from, const std::function<void(Hierarchy*)>& pre,
    const std::function<void(Hierarchy*)>& post) const
{
    if (!from)
        return;
    struct Frame {
        Hierarchy* node;
        QList<Hierarchy*> children;
        qsizetype next;
    };
    std::vector<Frame> stack;
    if (pre)
        pre(from);
    stack.push_back({ from, shownChildren(from), 0 });
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next < top.children.size()) {
            Hierarchy* child = top.children[top.next++];
            if (pre)
                pre(child);
            stack.push_back({ child, shownChildren(child), 0 });
        } else {
            Hierarchy* done = top.node;
            stack.pop_back();
            if (post)
                post(done);
        }
    }
}

// ---- Building ----

void HierarchyLayout::createHierarchy(double visibleWidth, const QSizeF& paperSize)
{
    createHierarchy(HdOptions::fromUserDefaults(), visibleWidth, paperSize);
}

void HierarchyLayout::createHierarchy(const HdOptions& options, double visibleWidth, const QSizeF& paperSize)
{
    m_options = options;
    m_options.generations = std::clamp(m_options.generations, 0, HdOptions::kMaxLevels - 1);
    m_maxLevel = m_options.generations;
    m_colWidthFactor = m_options.colWidthFactor > 0 ? m_options.colWidthFactor : 1.0;
    m_bCascaded = m_options.cascaded;
    m_bScrunch = m_options.scrunched;
    m_bHorizontal = m_options.horizontal;
    m_topMargin = 60.0;
    m_tags = HdTags();
    m_words.clear();
    m_thumbnails.clear();
    m_pictures.clear();
    m_numPeopleInDiagram = 0;

    makeConsanguinitySet();
    m_rowHeights.clear();
    m_timeline.clear();
    m_personSet.clear();
    m_firstNodes.clear();
    m_pathToRoot.clear();
    m_selectedHierarchy = nullptr;
    m_xExtent = m_yExtent = 0;
    m_mag = 1.0;
    m_rootHierarchy.reset();
    if (!m_rootPerson) {
        m_refreshArray = false;
        return;
    }

    // Ancestors: natural parents only. Descendants: natural and, unless switched off, adopted children; step
    // children when asked for; foster children never.
    int mask = FTPcRel::kNatural | FTPcRel::kAdopted;
    if (!m_options.includeAdoptedChildren)
        mask = FTPcRel::kNatural;
    if (m_options.includeStepChildren)
        mask |= FTPcRel::kStep;
    if (m_bAncestors)
        mask = FTPcRel::kNatural;
    m_rootHierarchy = std::make_unique<Hierarchy>(m_rootPerson, nullptr, m_bAncestors, mask);

    m_previousInColArray.clear();
    m_maxLevelFound = 0;
    m_maxRow = 0;
    recurseCreateHierarchy(m_rootHierarchy.get());
    m_rowHeights.assign(size_t(m_maxLevelFound) + 1, QRectF());
    m_timeline.assign(size_t(m_maxLevelFound) + 1, 0);

    setColumnWidthAndPointSize(visibleWidth);
    if (m_bHorizontal) {
        recurseHierarchy_H();
        if (!m_bCascaded)
            centrePersonRect_H(m_rootHierarchy.get());
        recurseTimeline();
    } else {
        recurseHierarchy_V1();
        adjustRowHeightsForPageBreaks_V(paperSize.height());
        recurseHierarchy_V2();
        if (!m_bCascaded)
            centrePersonRect_V(m_rootHierarchy.get());
        keepRightOfMargin_V();
    }

    m_yExtent = m_maxRow = m_xExtent = 0;
    recurseSetExtents();

    m_mag = 1.0;
    if (!m_bHorizontal && m_options.sizeToWidth && m_xExtent > 0) {
        m_mag = visibleWidth / m_xExtent;
        if (m_mag > 1.0) {
            recurseReset();
            m_xExtent *= m_mag;
        } else {
            m_mag = 1.0;
        }
    }
    m_refreshArray = false;
}

void HierarchyLayout::makeConsanguinitySet()
{
    m_consanguinitySet.reset();
    m_consanguinityRoot = nullptr;
    if (!m_options.showConsanguinity || !m_rootPerson || !m_rootPerson->moc())
        return;
    FTProjectView* view = m_rootPerson->moc()->projectView();
    FTPerson* root = view ? view->rootPersonInAncestralView() : nullptr;
    if (!root)
        return;
    m_consanguinityRoot = root;
    m_consanguinitySet = std::make_unique<QSet<FTPerson*>>();
    FTPerson::recurseAncestorsSet(*m_consanguinitySet, { root });
}

QList<Hierarchy*> HierarchyLayout::visitWhileBuilding(Hierarchy* h, double row)
{
    const int level = h->level();
    if (size_t(level) < m_previousInColArray.size())
        m_previousInColArray[size_t(level)] = h;
    else
        m_previousInColArray.push_back(h);
    m_maxRow = std::max(m_maxRow, row);
    m_maxLevelFound = std::max(m_maxLevelFound, level);
    h->setRow(float(row));

    FTPerson* person = h->person();
    // The node itself knows a person repeated on its own path (a loop of links); the set knows the rest.
    h->setRepeatFlag(h->repeatFlag() || m_personSet.contains(person));
    h->setLines(linesForHierarchy(h));
    if (h->repeatFlag()) {
        // The walk is depth first, so the first node met is the one a search from the root would find.
        if (Hierarchy* first = m_firstNodes.value(person))
            first->setRepeatedElsewhere(true);
        return {};
    }
    if (m_contractedPeople.contains(person->objectURI())) {
        h->setContracted(true);
        return {};
    }
    h->setContracted(false);
    m_personSet.insert(person);
    m_firstNodes.insert(person, h);
    if (level >= m_maxLevel)
        return {};
    return h->nextGenArray();
}

void HierarchyLayout::recurseCreateHierarchy(Hierarchy* root)
{
    // Each node takes the row it is reached with: a node's row is its first child's, and every further child
    // starts a new row. The same-level links chain each generation in depth-first order, across owners.
    double row = 0.0;
    struct Frame {
        QList<Hierarchy*> children;
        qsizetype next;
    };
    std::vector<Frame> stack;
    stack.push_back({ visitWhileBuilding(root, row), 0 });
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next >= top.children.size()) {
            stack.pop_back();
            continue;
        }
        const qsizetype i = top.next++;
        Hierarchy* child = top.children[i];
        const size_t level = size_t(child->level());
        if (level < m_previousInColArray.size()) {
            Hierarchy* before = m_previousInColArray[level];
            child->setPreviousAtLevel(before);
            before->setNextAtLevel(child);
        }
        if (i > 0)
            row += 1.0;
        QList<Hierarchy*> below = visitWhileBuilding(child, row);
        stack.push_back({ std::move(below), 0 });
    }
}

void HierarchyLayout::setColumnWidthAndPointSize(double visibleWidth)
{
    m_pointSize = m_options.pointSize > 0 ? m_options.pointSize : 11.0;
    if (m_options.sizeToWidth && !m_showPageBreaks) {
        const double w = std::max(0.0, visibleWidth);
        if (m_bHorizontal) {
            const int columns = m_maxLevel >= m_maxLevelFound ? m_maxLevelFound + 1 : m_maxLevelFound;
            m_columnWidth = w / std::max(1, columns);
            m_pointSize = std::max(m_columnWidth / (m_colWidthFactor * 20.0), 1.0);
        } else {
            m_columnWidth = w / ((m_maxRow + 2.0) * 1.1);
        }
    } else {
        m_columnWidth = m_pointSize * m_colWidthFactor * 20.0;
    }
    if (m_bHorizontal) {
        m_horizontalSpacing = m_verticalSpacing = 0;
    } else {
        m_horizontalSpacing = m_columnWidth * 0.1;
        m_verticalSpacing = m_pointSize * 2;
    }
}

void HierarchyLayout::setBoxHeights(const std::vector<Hierarchy*>& nodes)
{
    const double width = m_bHorizontal ? m_columnWidth - m_pointSize : m_columnWidth - 1.0;
    const double extra = m_pointSize * 0.5 + (m_bHorizontal && !m_bScrunch ? m_pointSize : 0.0);
    std::vector<BoxText> texts;
    texts.reserve(nodes.size());
    for (Hierarchy* h : nodes)
        texts.push_back(boxTextFor(h, true));
    std::vector<double> heights(nodes.size(), 0.0);

    // Laying out text is most of a build's time, and each box is measured on its own: the documents are made
    // and measured on the shared pool's threads as well as this one, each taking the next box until none is
    // left. A helper the pool has not started by then is taken back.
    std::atomic<size_t> next { 0 };
    auto measure = [&] {
        for (size_t i = next++; i < texts.size(); i = next++) {
            QTextDocument document;
            fillDocument(document, texts[i]);
            heights[i] = m_measurer.heightOfDocumentAtWidth(document, width) + extra;
        }
    };
    class Helper : public QRunnable {
    public:
        Helper(const std::function<void()>& work, QSemaphore& done)
            : m_work(work)
            , m_done(done)
        {
            setAutoDelete(false);
        }
        void run() override
        {
            m_work();
            m_done.release();
        }

    private:
        const std::function<void()>& m_work;
        QSemaphore& m_done;
    };
    constexpr size_t kBoxesPerThread = 64;
    QThreadPool* pool = QThreadPool::globalInstance();
    const size_t wanted = std::min<size_t>(size_t(std::max(1, pool->maxThreadCount())), texts.size() / kBoxesPerThread);
    const std::function<void()> work = measure;
    QSemaphore done;
    std::vector<std::unique_ptr<Helper>> helpers;
    for (size_t t = 0; t < wanted; ++t) {
        helpers.push_back(std::make_unique<Helper>(work, done));
        pool->start(helpers.back().get());
    }
    measure();
    int started = 0;
    for (const auto& helper : helpers)
        if (!pool->tryTake(helper.get()))
            ++started;
    done.acquire(started);

    for (size_t i = 0; i < nodes.size(); ++i)
        nodes[i]->setRclBox(QRectF(0, 0, width, heights[i]));
}

// ---- Timeline, extents, size to width ----

void HierarchyLayout::recurseTimeline()
{
    // The average birth year of each generation, over the years known. One pass over the tree: a generation
    // without any year is not walked again for each of its nodes.
    std::vector<qint64> sums(m_timeline.size(), 0);
    std::vector<qint64> counts(m_timeline.size(), 0);
    walk(m_rootHierarchy.get(), [&](Hierarchy* h) {
        const size_t level = size_t(h->level());
        if (level >= sums.size())
            return;
        const FTEvent* birth = h->person()->birth();
        const int year = birth ? birth->year() : 0;
        if (year != 0) {
            sums[level] += year;
            ++counts[level];
        }
    });
    for (size_t level = 0; level < m_timeline.size(); ++level)
        m_timeline[level] = counts[level] > 0 ? int(sums[level] / counts[level]) : 0;
}

void HierarchyLayout::recurseSetExtents()
{
    walk(m_rootHierarchy.get(), [this](Hierarchy* h) {
        const QRectF box = h->rclBox();
        m_xExtent = std::max(m_xExtent, m_bHorizontal ? box.right() : box.right() + m_horizontalSpacing);
        m_yExtent = std::max(m_yExtent, box.bottom() + 30.0);
        m_maxRow = std::max(m_maxRow, double(h->row()));
    });
}

void HierarchyLayout::keepWidthAtLeast(double width)
{
    if (width <= m_xExtent)
        return;
    if (!m_bHorizontal && m_rootHierarchy) {
        const double shift = std::trunc((width - m_xExtent) / 2);
        walk(m_rootHierarchy.get(), [shift](Hierarchy* h) { h->setRclBox(h->rclBox().translated(shift, 0)); });
    }
    m_xExtent = width;
}

void HierarchyLayout::recurseReset()
{
    walk(m_rootHierarchy.get(), [this](Hierarchy* h) {
        const QRectF box = h->rclBox();
        h->setRclBox(QRectF(box.x() * m_mag, box.y(), box.width() * m_mag, box.height()));
    });
}

// ---- After a build ----

QSizeF HierarchyLayout::resetFrameSize(FTPerson* person, const QSizeF& visibleSize)
{
    Hierarchy* select = person ? findFirstPerson(person, m_rootHierarchy.get()) : nullptr;
    m_selectedHierarchy = select ? select : m_rootHierarchy.get();
    return QSizeF(std::max(visibleSize.width(), m_xExtent), std::max(visibleSize.height(), m_yExtent));
}

QList<Hierarchy*> HierarchyLayout::pathFromNodeToRoot(Hierarchy* node)
{
    QList<Hierarchy*> path;
    for (Hierarchy* h = node; h; h = h->owner())
        path << h;
    return path;
}

void HierarchyLayout::createRootPath()
{
    m_pathToRoot.clear();
    if (!m_options.showRootPath || !m_selectedHierarchy)
        return;
    QSet<Hierarchy*> seen;
    auto addWithOwners = [&](Hierarchy* node) {
        for (Hierarchy* h = node; h && !seen.contains(h); h = h->owner()) {
            seen.insert(h);
            m_pathToRoot << h;
        }
    };
    addWithOwners(m_selectedHierarchy);
    if (m_selectedHierarchy->repeatFlag() || m_selectedHierarchy->repeatedElsewhere()) {
        QList<Hierarchy*> others;
        recurseFindPerson(m_selectedHierarchy->person(), m_rootHierarchy.get(), others);
        for (Hierarchy* other : others)
            if (other != m_selectedHierarchy)
                addWithOwners(other);
    }
}

// ---- Finds ----

Hierarchy* HierarchyLayout::findFirstPerson(const FTPerson* person, Hierarchy* from) const
{
    if (!from)
        return nullptr;
    std::vector<Hierarchy*> pending { from };
    while (!pending.empty()) {
        Hierarchy* h = pending.back();
        pending.pop_back();
        if (h->person() == person)
            return h;
        const QList<Hierarchy*> children = shownChildren(h);
        for (qsizetype i = children.size(); i-- > 0;)
            pending.push_back(children[i]);
    }
    return nullptr;
}

QList<FTPerson*> HierarchyLayout::loadPeopleArray() const
{
    // A person met again ends that branch: below a repeated person stand people already listed.
    QSet<FTPerson*> seen;
    QList<FTPerson*> people;
    std::vector<Hierarchy*> pending;
    if (m_rootHierarchy)
        pending.push_back(m_rootHierarchy.get());
    while (!pending.empty()) {
        Hierarchy* h = pending.back();
        pending.pop_back();
        FTPerson* person = h->person();
        if (!person || seen.contains(person))
            continue;
        seen.insert(person);
        people << person;
        const QList<Hierarchy*> children = shownChildren(h);
        for (qsizetype i = children.size(); i-- > 0;)
            pending.push_back(children[i]);
    }
    const auto birthYear = [](const FTPerson* p) { return p->birth() ? p->birth()->year() : 0; };
    std::stable_sort(people.begin(), people.end(), [&](const FTPerson* a, const FTPerson* b) {
        if (a->numericId() != b->numericId())
            return a->numericId() < b->numericId();
        if (const int c = a->familyName().compare(b->familyName(), Qt::CaseInsensitive))
            return c < 0;
        if (const int c = a->givenNames().compare(b->givenNames(), Qt::CaseInsensitive))
            return c < 0;
        return birthYear(a) < birthYear(b);
    });
    return people;
}

void HierarchyLayout::recurseFindPerson(const FTPerson* person, Hierarchy* from, QList<Hierarchy*>& found) const
{
    if (!from)
        return;
    std::vector<Hierarchy*> pending { from };
    while (!pending.empty()) {
        Hierarchy* h = pending.back();
        pending.pop_back();
        if (h->person() == person) {
            found << h;
            continue;
        }
        const QList<Hierarchy*> children = shownChildren(h);
        for (qsizetype i = children.size(); i-- > 0;)
            pending.push_back(children[i]);
    }
}

Hierarchy* HierarchyLayout::nextInSameColumn(const Hierarchy* a, Hierarchy* h) const
{
    if (!a || !h)
        return nullptr;
    std::vector<Hierarchy*> pending { h };
    while (!pending.empty()) {
        Hierarchy* n = pending.back();
        pending.pop_back();
        if (n->level() == a->level() && n->row() > a->row())
            return n;
        if (n->level() >= a->level())
            continue; // nothing below holds a's level
        const QList<Hierarchy*> children = shownChildren(n);
        for (qsizetype i = children.size(); i-- > 0;)
            pending.push_back(children[i]);
    }
    return nullptr;
}
