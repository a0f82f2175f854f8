// Speed of the survey file on a large survey: 100,000 respondents answering ten check questions
// of four responses (about a million answer rows).
// Run build/bin/bench_survey (a Release build gives the figures that count).
#include "document/SurveyFile.h"
#include "platform/Database.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int kRespondents = 100000;
constexpr int kQuestions = 10;
constexpr int kResponses = 4;

// A survey file made once per process from the template, with or without its indexes.
class LargeSurvey {
public:
    explicit LargeSurvey(bool indexed)
    {
        path = dir.filePath(QStringLiteral("large.tvq"));
        QFile::copy(QDir(QStringLiteral(TESSIVO_BIN_DIR)).filePath(QStringLiteral("blank.mdb")), path);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        SurveyFile::OpenConnection(conn, path);

        clsSurvey survey;
        for (int q = 0; q < kQuestions; ++q) {
            const QString key = survey.AddQ(QStringLiteral("Question %1").arg(q), QTypeCheck, -1, 2);
            for (int r = 0; r < kResponses; ++r)
                survey.GetQ(key)->AddResponse(QStringLiteral("Answer %1").arg(r), -1, -1, QString());
        }
        SurveyFile::Save(conn, survey);
        SurveyFile::Load(conn, survey);

        std::mt19937 random(7);
        db::Transaction t(conn);
        db::Statement addRespondent(conn, QStringLiteral("INSERT INTO respondent (source) VALUES ('Manual Entry')"));
        db::Statement addAnswer(conn,
            QStringLiteral("INSERT INTO Respondent_Responses (QuestionID, RespondentID, ResponseID) VALUES (?, ?, ?)"));
        for (int p = 0; p < kRespondents; ++p) {
            addRespondent.execute();
            const qint64 respondent = conn.lastInsertId();
            for (int q = 1; q <= kQuestions; ++q) {
                const QPtr question = survey.GetQIndex(q);
                const ResponsePtr chosen = question->GetResponse(int(random() % kResponses) + 1);
                addAnswer.execute({question->DatabaseID, respondent, chosen->DatabaseID});
            }
        }
        t.commit();
        if (!indexed) {
            for (const char* index : {"ix_answer_response_question", "ix_answer_response_column",
                                      "ix_answer_respondent_question"})
                conn.Execute(QStringLiteral("DROP INDEX %1").arg(QString::fromLatin1(index)));
        }
        db::Recordset rs = conn.OpenRecordset(
            QStringLiteral("SELECT questionid, id FROM response ORDER BY questionid, pos"));
        for (; !rs.atEnd(); rs.MoveNext())
            responses.emplace_back(rs.field(0).toInt(), rs.field(1).toInt());
    }

    QTemporaryDir dir;
    QString path;
    db::Connection conn;
    std::vector<std::pair<int, int>> responses;  // question id, response id
};

LargeSurvey& survey(bool indexed)
{
    static LargeSurvey with(true);
    static LargeSurvey without(false);
    return indexed ? with : without;
}

// One answer count of the summary report, as the report runs it for every response.
void AnswerCount(benchmark::State& state)
{
    LargeSurvey& s = survey(state.range(0) != 0);
    size_t i = 0;
    for (auto _ : state) {
        const auto& [question, response] = s.responses[i++ % s.responses.size()];
        db::Recordset rs = s.conn.OpenRecordset(
            QStringLiteral("SELECT COUNT(*) FROM respondent_responses WHERE responseid = %1 AND questionid = %2")
                .arg(response)
                .arg(question));
        benchmark::DoNotOptimize(rs.field(0).toInt());
    }
}
BENCHMARK(AnswerCount)->Arg(1)->Arg(0)->ArgNames({"indexed"})->Unit(benchmark::kMillisecond);

// One respondent's answer to one question, as answer entry and the reports read it.
void RespondentAnswer(benchmark::State& state)
{
    LargeSurvey& s = survey(true);
    int respondent = 1;
    for (auto _ : state) {
        db::Recordset rs = s.conn.OpenRecordset(
            QStringLiteral("SELECT id FROM Respondent_Responses WHERE respondentid = %1 AND questionid = %2")
                .arg(respondent)
                .arg(s.responses.front().first));
        benchmark::DoNotOptimize(rs.atEnd());
        respondent = respondent % kRespondents + 1;
    }
}
BENCHMARK(RespondentAnswer)->Unit(benchmark::kMicrosecond);

// Saving the design of a large survey: 500 questions of four responses each.
void SaveDesign(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("design.tvq"));
    QFile::copy(QDir(QStringLiteral(TESSIVO_BIN_DIR)).filePath(QStringLiteral("blank.mdb")), path);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    db::Connection conn;
    SurveyFile::OpenConnection(conn, path);
    clsSurvey survey;
    for (int q = 0; q < 500; ++q) {
        const QString key = survey.AddQ(QStringLiteral("Question %1").arg(q), QTypeRadio, -1, 2);
        for (int r = 0; r < 4; ++r)
            survey.GetQ(key)->AddResponse(QStringLiteral("Answer %1").arg(r), -1, -1, QString());
    }
    for (auto _ : state) {
        SurveyFile::Save(conn, survey);
        SurveyFile::Load(conn, survey);
    }
}
BENCHMARK(SaveDesign)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
