#pragma once

#include "document/clsQ.h"

#include <QString>

#include <vector>

// The open survey: its questions in survey order, in a 1-based list. Look-ups are linear, compare
// keys exactly and answer "not found" with a sentinel (no object, -1, "" or type 4).
class clsSurvey {
public:
    QString ProjectFilename;

    int QCount() const { return int(questions_.size()); }

    // Numbers every question that is not instruction text "1", "2", ... in survey order.
    void ReorderQ_QuestionNos();
    // Appends a new question and returns its fresh key.
    QString AddQ(const QString& Question, qint32 qType, int DatabaseID, int ResponseMatrixGroupID);
    // Gives the question a fresh key and appends it as it is.
    QString AddQ2(QPtr newQ);
    void DeleteQ(const QString& Key);
    // Walks question i and its responses; kept for debugging, has no effect.
    void DebugQResponses(int i) const;
    QPtr GetQ(const QString& Key) const;
    // Exchanges the places of two questions; nothing is renumbered.
    void SwapQ(const QString& Key1, const QString& Key2);
    int GetQIndexFromKey(const QString& Key) const;
    QString GetQuestionNoFromKey(const QString& Key) const;
    qint32 GetQuestionTypeFromKey(const QString& Key) const;
    QString GetKeyFromDatabaseID(int DatabaseID) const;
    // The question at position i (1 to QCount()); no object outside the list.
    QPtr GetQIndex(int i) const;
    void SetQ(const QString& Key, QPtr q);
    void UpdateQuestion(const QString& Key, const QString& Question);
    void UpdateQuestionType(const QString& Key, qint32 QuestionType);
    void ClearAll();

private:
    int indexOf(const QString& Key) const;  // 0-based, -1 when absent

    std::vector<QPtr> questions_;
};
