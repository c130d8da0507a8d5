#pragma once

#include <QString>

class FTAssociation;
class FTPcRel;
class FTPerson;
class FTSpouseRel;

// One row of a relatives list: a relative and the label of the relationship ("Half Brother", "Foster Son",
// "Mother in Law" ...), or an empty separator row (no person, empty label). Lists that act on the link behind a
// row (the disconnect dialog) also keep the couple, parent-child link or association and a check-box state.
class Relative {
public:
    Relative() = default;
    Relative(FTPerson* person, const QString& relationship)
        : m_person(person)
        , m_relationship(relationship)
    {
    }

    FTPerson* person() const { return m_person; }
    QString relationship() const { return m_relationship; }
    bool isSeparator() const { return !m_person; }

    int flags() const { return m_flags; }
    void setFlags(int value) { m_flags = value; }
    bool checked() const { return m_checked; }
    void setChecked(bool value) { m_checked = value; }
    FTSpouseRel* spouseRel() const { return m_spouseRel; }
    void setSpouseRel(FTSpouseRel* value) { m_spouseRel = value; }
    FTPcRel* pcRel() const { return m_pcRel; }
    void setPcRel(FTPcRel* value) { m_pcRel = value; }
    FTAssociation* assoc() const { return m_assoc; }
    void setAssoc(FTAssociation* value) { m_assoc = value; }

private:
    FTPerson* m_person = nullptr;
    QString m_relationship { QLatin1String("") };
    int m_flags = 0;
    bool m_checked = false;
    FTSpouseRel* m_spouseRel = nullptr;
    FTPcRel* m_pcRel = nullptr;
    FTAssociation* m_assoc = nullptr;
};
