#pragma once

#include "model/Inconsistency.h"

#include <QDateTime>
#include <QList>
#include <QString>

class FTMoc;
class ModelProgress;
class RtfWriter;

// The consistency checks of a whole database, each finding given as an Inconsistency (a person and a reason), and
// the RTF report of the findings.
//
//   DataValidation checks(moc);
//   checks.checkUnconnectedPeople = false;
//   QList<Inconsistency> rows = DataValidation::sorted(checks.run(&progress));
//   checks.modelName = "Family";
//   checks.generate(writer, rows, true);
class DataValidation {
public:
    explicit DataValidation(FTMoc* moc);

    // The checks to run (all at first), in the order run() runs them.
    bool checkBirthDates = true;
    bool checkDeathDates = true;
    bool checkParentChildRelationships = true;
    bool checkUnconnectedPeople = true;
    bool checkMarriageDates = true;
    bool peopleWithNoBirthAndDeathDates = true;

    QString modelName;
    // The moment the title names (now unless set; tests fix it).
    QDateTime moment;

    // The findings of the checks chosen, check by check.
    QList<Inconsistency> run(ModelProgress* progress = nullptr) const;

    // Natural links only: a father younger than 15 or older than 70 at the birth (a mother: 15 and 45), a child
    // born more than nine months after its father's death or after its mother's, a child born before a parent.
    void checkBirths(QList<Inconsistency>& out, ModelProgress* progress) const;
    // A death before the birth, or more than 110 years after it.
    void checkDeaths(QList<Inconsistency>& out, ModelProgress* progress) const;
    // People who are their own ancestors: one finding for the child of each link that closes a loop.
    void checkLoops(QList<Inconsistency>& out) const;
    // Nobody's child, parent or partner.
    void checkUnconnected(QList<Inconsistency>& out) const;
    // A partner married before being born, after dying, younger than 13 or older than 100 (one finding a partner
    // and marriage, the last that applies).
    void checkMarriages(QList<Inconsistency>& out) const;
    // Neither a birth year nor a death year, unless the death is known to have happened ("Y").
    void checkNoDates(QList<Inconsistency>& out) const;

    // As the table shows them: by person (name with years), then by reason.
    static QList<Inconsistency> sorted(QList<Inconsistency> rows);

    // Writes `rows` under the first free "<database>_Inconsistencies" name, each person with birth, marriage and
    // death details or with years only. False, after a message, when the file could not be made or written.
    bool generate(RtfWriter& writer, const QList<Inconsistency>& rows, bool details,
                  ModelProgress* progress = nullptr) const;

private:
    FTMoc* m_moc;
};
