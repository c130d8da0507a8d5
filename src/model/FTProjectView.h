#pragma once

#include "model/FTManagedObject.h"

#include <QColor>
#include <QSet>

#include <memory>

class FTModelDefaults;
class FTPerson;

// A named set of people that diagrams, tools and reports can be limited to: either the people chosen by the user
// (a plain view) or the ancestral view of one root person, whose members are the root and all natural ancestors,
// computed on demand and kept until a parent-child link changes. An ancestral view also answers each member's
// ahnentafel numbers (root 1, a person's father 2n and mother 2n + 1; a person reached along several lines has
// several).
//
//   FTProjectView* view = FTProjectView::initInMoc(moc);
//   view->setRootPersonInAncestralView(person);
//   view->persons();                          // the root and its natural ancestors
//   view->ahnentafelNumbersFor(grandmother);  // {5} or, with pedigree collapse, {5, 7}
class FTProjectView : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "ProjectView";

    FTProjectView();
    ~FTProjectView() override;

    // A new view; names the open undo action "AddAncestralView" when it has no name yet. Takes no number.
    static FTProjectView* initInMoc(FTMoc* moc);

    // The object URIs of the root and its natural ancestors, built one generation at a time on first use and
    // kept; empty without a root. A person already collected is not walked again, so a loop of links ends.
    const QSet<QString>& ancestorsSet();
    // Forgets the ancestors and the ahnentafel numbers; they are built again when next asked for.
    void clearAncestorsSet();
    // clearAncestorsSet() on every view of the context (a parent-child link changed).
    static void clearAncestorsSetsOfAllViews(ObjectContext* context);

    // A label shows a person's numbers up to this many; a person with more is labelled with the count of paths.
    static constexpr int kShownAhnentafelNumbers = 10;
    // The sorted ahnentafel numbers of `person`; empty when the person is not in the ancestral tree (or the view
    // has no root). Numbers stop at the 62nd generation above the root, the deepest a 64-bit number holds, and a
    // line that comes back to a person already on it (a loop of links) is not followed round again. A person
    // reached along more than kShownAhnentafelNumbers lines gets only the smallest kShownAhnentafelNumbers + 1
    // (enough to tell that the count form is due): in a pedigree that folds on itself in every generation the
    // lines double with each generation. Built once for all people, each person's numbers from those of the
    // children that lead to them.
    QList<quint64> ahnentafelNumbersFor(const FTPerson* person);
    // How many ahnentafel numbers `person` has (the lines from the root to them within those 62 generations),
    // whether or not they are all listed above; saturates at the largest 64-bit number.
    quint64 ahnentafelPathCount(const FTPerson* person);

    // Red when this is the database's current view, else black.
    QColor currentViewColour() const;

    QString name() const;
    void setName(const QString& value);
    QString notes() const;
    void setNotes(const QString& value);
    QString comments() const;
    void setComments(const QString& value);
    QDateTime lastChange() const;
    void setLastChange(const QDateTime& value);

    // An ancestral view: its members (the root first, then generation by generation; people that can no longer
    // be read are left out). A plain view: the chosen people.
    QList<FTPerson*> persons();
    // The chosen people as stored, for either kind of view.
    QList<FTPerson*> storedPersons() const;
    void addPersonsObject(FTPerson* value);
    void removePersonsObject(FTPerson* value);
    FTPerson* rootPersonInAncestralView() const;
    // Also forgets the ancestors of the previous root.
    void setRootPersonInAncestralView(FTPerson* value);
    FTModelDefaults* modelDefaultCurrentView() const;
    void setModelDefaultCurrentView(FTModelDefaults* value);

private:
    void buildAhnentafelNumbers();
    struct Cache;
    std::unique_ptr<Cache> m_cache;
};
