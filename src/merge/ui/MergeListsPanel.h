#pragma once

#include "model/Relative.h"

#include <QList>
#include <QWidget>

#include <functional>

class FTEvent;
class QPushButton;
class QStandardItemModel;
class QTableView;

// The relatives and events of the two people in the merge windows: the merge-from person's lists on the left,
// the merge-into person's on the right, and between them the buttons that merge the row selected on the left.
// Relatives the merge-into person has already in the same role are greyed on the left; an event's notes are its
// row's tool tip.
//
//   auto* lists = new MergeListsPanel(L("MergeEventButton"), [this] { mergeField(MergeTag::Relative); },
//                                     [this] { mergeField(MergeTag::Event); });
//   lists->setRelatives(MergeLists::relatives(from, into), MergeLists::relatives(into, into));
class MergeListsPanel : public QWidget {
    Q_OBJECT
public:
    MergeListsPanel(const QString& eventButtonTitle, std::function<void()> mergeRelative,
        std::function<void()> mergeEvent, QWidget* parent = nullptr);

    void setRelatives(const QList<Relative>& from, const QList<Relative>& into);
    void setEvents(const QList<FTEvent*>& from, const QList<FTEvent*>& into);
    // The row selected in the merge-from list; null when none.
    const Relative* selectedFromRelative() const;
    FTEvent* selectedFromEvent() const;
    void selectFromRelative(int row);
    void selectFromEvent(int row);
    void setButtonsEnabled(bool enabled);

    const QList<Relative>& relativesOfMergeFromPerson() const { return m_fromRelatives; }
    const QList<Relative>& relativesOfMergeIntoPerson() const { return m_intoRelatives; }
    const QList<FTEvent*>& eventsOfMergeFromPerson() const { return m_fromEvents; }
    const QList<FTEvent*>& eventsOfMergeIntoPerson() const { return m_intoEvents; }
    QTableView* tvFromRels() const { return m_tables[0]; }
    QTableView* tvIntoRels() const { return m_tables[1]; }
    QTableView* tvFromEvents() const { return m_tables[2]; }
    QTableView* tvIntoEvents() const { return m_tables[3]; }
    QPushButton* mergeRelsButton() const { return m_mergeRelsButton; }
    QPushButton* mergeEventsButton() const { return m_mergeEventsButton; }

private:
    QWidget* makeRow(const QString& title, int firstTable, QPushButton* button);
    int selectedRow(int table) const;

    QList<Relative> m_fromRelatives, m_intoRelatives;
    QList<FTEvent*> m_fromEvents, m_intoEvents;
    QStandardItemModel* m_models[4] = {};
    QTableView* m_tables[4] = {};
    QPushButton* m_mergeRelsButton = nullptr;
    QPushButton* m_mergeEventsButton = nullptr;
};
