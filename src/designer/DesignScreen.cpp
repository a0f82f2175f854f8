// The Design screen: its controls, the question tree and the commands that add, delete and move
// questions.
#include "designer/DesignScreen.h"

#include "platform/Dialogs.h"
#include "platform/RichTextBox.h"
#include "platform/Rtf.h"
#include "platform/TextUtil.h"
#include "platform/TreeNodes.h"
#include "platform/Twips.h"
#include "platform/ScreenParts.h"
#include "document/SurveySession.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTreeWidget>

namespace {
const QString kRootKey = QStringLiteral("S_Parent");
const QString kNoText = QStringLiteral("<Text not yet entered>");

// The number prefix of a question's caption; instruction texts are never numbered.
QString numberPrefix(qint32 qType, const QString& questionNo)
{
    if (qType == QTypeText || questionNo.isEmpty())
        return QString();
    return questionNo + QStringLiteral(". ");
}

QLabel* makeLabel(const QString& text, int index, QWidget* parent, int left, int top, int width)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("Label1"));
    label->setProperty("Index", index);
    Twips::Place(label, left, top, width, 255);
    return label;
}

QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QPushButton* makeArrow(const QString& name, QStyle::StandardPixmap arrow, QWidget* parent)
{
    QPushButton* button = makeButton(name, QString(), parent);
    button->setIcon(parent->style()->standardIcon(arrow));
    return button;
}
}  // namespace

DesignScreen::DesignScreen(SurveySession& session, db::Connection& library, QWidget* parent)
    : QWidget(parent), session_(session), library_(library)
{
    setObjectName(QStringLiteral("picDesign"));

    picTitle = MakeTitlePanel(this, QStringLiteral("picTitle"), QStringLiteral("lblTitleDesign"), QStringLiteral("Design"));

    picTitles = new QWidget(this);
    picTitles->setObjectName(QStringLiteral("picTitles"));
    Twips::Place(picTitles, 0, 500, 12000, 60);

    lblInstructions = MakeInstructions(this,
        QStringLiteral("Instructions - You are currently designing your survey. To add a question press the "
                       "'Add Question' button above, enter your Question Text and select the Question Type. "
                       "For more help press F1."),
        0);
    Twips::Place(lblInstructions, 150, 600, 11000, 500);

    buildTreeBox();
    buildLibraryBox();
    buildPropertyPane();
    connectTree();
}

void DesignScreen::buildTreeBox()
{
    picTreeView = new QWidget(this);
    picTreeView->setObjectName(QStringLiteral("picTreeView"));
    Twips::Place(picTreeView, 150, 1150, 3900, 4200);

    tvTreeView = new QTreeWidget(picTreeView);
    tvTreeView->setObjectName(QStringLiteral("tvTreeView"));
    tvTreeView->setHeaderHidden(true);
    tvTreeView->setRootIsDecorated(true);
    TreeNodes::ShowWholeCaptions(tvTreeView);
    Twips::Place(tvTreeView, 0, 0, 3900, 3600);

    picBlankPanel = new QWidget(picTreeView);
    picBlankPanel->setObjectName(QStringLiteral("picBlankPanel"));
    Twips::Place(picBlankPanel, 0, 3650, 3900, 450);
    cmdUp = makeArrow(QStringLiteral("cmdUp"), QStyle::SP_ArrowUp, picBlankPanel);
    cmdUp->setToolTip(QStringLiteral("Move Up"));
    Twips::Place(cmdUp, 0, 30, 500, 390);
    cmdDown = makeArrow(QStringLiteral("cmdDown"), QStyle::SP_ArrowDown, picBlankPanel);
    cmdDown->setToolTip(QStringLiteral("Move Down"));
    Twips::Place(cmdDown, 550, 30, 500, 390);
    cmdDelete = makeButton(QStringLiteral("cmdDelete"), QStringLiteral("Delete"), picBlankPanel);
    Twips::Place(cmdDelete, 2700, 30, 1200, 390);

    connect(cmdDelete, &QPushButton::clicked, this, &DesignScreen::cmdDelete_Click);
    connect(cmdUp, &QPushButton::clicked, this, &DesignScreen::cmdUp_Click);
    connect(cmdDown, &QPushButton::clicked, this, &DesignScreen::cmdDown_Click);
}

void DesignScreen::buildLibraryBox()
{
    picLibraryView = new QWidget(this);
    picLibraryView->setObjectName(QStringLiteral("picLibraryView"));
    Twips::Place(picLibraryView, 150, 5500, 3900, 3200);

    auto* caption = new QLabel(QStringLiteral("Question Library"), picLibraryView);
    caption->setObjectName(QStringLiteral("lblLibrary"));
    Twips::Place(caption, 0, 0, 3900, 300);

    tvTreeLibrary = new QTreeWidget(picLibraryView);
    tvTreeLibrary->setObjectName(QStringLiteral("tvTreeLibrary"));
    tvTreeLibrary->setHeaderHidden(true);
    TreeNodes::ShowWholeCaptions(tvTreeLibrary);
    Twips::Place(tvTreeLibrary, 0, 300, 3900, 2400);

    picBlankPanel2 = new QWidget(picLibraryView);
    picBlankPanel2->setObjectName(QStringLiteral("picBlankPanel2"));
    Twips::Place(picBlankPanel2, 0, 2725, 3900, 450);
    cmdLibraryAdd = makeButton(QStringLiteral("cmdLibraryAdd"), QStringLiteral("Add"), picBlankPanel2);
    Twips::Place(cmdLibraryAdd, 2700, 30, 1200, 390);
    connect(cmdLibraryAdd, &QPushButton::clicked, this, &DesignScreen::cmdLibraryAdd_Click);
}

void DesignScreen::buildPropertyPane()
{
    lvListView = new QWidget(this);
    lvListView->setObjectName(QStringLiteral("lvListView"));
    Twips::Place(lvListView, 4200, 1150, 7800, 7500);

    picQProperties = new QWidget(lvListView);
    picQProperties->setObjectName(QStringLiteral("picQProperties"));
    Twips::Place(picQProperties, 0, 0, 7800, 7500);

    Label1[0] = makeLabel(QStringLiteral("Question Text:"), 0, picQProperties, 60, 60, 3000);
    txtQ = new RichTextBox(picQProperties);
    txtQ->setObjectName(QStringLiteral("txtQ"));
    Twips::Place(txtQ, 60, 330, 7245, 1695);
    connect(txtQ, &RichTextBox::keyDown, this,
            [this](int key, Qt::KeyboardModifiers modifiers) { txtQ_KeyDown(key, int(modifiers)); });
    connect(txtQ, &RichTextBox::keyUp, this,
            [this](int key, Qt::KeyboardModifiers modifiers) { txtQ_KeyUp(key, int(modifiers)); });
    connect(txtQ, &RichTextBox::lostFocus, this, &DesignScreen::txtQ_LostFocus);
    // Text that arrives without a key (the editor's context menu, a drop) is an edit as well.
    connect(txtQ, &QTextEdit::textChanged, this, [this] {
        if (paneFilling_ > 0)
            return;
        session_.MarkFileChanged();
        txtQ_LostFocus();
    });

    // The options of the two multiple-choice types stand one over the other.
    Label1[2] = makeLabel(QStringLiteral("Question Type:"), 2, picQProperties, 60, 2115, 3000);
    const struct {
        const char* caption;
        int left, top, width;
    } options[] = {
        {"&Open Ended", 60, 2385, 1800},
        {"Multiple choice - &many Responses", 1920, 2385, 3480},
        {"Multiple choice - &single Response", 1920, 2685, 3480},
        {"Instruction &Text", 60, 2685, 1800},
        {"Question &Matrix", 5460, 2385, 1845},
    };
    for (int i = 0; i < 5; ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(options[i].caption), picQProperties);
        option->setObjectName(QStringLiteral("optQType"));
        option->setProperty("Index", i);
        Twips::Place(option, options[i].left, options[i].top, options[i].width, 285);
        connect(option, &QRadioButton::clicked, this, [this, i] { optQType_Click(i); });
        optQType[size_t(i)] = option;
    }
    optQType[0]->setChecked(true);

    Label1[4] = makeLabel(QStringLiteral("Responses:"), 4, picQProperties, 60, 3030, 3000);
    Label1[4]->hide();

    buildOpenEndedPanel();
    buildCheckPanel();
    buildMatrixPanel();
    showPanel(picOpenEnded);
}

void DesignScreen::buildOpenEndedPanel()
{
    picOpenEnded = new QWidget(picQProperties);
    picOpenEnded->setObjectName(QStringLiteral("picOpenEnded"));
    Twips::Place(picOpenEnded, 60, 3300, 6615, 1815);
    Label1[3] = makeLabel(QStringLiteral("No of Rows:"), 3, picOpenEnded, 0, 0, 1500);
    cmdOpenEndedNoOfRows = new QComboBox(picOpenEnded);
    cmdOpenEndedNoOfRows->setObjectName(QStringLiteral("cmdOpenEndedNoOfRows"));
    for (int n = 1; n <= 6; ++n)
        cmdOpenEndedNoOfRows->addItem(QString::number(n));
    cmdOpenEndedNoOfRows->setCurrentIndex(-1);
    Twips::Place(cmdOpenEndedNoOfRows, 0, 270, 1200, 330);
    cmdOpenEndedNoOfRows->installEventFilter(this);
}

void DesignScreen::buildCheckPanel()
{
    picCheck = new QWidget(picQProperties);
    picCheck->setObjectName(QStringLiteral("picCheck"));
    Twips::Place(picCheck, 60, 3300, 6615, 2295);

    Label1[5] = makeLabel(QStringLiteral("Response:"), 5, picCheck, 0, 0, 3000);
    txtCheckResponse = new QLineEdit(picCheck);
    txtCheckResponse->setObjectName(QStringLiteral("txtCheckResponse"));
    Twips::Place(txtCheckResponse, 0, 270, 4815, 330);
    cmdCheckAdd = makeButton(QStringLiteral("cmdCheckAdd"), QStringLiteral("Add"), picCheck);
    Twips::Place(cmdCheckAdd, 4935, 240, 1080, 390);

    Label1[6] = makeLabel(QStringLiteral("Added responses:"), 6, picCheck, 0, 690, 3000);
    lstCheckResponses = new QListWidget(picCheck);
    lstCheckResponses->setObjectName(QStringLiteral("lstCheckResponses"));
    Twips::Place(lstCheckResponses, 0, 960, 4815, 1335);
    cmdCheckUp = makeArrow(QStringLiteral("cmdCheckUp"), QStyle::SP_ArrowUp, picCheck);
    Twips::Place(cmdCheckUp, 4935, 960, 510, 390);
    cmdCheckDown = makeArrow(QStringLiteral("cmdCheckDown"), QStyle::SP_ArrowDown, picCheck);
    Twips::Place(cmdCheckDown, 5505, 960, 510, 390);
    cmdCheckUp->setEnabled(false);
    cmdCheckDown->setEnabled(false);
    cdmCheckDelete = makeButton(QStringLiteral("cdmCheckDelete"), QStringLiteral("Delete"), picCheck);
    Twips::Place(cdmCheckDelete, 4935, 1425, 1080, 390);
    cmdRadioLogic = makeButton(QStringLiteral("cmdRadioLogic"), QStringLiteral("Logic..."), picCheck);
    Twips::Place(cmdRadioLogic, 4935, 1890, 1080, 390);

    txtCheckResponse->installEventFilter(this);
    connect(txtCheckResponse, &QLineEdit::returnPressed, this, [this] {
        if (defaultButton_ == cmdCheckAdd)
            cmdCheckAdd->click();
    });
    connect(cmdCheckAdd, &QPushButton::clicked, this, &DesignScreen::cmdCheckAdd_Click);
    connect(cdmCheckDelete, &QPushButton::clicked, this, &DesignScreen::cdmCheckDelete_Click);
    connect(cmdCheckUp, &QPushButton::clicked, this, &DesignScreen::cmdCheckUp_Click);
    connect(cmdCheckDown, &QPushButton::clicked, this, &DesignScreen::cmdCheckDown_Click);
    connect(cmdRadioLogic, &QPushButton::clicked, this, &DesignScreen::cmdRadioLogic_Click);
    connect(lstCheckResponses, &QListWidget::currentRowChanged, this, [this] {
        if (listFilling_ == 0)
            lstCheckResponses_Click();
    });
    connect(lstCheckResponses, &QListWidget::itemClicked, this, [this] { lstCheckResponses_Click(); });
}

void DesignScreen::buildMatrixPanel()
{
    picMatrix = new QWidget(picQProperties);
    picMatrix->setObjectName(QStringLiteral("picMatrix"));
    Twips::Place(picMatrix, 60, 3300, 7245, 4035);

    Label1[8] = makeLabel(QStringLiteral("Sub Question:"), 8, picMatrix, 0, 0, 3000);
    txtMatrixResponse = new QLineEdit(picMatrix);
    txtMatrixResponse->setObjectName(QStringLiteral("txtMatrixResponse"));
    Twips::Place(txtMatrixResponse, 0, 270, 4815, 330);
    cmdMatrixAdd = makeButton(QStringLiteral("cmdMatrixAdd"), QStringLiteral("Add"), picMatrix);
    Twips::Place(cmdMatrixAdd, 4935, 240, 1080, 390);

    Label1[7] = makeLabel(QStringLiteral("Added Sub Questions:"), 7, picMatrix, 0, 690, 3000);
    lstMatrixResponses = new QListWidget(picMatrix);
    lstMatrixResponses->setObjectName(QStringLiteral("lstMatrixResponses"));
    Twips::Place(lstMatrixResponses, 0, 960, 4815, 1935);
    cmdMatrixUp = makeArrow(QStringLiteral("cmdMatrixUp"), QStyle::SP_ArrowUp, picMatrix);
    Twips::Place(cmdMatrixUp, 4935, 960, 510, 390);
    cmdMatrixDown = makeArrow(QStringLiteral("cmdMatrixDown"), QStyle::SP_ArrowDown, picMatrix);
    Twips::Place(cmdMatrixDown, 5505, 960, 510, 390);
    cmdMatrixUp->setEnabled(false);
    cmdMatrixDown->setEnabled(false);
    cmdMatrixDelete = makeButton(QStringLiteral("cmdMatrixDelete"), QStringLiteral("Delete"), picMatrix);
    Twips::Place(cmdMatrixDelete, 4935, 1425, 1080, 390);

    Label1[9] = makeLabel(QStringLiteral("Responses:"), 9, picMatrix, 0, 3000, 3000);
    cmbMatrixResponses = new QComboBox(picMatrix);
    cmbMatrixResponses->setObjectName(QStringLiteral("cmbMatrixResponses"));
    Twips::Place(cmbMatrixResponses, 0, 3270, 4815, 330);
    cmdMatrixDefine = makeButton(QStringLiteral("cmdMatrixDefine"), QStringLiteral("Define..."), picMatrix);
    Twips::Place(cmdMatrixDefine, 4935, 3240, 1080, 390);

    txtMatrixResponse->installEventFilter(this);
    connect(txtMatrixResponse, &QLineEdit::returnPressed, this, [this] {
        if (defaultButton_ == cmdMatrixAdd)
            cmdMatrixAdd->click();
    });
    connect(cmdMatrixAdd, &QPushButton::clicked, this, &DesignScreen::cmdMatrixAdd_Click);
    connect(cmdMatrixDelete, &QPushButton::clicked, this, &DesignScreen::cmdMatrixDelete_Click);
    connect(cmdMatrixUp, &QPushButton::clicked, this, &DesignScreen::cmdMatrixUp_Click);
    connect(cmdMatrixDown, &QPushButton::clicked, this, &DesignScreen::cmdMatrixDown_Click);
    connect(cmdMatrixDefine, &QPushButton::clicked, this, &DesignScreen::cmdMatrixDefine_Click);
    connect(lstMatrixResponses, &QListWidget::currentRowChanged, this, [this] {
        if (listFilling_ == 0)
            lstMatrixResponses_Click();
    });
    connect(lstMatrixResponses, &QListWidget::itemClicked, this, [this] { lstMatrixResponses_Click(); });
    // A scale chosen by the user is an edit that saving writes; one selected by code while the
    // list is filled or a question is shown is not.
    connect(cmbMatrixResponses, &QComboBox::currentIndexChanged, this, [this] {
        const QPtr q = currentQuestion();
        const int before = q ? q->ResponseMatrixGroupID : 0;
        cmbMatrixResponses_Click();
        if (scaleFilling_ == 0 && q && q->ResponseMatrixGroupID != before)
            session_.MarkFileChanged();
    });
}

void DesignScreen::connectTree()
{
    // Every change of the selected node, by mouse or keyboard, shows its question, so the pane
    // never edits a question other than the selected one.
    connect(tvTreeView, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* node) {
        if (treeUpdating_ == 0)
            tvTreeView_NodeClick(node);
    });
    connect(tvTreeView, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* node) {
        if (treeUpdating_ == 0)
            tvTreeView_NodeClick(node);
    });
}

clsSurvey& DesignScreen::survey() const
{
    return session_.Survey;
}

QTreeWidgetItem* DesignScreen::RootNode() const
{
    return TreeNodes::Find(tvTreeView, kRootKey);
}

void DesignScreen::ResetTree()
{
    ++treeUpdating_;
    tvTreeView->clear();
    QTreeWidgetItem* root = TreeNodes::Add(tvTreeView, nullptr, kRootKey, QStringLiteral("Survey"));
    root->setExpanded(true);
    --treeUpdating_;
}

QTreeWidgetItem* DesignScreen::AddQuestionNode(const QString& key, const QString& caption)
{
    ++treeUpdating_;
    QTreeWidgetItem* node = TreeNodes::Add(tvTreeView, RootNode(), key, caption);
    RootNode()->setExpanded(true);
    --treeUpdating_;
    return node;
}

void DesignScreen::SelectNode(QTreeWidgetItem* node)
{
    ++treeUpdating_;
    tvTreeView->setCurrentItem(node);
    --treeUpdating_;
    tvTreeView_NodeClick(node);
}

void DesignScreen::ClearEditor()
{
    ++paneFilling_;
    txtQ->clear();
    --paneFilling_;
    ++listFilling_;
    lstCheckResponses->clear();
    lstMatrixResponses->clear();
    --listFilling_;
}

QString DesignScreen::NodeCaption(const clsQ& q)
{
    return numberPrefix(q.qType, q.QuestionNo) + CaptionText(rtf::toPlainText(q.Question));
}

int DesignScreen::OptionOfType(qint32 qType)
{
    switch (qType) {
    case QTypeOpenEnded: return 0;
    case QTypeCheck: return 1;
    case QTypeRadio: return 2;
    case QTypeMatrix: return 4;
    case QTypeText: return 3;
    default: return -1;
    }
}

qint32 DesignScreen::TypeOfOption(int index)
{
    switch (index) {
    case 0: return QTypeOpenEnded;
    case 1: return QTypeCheck;
    case 2: return QTypeRadio;
    case 3: return QTypeText;
    case 4: return QTypeMatrix;
    default: return -1;
    }
}

QPtr DesignScreen::currentQuestion() const
{
    return survey().GetQ(TreeNodes::Key(tvTreeView->currentItem()));
}

void DesignScreen::tvTreeView_NodeClick(QTreeWidgetItem* node)
{
    const QPtr q = survey().GetQ(TreeNodes::Key(node));
    if (!q) {
        picQProperties->hide();
        paneKey_.clear();
        return;
    }
    picQProperties->show();
    picQProperties->raise();
    ++paneFilling_;
    if (txtQ->isVisible() && txtQ->isEnabled())
        txtQ->setFocus();
    txtQ->setTextRTF(q->Question);
    txtQ->setSelStart(0);
    txtQ->setSelLength(int(txtQ->Text().size()));

    const int option = OptionOfType(q->qType);
    if (option >= 0) {
        SelectQType(option, node);
        setOption(option);
    }
    cmdOpenEndedNoOfRows->setCurrentIndex(q->OpenEnded_NoOfRows >= 1 && q->OpenEnded_NoOfRows <= 6
                                              ? q->OpenEnded_NoOfRows - 1
                                              : -1);
    paneKey_ = q->Key;
    --paneFilling_;
}

void DesignScreen::setOption(int index)
{
    QRadioButton* option = optQType[size_t(index)];
    if (option->isChecked())
        return;
    // Setting an option acts as the user's click on it does.
    option->setChecked(true);
    optQType_Click(index);
}

void DesignScreen::cmdDelete_Click()
{
    if (survey().QCount() == 1) {
        Dialogs::MsgBox(QStringLiteral("Can't delete last question."), Dialogs::OKOnly, Dialogs::Critical);
        return;
    }
    QTreeWidgetItem* node = tvTreeView->currentItem();
    QTreeWidgetItem* root = RootNode();
    if (!node || !root || node->parent() != root)
        return;
    const QString key = TreeNodes::Key(node);
    const int row = root->indexOfChild(node);
    ++treeUpdating_;
    delete root->takeChild(row);
    --treeUpdating_;
    survey().DeleteQ(key);
    renumberQuestions();
    session_.MarkFileChanged();

    // The pane goes on with the question that takes the deleted one's place (or the one before
    // it at the end), so nothing typed afterwards reaches a question it does not show.
    QTreeWidgetItem* next = root->childCount() > 0 ? root->child(qMin(row, root->childCount() - 1)) : root;
    SelectNode(next);
}

void DesignScreen::cmdUp_Click()
{
    moveQuestion(-1);
}

void DesignScreen::cmdDown_Click()
{
    moveQuestion(+1);
}

void DesignScreen::moveQuestion(int direction)
{
    QTreeWidgetItem* node = tvTreeView->currentItem();
    QTreeWidgetItem* root = RootNode();
    if (!node || !root || node->parent() != root)
        return;
    const int row = root->indexOfChild(node);
    const int other = row + direction;
    if (other < 0 || other >= root->childCount())
        return;
    const QString key = TreeNodes::Key(node);
    const QString caption = node->text(0);
    QTreeWidgetItem* sibling = root->child(other);
    const QString siblingKey = TreeNodes::Key(sibling);

    // The pane keeps showing the moved question, so no node click runs.
    ++treeUpdating_;
    delete root->takeChild(row);
    QTreeWidgetItem* moved = direction < 0 ? TreeNodes::AddBefore(sibling, key, caption)
                                           : TreeNodes::AddAfter(sibling, key, caption);
    tvTreeView->setCurrentItem(moved);
    --treeUpdating_;

    survey().SwapQ(key, siblingKey);
    renumberQuestions();
    session_.MarkFileChanged();
}

void DesignScreen::renumberQuestions()
{
    clsSurvey& s = survey();
    s.ReorderQ_QuestionNos();
    // An instruction text carries no number, also when it was a question before.
    for (int i = 1; i <= s.QCount(); ++i) {
        const QPtr q = s.GetQIndex(i);
        if (q->qType == QTypeText)
            q->QuestionNo.clear();
    }
    ReindexTreeQuestionNos();
}

void DesignScreen::ReindexTreeQuestionNos()
{
    QTreeWidgetItem* root = RootNode();
    for (int i = 0; root && i < root->childCount(); ++i) {
        QTreeWidgetItem* node = root->child(i);
        const QPtr q = survey().GetQ(TreeNodes::Key(node));
        if (!q)
            continue;
        const QString text = rtf::toPlainText(q->Question);
        TreeNodes::SetCaption(node, numberPrefix(q->qType, q->QuestionNo) + (text.isEmpty() ? kNoText : CaptionText(text)));
    }
}

void DesignScreen::addQuestion(qint32 qType, int ResponseMatrixGroupID)
{
    const QString key = survey().AddQ(QString(), qType, -1, ResponseMatrixGroupID);
    SelectNode(AddQuestionNode(key, kNoText));
    session_.MarkFileChanged();
}

void DesignScreen::AddBlankOpenEndedQuestion()
{
    mnuDesignAddOpenEndedQuestion_Click();
}

void DesignScreen::mnuDesignAddOpenEndedQuestion_Click()
{
    addQuestion(QTypeOpenEnded, 2);
}

void DesignScreen::mnuDesignAddCheckQuestion_Click()
{
    addQuestion(QTypeCheck, 2);
}

void DesignScreen::mnuDesignAddRadioQuestion_Click()
{
    addQuestion(QTypeRadio, 2);
}

void DesignScreen::mnuDesignAddMatrixQuestion_Click()
{
    const int scale = cmbMatrixResponses->currentIndex() >= 0 ? cmbMatrixResponses->currentData().toInt() : 1;
    addQuestion(QTypeMatrix, scale);
}

void DesignScreen::mnuDesignAddText_Click()
{
    addQuestion(QTypeText, 2);
}

void DesignScreen::ToolbarDesign_ButtonClick(const QString& key)
{
    if (!picQProperties->isHidden())
        txtQ_LostFocus();
    if (key == QLatin1String("Add Question"))
        mnuDesignAddOpenEndedQuestion_Click();
    else if (key == QLatin1String("Add Text"))
        mnuDesignAddText_Click();
}
