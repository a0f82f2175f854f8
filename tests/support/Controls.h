#pragma once
// How tests reach a control: by its objectName under a window or screen, as a user's tool would
// find it, never through the screen's members.

#include <QObject>
#include <QString>
#include <QtTest>

#include <stdexcept>

// The control of that objectName and type under `parent` (for an element of a control array, the
// one whose property Index is `index`). A control that is not there fails the test with its name
// and ends the run, rather than leaving the test to use a null pointer.
template <typename T> T* control(QObject* parent, const char* objectName, int index = -1)
{
    const QString name = QString::fromLatin1(objectName);
    if (parent) {
        for (T* found : parent->findChildren<T*>(name)) {
            if (index < 0 || found->property("Index").toInt() == index)
                return found;
        }
    }
    QString what = QStringLiteral("No %1 named %2").arg(QString::fromLatin1(T::staticMetaObject.className()), name);
    if (index >= 0)
        what += QStringLiteral(" of index %1").arg(index);
    what += QStringLiteral(" under ") + (parent ? parent->objectName() : QStringLiteral("nothing"));
    QTest::qFail(qPrintable(what), __FILE__, __LINE__);
    throw std::runtime_error(what.toStdString());
}
