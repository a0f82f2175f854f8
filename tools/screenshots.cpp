// Draws the README's pictures of the three screens: the program on the offscreen platform with a
// sample survey of its own (a customer survey and 24 respondents), each screen grabbed into a PNG
// of the folder given. Run by the target `screenshots`; the user's settings and folders are not
// touched (everything lives in a temporary folder).
#include "analysis/AnalyseScreen.h"
#include "designer/DesignScreen.h"
#include "document/SurveyFile.h"
#include "platform/AppPath.h"
#include "platform/Database.h"
#include "platform/Rtf.h"
#include "platform/Settings.h"
#include "shell/MainBas.h"
#include "shell/frmMain.h"
#include "shell/frmSplash.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <cstdio>

namespace {

struct Question {
    qint32 type;
    QString number;
    QString text;
    QStringList responses;
    qint64 scale = 2;
};

// Writes the sample survey into a copy of the template: its questions, and respondents whose
// answers follow a fixed pattern, so that every run draws the same pictures.
void writeSample(const QString& path)
{
    db::Connection c;
    SurveyFile::openConnection(c, path);
    const QList<Question> questions {
        { 2, QStringLiteral("1"), QStringLiteral("How did you hear about us?"),
            { QStringLiteral("From a friend"), QStringLiteral("In the newspaper"), QStringLiteral("Searching the web"),
                QStringLiteral("Other") } },
        { 1, QStringLiteral("2"), QStringLiteral("Which of our services have you used?"),
            { QStringLiteral("Delivery"), QStringLiteral("Repairs"), QStringLiteral("Advice in the shop") } },
        { 3, QStringLiteral("3"), QStringLiteral("How satisfied are you with"),
            { QStringLiteral("our staff"), QStringLiteral("our prices"), QStringLiteral("our opening hours") }, 4 },
        { 0, QStringLiteral("4"), QStringLiteral("What could we do better?"), {} },
        { 4, QString(), QStringLiteral("Thank you for your time."), {} },
    };
    QList<qint64> ids;
    QList<QList<qint64>> responses;
    int pos = 0;
    for (const Question& q : questions) {
        c.execute(QStringLiteral("INSERT INTO question (question, questionno, qtype, pos) VALUES (?, ?, ?, ?)"),
            { rtf::fromPlainText(q.text), q.number, q.type, ++pos });
        ids << c.lastInsertId();
        QList<qint64> own;
        int rpos = 0;
        for (const QString& name : q.responses) {
            c.execute(QStringLiteral(
                          "INSERT INTO response (questionid, name, pos, responseMatrixGroupID) VALUES (?, ?, ?, ?)"),
                { ids.last(), name, ++rpos, q.scale });
            own << c.lastInsertId();
        }
        responses << own;
    }
    QList<qint64> satisfaction;
    for (db::Recordset rs = c.openRecordset(
             QStringLiteral("SELECT id FROM responsematrix WHERE responsematrixgroupid = 4 ORDER BY pos"));
         !rs.atEnd(); rs.moveNext())
        satisfaction << rs.field(0).toLongLong();

    const QStringList remarks { QStringLiteral("Open on Sundays"), QStringLiteral("More parking"), QString(),
        QStringLiteral("Faster delivery"), QString(), QStringLiteral("Nothing, thank you") };
    const auto answer
        = [&c](qint64 respondent, qint64 question, qint64 response, const QVariant& text, const QVariant& column) {
              c.execute(QStringLiteral("INSERT INTO Respondent_Responses (QuestionID, RespondentID, ResponseID, "
                                       "SimpleResponse, ResponseMatrixID) VALUES (?, ?, ?, ?, ?)"),
                  { question, respondent, response, text, column });
          };
    const int heard[24] = { 0, 0, 2, 1, 0, 2, 0, 3, 1, 0, 2, 0, 0, 1, 2, 0, 2, 0, 1, 0, 3, 2, 0, 0 };
    for (int i = 0; i < 24; ++i) {
        c.execute(QStringLiteral("INSERT INTO respondent (source, submitteddate) VALUES (?, ?)"),
            { i % 3 == 2 ? QStringLiteral("Web") : QStringLiteral("Manual Entry"),
                QStringLiteral("2024-03-%1 %2:%3:00")
                    .arg(4 + i / 4, 2, 10, QLatin1Char('0'))
                    .arg(9 + (i * 5) % 8, 2, 10, QLatin1Char('0'))
                    .arg((i * 17) % 60, 2, 10, QLatin1Char('0')) });
        const qint64 r = c.lastInsertId();
        answer(r, ids[0], responses[0][heard[i]], {}, {});
        for (int s = 0; s < 3; ++s) {
            if ((i + s * 2) % 3 != 0)
                answer(r, ids[1], responses[1][s], {}, {});
        }
        for (int row = 0; row < 3; ++row)
            answer(r, ids[2], responses[2][row], {}, satisfaction[qMin(4, 2 + (i + row * 3) % 5 / 2 + row % 2)]);
        if (!remarks[i % remarks.size()].isEmpty())
            answer(r, ids[3], 1, remarks[i % remarks.size()], {});
    }
}

bool save(QWidget* window, const QString& folder, const QString& name)
{
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(name);
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    QApplication app(argc, argv);
    setApplicationIdentity();
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);

    // The shipped files of the build; everything written goes into the temporary folder. The
    // survey lies in a folder whose name the status bar shows the same on every run.
    setProgramFolders({ appPath(), home.path() });
    QDir surveys(QDir::tempPath() + QStringLiteral("/Surveys"));
    if (surveys.exists() || !surveys.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "%s is in the way\n", qPrintable(surveys.path()));
        return 1;
    }
    const QString survey = surveys.filePath(QStringLiteral("Customer survey.tvq"));
    if (!QFile::copy(appFile(QStringLiteral("blank.mdb")), survey)) {
        std::fprintf(stderr, "no template in %s\n", qPrintable(appPath()));
        surveys.removeRecursively();
        return 1;
    }
    QFile::setPermissions(survey, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    writeSample(survey);

    frmSplash::setDisplayTime(1);
    saveSetting(QStringLiteral("Orvalen Survey"), QStringLiteral("Config"), QStringLiteral("FirstRun"),
        QStringLiteral("False"));
    saveSetting(appExeName(), QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"), QStringLiteral("0"));
    SurveySession session;
    db::Connection library;
    auto w = std::make_unique<frmMain>(session, library);
    Main(*w, survey);
    w->showNormal();
    w->resize(1100, 720);
    w->Form_Resize();

    // Design: the radio question with its responses. (Showing a question of another type counts as
    // an edit; nothing was edited here, so no screen asks to save.)
    w->design()->selectNode(w->design()->rootNode()->child(0));
    w->session().setFileChanged(false);
    bool ok = save(w.get(), out, QStringLiteral("design.png"));

    w->action(QStringLiteral("mnuViewDataCollection"))->trigger();
    ok = save(w.get(), out, QStringLiteral("collection.png")) && ok;

    // Analyse: the summary, and the chart of the first question's answers.
    w->action(QStringLiteral("mnuViewAnalyse"))->trigger();
    QTableWidget* summary = w->findChild<QTableWidget*>(QStringLiteral("gSummaryReport"));
    summary->setCurrentCell(1, 1);
    w->analyse()->gSummaryReport_Click();
    ok = save(w.get(), out, QStringLiteral("analyse.png")) && ok;

    w->close();
    w.reset();
    surveys.removeRecursively();
    return ok ? 0 : 1;
}
