#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

class FTMoc;
class FTPerson;
class ModelProgress;
class RtfWriter;

// The people at the top of a database's family trees: everyone without a parent link of any type (natural, step,
// adopted, foster), by name; and the RTF report of some of them, one paragraph each, as a name with years or with
// birth, marriage and death details.
//
//   PeopleWithoutAncestorsListing listing(moc);
//   const QList<FTPerson*> tops = listing.people();
//   listing.generate(writer, tops.mid(0, 10), true, progress);
class PeopleWithoutAncestorsListing {
public:
    explicit PeopleWithoutAncestorsListing(FTMoc* moc);

    QString modelName;
    // The moment the title names (now unless set; tests fix it).
    QDateTime moment;

    QList<FTPerson*> people() const;
    // Writes `selected` in their order under the first free "<database>_NoAncestors" name, with birth, marriage
    // and death details (`longForm`) or as names with years. False, after the writer's message, when the file
    // could not be made or written.
    bool generate(RtfWriter& writer, const QList<FTPerson*>& selected, bool longForm,
                  ModelProgress* progress = nullptr) const;

private:
    FTMoc* m_moc;
};
