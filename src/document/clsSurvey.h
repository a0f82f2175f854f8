#pragma once

#include "document/clsQ.h"

#include <QHash>
#include <QString>

#include <vector>

// The open survey: its questions in survey order, in a 1-based list. Look-ups compare keys
// exactly, find the first question with the key and answer "not found" with a sentinel (no
// object, -1, "" or type 4).
//
// Look-ups by key go through an index (key to position) kept in step with every add, delete,
// swap and SetQ, so they take the same time at any size. A question's Key is given by AddQ and
// AddQ2 only: code outside the survey must not assign the Key of a question in the list (an
// index entry found stale is repaired, but a key assigned from outside is not found).
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

    // How many questions the look-ups by key have read so far: one for each key found, and every
    // question for each rebuild of the index. Tests check with it that a look-up reads one
    // question at any size.
    qint64 keyReads() const { return keyReads_; }

private:
    int indexOf(const QString& Key) const; // 0-based, -1 when absent
    void rebuildIndex() const;
    // Enters a key appended at position i, unless an earlier question has it.
    void indexAppended(const QString& Key, int i);

    std::vector<QPtr> questions_;
    // Key to the 0-based position of the first question with it; rebuilt when not valid.
    mutable QHash<QString, int> index_;
    mutable bool indexValid_ = true;
    // Some key is held by more than one position (the same object added twice).
    mutable bool duplicates_ = false;
    mutable qint64 keyReads_ = 0;
};
