// The Design screen: its controls, the question tree and the commands that add, delete and move
// questions.
#include "designer/DesignScreen.h"

#include "designer/ResponseListEditor.h"
#include "document/SurveySession.h"
#include "platform/Rtf.h"
#include "platform/TextUtil.h"
#include "widgets/AccessibleNames.h"
#include "widgets/Dialogs.h"
#include "widgets/RichTextBox.h"
#include "widgets/ScreenParts.h"
#include "widgets/TreeNodes.h"
#include "widgets/Twips.h"

#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QStyle>
#include <QTreeWidget>

namespace {
const QString kRootKey = QStringLiteral("S_Parent");
const QString kNoText = QStringLiteral("<Text not yet entered>");

QLabel* makeLabel(const QString& text, int index, QWidget* parent, int left, int top, int width)
{
    QLabel* label = makeArrayLabel(QStringLiteral("Label1"), index, text, parent);
    Twips::place(label, left, top, width, 255);
    return label;
}
} // namespace

DesignScreen::DesignScreen(SurveySession& session, db::Connection& library, QWidget* parent)
    : QWidget(parent)
    , session_(session)
    , library_(library)
{
    setObjectName(QStringLiteral("picDesign"));

    picTitle
        = makeTitlePanel(this, QStringLiteral("picTitle"), QStringLiteral("lblTitleDesign"), QStringLiteral("Design"));

    picTitles = new QWidget(this);
    picTitles->setObjectName(QStringLiteral("picTitles"));
    Twips::place(picTitles, 0, 500, 12000, 60);
    paintPanel(picTitles, QColor(232, 154, 44), Qt::black);

    lblInstructions = makeInstructions(this,
        QStringLiteral("Instructions - You are currently designing your survey. To add a question press the "
                       "'Add Question' button above, enter your Question Text and select the Question Type. "
                       "For more help press F1."),
        0);
    Twips::place(lblInstructions, 150, 600, 11000, 500);

    buildTreeBox();
    buildLibraryBox();
    buildPropertyPane();
    connectTree();
}

void DesignScreen::buildTreeBox()
{
    picTreeView = new QWidget(this);
    picTreeView->setObjectName(QStringLiteral("picTreeView"));
    Twips::place(picTreeView, 150, 1150, 3900, 4200);

    tvTreeView = new QTreeWidget(picTreeView);
    tvTreeView->setObjectName(QStringLiteral("tvTreeView"));
    tvTreeView->setHeaderHidden(true);
    tvTreeView->setRootIsDecorated(true);
    TreeNodes::showWholeCaptions(tvTreeView);
    Twips::place(tvTreeView, 0, 0, 3900, 3600);
    nameControl(tvTreeView, QStringLiteral("Survey questions"));

    picBlankPanel = new QWidget(picTreeView);
    picBlankPanel->setObjectName(QStringLiteral("picBlankPanel"));
    Twips::place(picBlankPanel, 0, 3650, 3900, 450);
    cmdUp = makePictureButton(QStringLiteral("cmdUp"), styleIcon(this, QStyle::SP_ArrowUp),
        QStringLiteral("Move question up"), picBlankPanel);
    Twips::place(cmdUp, 0, 30, 500, 390);
    cmdDown = makePictureButton(QStringLiteral("cmdDown"), styleIcon(this, QStyle::SP_ArrowDown),
        QStringLiteral("Move question down"), picBlankPanel);
    Twips::place(cmdDown, 550, 30, 500, 390);
    cmdDelete = makeCommandButton(QStringLiteral("cmdDelete"), QStringLiteral("Delete"), picBlankPanel);
    nameButton(cmdDelete, QStringLiteral("Delete question"));
    Twips::place(cmdDelete, 2700, 30, 1200, 390);

    connect(cmdDelete, &QPushButton::clicked, this, &DesignScreen::cmdDelete_Click);
    connect(cmdUp, &QPushButton::clicked, this, &DesignScreen::cmdUp_Click);
    connect(cmdDown, &QPushButton::clicked, this, &DesignScreen::cmdDown_Click);
}

void DesignScreen::buildLibraryBox()
{
    picLibraryView = new QWidget(this);
    picLibraryView->setObjectName(QStringLiteral("picLibraryView"));
    Twips::place(picLibraryView, 150, 5500, 3900, 3200);

    auto* caption = new QLabel(QStringLiteral("Question Library"), picLibraryView);
    caption->setObjectName(QStringLiteral("lblLibrary"));
    Twips::place(caption, 0, 0, 3900, 300);

    tvTreeLibrary = new QTreeWidget(picLibraryView);
    tvTreeLibrary->setObjectName(QStringLiteral("tvTreeLibrary"));
    tvTreeLibrary->setHeaderHidden(true);
    TreeNodes::showWholeCaptions(tvTreeLibrary);
    Twips::place(tvTreeLibrary, 0, 300, 3900, 2400);
    labelFor(caption, tvTreeLibrary);

    picBlankPanel2 = new QWidget(picLibraryView);
    picBlankPanel2->setObjectName(QStringLiteral("picBlankPanel2"));
    Twips::place(picBlankPanel2, 0, 2725, 3900, 450);
    cmdLibraryAdd = makeCommandButton(QStringLiteral("cmdLibraryAdd"), QStringLiteral("Add"), picBlankPanel2);
    nameButton(cmdLibraryAdd, QStringLiteral("Add library question"));
    Twips::place(cmdLibraryAdd, 2700, 30, 1200, 390);
    connect(cmdLibraryAdd, &QPushButton::clicked, this, &DesignScreen::cmdLibraryAdd_Click);
}

void DesignScreen::buildPropertyPane()
{
    lvListView = new QWidget(this);
    lvListView->setObjectName(QStringLiteral("lvListView"));
    Twips::place(lvListView, 4200, 1150, 7800, 7500);

    picQProperties = new QWidget(lvListView);
    picQProperties->setObjectName(QStringLiteral("picQProperties"));
    Twips::place(picQProperties, 0, 0, 7800, 7500);

    Label1[0] = makeLabel(QStringLiteral("Question Text:"), 0, picQProperties, 60, 60, 3000);
    txtQ = new RichTextBox(picQProperties);
    txtQ->setObjectName(QStringLiteral("txtQ"));
    Twips::place(txtQ, 60, 330, 7245, 1695);
    labelFor(Label1[0], txtQ);
    connect(txtQ, &RichTextBox::keyDown, this,
        [this](int key, Qt::KeyboardModifiers modifiers) { txtQ_KeyDown(key, int(modifiers)); });
    connect(txtQ, &RichTextBox::keyUp, this,
        [this](int key, Qt::KeyboardModifiers modifiers) { txtQ_KeyUp(key, int(modifiers)); });
    connect(txtQ, &RichTextBox::lostFocus, this, &DesignScreen::txtQ_LostFocus);
    // Text that arrives without a key (the editor's context menu, a drop) is an edit as well.
    connect(txtQ, &QTextEdit::textChanged, this, [this] {
        if (paneFilling_ || textTooLong_)
            return;
        session_.MarkFileChanged();
        txtQ_LostFocus();
    });

    lblTextTooLong
        = new QLabel(QStringLiteral("This text is too long to edit here; the first part is shown."), picQProperties);
    lblTextTooLong->setObjectName(QStringLiteral("lblTextTooLong"));
    QFont noticeFont = lblTextTooLong->font();
    noticeFont.setItalic(true);
    lblTextTooLong->setFont(noticeFont);
    Twips::place(lblTextTooLong, 1800, 60, 5505, 255);
    lblTextTooLong->hide();

    // The options of the two multiple-choice types stand one over the other.
    Label1[2] = makeLabel(QStringLiteral("Question Type:"), 2, picQProperties, 60, 2115, 3000);
    const struct {
        const char* caption;
        int left, top, width;
    } options[] = {
        { "&Open Ended", 60, 2385, 1800 },
        { "Multiple choice - &many Responses", 1920, 2385, 3480 },
        { "Multiple choice - &single Response", 1920, 2685, 3480 },
        { "Instruction &Text", 60, 2685, 1800 },
        { "Question &Matrix", 5460, 2385, 1845 },
    };
    for (int i = 0; i < 5; ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(options[i].caption), picQProperties);
        option->setObjectName(QStringLiteral("optQType"));
        option->setProperty("Index", i);
        Twips::place(option, options[i].left, options[i].top, options[i].width, 285);
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
    Twips::place(picOpenEnded, 60, 3300, 6615, 1815);
    Label1[3] = makeLabel(QStringLiteral("No of Rows:"), 3, picOpenEnded, 0, 0, 1500);
    cmdOpenEndedNoOfRows = new QComboBox(picOpenEnded);
    cmdOpenEndedNoOfRows->setObjectName(QStringLiteral("cmdOpenEndedNoOfRows"));
    for (int n = 1; n <= 6; ++n)
        cmdOpenEndedNoOfRows->addItem(QString::number(n));
    cmdOpenEndedNoOfRows->setCurrentIndex(-1);
    Twips::place(cmdOpenEndedNoOfRows, 0, 270, 1200, 330);
    labelFor(Label1[3], cmdOpenEndedNoOfRows);
    cmdOpenEndedNoOfRows->installEventFilter(this);
}

void DesignScreen::buildCheckPanel()
{
    picCheck = new QWidget(picQProperties);
    picCheck->setObjectName(QStringLiteral("picCheck"));
    Twips::place(picCheck, 60, 3300, 6615, 2295);

    checkResponses_ = new ResponseListEditor(
        { .textLabelIndex = 5,
            .textLabel = QStringLiteral("Response:"),
            .textName = QStringLiteral("txtCheckResponse"),
            .addName = QStringLiteral("cmdCheckAdd"),
            .listLabelIndex = 6,
            .listLabel = QStringLiteral("Added responses:"),
            .listName = QStringLiteral("lstCheckResponses"),
            .upName = QStringLiteral("cmdCheckUp"),
            .downName = QStringLiteral("cmdCheckDown"),
            .deleteName = QStringLiteral("cdmCheckDelete"),
            .item = QStringLiteral("response"),
            .listHeight = 1335 },
        session_, [this] { return currentQuestion(); }, picCheck);
    takeControls(checkResponses_, Label1[5], Label1[6], txtCheckResponse, cmdCheckAdd, lstCheckResponses, cmdCheckUp,
        cmdCheckDown, cdmCheckDelete);
    connect(checkResponses_, &ResponseListEditor::textGotFocus, this, &DesignScreen::txtCheckResponse_GotFocus);
    connect(checkResponses_, &ResponseListEditor::textLostFocus, this, &DesignScreen::txtCheckResponse_LostFocus);

    cmdRadioLogic = makeCommandButton(QStringLiteral("cmdRadioLogic"), QStringLiteral("Logic..."), picCheck);
    Twips::place(cmdRadioLogic, 4935, 1890, 1080, 390);
    connect(cmdRadioLogic, &QPushButton::clicked, this, &DesignScreen::cmdRadioLogic_Click);
}

void DesignScreen::buildMatrixPanel()
{
    picMatrix = new QWidget(picQProperties);
    picMatrix->setObjectName(QStringLiteral("picMatrix"));
    Twips::place(picMatrix, 60, 3300, 7245, 4035);

    matrixResponses_ = new ResponseListEditor(
        { .textLabelIndex = 8,
            .textLabel = QStringLiteral("Sub Question:"),
            .textName = QStringLiteral("txtMatrixResponse"),
            .addName = QStringLiteral("cmdMatrixAdd"),
            .listLabelIndex = 7,
            .listLabel = QStringLiteral("Added Sub Questions:"),
            .listName = QStringLiteral("lstMatrixResponses"),
            .upName = QStringLiteral("cmdMatrixUp"),
            .downName = QStringLiteral("cmdMatrixDown"),
            .deleteName = QStringLiteral("cmdMatrixDelete"),
            .item = QStringLiteral("sub question"),
            .listHeight = 1935 },
        session_, [this] { return currentQuestion(); }, picMatrix);
    takeControls(matrixResponses_, Label1[8], Label1[7], txtMatrixResponse, cmdMatrixAdd, lstMatrixResponses,
        cmdMatrixUp, cmdMatrixDown, cmdMatrixDelete);
    connect(matrixResponses_, &ResponseListEditor::textGotFocus, this, &DesignScreen::txtMatrixResponse_GotFocus);
    connect(matrixResponses_, &ResponseListEditor::textLostFocus, this, &DesignScreen::txtMatrixResponse_LostFocus);

    Label1[9] = makeLabel(QStringLiteral("Responses:"), 9, picMatrix, 0, 3000, 3000);
    cmbMatrixResponses = new QComboBox(picMatrix);
    cmbMatrixResponses->setObjectName(QStringLiteral("cmbMatrixResponses"));
    Twips::place(cmbMatrixResponses, 0, 3270, 4815, 330);
    labelFor(Label1[9], cmbMatrixResponses);
    cmdMatrixDefine = makeCommandButton(QStringLiteral("cmdMatrixDefine"), QStringLiteral("Define..."), picMatrix);
    Twips::place(cmdMatrixDefine, 4935, 3240, 1080, 390);
    connect(cmdMatrixDefine, &QPushButton::clicked, this, &DesignScreen::cmdMatrixDefine_Click);
    // A scale chosen by the user is an edit that saving writes; one selected by code while the
    // list is filled or a question is shown is not.
    connect(cmbMatrixResponses, &QComboBox::currentIndexChanged, this, [this] {
        const QPtr q = currentQuestion();
        const int before = q ? q->ResponseMatrixGroupID : 0;
        cmbMatrixResponses_Click();
        if (!scaleFilling_ && q && q->ResponseMatrixGroupID != before)
            session_.MarkFileChanged();
    });
}

void DesignScreen::takeControls(const ResponseListEditor* editor, QLabel*& textLabel, QLabel*& listLabel,
    QLineEdit*& text, QPushButton*& add, QListWidget*& list, QPushButton*& up, QPushButton*& down, QPushButton*& remove)
{
    textLabel = editor->textLabel;
    listLabel = editor->listLabel;
    text = editor->text;
    add = editor->add;
    list = editor->list;
    up = editor->up;
    down = editor->down;
    remove = editor->remove;
}

void DesignScreen::connectTree()
{
    // Every change of the selected node, by mouse or keyboard, shows its question, so the pane
    // never edits a question other than the selected one.
    connect(tvTreeView, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* node) {
        if (!treeUpdating_)
            tvTreeView_NodeClick(node);
    });
    connect(tvTreeView, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* node) {
        if (!treeUpdating_)
            tvTreeView_NodeClick(node);
    });
}

clsSurvey& DesignScreen::survey() const
{
    return session_.Survey;
}

QTreeWidgetItem* DesignScreen::rootNode() const
{
    return TreeNodes::find(tvTreeView, kRootKey);
}

void DesignScreen::resetTree()
{
    const QScopedValueRollback<bool> treeUpdatingGuard(treeUpdating_, true);
    tvTreeView->clear();
    QTreeWidgetItem* root = TreeNodes::add(tvTreeView, nullptr, kRootKey, QStringLiteral("Survey"));
    root->setExpanded(true);
}

QTreeWidgetItem* DesignScreen::addQuestionNode(const QString& key, const QString& caption)
{
    const QScopedValueRollback<bool> treeUpdatingGuard(treeUpdating_, true);
    QTreeWidgetItem* node = TreeNodes::add(tvTreeView, rootNode(), key, caption);
    rootNode()->setExpanded(true);
    return node;
}

void DesignScreen::selectNode(QTreeWidgetItem* node)
{
    {
        const QScopedValueRollback<bool> treeUpdatingGuard(treeUpdating_, true);
        tvTreeView->setCurrentItem(node);
    }
    tvTreeView_NodeClick(node);
}

void DesignScreen::clearEditor()
{
    showQuestionText(QString());
    checkResponses_->fill(nullptr);
    matrixResponses_->fill(nullptr);
}

QString DesignScreen::nodeCaption(const clsQ& q)
{
    return numberPrefix(q.qType, q.QuestionNo) + rtf::captionOf(q.Question);
}

int DesignScreen::optionOfType(qint32 qType)
{
    switch (qType) {
    case QTypeOpenEnded:
        return 0;
    case QTypeCheck:
        return 1;
    case QTypeRadio:
        return 2;
    case QTypeMatrix:
        return 4;
    case QTypeText:
        return 3;
    default:
        return -1;
    }
}

qint32 DesignScreen::typeOfOption(int index)
{
    switch (index) {
    case 0:
        return QTypeOpenEnded;
    case 1:
        return QTypeCheck;
    case 2:
        return QTypeRadio;
    case 3:
        return QTypeText;
    case 4:
        return QTypeMatrix;
    default:
        return -1;
    }
}

QPtr DesignScreen::currentQuestion() const
{
    return survey().GetQ(TreeNodes::keyOf(tvTreeView->currentItem()));
}

void DesignScreen::tvTreeView_NodeClick(QTreeWidgetItem* node)
{
    const QPtr q = survey().GetQ(TreeNodes::keyOf(node));
    if (!q) {
        picQProperties->hide();
        paneKey_.clear();
        return;
    }
    picQProperties->show();
    picQProperties->raise();
    const QScopedValueRollback<bool> paneFillingGuard(paneFilling_, true);
    if (txtQ->isVisible() && txtQ->isEnabled())
        txtQ->setFocus();
    showQuestionText(q->Question);

    const int option = optionOfType(q->qType);
    if (option >= 0) {
        SelectQType(option, node);
        setOption(option);
    }
    cmdOpenEndedNoOfRows->setCurrentIndex(
        q->OpenEnded_NoOfRows >= 1 && q->OpenEnded_NoOfRows <= 6 ? q->OpenEnded_NoOfRows - 1 : -1);
    paneKey_ = q->Key;
}

void DesignScreen::showQuestionText(const QString& text)
{
    const QScopedValueRollback<bool> paneFillingGuard(paneFilling_, true);
    textTooLong_ = txtQ->setTextRTF(text, kEditLength);
    txtQ->setReadOnly(textTooLong_);
    lblTextTooLong->setVisible(textTooLong_);
    txtQ->setAccessibleDescription(textTooLong_ ? lblTextTooLong->text() : QString());
    // A text to replace comes selected; the start of a long one is shown from its beginning.
    if (!textTooLong_) {
        txtQ->setSelStart(0);
        txtQ->setSelLength(int(txtQ->text().size()));
    }
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
        Dialogs::msgBox(QStringLiteral("Can't delete last question."), Dialogs::OKOnly, Dialogs::Critical);
        return;
    }
    QTreeWidgetItem* node = tvTreeView->currentItem();
    QTreeWidgetItem* root = rootNode();
    if (!node || !root || node->parent() != root)
        return;
    const QString key = TreeNodes::keyOf(node);
    const int row = root->indexOfChild(node);
    {
        const QScopedValueRollback<bool> treeUpdatingGuard(treeUpdating_, true);
        delete root->takeChild(row);
    }
    survey().DeleteQ(key);
    renumberQuestions();
    session_.MarkFileChanged();

    // The pane goes on with the question that takes the deleted one's place (or the one before
    // it at the end), so nothing typed afterwards reaches a question it does not show.
    QTreeWidgetItem* next = root->childCount() > 0 ? root->child(qMin(row, root->childCount() - 1)) : root;
    selectNode(next);
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
    QTreeWidgetItem* root = rootNode();
    if (!node || !root || node->parent() != root)
        return;
    const int row = root->indexOfChild(node);
    const int other = row + direction;
    if (other < 0 || other >= root->childCount())
        return;
    const QString key = TreeNodes::keyOf(node);
    const QString caption = node->text(0);
    QTreeWidgetItem* sibling = root->child(other);
    const QString siblingKey = TreeNodes::keyOf(sibling);

    // The pane keeps showing the moved question, so no node click runs.
    {
        const QScopedValueRollback<bool> treeUpdatingGuard(treeUpdating_, true);
        delete root->takeChild(row);
        QTreeWidgetItem* moved
            = direction < 0 ? TreeNodes::addBefore(sibling, key, caption) : TreeNodes::addAfter(sibling, key, caption);
        tvTreeView->setCurrentItem(moved);
    }

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
    QTreeWidgetItem* root = rootNode();
    for (int i = 0; root && i < root->childCount(); ++i) {
        QTreeWidgetItem* node = root->child(i);
        const QPtr q = survey().GetQ(TreeNodes::keyOf(node));
        if (!q)
            continue;
        const QString caption = rtf::captionOf(q->Question);
        TreeNodes::setCaption(node, numberPrefix(q->qType, q->QuestionNo) + (caption.isEmpty() ? kNoText : caption));
    }
}

void DesignScreen::addQuestion(qint32 qType, int ResponseMatrixGroupID)
{
    const QString key = survey().AddQ(QString(), qType, -1, ResponseMatrixGroupID);
    selectNode(addQuestionNode(key, kNoText));
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
