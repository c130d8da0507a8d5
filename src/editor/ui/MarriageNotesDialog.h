#pragma once

#include "editor/ui/NotesWindow.h"

class FTEvent;
class FTPerson;
class FTSpouseRel;

// A couple's marriage notes (tab "1") and divorce notes (tab "2"). The divorce tab reads "---" and cannot be
// chosen unless the couple has exactly one divorce event. Closing a window that is not a sheet posts
// "MarriageNotesDialogClosed" with the dialog as object.
class MarriageNotesDialog : public NotesWindow {
    Q_OBJECT
public:
    explicit MarriageNotesDialog(QWidget* parent = nullptr);
    ~MarriageNotesDialog() override;

    void setOwner(FTSpouseRel* couple, const QString& initialTab, bool isSheet);
    FTSpouseRel* spouseRel() const { return m_couple; }
    FTEvent* divorceEvent() const { return m_divorce; }
    FTPerson* husband() const { return m_husband; }
    FTPerson* wife() const { return m_wife; }
    QString couplesNames() const { return m_couplesNames; }
    void setTabViewLabels() override;
    void freeMemory() override;

protected:
    QString closedNotification() const override { return QStringLiteral("MarriageNotesDialogClosed"); }

private:
    FTSpouseRel* m_couple = nullptr;
    FTEvent* m_divorce = nullptr;
    FTPerson* m_husband = nullptr;
    FTPerson* m_wife = nullptr;
    QString m_couplesNames;
};
