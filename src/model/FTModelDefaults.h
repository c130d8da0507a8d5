#pragma once

#include "model/FTManagedObject.h"

class FTPerson;
class FTProjectView;

// The single record of a family database that holds the counters that number new records, the focal and the
// selected person and the current project view, and (in `extraData`) the stored copies of the context's place and
// recent-sources lists. FTMoc::modelDefaults() finds or makes it.
class FTModelDefaults : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "ModelDefaults";

    // Inserts the record with all five counters 0; no undo name.
    static FTModelDefaults* initInMoc(FTMoc* moc);

    int counter(FTCounter counter) const;
    // The numbering rule: counter + 1, written back and answered. Never lowers a counter, so the numbers of
    // deleted records are not given again.
    int takeNextId(FTCounter counter);

    int maxPersonId() const;
    void setMaxPersonId(int value);
    int maxEventId() const;
    void setMaxEventId(int value);
    int maxSpouseRelId() const;
    void setMaxSpouseRelId(int value);
    int maxPictureId() const;
    void setMaxPictureId(int value);
    int maxSourceId() const;
    void setMaxSourceId(int value);
    QByteArray extraData() const;
    void setExtraData(const QByteArray& value);

    FTPerson* focalPerson() const;
    void setFocalPerson(FTPerson* value);
    FTPerson* selectedPerson() const;
    // Selecting a person changes only the link: nothing is stamped.
    void setSelectedPerson(FTPerson* value);
    FTProjectView* currentView() const;
    void setCurrentView(FTProjectView* value);
};
