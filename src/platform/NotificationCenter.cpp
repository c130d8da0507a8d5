#include "platform/NotificationCenter.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>

NotificationCenter& NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

NotificationCenter::Token NotificationCenter::addObserver(const QString& name, const void* object, Handler handler,
                                                          const void* owner)
{
    Token t = m_next++;
    m_observers.push_back({t, name, object, owner, std::move(handler)});
    return t;
}

void NotificationCenter::removeObserver(Token token)
{
    std::erase_if(m_observers, [token](const Observer& o) { return o.token == token; });
}

void NotificationCenter::removeObserversOf(const void* owner)
{
    if (!owner)
        return;
    std::erase_if(m_observers, [owner](const Observer& o) { return o.owner == owner; });
}

void NotificationCenter::post(const Notification& n)
{
    // Handlers may add or remove observers while we deliver: work from a snapshot of tokens and look each
    // one up again, so a removed observer is never called.
    std::vector<Token> targets;
    for (const Observer& o : m_observers)
        if (o.name == n.name && (!o.object || o.object == n.object))
            targets.push_back(o.token);
    for (Token t : targets) {
        auto it = std::find_if(m_observers.begin(), m_observers.end(), [t](const Observer& o) { return o.token == t; });
        if (it == m_observers.end())
            continue;
        Handler h = it->handler;
        h(n);
    }
}

void NotificationCenter::post(const QString& name, const void* object, const void* context,
                              const QVariantMap& userInfo)
{
    post(Notification{name, object, context, userInfo});
}

void NotificationCenter::enqueue(const Notification& n)
{
    for (const Notification& q : m_queue)
        if (q.name == n.name && q.object == n.object)
            return;
    m_queue.push_back(n);
    if (!m_flushScheduled && QCoreApplication::instance()) {
        m_flushScheduled = true;
        QTimer::singleShot(0, QCoreApplication::instance(), [this] { flushQueue(); });
    }
}

void NotificationCenter::enqueue(const QString& name, const void* object, const void* context)
{
    enqueue(Notification{name, object, context, {}});
}

void NotificationCenter::flushQueue()
{
    m_flushScheduled = false;
    std::vector<Notification> queue;
    queue.swap(m_queue);
    for (const Notification& n : queue)
        post(n);
}
