#include "document/clsQ.h"

void clsQ::RemoveResponse(int i)
{
    if (i < 1 || i > ResponsesCount())
        return;
    responses_.erase(responses_.begin() + (i - 1));
}

void clsQ::AddResponse(
    const QString& s, qint64 ResponseDatabaseID, int LogicJumpToQuestionID, const QString& LogicJumpToQuestionKey)
{
    auto r = std::make_shared<clsResponse>();
    r->DatabaseID = int(ResponseDatabaseID);
    r->Text = s;
    r->LogicJumpToQuestionID = LogicJumpToQuestionID;
    r->LogicJumpToQuestionKey = LogicJumpToQuestionKey;
    responses_.push_back(std::move(r));
}

ResponsePtr clsQ::GetResponse(int i) const
{
    if (i < 1 || i > ResponsesCount())
        return nullptr;
    return responses_[size_t(i - 1)];
}

void clsQ::UpdateResponse(int i, ResponsePtr r)
{
    if (i < 1 || i > ResponsesCount() || !r)
        return;
    responses_[size_t(i - 1)] = std::move(r);
}

void clsQ::ClearAllResponses()
{
    responses_.clear();
}

void clsQ::CreateResponsesFromListBox(const QStringList& lines)
{
    for (const QString& line : lines)
        AddResponse(line, -1, -1, QString());
}
