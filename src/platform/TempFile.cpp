#include "platform/TempFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

QString createTempFileName(const QString& folder, const QString& prefix)
{
    const QDir dir(folder);
    // Start from the clock like the usual temporary-name rule, then count up until a name is free.
    const quint32 start = quint32(QDateTime::currentMSecsSinceEpoch()) & 0xffffu;
    for (quint32 step = 0; step < 0x10000u; ++step) {
        const quint32 number = (start + step) & 0xffffu;
        if (number == 0)
            continue;
        const QString name = prefix.left(3) + QString::number(number, 16).toUpper() + QStringLiteral(".TMP");
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            file.close();
            return file.fileName();
        }
        if (!dir.exists())
            return QString();
    }
    return QString();
}
