#pragma once

#include "platform/store/Key.h"

#include <QString>

#include <functional>

class ManagedObject;

// What an observer of a key path is told: the key path it observes from its root (an object or a context), and the
// object and key whose change reached it (`object` is null when a key of the context itself changed).
struct KeyPathChange {
    const void* root = nullptr;
    QString keyPath;
    ManagedObject* object = nullptr;
    Key key;
};

using ObserverFunction = std::function<void(const KeyPathChange&)>;
using ObserverToken = quint64;
