#include "tools/ProjectViewsCombining.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"
#include "model/FTProjectView.h"

#include "platform/Localizer.h"

#include <algorithm>

namespace {
QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }

QSet<FTPerson*> membersOf(FTProjectView* view)
{
    QSet<FTPerson*> set;
    for (FTPerson* p : view->persons())
        if (!p->isDeleted())
            set.insert(p);
    return set;
}
}

ProjectViewsCombining::ProjectViewsCombining(FTMoc* moc)
    : m_moc(moc)
{
}

QList<FTProjectView*> ProjectViewsCombining::allViews() const
{
    if (!m_moc)
        return {};
    QList<FTProjectView*> views = m_moc->fetch<FTProjectView>();
    views.removeIf([](const FTProjectView* v) { return v->isDeleted(); });
    std::stable_sort(views.begin(), views.end(), [](const FTProjectView* a, const FTProjectView* b) {
        return a->name().compare(b->name(), Qt::CaseInsensitive) < 0;
    });
    return views;
}

void ProjectViewsCombining::setViews(FTProjectView* first, FTProjectView* second)
{
    m_view1 = first;
    m_view2 = second;
    createPeopleArray();
}

void ProjectViewsCombining::setOperator(int op)
{
    m_operator = op;
    createPeopleArray();
}

QString ProjectViewsCombining::message() const
{
    static const char* const keys[] = {"ProjectViewAND", "ProjectViewIOR", "ProjectViewXOR", "ProjectViewNOT"};
    return m_operator >= AND && m_operator <= NOT ? L(keys[m_operator]) : QString();
}

QString ProjectViewsCombining::operatorWord(int op)
{
    static const char* const keys[] = {"AND", "IOR", "XOR", "NOT"};
    return op >= AND && op <= NOT ? L(keys[op]) : QString();
}

QSet<FTPerson*> ProjectViewsCombining::combine(FTProjectView* first, FTProjectView* second, int op)
{
    if (!first || !second)
        return {};
    QSet<FTPerson*> result = membersOf(first);
    const QSet<FTPerson*> other = first == second ? result : membersOf(second);
    switch (op) {
    case AND:
        return result.intersect(other);
    case IOR:
        return result.unite(other);
    case XOR: {
        QSet<FTPerson*> both = result;
        both.intersect(other);
        return result.unite(other).subtract(both);
    }
    case NOT:
        return result.subtract(other);
    default:
        return {};
    }
}

void ProjectViewsCombining::createPeopleArray()
{
    m_people.clear();
    m_hasResult = m_view1 && m_view2 && !m_view1->isDeleted() && !m_view2->isDeleted();
    if (!m_hasResult)
        return;
    const QSet<FTPerson*> set = combine(m_view1, m_view2, m_operator);
    // In no particular order: a window that lists them sorts them once (a view of half a large database is tens
    // of thousands of people, and the result follows every change of the choices).
    m_people = QList<FTPerson*>(set.begin(), set.end());
}

FTProjectView* ProjectViewsCombining::createCombinedProjectView()
{
    if (!m_moc || !m_hasResult)
        return nullptr;
    const QString name
        = QStringLiteral("%1 %2 %3").arg(m_view1->name(), operatorWord(m_operator), m_view2->name());
    m_moc->undoManager()->setActionName(QStringLiteral("%1 %2").arg(L("AddProjectView"), name));
    FTProjectView* view = FTProjectView::initInMoc(m_moc);
    view->setName(name);
    for (FTPerson* p : std::as_const(m_people))
        view->addPersonsObject(p);
    m_newProjectView = view;
    return view;
}

void ProjectViewsCombining::deleteNewProjectView()
{
    if (!m_newProjectView || !m_moc)
        return;
    if (!m_newProjectView->isDeleted()) {
        m_moc->undoManager()->setActionName(L("DeleteView"));
        m_moc->deleteObject(m_newProjectView);
    }
    m_newProjectView = nullptr;
}

VennGeometry VennGeometry::forSize(const QSizeF& size, int op)
{
    VennGeometry g;
    const qreal w = size.width();
    const qreal h = size.height();
    // Each product rounded to single precision, as the picture has always been measured.
    g.diameter = float(float(std::min(w, h) * 0.9f) * 0.7f);
    const qreal d = g.diameter;
    const qreal top = h * 0.5 - d * 0.5;
    g.circle1 = QRectF(10, top, d, d);
    g.circle2 = QRectF(w - 10 - d, top, d, d);
    QPainterPath one;
    one.addEllipse(g.circle1);
    QPainterPath two;
    two.addEllipse(g.circle2);
    qreal x1 = 2;
    qreal x2 = w - 10 - d;
    switch (op) {
    case ProjectViewsCombining::AND:
        g.coloured = one.intersected(two);
        x2 += 8;
        break;
    case ProjectViewsCombining::IOR:
        g.coloured = one.united(two);
        x1 = 10;
        break;
    case ProjectViewsCombining::XOR:
        g.coloured = one.united(two).subtracted(one.intersected(two));
        x2 += 8;
        break;
    case ProjectViewsCombining::NOT:
        g.coloured = one.subtracted(two);
        break;
    default:
        return g;
    }
    g.hasLabels = true;
    const qreal labelTop = h * 0.5 - 8;
    g.label1 = QRectF(x1, labelTop, d, d);
    g.label2 = QRectF(x2, labelTop, d, d);
    return g;
}
