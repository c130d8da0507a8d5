#pragma once

#include <QHash>
#include <QList>
#include <QString>

class FTMoc;
class FTPicture;
class FTSource;
class ManagedObject;

// Copies sources of another database into the open one, each with its picture. A source that the open database
// already holds is not copied again: a source here holds it when every attribute of the other source but the
// number is either absent there or equal here (an empty text must be equal, an absent one matches anything). The
// copy takes every attribute but the number, and the picture a record naming the same file (the file is not
// copied). A citation of a copied picture cites this database's counterpart of its source (the copy made in the
// same run, or the source that holds it); a citation whose source has none here is left out and counted. Nothing
// is saved, and the other database is only read.
//
//   SourceCloner cloner(openMoc);
//   SourceCloner::Result r = cloner.cloneSources(chosenSourcesOfTheOtherDatabase);
//   DisplayMsg(SourceCloner::reportText(r));
class SourceCloner {
public:
    explicit SourceCloner(FTMoc* target);

    // The first source of the open database, by number, that holds `other`; null when none does. Sources are
    // looked up by title: all of them are compared only for a source without a title.
    FTSource* findExistingSourceInTargetDatabase(const FTSource* other);
    // Copies every attribute of `from` but the number to `to`, the change stamp last so that it stays the one
    // copied. 0 (nothing copied) when the two are of different entities; else the number of attributes copied.
    static int migrateAttributesFrom(const ManagedObject* from, ManagedObject* to);
    // The picture of `other` copied for `copy`, with its citations; answers the pictures copied (0 or 1).
    int clonePicturesFrom(const FTSource* other, FTSource* copy);

    struct Result {
        int selected = 0;
        int copied = 0;
        int ignored = 0;
        // Citations of copied pictures whose source has no counterpart here.
        int citationsLeftOut = 0;
        QList<FTSource*> copies;
    };
    // Each of `sources`, in order, copied unless held already. The pictures are copied after all the sources, so
    // that a picture's citation of a source copied later in the same run cites that copy.
    Result cloneSources(const QList<FTSource*>& sources);
    // What the user is told afterwards.
    static QString reportText(const Result& result);

private:
    void buildIndex();
    void addToIndex(FTSource* source);
    // The counterpart here of a source of the other database: its copy of this run, or the source that holds it.
    FTSource* counterpartOf(const FTSource* other);

    FTMoc* m_target;
    bool m_indexed = false;
    QHash<QString, QList<FTSource*>> m_byTitle; // each list by number
    QList<FTSource*> m_all; // by number, for a source without a title
    QHash<const FTSource*, FTSource*> m_copies; // other database's source -> its copy
    int m_citationsLeftOut = 0;
};
