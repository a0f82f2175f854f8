// The property pane of the Design screen: the question type, the question text, the answer rows,
// the response lists, the answer scales and the jumps.
#include "designer/DesignScreen.h"
#include "designer/ResponseListEditor.h"
#include "designer/SelectComboByItemData.h"
#include "designer/frmLogic.h"
#include "designer/frmMatrixDefine.h"
#include "document/MatrixScales.h"
#include "document/SurveySession.h"
#include "platform/TextUtil.h"
#include "widgets/Dialogs.h"
#include "widgets/ReportError.h"
#include "widgets/RichTextBox.h"
#include "widgets/TreeNodes.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace {
const QString kRootKey = QStringLiteral("S_Parent");
const QString kNoText = QStringLiteral("<Text not yet entered>");

void focusIfVisible(QWidget* widget)
{
    if (widget->isVisible() && widget->isEnabled())
        widget->setFocus();
}
} // namespace

void DesignScreen::showPanel(QWidget* panel)
{
    for (QWidget* p : { picOpenEnded, picCheck, picMatrix }) {
        if (p == panel) {
            p->show();
            p->raise();
        } else {
            p->hide();
        }
    }
}

void DesignScreen::SelectQType(int Index, QTreeWidgetItem* nodx)
{
    const qint32 type = typeOfOption(Index);
    if (type < 0)
        return;
    const QString key = TreeNodes::keyOf(nodx);
    const QPtr q = survey().GetQ(key);
    const qint32 before = q ? q->qType : type;

    switch (Index) {
    case 0:
    case 3:
        showPanel(picOpenEnded);
        survey().UpdateQuestionType(key, type);
        Label1[4]->hide();
        break;
    case 1:
    case 2:
        showPanel(picCheck);
        cmdRadioLogic->setVisible(Index == 2);
        survey().UpdateQuestionType(key, type);
        checkResponses_->fill(q.get());
        Label1[4]->show();
        focusIfVisible(txtCheckResponse);
        break;
    case 4:
        showPanel(picMatrix);
        survey().UpdateQuestionType(key, type);
        matrixResponses_->fill(q.get());
        Label1[4]->show();
        if (q) {
            const QScopedValueRollback<bool> scaleFillingGuard(scaleFilling_, true);
            SelectComboByItemData(cmbMatrixResponses, QString::number(q->ResponseMatrixGroupID));
        }
        focusIfVisible(txtMatrixResponse);
        break;
    }

    // A question that becomes instruction text gives up its number and one that stops being one
    // gets a number, so the numbers stay contiguous in memory, in the tree and in the file.
    if (q && (before == QTypeText) != (type == QTypeText))
        renumberQuestions();
}

void DesignScreen::optQType_Click(int Index)
{
    SelectQType(Index, tvTreeView->currentItem());
    session_.MarkFileChanged();
}

void DesignScreen::txtQ_KeyDown(int KeyCode, int Shift)
{
    (void)KeyCode;
    (void)Shift;
    if (textTooLong_)
        return;
    session_.MarkFileChanged();
}

void DesignScreen::txtQ_KeyUp(int KeyCode, int Shift)
{
    (void)KeyCode;
    (void)Shift;
    txtQ_LostFocus();
}

void DesignScreen::txtQ_LostFocus()
{
    if (paneFilling_ || textTooLong_)
        return;
    QTreeWidgetItem* node = tvTreeView->currentItem();
    if (!node || TreeNodes::keyOf(node) == kRootKey)
        return;
    clsSurvey& s = survey();
    const QString key = TreeNodes::keyOf(node);
    if (!s.GetQ(key))
        return;
    s.UpdateQuestion(key, txtQ->textRTF());
    const QString no = s.GetQuestionNoFromKey(key);
    const QString prefix
        = s.GetQuestionTypeFromKey(key) == QTypeText || no.isEmpty() ? QString() : no + QStringLiteral(". ");
    const QString text = txtQ->text();
    if (text.isEmpty()) {
        TreeNodes::setCaption(node, prefix + kNoText);
        return;
    }
    const qsizetype lineEnd = text.indexOf(QLatin1String("\r\n"));
    TreeNodes::setCaption(node, prefix + captionText(lineEnd >= 0 ? text.left(lineEnd) : text));
}

void DesignScreen::cmdOpenEndedNoOfRows_LostFocus()
{
    // The list loses the focus when the node click of another question moves it to the editor,
    // after the tree has selected that question: the number is the shown question's.
    const int index = cmdOpenEndedNoOfRows->currentIndex();
    const QPtr q = survey().GetQ(paneKey_);
    if (index < 0 || !q)
        return;
    q->OpenEnded_NoOfRows = index + 1;
    survey().SetQ(q->Key, q);
}

void DesignScreen::txtCheckResponse_GotFocus()
{
    defaultButton_ = cmdCheckAdd;
    cmdCheckAdd->setDefault(true);
}

void DesignScreen::txtCheckResponse_LostFocus()
{
    if (defaultButton_ == cmdCheckAdd)
        defaultButton_ = nullptr;
    cmdCheckAdd->setDefault(false);
}

void DesignScreen::txtMatrixResponse_GotFocus()
{
    defaultButton_ = cmdMatrixAdd;
    cmdMatrixAdd->setDefault(true);
}

void DesignScreen::txtMatrixResponse_LostFocus()
{
    if (defaultButton_ == cmdMatrixAdd)
        defaultButton_ = nullptr;
    cmdMatrixAdd->setDefault(false);
}

bool DesignScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == cmdOpenEndedNoOfRows && event->type() == QEvent::FocusOut)
        cmdOpenEndedNoOfRows_LostFocus();
    return QWidget::eventFilter(watched, event);
}

// The response lists

void DesignScreen::cmdCheckAdd_Click()
{
    checkResponses_->addResponse();
}

void DesignScreen::cdmCheckDelete_Click()
{
    checkResponses_->deleteResponse();
}

void DesignScreen::cmdCheckUp_Click()
{
    checkResponses_->moveUp();
}

void DesignScreen::cmdCheckDown_Click()
{
    checkResponses_->moveDown();
}

void DesignScreen::lstCheckResponses_Click()
{
    checkResponses_->listClick();
}

void DesignScreen::cmdMatrixAdd_Click()
{
    matrixResponses_->addResponse();
}

void DesignScreen::cmdMatrixDelete_Click()
{
    matrixResponses_->deleteResponse();
}

void DesignScreen::cmdMatrixUp_Click()
{
    matrixResponses_->moveUp();
}

void DesignScreen::cmdMatrixDown_Click()
{
    matrixResponses_->moveDown();
}

void DesignScreen::lstMatrixResponses_Click()
{
    matrixResponses_->listClick();
}

// Answer scales

void DesignScreen::cmbMatrixResponses_Click()
{
    const QPtr q = currentQuestion();
    if (cmbMatrixResponses->currentIndex() < 0 || !q)
        return;
    q->ResponseMatrixGroupID = cmbMatrixResponses->currentData().toInt();
    survey().SetQ(q->Key, q);
}

void DesignScreen::LoadMatrixResponses()
{
    db::Connection& connection = session_.SurveyConnection;
    const int remembered = cmbMatrixResponses->currentIndex();
    // Read first, so that a failing query leaves the list as it was.
    const std::vector<MatrixScales::Scale> scales
        = connection.isOpen() ? MatrixScales::read(connection) : std::vector<MatrixScales::Scale> {};

    const QScopedValueRollback<bool> scaleFillingGuard(scaleFilling_, true);
    {
        const QSignalBlocker blocker(cmbMatrixResponses);
        cmbMatrixResponses->clear();
        for (const MatrixScales::Scale& scale : scales)
            cmbMatrixResponses->addItem(scale.text, scale.id);
        cmbMatrixResponses->setCurrentIndex(remembered < cmbMatrixResponses->count() ? remembered : -1);
        if (cmbMatrixResponses->count() > 0 && cmbMatrixResponses->currentIndex() < 0)
            cmbMatrixResponses->setCurrentIndex(0);
    }
    if (cmbMatrixResponses->currentIndex() >= 0)
        cmbMatrixResponses_Click();
}

void DesignScreen::cmdMatrixDefine_Click()
{
    {
        frmMatrixDefine dialog(session_.SurveyConnection, window());
        dialog.exec();
    }
    try {
        LoadMatrixResponses();
    } catch (const db::Error& e) {
        reportError(QStringLiteral("Unable to read the matrix responses."), e, ErrorDetail::Number);
    }
}

// Jumps

void DesignScreen::cmdRadioLogic_Click()
{
    const int row = checkResponses_->selectedRow();
    if (row < 0) {
        Dialogs::msgBox(
            QStringLiteral("Please select a response to apply logic to."), Dialogs::OKOnly, Dialogs::Critical);
        return;
    }
    const QPtr q = currentQuestion();
    const ResponsePtr response = q ? q->GetResponse(row + 1) : nullptr;
    if (!response) {
        Dialogs::msgBox(QStringLiteral("Unable to set logic for this response."), Dialogs::OKOnly, Dialogs::Critical);
        return;
    }
    LogicResponse = response;
    LogicQ = q;
    LogicResponseIndex = row + 1;
    {
        frmLogic dialog(survey(), LogicResponse, LogicResponseIndex, LogicQ, window());
        dialog.exec();
    }
    session_.MarkFileChanged();
}
