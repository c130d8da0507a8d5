#include "shell/FocalPeopleHistory.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"

FocalPeopleHistory::FocalPeopleHistory(FTMoc* moc)
    : m_moc(moc)
{
}

void FocalPeopleHistory::setMoc(FTMoc* moc)
{
    m_moc = moc;
    m_keys.clear();
}

void FocalPeopleHistory::setFocalPerson(FTPerson* person)
{
    if (!person)
        return;
    const qint64 key = person->primaryKey();
    if (!m_keys.isEmpty() && m_keys.first() == key)
        return;
    m_keys.removeAll(key);
    m_keys.prepend(key);
    while (m_keys.size() > kMaxEntries)
        m_keys.removeLast();
}

FTPerson* FocalPeopleHistory::previousFocalPerson()
{
    m_needsValidating = true;
    validate();
    return m_keys.size() < 2 ? nullptr : personAt(1);
}

void FocalPeopleHistory::removePerson(const FTPerson* person)
{
    if (person)
        m_keys.removeAll(person->primaryKey());
}

void FocalPeopleHistory::validate()
{
    if (!m_needsValidating)
        return;
    for (int i = 0; i < m_keys.size();) {
        if (personAt(i))
            ++i;
        else
            m_keys.removeAt(i);
    }
    m_needsValidating = false;
}

int FocalPeopleHistory::count()
{
    validate();
    return int(m_keys.size());
}

FTPerson* FocalPeopleHistory::personAt(int index) const
{
    if (!m_moc || index < 0 || index >= m_keys.size())
        return nullptr;
    return static_cast<FTPerson*>(
        m_moc->objectWithPrimaryKey(QString::fromLatin1(FTPerson::kEntityName), m_keys.at(index)));
}

QString FocalPeopleHistory::entryText(int index) const
{
    const FTPerson* person = personAt(index);
    if (!person)
        return {};
    const FTEvent* birth = person->birth();
    return QStringLiteral("%1 (%2)").arg(person->name()).arg(birth ? birth->year() : 0);
}

QList<FTPerson*> FocalPeopleHistory::people() const
{
    QList<FTPerson*> out;
    for (int i = 0; i < m_keys.size(); ++i)
        if (FTPerson* p = personAt(i))
            out << p;
    return out;
}
