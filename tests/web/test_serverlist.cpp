// The server entries: the built-in one, the settings keys, numbering and the file's privacy.
#include "platform/Settings.h"
#include "web/ServerList.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

const QString kApp = QStringLiteral("Orvalen Survey");

QString settingsFile()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("tessivo"), kApp).fileName();
}

class ServerListTest : public ::testing::Test {
protected:
    void SetUp() override { QFile::remove(settingsFile()); }
    void TearDown() override { QFile::remove(settingsFile()); }

    struct Info {
        bool found;
        QStringList values;
    };
    static Info info(int index)
    {
        QString name = "x", url = "x", ftp = "x", user = "x", password = "x";
        const bool found = GetServerInfo(index, name, url, ftp, user, password);
        return { found, { name, url, ftp, user, password } };
    }
};

TEST_F(ServerListTest, TheBuiltInEntryIsFixedAndReadsNoSettings)
{
    const Info i = info(-1);
    EXPECT_TRUE(i.found);
    EXPECT_EQ(i.values.at(0), QStringLiteral("Brelloc"));
    EXPECT_TRUE(i.values.at(1).startsWith(QLatin1String("http"))) << i.values.at(1).toStdString();
    EXPECT_TRUE(i.values.at(1).endsWith(QLatin1Char('/')));
    EXPECT_TRUE(i.values.at(3).contains(QLatin1Char('@')));
    EXPECT_EQ(i.values.at(4).size(), 13);
    EXPECT_TRUE(i.values.at(4).contains(QLatin1Char('@')));
    EXPECT_FALSE(QFile::exists(settingsFile()));
}

TEST_F(ServerListTest, EntriesAreReadFromTheSettingsWithTheFinalSlashRule)
{
    const std::vector<std::pair<QString, QString>> urls = { { "http://host/survey", "http://host/survey/" },
        { "h", "h" }, { "http://host/", "http://host/" }, { "", "" } };
    int n = 0;
    for (const auto& [stored, read] : urls) {
        ++n;
        saveSetting(kApp, "ServerList", "ServerName" + QString::number(n), "Server " + QString::number(n));
        saveSetting(kApp, "ServerList", "ServerURL" + QString::number(n), stored);
        saveSetting(kApp, "ServerList", "FTPServer" + QString::number(n), "ftp.host:2121");
        saveSetting(kApp, "ServerList", "FTPUsername" + QString::number(n), "ann");
        saveSetting(kApp, "ServerList", "FTPPassword" + QString::number(n), "pw");
        const Info i = info(n);
        EXPECT_TRUE(i.found);
        EXPECT_EQ(i.values, (QStringList { "Server " + QString::number(n), read, "ftp.host:2121", "ann", "pw" }));
    }
    const Info missing = info(7);
    EXPECT_FALSE(missing.found);
    EXPECT_EQ(missing.values, QStringList(5, QString()));
}

TEST_F(ServerListTest, NewEntriesTakeTheNextNumberAndTheFileStaysPrivate)
{
    const ServerEntry e { "Mine", "http://h", "ftp.h", "", " " };
    EXPECT_EQ(ServerList::add(e), 1);
    EXPECT_EQ(getSetting(kApp, "Config", "TotalServers"), QStringLiteral("1"));
    EXPECT_EQ(getSetting(kApp, "ServerList", "ServerURL1"), QStringLiteral("http://h"));
    EXPECT_EQ(getSetting(kApp, "ServerList", "FTPPassword1"), QStringLiteral(" "));
    EXPECT_EQ(ServerList::add(e), 2);

    // Numbers are never given twice: not after a gap, nor when the count was lost.
    saveSetting(kApp, "Config", "TotalServers", "5");
    EXPECT_EQ(ServerList::add(e), 6);
    deleteSetting(kApp, "Config", "TotalServers");
    EXPECT_EQ(ServerList::add(e), 7);
    EXPECT_EQ(getSetting(kApp, "Config", "TotalServers"), QStringLiteral("7"));

    EXPECT_EQ(QFile::permissions(settingsFile()) & 0x7777,
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
}

// A number that cannot grow is refused and nothing is written; numbers that are no entry
// numbers (negative, or not numbers at all) do not count.
TEST_F(ServerListTest, TheNextNumberIsRefusedWhenNoneIsLeft)
{
    struct Case {
        const char* totalServers; // nullptr: absent
        const char* nameKey; // an extra "ServerName..." key, or nullptr
        int expected; // 0: refused
    };
    const std::vector<Case> cases = {
        { "2147483647", nullptr, 0 },
        { nullptr, "ServerName2147483647", 0 },
        { "2", "ServerName2147483648", 0 },
        { "99999999999999999999", nullptr, 0 },
        { "2147483646", nullptr, 2147483647 },
        { "-2", nullptr, 1 },
        { "-2147483648", "ServerName-7", 1 },
        { "many", "ServerNameX", 1 },
    };
    const ServerEntry e { "Mine", "http://h", "ftp.h", "", "" };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.totalServers ? c.totalServers : "-") + " " + (c.nameKey ? c.nameKey : "-"));
        QFile::remove(settingsFile());
        if (c.totalServers)
            saveSetting(kApp, "Config", "TotalServers", c.totalServers);
        if (c.nameKey)
            saveSetting(kApp, "ServerList", c.nameKey, "Far");
        QFile before(settingsFile());
        ASSERT_TRUE(before.open(QIODevice::ReadOnly));
        const QByteArray bytes = before.readAll();
        before.close();

        ServerList::AddResult result = ServerList::AddResult::Stored;
        EXPECT_EQ(ServerList::add(e, &result), c.expected);
        if (c.expected == 0) {
            EXPECT_EQ(result, ServerList::AddResult::NoNumberLeft);
            QFile after(settingsFile());
            ASSERT_TRUE(after.open(QIODevice::ReadOnly));
            EXPECT_EQ(after.readAll().toStdString(), bytes.toStdString());
        } else {
            EXPECT_EQ(result, ServerList::AddResult::Stored);
            const QString n = QString::number(c.expected);
            EXPECT_EQ(getSetting(kApp, "Config", "TotalServers"), n);
            EXPECT_EQ(getSetting(kApp, "ServerList", "ServerName" + n), QStringLiteral("Mine"));
        }
    }
}

TEST(IsArrayDimensionedTest, OnlyAListWithElements)
{
    EXPECT_FALSE(IsArrayDimensioned(QVariant()));
    EXPECT_FALSE(IsArrayDimensioned(QVariant(QStringLiteral("text"))));
    EXPECT_FALSE(IsArrayDimensioned(QVariant(QVariantList())));
    EXPECT_TRUE(IsArrayDimensioned(QVariant(QStringList { QStringLiteral("one") })));
    EXPECT_TRUE(IsArrayDimensioned(QVariant(QVariantList { 1 })));
    EXPECT_FALSE(IsArrayDimensioned(getAllSettings(kApp, QStringLiteral("NoSuchSection"))));
}

} // namespace
