#pragma once

#include "document/clsResponse.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// Question type codes as stored in the survey file.
enum QuestionType : qint32 {
    QTypeOpenEnded = 0,
    QTypeCheck = 1,
    QTypeRadio = 2,
    QTypeMatrix = 3,
    QTypeText = 4,
};

// True for the types that carry responses (check, radio and matrix).
constexpr bool carriesResponses(qint32 qType)
{
    return qType == QTypeCheck || qType == QTypeRadio || qType == QTypeMatrix;
}

// The number and ". " that stand before a question's text in captions, headings and answer entry;
// "" for instruction text, which is never numbered, and for a question without a number.
inline QString numberPrefix(qint32 qType, const QString& questionNo)
{
    if (qType == QTypeText || questionNo.isEmpty())
        return QString();
    return questionNo + QStringLiteral(". ");
}

// One question of the survey. Responses are held in a 1-based list; the objects are shared, so a
// response handed out by GetResponse is the stored one.
class clsQ {
public:
    // The id of its row in the question table; -1 until it is stored.
    int DatabaseID = 0;
    // Identifies the question while the survey is open; never stored.
    QString Key;
    qint32 qType = 0;
    // The question text as rich text (RTF).
    QString Question;
    // "1", "2", ...; "" for an item added as instruction text.
    QString QuestionNo;
    // Answer lines of an open-ended question (not stored: 0 for a question read from a file).
    int OpenEnded_NoOfRows = 0;
    // The answer scale of a matrix question.
    int ResponseMatrixGroupID = 0;

    int ResponsesCount() const { return int(responses_.size()); }

    // Removes response i; the later ones move up. A position outside the list changes nothing.
    void RemoveResponse(int i);
    void AddResponse(
        const QString& s, qint64 ResponseDatabaseID, int LogicJumpToQuestionID, const QString& LogicJumpToQuestionKey);
    // Response i, 1 to ResponsesCount(); no object outside the list.
    ResponsePtr GetResponse(int i) const;
    // Puts r at position i (1 to ResponsesCount()).
    void UpdateResponse(int i, ResponsePtr r);
    void ClearAllResponses();
    // One response per line, in order, without ids or jumps.
    void CreateResponsesFromListBox(const QStringList& lines);

private:
    std::vector<ResponsePtr> responses_;
};

using QPtr = std::shared_ptr<clsQ>;
