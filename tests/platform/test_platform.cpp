#include "platform/Guid.h"
#include "platform/Settings.h"
#include "platform/TempFile.h"
#include "platform/TextUtil.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(Guid, KeysAreFreshUpperCaseHexWithoutBracesOrHyphens)
{
    const QString a = CreateGUIDKey(QStringLiteral("{}-"));
    const QString b = CreateGUIDKey(QStringLiteral("{}-"));
    const QRegularExpression hex(QStringLiteral("^[0-9A-F]{32}$"));
    EXPECT_TRUE(hex.match(a).hasMatch()) << a.toStdString();
    EXPECT_TRUE(hex.match(b).hasMatch()) << b.toStdString();
    EXPECT_NE(a, b);
    EXPECT_EQ(CreateGUIDKey(QString()).size(), 38);
}

TEST(Guid, RegistryFormAndOtherCharactersRemoved)
{
    const QRegularExpression registry(
        QStringLiteral("^\\{[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\\}$"));
    const QString full = CreateGUIDKey(QString());
    EXPECT_TRUE(registry.match(full).hasMatch()) << full.toStdString();
    const QString noHyphens = CreateGUIDKey(QStringLiteral("-"));
    EXPECT_EQ(noHyphens.size(), 34);
    EXPECT_TRUE(noHyphens.startsWith(QLatin1Char('{')) && noHyphens.endsWith(QLatin1Char('}')));
    const QString noDigitA = CreateGUIDKey(QStringLiteral("{}-A"));
    EXPECT_FALSE(noDigitA.contains(QLatin1Char('A')));
    EXPECT_FALSE(noDigitA.contains(QLatin1Char('-')));
    QSet<QString> seen;
    for (int i = 0; i < 10000; ++i)
        seen.insert(CreateGUIDKey(QStringLiteral("{}-")));
    EXPECT_EQ(seen.size(), 10000);
}

TEST(TextUtil, NullToEmptyTrimNullAndUntitledNames)
{
    EXPECT_EQ(NullToEmpty(QVariant()), QString());
    EXPECT_EQ(NullToEmpty(QVariant(5)), QStringLiteral("5"));
    EXPECT_EQ(NullToEmpty(QVariant(1.7)), QStringLiteral("1.7"));
    EXPECT_EQ(NullToEmpty(QVariant(QStringLiteral("x"))), QStringLiteral("x"));

    QString buffer = QStringLiteral("/opt/tessivo/HC1A.TMP");
    buffer += QString(256 - buffer.size(), QChar(u'\0'));
    EXPECT_EQ(TrimNull(buffer), QStringLiteral("/opt/tessivo/HC1A.TMP"));
    EXPECT_EQ(TrimNull(QStringLiteral("no nul")), QStringLiteral("no nul"));

    for (const char* path : { "/a/HC1F.TMP", "/a/b.tmp", "c.Tmp" })
        EXPECT_TRUE(isUntitledPath(QString::fromLatin1(path))) << path;
    for (const char* path : { "/a/survey.tvq", "", "tmp", "/a/b.tmpx" })
        EXPECT_FALSE(isUntitledPath(QString::fromLatin1(path))) << path;
}

TEST(TempFile, CreatesDistinctEmptyFilesNamedByTheRule)
{
    QTemporaryDir dir;
    const QRegularExpression rule(QStringLiteral("^HC[0-9A-F]{1,4}\\.TMP$"));
    QStringList made;
    for (int i = 0; i < 5; ++i) {
        const QString path = createTempFileName(dir.path(), QStringLiteral("HC"));
        ASSERT_FALSE(path.isEmpty());
        const QFileInfo info(path);
        EXPECT_TRUE(rule.match(info.fileName()).hasMatch()) << path.toStdString();
        EXPECT_TRUE(info.exists());
        EXPECT_EQ(info.size(), 0);
        EXPECT_EQ(info.absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
        EXPECT_FALSE(made.contains(path));
        made << path;
    }
    EXPECT_TRUE(createTempFileName(dir.filePath(QStringLiteral("missing")), QStringLiteral("HC")).isEmpty());
}

TEST(Settings, ValuesRoundTripPerApplicationAndSection)
{
    EXPECT_EQ(getSetting(QStringLiteral("Orvalen Survey"), QStringLiteral("Config"), QStringLiteral("FirstRun"),
                  QStringLiteral("True")),
        QStringLiteral("True"));
    saveSetting(QStringLiteral("Orvalen Survey"), QStringLiteral("Config"), QStringLiteral("FirstRun"),
        QStringLiteral("False"));
    saveSetting(QStringLiteral("tessivo"), QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"),
        QStringLiteral("0"));
    EXPECT_EQ(getSetting(QStringLiteral("Orvalen Survey"), QStringLiteral("Config"), QStringLiteral("FirstRun")),
        QStringLiteral("False"));
    EXPECT_EQ(getSetting(QStringLiteral("tessivo"), QStringLiteral("Options"), QStringLiteral("Show Tips at Startup")),
        QStringLiteral("0"));
    EXPECT_EQ(getSetting(
                  QStringLiteral("tessivo"), QStringLiteral("Config"), QStringLiteral("FirstRun"), QStringLiteral("d")),
        QStringLiteral("d"));

    saveSetting(QStringLiteral("Orvalen Survey"), QStringLiteral("ServerList"), QStringLiteral("ServerName1"),
        QStringLiteral("A"));
    saveSetting(QStringLiteral("Orvalen Survey"), QStringLiteral("ServerList"), QStringLiteral("ServerURL1"),
        QStringLiteral("http://a/"));
    const auto all = getAllSettings(QStringLiteral("Orvalen Survey"), QStringLiteral("ServerList"));
    ASSERT_EQ(all.size(), 2);
    deleteSetting(QStringLiteral("Orvalen Survey"), QStringLiteral("ServerList"), QStringLiteral("ServerName1"));
    EXPECT_EQ(getAllSettings(QStringLiteral("Orvalen Survey"), QStringLiteral("ServerList")).size(), 1);
}
