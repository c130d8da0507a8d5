#pragma once

#include <QHash>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <vector>

// A notification names what changed; `object` is the changed record (or any sender), `context` the database
// context it belongs to, so that an observer of one database can ignore the others.
struct Notification {
    QString name;
    const void* object = nullptr;
    const void* context = nullptr;
    QVariantMap userInfo;
};

class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;
    using Token = quint64;

    static NotificationCenter& defaultCenter();

    // `object` filters by sender when not null. `owner` groups observers for removeObserversOf().
    Token addObserver(const QString& name, const void* object, Handler handler, const void* owner = nullptr);
    void removeObserver(Token token);
    void removeObserversOf(const void* owner);

    void post(const Notification& n);
    void post(const QString& name, const void* object = nullptr, const void* context = nullptr,
              const QVariantMap& userInfo = {});

    // Posts when the event loop is next idle. Posts of the same name and object queued before then are
    // delivered once (the first one's user info wins); the same name with another object is its own post.
    void enqueue(const Notification& n);
    void enqueue(const QString& name, const void* object = nullptr, const void* context = nullptr);

    // Delivers every queued notification now (tests, and shutdown before the last save).
    void flushQueue();
    int queuedCount() const { return int(m_queue.size()); }

private:
    NotificationCenter() = default;
    struct Observer {
        Token token;
        QString name;
        const void* object;
        const void* owner;
        Handler handler;
    };
    std::vector<Observer> m_observers;
    std::vector<Notification> m_queue;
    bool m_flushScheduled = false;
    Token m_next = 1;
};
