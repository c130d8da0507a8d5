#pragma once

#include "model/FTManagedObject.h"

class FTPerson;
class FTProjectView;

class FTModelDefaults : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "ModelDefaults";

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
    void setSelectedPerson(FTPerson* value);
    FTProjectView* currentView() const;
    void setCurrentView(FTProjectView* value);
};
