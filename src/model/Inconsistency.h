#pragma once

#include <QString>

class FTPerson;

// One problem found with one person by the checks of the database (a doubt about a parent-child link, a finding
// of the data-validation report): the person and the reason, a text ready to show.
class Inconsistency {
public:
    Inconsistency() = default;
    Inconsistency(FTPerson* person, const QString& reason)
        : m_person(person)
        , m_reason(reason)
    {
    }

    FTPerson* person() const { return m_person; }
    const QString& reason() const { return m_reason; }

    bool operator==(const Inconsistency&) const = default;

private:
    FTPerson* m_person = nullptr;
    QString m_reason;
};
