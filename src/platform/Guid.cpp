#include "platform/Guid.h"

#include <QUuid>

QString CreateGUIDKey(const QString& remove)
{
    QString text = QUuid::createUuid().toString(QUuid::WithBraces).toUpper();
    for (const QChar c : remove)
        text.remove(c);
    return text;
}
