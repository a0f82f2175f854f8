#include "platform/BlockWriter.h"
#include "platform/Rtf.h"
#include "platform/RtfDocument.h"
#include "platform/TextUtil.h"

#include <QBuffer>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

QString written(const std::function<void(rtf::DocumentWriter&)>& build, const QStringList& fonts = { "Arial" })
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    rtf::DocumentWriter writer(buffer, fonts, 10);
    build(writer);
    writer.finish();
    EXPECT_TRUE(writer.ok());
    return QString::fromLatin1(buffer.data());
}

// A device that takes the first bytes and then fails, as a full disk does.
class FullDevice : public QIODevice {
public:
    explicit FullDevice(qint64 room)
        : room_(room)
    {
        open(QIODevice::WriteOnly);
    }
    int refused = 0; // writes refused so far

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 len) override
    {
        if (len > room_) {
            setErrorString(QStringLiteral("No space left on device"));
            ++refused;
            return -1;
        }
        room_ -= len;
        return len;
    }

private:
    qint64 room_;
};

} // namespace

TEST(RtfDocument, ReadsBackParagraphsFormatsTabsAndEveryCharacter)
{
    const QString rtfText = written(
        [](rtf::DocumentWriter& w) {
            w.append(QStringLiteral("1. Heading {with} \\ braces"), { QString(), 11, true });
            w.append(QStringLiteral("\r\n"));
            w.setTabStops({ 2000, 4000 });
            w.append(QStringLiteral("\tÄpfel €\t"));
            w.append(QString(QChar(0x2610)), { QStringLiteral("DejaVu Sans"), 0, false });
            w.append(QStringLiteral("\nlast 日本 😀"), { QStringLiteral("Noto Sans 日本 😀"), 0, false });
        },
        { QStringLiteral("Arial"), QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans 日本 😀") });

    EXPECT_EQ(rtf::toPlainText(rtfText),
        QStringLiteral("1. Heading {with} \\ braces\r\n\tÄpfel €\t") + QChar(0x2610)
            + QStringLiteral("\r\nlast 日本 😀"));

    QTextDocument doc;
    rtf::read(rtfText, &doc);
    ASSERT_EQ(doc.blockCount(), 3);
    const QTextBlock heading = doc.firstBlock();
    const QTextCharFormat headingFormat = heading.begin().fragment().charFormat();
    EXPECT_GE(headingFormat.fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(headingFormat.fontPointSize(), 11);

    bool boxInItsFont = false;
    for (auto it = heading.next().begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        EXPECT_LT(f.charFormat().fontWeight(), QFont::Bold) << f.text().toStdString();
        if (f.text().contains(QChar(0x2610)))
            boxInItsFont = f.charFormat().fontFamilies().toStringList().value(0) == QLatin1String("DejaVu Sans");
    }
    EXPECT_TRUE(boxInItsFont);
    const QTextCharFormat last = doc.lastBlock().begin().fragment().charFormat();
    EXPECT_EQ(last.fontFamilies().toStringList().value(0), QStringLiteral("Noto Sans 日本 😀"));
    EXPECT_TRUE(rtfText.contains(QLatin1String("\\tx2000\\tx4000")));
    // Units above 32767 as negative numbers, in the font table as in the text.
    EXPECT_EQ(rtfText.count(QLatin1String("\\u-10179?\\u-8704?")), 2);
}

TEST(RtfDocument, PiecesWriteWhatAppendWrites)
{
    struct Step {
        QString text;
        rtf::RunFormat format;
    };
    const Step steps[] = {
        { QStringLiteral("Heading\r\n"), { QString(), 11, true } }, // the document's first paragraph
        { QStringLiteral("\tApfel {1}\r\n"), {} },
        { QStringLiteral("two\nlines \u00e9"), { QString(), 0, true } },
        { QStringLiteral("\r\n"), {} },
    };
    const auto document = [&](bool pieces) {
        return written([&](rtf::DocumentWriter& w) {
            std::vector<rtf::DocumentWriter::Piece> encoded;
            for (const Step& step : steps)
                encoded.push_back(w.encode(step.text, step.format));
            for (int round = 0; round < 2; ++round) {
                if (round == 1)
                    w.setTabStops({ 1440 }); // the pieces were made for other stops
                for (size_t i = 0; i < std::size(steps); ++i) {
                    if (pieces)
                        w.append(encoded[i]);
                    else
                        w.append(steps[i].text, steps[i].format);
                }
            }
        });
    };
    EXPECT_EQ(document(true), document(false));
    EXPECT_FALSE(document(false).contains(QLatin1String("{}"))); // no empty groups at line ends
}

TEST(RtfDocument, AFailedWriteIsReported)
{
    FullDevice device(100);
    rtf::DocumentWriter writer(device, { QStringLiteral("Arial") }, 10);
    for (int i = 0; i < 10000; ++i)
        writer.append(QStringLiteral("A line of the report that does not fit\r\n"));
    writer.finish();
    EXPECT_FALSE(writer.ok());
    EXPECT_EQ(writer.errorString(), QStringLiteral("No space left on device"));
}

TEST(BlockWriter, WritesEveryPieceInOrderWhateverItsSize)
{
    // Single bytes, small pieces, pieces that straddle a block and pieces larger than a block.
    QByteArray expected;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        BlockWriter out(buffer);
        for (const int size : { 1, 7, 100000, 300000, 3, 262144, 262143, 2, 1000000, 5 }) {
            QByteArray piece(size, char('a' + size % 26));
            piece[0] = '<';
            if (size == 1) {
                out.put(piece.at(0));
            } else {
                out.put(piece);
            }
            expected += piece;
        }
        out.flush();
        EXPECT_TRUE(out.ok());
    }
    EXPECT_EQ(buffer.data(), expected);
}

TEST(BlockWriter, AFailedWriteIsRememberedAndNothingFollowsIt)
{
    FullDevice device(300000);
    BlockWriter out(device);
    for (int i = 0; i < 100; ++i)
        out.put(QByteArray(10000, 'x'));
    out.flush();
    EXPECT_FALSE(out.ok());
    EXPECT_EQ(out.errorString(), QStringLiteral("No space left on device"));
    // The device took the first block (the 26 pieces that fit in 256 KiB) and was never asked
    // again after refusing the next.
    EXPECT_EQ(device.pos(), 26 * 10000);
    EXPECT_EQ(device.refused, 1);
}

TEST(TextUtil, CaptionTextCutsLongTextsOnly)
{
    EXPECT_EQ(captionText(QStringLiteral("Age")), QStringLiteral("Age"));
    const QString exact(kCaptionLength, QChar(u'x'));
    EXPECT_EQ(captionText(exact), exact);

    const QString longText = QString(kCaptionLength * 1000, QChar(u'y'));
    EXPECT_EQ(captionText(longText), QString(kCaptionLength, QChar(u'y')) + QChar(0x2026));

    // A character outside the basic plane is never cut in half.
    const QString emoji = QString(kCaptionLength - 1, QChar(u'z')) + QString::fromUtf8("😀") + QStringLiteral("tail");
    const QString caption = captionText(emoji);
    EXPECT_FALSE(caption.at(caption.size() - 2).isHighSurrogate());
    EXPECT_EQ(caption, QString(kCaptionLength - 1, QChar(u'z')) + QChar(0x2026));
}
