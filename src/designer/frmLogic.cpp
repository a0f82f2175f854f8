#include "designer/frmLogic.h"

#include "designer/SelectComboByItemData.h"
#include "document/clsSurvey.h"
#include "platform/Rtf.h"
#include "platform/TextUtil.h"
#include "widgets/AccessibleNames.h"
#include "widgets/Twips.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <utility>

frmLogic::frmLogic(
    const clsSurvey& survey, ResponsePtr LogicResponse, int LogicResponseIndex, QPtr LogicQ, QWidget* parent)
    : QDialog(parent)
    , survey_(survey)
    , LogicResponse_(std::move(LogicResponse))
    , LogicResponseIndex_(LogicResponseIndex)
    , LogicQ_(std::move(LogicQ))
{
    setObjectName(QStringLiteral("frmLogic"));
    setWindowTitle(QStringLiteral("Logic"));
    setFixedSize(Twips::toPixelsX(5520), Twips::toPixelsY(2040));

    lblWhen = new QLabel(QStringLiteral("When response <response.name> is selected:"), this);
    lblWhen->setObjectName(QStringLiteral("lblWhen"));
    // The response's text is shown as typed, never as markup.
    lblWhen->setTextFormat(Qt::PlainText);
    Twips::place(lblWhen, 120, 120, 5280, 300);

    auto* label = new QLabel(QStringLiteral("Jump to question:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    Twips::place(label, 120, 480, 5280, 255);

    cboList = new QComboBox(this);
    cboList->setObjectName(QStringLiteral("cboList"));
    Twips::place(cboList, 120, 750, 5280, 330);
    labelFor(label, cboList);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    Twips::place(cmdOK, 3000, 1380, 1140, 400);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    Twips::place(cmdCancel, 4260, 1380, 1140, 400);

    connect(cmdOK, &QPushButton::clicked, this, &frmLogic::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmLogic::cmdCancel_Click);

    Form_Load();
}

void frmLogic::Form_Load()
{
    cboList->addItem(QStringLiteral("Next Question (Default)"), -1);
    for (int i = 1; i <= survey_.QCount(); ++i) {
        const QPtr q = survey_.GetQIndex(i);
        const QString text = rtf::captionOf(q->Question);
        cboList->addItem(q->qType == QTypeText ? text : q->QuestionNo + QStringLiteral(". ") + text, i);
    }
    // A combo box selects its first entry as it is filled; nothing is chosen until now.
    cboList->setCurrentIndex(-1);
    if (LogicResponse_ && !LogicResponse_->LogicJumpToQuestionKey.isEmpty()) {
        const int target = survey_.GetQIndexFromKey(LogicResponse_->LogicJumpToQuestionKey);
        if (target > 0)
            SelectComboByItemData(cboList, QString::number(target));
    }
    if (cboList->count() > 0 && cboList->currentIndex() < 0)
        cboList->setCurrentIndex(0);
    lblWhen->setText(
        lblWhen->text().replace(QStringLiteral("<response.name>"), LogicResponse_ ? LogicResponse_->Text : QString()));
}

void frmLogic::cmdOK_Click()
{
    if (cboList->currentIndex() >= 0 && LogicResponse_) {
        const int target = cboList->currentData().toInt();
        LogicResponse_->LogicJumpToQuestionID = -1;
        if (target == -1) {
            LogicResponse_->LogicJumpToQuestionKey.clear();
        } else if (const QPtr q = survey_.GetQIndex(target)) {
            LogicResponse_->LogicJumpToQuestionKey = q->Key;
        }
        if (LogicQ_)
            LogicQ_->UpdateResponse(LogicResponseIndex_, LogicResponse_);
    }
    accept();
}

void frmLogic::cmdCancel_Click()
{
    reject();
}
