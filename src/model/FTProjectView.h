#pragma once

#include "model/FTManagedObject.h"

class FTModelDefaults;
class FTPerson;

class FTProjectView : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "ProjectView";

    QString name() const;
    void setName(const QString& value);
    QString notes() const;
    void setNotes(const QString& value);
    QString comments() const;
    void setComments(const QString& value);
    QDateTime lastChange() const;
    void setLastChange(const QDateTime& value);

    QList<FTPerson*> persons() const;
    void addPersonsObject(FTPerson* value);
    void removePersonsObject(FTPerson* value);
    FTPerson* rootPersonInAncestralView() const;
    void setRootPersonInAncestralView(FTPerson* value);
    FTModelDefaults* modelDefaultCurrentView() const;
    void setModelDefaultCurrentView(FTModelDefaults* value);
};
