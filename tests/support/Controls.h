#pragma once

#include <QAbstractItemModel>
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

// The column of `model` headed `header`: tests name columns as the user
// reads them, so a column moved in its table keeps its test.
inline int columnOf(const QAbstractItemModel& model, const QString& header)
{
    for (int c = 0; c < model.columnCount(); ++c)
        if (model.headerData(c, Qt::Horizontal).toString() == header)
            return c;
    qFatal("column \"%s\" not found", qPrintable(header));
}

}  // namespace nkp::test
