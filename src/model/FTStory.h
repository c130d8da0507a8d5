#pragma once

#include "model/FTManagedObject.h"

class FTPerson;

// A person's story: rich text (Qt rich text, HTML, in UTF-8) in `data`.
class FTStory : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "Story";

    // Inserts a story; names the undo action "CreateStory" (localised) when it has no name yet.
    static FTStory* initInMoc(FTMoc* moc);

    // The story as rich text (HTML); empty when there is none.
    QString attributedString() const;
    // Stores the rich text; a text that is blank once trimmed (or null) deletes the story record instead.
    void setAttributedString(const QString& html);

    QByteArray data() const;
    void setData(const QByteArray& value);
    QDateTime lastChange() const;
    void setLastChange(const QDateTime& value);

    FTPerson* person() const;
    void setPerson(FTPerson* value);
};
