#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

namespace nkp::test {

// The control named `name` (its objectName) below `window`, found the way a
// user's script finds it rather than through the window's members. A
// missing control ends the test binary with the name, so a renamed control
// fails the test instead of crashing it.
template <typename T> T* control(const QObject& window, const char* name)
{
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("control \"%s\" of type %s not found", name, T::staticMetaObject.className());
    return found;
}

}  // namespace nkp::test
