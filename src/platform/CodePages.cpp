#include "platform/CodePages.h"

#include <QStringDecoder>

#include <array>

namespace codepage {

namespace {

// 0x81, 0x8d, 0x8f, 0x90 and 0x9d are unassigned.
QString decodeWindows1252(const QByteArray& bytes)
{
    static constexpr std::array<char16_t, 32> k80to9f = { 0x20ac, 0xfffd, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020,
        0x2021, 0x02c6, 0x2030, 0x0160, 0x2039, 0x0152, 0xfffd, 0x017d, 0xfffd, 0xfffd, 0x2018, 0x2019, 0x201c, 0x201d,
        0x2022, 0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0xfffd, 0x017e, 0x0178 };
    QString text;
    text.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto byte = static_cast<unsigned char>(ch);
        text.append(byte >= 0x80 && byte < 0xa0 ? QChar(k80to9f[byte - 0x80]) : QChar(byte));
    }
    return text;
}

QByteArray codecName(int codePage)
{
    switch (codePage) {
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 10000:
        return "macintosh";
    case 65001:
        return "UTF-8";
    default:
        break;
    }
    if (codePage == 874 || (codePage >= 1250 && codePage <= 1258))
        return "windows-" + QByteArray::number(codePage);
    return "cp" + QByteArray::number(codePage);
}

} // namespace

QString decode(const QByteArray& bytes, int codePage)
{
    if (codePage != 1252) {
        QStringDecoder decoder(codecName(codePage).constData());
        if (decoder.isValid())
            return decoder.decode(bytes);
    }
    return decodeWindows1252(bytes);
}

QString utf8OrWindows1252(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? decodeWindows1252(bytes) : text;
}

} // namespace codepage
