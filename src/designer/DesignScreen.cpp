#include "designer/DesignScreen.h"

#include "platform/RichTextBox.h"
#include "platform/Rtf.h"
#include "platform/TreeNodes.h"
#include "platform/Twips.h"
#include "shell/frmMain.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
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
}  // namespace

DesignScreen::DesignScreen(frmMain& main, QWidget* parent) : QWidget(parent), main_(main)
{
    setObjectName(QStringLiteral("picDesign"));

    picTitle = new QWidget(this);
    picTitle->setObjectName(QStringLiteral("picTitle"));
    auto* title = new QLabel(QStringLiteral("Design"), picTitle);
    title->setObjectName(QStringLiteral("lblTitleDesign"));
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    title->setFont(f);
    Twips::Place(picTitle, 0, 0, 12000, 500);
    Twips::Place(title, 150, 60, 6000, 400);

    picTitles = new QWidget(this);
    picTitles->setObjectName(QStringLiteral("picTitles"));
    Twips::Place(picTitles, 0, 500, 12000, 60);

    lblInstructions = new QLabel(
        QStringLiteral("Instructions - You are currently designing your survey. To add a question press the "
                       "'Add Question' button above, enter your Question Text and select the Question Type. "
                       "For more help press F1."),
        this);
    lblInstructions->setObjectName(QStringLiteral("lblInstructions"));
    lblInstructions->setProperty("Index", 0);
    lblInstructions->setWordWrap(true);
    Twips::Place(lblInstructions, 150, 600, 11000, 500);

    buildTreeBox();
    buildLibraryBox();
    buildPropertyPane();
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
    Twips::Place(tvTreeView, 0, 0, 3900, 3600);
    connect(tvTreeView, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* node, int) { tvTreeView_NodeClick(node); });

    picBlankPanel = new QWidget(picTreeView);
    picBlankPanel->setObjectName(QStringLiteral("picBlankPanel"));
    Twips::Place(picBlankPanel, 0, 3650, 3900, 450);
    cmdUp = new QPushButton(picBlankPanel);
    cmdUp->setObjectName(QStringLiteral("cmdUp"));
    cmdUp->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    cmdUp->setToolTip(QStringLiteral("Move Up"));
    Twips::Place(cmdUp, 0, 30, 500, 390);
    cmdDown = new QPushButton(picBlankPanel);
    cmdDown->setObjectName(QStringLiteral("cmdDown"));
    cmdDown->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    cmdDown->setToolTip(QStringLiteral("Move Down"));
    Twips::Place(cmdDown, 550, 30, 500, 390);
    cmdDelete = new QPushButton(QStringLiteral("Delete"), picBlankPanel);
    cmdDelete->setObjectName(QStringLiteral("cmdDelete"));
    Twips::Place(cmdDelete, 2700, 30, 1200, 390);
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
    Twips::Place(tvTreeLibrary, 0, 300, 3900, 2400);

    picBlankPanel2 = new QWidget(picLibraryView);
    picBlankPanel2->setObjectName(QStringLiteral("picBlankPanel2"));
    Twips::Place(picBlankPanel2, 0, 2725, 3900, 450);
    cmdLibraryAdd = new QPushButton(QStringLiteral("Add"), picBlankPanel2);
    cmdLibraryAdd->setObjectName(QStringLiteral("cmdLibraryAdd"));
    Twips::Place(cmdLibraryAdd, 2700, 30, 1200, 390);
}

void DesignScreen::buildPropertyPane()
{
    lvListView = new QWidget(this);
    lvListView->setObjectName(QStringLiteral("lvListView"));
    Twips::Place(lvListView, 4200, 1150, 7800, 7500);

    picQProperties = new QWidget(lvListView);
    picQProperties->setObjectName(QStringLiteral("picQProperties"));
    Twips::Place(picQProperties, 0, 0, 7800, 7500);

    auto* label = new QLabel(QStringLiteral("Question Text:"), picQProperties);
    label->setObjectName(QStringLiteral("Label1"));
    label->setProperty("Index", 0);
    Twips::Place(label, 60, 60, 3000, 255);

    txtQ = new RichTextBox(picQProperties);
    txtQ->setObjectName(QStringLiteral("txtQ"));
    Twips::Place(txtQ, 60, 330, 7400, 1900);
    connect(txtQ, &RichTextBox::keyDown, this, [this](int, Qt::KeyboardModifiers) { main_.MarkFileChanged(); });
    connect(txtQ, &RichTextBox::keyUp, this, [this](int, Qt::KeyboardModifiers) { txtQ_LostFocus(); });
    connect(txtQ, &RichTextBox::lostFocus, this, &DesignScreen::txtQ_LostFocus);

    lstCheckResponses = new QListWidget(picQProperties);
    lstCheckResponses->setObjectName(QStringLiteral("lstCheckResponses"));
    Twips::Place(lstCheckResponses, 60, 3900, 4500, 1500);
}

QTreeWidgetItem* DesignScreen::RootNode() const
{
    return TreeNodes::Find(tvTreeView, kRootKey);
}

void DesignScreen::ResetTree()
{
    tvTreeView->clear();
    QTreeWidgetItem* root = TreeNodes::Add(tvTreeView, nullptr, kRootKey, QStringLiteral("Survey"));
    root->setExpanded(true);
}

QTreeWidgetItem* DesignScreen::AddQuestionNode(const QString& key, const QString& caption)
{
    QTreeWidgetItem* node = TreeNodes::Add(tvTreeView, RootNode(), key, caption);
    RootNode()->setExpanded(true);
    return node;
}

void DesignScreen::SelectNode(QTreeWidgetItem* node)
{
    tvTreeView->setCurrentItem(node);
    tvTreeView_NodeClick(node);
}

void DesignScreen::ClearEditor()
{
    txtQ->clear();
    lstCheckResponses->clear();
}

QString DesignScreen::NodeCaption(const clsQ& q)
{
    return numberPrefix(q.qType, q.QuestionNo) + rtf::toPlainText(q.Question);
}

QPtr DesignScreen::currentQuestion() const
{
    return main_.session().Survey.GetQ(TreeNodes::Key(tvTreeView->currentItem()));
}

void DesignScreen::tvTreeView_NodeClick(QTreeWidgetItem* node)
{
    const QPtr q = main_.session().Survey.GetQ(TreeNodes::Key(node));
    if (!q) {
        picQProperties->hide();
        return;
    }
    picQProperties->show();
    picQProperties->raise();
    if (txtQ->isVisible())
        txtQ->setFocus();
    txtQ->setTextRTF(q->Question);
    txtQ->selectAll();

    lstCheckResponses->clear();
    if (q->qType == QTypeCheck || q->qType == QTypeRadio) {
        for (int i = 1; i <= q->ResponsesCount(); ++i)
            lstCheckResponses->addItem(q->GetResponse(i)->Text);
    }
}

void DesignScreen::txtQ_LostFocus()
{
    QTreeWidgetItem* node = tvTreeView->currentItem();
    if (!node || TreeNodes::Key(node) == kRootKey)
        return;
    clsSurvey& survey = main_.session().Survey;
    const QString key = TreeNodes::Key(node);
    survey.UpdateQuestion(key, txtQ->TextRTF());
    const QString prefix = numberPrefix(survey.GetQuestionTypeFromKey(key), survey.GetQuestionNoFromKey(key));
    const QString text = txtQ->Text();
    if (text.isEmpty()) {
        node->setText(0, prefix + kNoText);
        return;
    }
    const qsizetype lineEnd = text.indexOf(QLatin1String("\r\n"));
    node->setText(0, prefix + (lineEnd >= 0 ? text.left(lineEnd) : text));
}

void DesignScreen::AddBlankOpenEndedQuestion()
{
    mnuDesignAddOpenEndedQuestion_Click();
}

void DesignScreen::mnuDesignAddOpenEndedQuestion_Click()
{
    const QString key = main_.session().Survey.AddQ(QString(), QTypeOpenEnded, -1, 2);
    SelectNode(AddQuestionNode(key, kNoText));
    main_.MarkFileChanged();
}

void DesignScreen::mnuDesignAddCheckQuestion_Click()
{
}

void DesignScreen::mnuDesignAddRadioQuestion_Click()
{
}

void DesignScreen::mnuDesignAddMatrixQuestion_Click()
{
}

void DesignScreen::mnuDesignAddText_Click()
{
}

void DesignScreen::ToolbarDesign_ButtonClick(const QString& key)
{
    (void)key;
}

void DesignScreen::mnuEditUndo_Click()
{
}

void DesignScreen::mnuEditCut_Click()
{
}

void DesignScreen::mnuEditCopy_Click()
{
}

void DesignScreen::mnuEditPaste_Click()
{
}

void DesignScreen::mnuEditDelete_Click()
{
}

void DesignScreen::mnuEditSelectAll_Click()
{
}

void DesignScreen::LoadMatrixResponses()
{
}

void DesignScreen::LoadLibrary()
{
}
