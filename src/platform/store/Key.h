#pragma once

#include <QHashFunctions>
#include <QString>

// A property name interned once per process: comparing and looking up keys is an integer operation.
// Accessors keep their keys in function-local statics (`static const Key k("name");`); generic code may build
// a Key from any string. Key::find() answers an invalid key for a name that was never interned, so looking up an
// unknown name does not grow the registry. Thread-safe.
class Key {
public:
    Key() = default;
    Key(const char* name);
    Key(const QString& name);

    static Key find(const QString& name);

    int id() const { return m_id; }
    bool isValid() const { return m_id >= 0; }
    QString name() const;

    friend bool operator==(const Key& a, const Key& b) { return a.m_id == b.m_id; }
    friend bool operator!=(const Key& a, const Key& b) { return a.m_id != b.m_id; }
    friend size_t qHash(const Key& k, size_t seed = 0) { return qHash(k.m_id, seed); }

private:
    int m_id = -1;
};
