#pragma once

#include <QString>

class FTMoc;

// One undo step for a change of many records: the group is opened before the first change and closed after the
// last, so that the event loop a progress redraw runs cannot close it half-way, and it carries `actionName`
// whatever the setters inside would call their own changes.
//
//   UndoPass pass(moc, LocalizedString("MoveEventPlace"));
//   for (FTEvent* e : events) ...;
//   pass.end();     // or leave the scope
class UndoPass {
public:
    UndoPass(FTMoc* moc, const QString& actionName);
    ~UndoPass();
    UndoPass(const UndoPass&) = delete;
    UndoPass& operator=(const UndoPass&) = delete;

    void end();

private:
    FTMoc* m_moc;
    QString m_actionName;
    bool m_open = false;
};
