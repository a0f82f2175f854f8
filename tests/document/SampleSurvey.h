#pragma once

#include "platform/Database.h"

#include <QString>
#include <QStringList>
#include <QVariant>

// A survey file written row by row, as answer entry and the results import leave it: questions
// in order, their responses, scales, respondents and answer rows.
class SurveyWriter {
public:
    // Opens a survey file (a copy of the template).
    explicit SurveyWriter(const QString& path);

    // Adds a question at the next position with its responses (matrix: its rows); returns its id.
    qint64 question(
        qint32 type, const QString& number, const QString& text, const QStringList& responses = {}, qint64 scale = 2);
    // The id of response `index` (from 1) of a question.
    qint64 response(qint64 question, int index);
    // A new answer scale with its columns; returns its id.
    qint64 scale(const QStringList& columns);
    qint64 column(qint64 scale, int index);
    qint64 respondent(const QVariant& source, const QString& submitted);
    void answer(
        qint64 respondent, qint64 question, qint64 response, const QVariant& text = {}, const QVariant& column = {});

    db::Connection connection;

private:
    int pos_ = 0;
};

// One question of every type and four respondents from four sources:
//   1 open "What is your name?", 2 check "Which fruits?" (Apple, Banana, Cherry), instruction text,
//   3 radio "Age?" (Under 30, 30 or over), 4 matrix "Rate" (rows Taste, Price on Good, Fair, Poor).
// Oldest first: Imported (2024-02-28 10:30), Manual Entry (2024-03-01 09:00), Web (2024-03-02
// midnight), Paper (2024-03-03 12:00).
struct SampleSurvey {
    explicit SampleSurvey(const QString& path);

    SurveyWriter w;
    qint64 open, check, text, radio, matrix, scale;
    qint64 apple, banana, cherry, under30, over30, taste, price, good, fair, poor;
    qint64 imported, manual, web, paper;
};
