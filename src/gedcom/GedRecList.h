#pragma once

#include <QList>
#include <QtGlobal>

class GedRec;

// The sub-records of a line, in file order: a read-only view with the reading half of QList's
// interface. It stays valid until a sub-record is added to that line.
class GedRecList {
public:
    using value_type = GedRec*;
    using const_iterator = GedRec* const*;
    using iterator = const_iterator;

    GedRecList() = default;
    GedRecList(GedRec* const* data, qsizetype size) : m_data(data), m_size(size) {}

    const_iterator begin() const { return m_data; }
    const_iterator end() const { return m_data + m_size; }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }

    qsizetype size() const { return m_size; }
    qsizetype count() const { return m_size; }
    qsizetype length() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    bool empty() const { return m_size == 0; }

    GedRec* operator[](qsizetype i) const { Q_ASSERT(i >= 0 && i < m_size); return m_data[i]; }
    GedRec* at(qsizetype i) const { return (*this)[i]; }
    // The sub-record at i, or null when there is none.
    GedRec* value(qsizetype i) const { return i >= 0 && i < m_size ? m_data[i] : nullptr; }
    GedRec* first() const { return at(0); }
    GedRec* last() const { return at(m_size - 1); }
    GedRec* front() const { return first(); }
    GedRec* back() const { return last(); }

    qsizetype indexOf(const GedRec* r) const
    {
        for (qsizetype i = 0; i < m_size; ++i)
            if (m_data[i] == r)
                return i;
        return -1;
    }
    bool contains(const GedRec* r) const { return indexOf(r) >= 0; }

    QList<GedRec*> toList() const { return QList<GedRec*>(begin(), end()); }
    operator QList<GedRec*>() const { return toList(); }

private:
    GedRec* const* m_data = nullptr;
    qsizetype m_size = 0;
};
