#include "platform/store/Key.h"

#include <QHash>

#include <deque>
#include <mutex>
#include <shared_mutex>

namespace {
struct Registry {
    std::shared_mutex lock;
    QHash<QString, int> ids;
    std::deque<QString> names;
};

Registry& registry()
{
    static Registry r;
    return r;
}

int intern(const QString& name)
{
    Registry& r = registry();
    {
        std::shared_lock read(r.lock);
        auto it = r.ids.constFind(name);
        if (it != r.ids.constEnd())
            return it.value();
    }
    std::unique_lock write(r.lock);
    auto it = r.ids.constFind(name);
    if (it != r.ids.constEnd())
        return it.value();
    const int id = int(r.names.size());
    r.names.push_back(name);
    r.ids.insert(name, id);
    return id;
}
}

Key::Key(const char* name)
    : m_id(intern(QString::fromUtf8(name)))
{
}

Key::Key(const QString& name)
    : m_id(intern(name))
{
}

Key Key::find(const QString& name)
{
    Registry& r = registry();
    std::shared_lock read(r.lock);
    Key k;
    k.m_id = r.ids.value(name, -1);
    return k;
}

QString Key::name() const
{
    if (m_id < 0)
        return {};
    Registry& r = registry();
    std::shared_lock read(r.lock);
    return r.names[size_t(m_id)];
}
