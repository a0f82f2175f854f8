#include "platform/Guid.h"

#include <QRandomGenerator>

QString CreateGUIDKey(const QString& remove)
{
    // A random (version 4) GUID. The bits come from the process's securely seeded generator:
    // asking the system for each one (QUuid::createUuid) costs a system call, a second per
    // million questions when a large survey is opened.
    quint32 words[4];
    QRandomGenerator::global()->fillRange(words);
    unsigned char bytes[16];
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j)
            bytes[i * 4 + j] = static_cast<unsigned char>(words[i] >> (8 * j));
    }
    bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0f) | 0x40); // version 4
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3f) | 0x80); // RFC 4122 variant

    // The registry form: {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}, upper-case digits.
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    char16_t text[38];
    int n = 0;
    text[n++] = u'{';
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text[n++] = u'-';
        text[n++] = kDigits[bytes[i] >> 4];
        text[n++] = kDigits[bytes[i] & 0x0f];
    }
    text[n++] = u'}';

    char16_t kept[38];
    int k = 0;
    for (int i = 0; i < n; ++i) {
        if (!remove.contains(QChar(text[i])))
            kept[k++] = text[i];
    }
    return QString(reinterpret_cast<const QChar*>(kept), k);
}
