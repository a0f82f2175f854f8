#include "collection/CollectScreen.h"

#include "collection/frmManualResponse.h"
#include "document/PaperSurvey.h"
#include "document/ReportFile.h"
#include "document/RespondentAnswers.h"
#include "document/SurveySession.h"
#include "platform/Rtf.h"
#include "platform/Shell.h"
#include "platform/WaitCursor.h"
#include "widgets/Dialogs.h"
#include "widgets/FlexGrid.h"
#include "widgets/ReportError.h"
#include "widgets/ScreenParts.h"
#include "widgets/Twips.h"

#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTimer>

namespace {

const QString kNoneSelected
    = QStringLiteral("No Respondent has been selected. Please select a Respondent from the list to continue.");

// Keeps a grid from drawing while it is refilled, whatever way the refill ends.
struct RedrawOff {
    explicit RedrawOff(FlexGrid* g)
        : grid(g)
    {
        grid->setRedraw(false);
    }
    ~RedrawOff() { grid->setRedraw(true); }
    FlexGrid* grid;
};

} // namespace

CollectScreen::CollectScreen(SurveySession& session, QWidget* parent)
    : QWidget(parent)
    , session_(session)
    , rows_(session.SurveyConnection)
{
    setObjectName(QStringLiteral("picCollect"));

    picTitleCollect = makeTitlePanel(
        this, QStringLiteral("picTitleCollect"), QStringLiteral("lblTitleCollect"), QStringLiteral("Data Collection"));

    lblInstructions = makeInstructions(this,
        QStringLiteral("Instructions - You are currently viewing a list of Respondents, these are surveys that "
                       "have previously been completed. To add a new Respondent press the 'Add Respondent' "
                       "button. For more help press F1."),
        1);
    Twips::place(lblInstructions, 150, 600, 11000, 500);

    picRespondentList = new QWidget(this);
    picRespondentList->setObjectName(QStringLiteral("picRespondentList"));
    Twips::place(picRespondentList, 0, 1310, 12000, 7000);

    // Above the grid: the buttons on the left, the example question on the right.
    picCustBot = new QWidget(picRespondentList);
    picCustBot->setObjectName(QStringLiteral("picCustBot"));
    Twips::place(picCustBot, 150, 40, 6900, 420);
    const auto makeButton = [this](const QString& name, const QString& caption, int left) {
        QPushButton* button = makeCommandButton(name, caption, picCustBot);
        Twips::place(button, left, 0, 2200, 375);
        return button;
    };
    cmdCreateResponse = makeButton(QStringLiteral("cmdCreateResponse"), QStringLiteral("Add Respondent"), 0);
    cmdEditResponse = makeButton(QStringLiteral("cmdEditResponse"), QStringLiteral("View/Edit Respondent"), 2300);
    cmdDeleteResponse = makeButton(QStringLiteral("cmdDeleteResponse"), QStringLiteral("Delete Respondent"), 4600);
    connect(cmdCreateResponse, &QPushButton::clicked, this, &CollectScreen::cmdCreateResponse_Click);
    connect(cmdEditResponse, &QPushButton::clicked, this, &CollectScreen::cmdEditResponse_Click);
    connect(cmdDeleteResponse, &QPushButton::clicked, this, &CollectScreen::cmdDeleteResponse_Click);

    cboDCExampleQuestion = new QComboBox(picRespondentList);
    cboDCExampleQuestion->setObjectName(QStringLiteral("cboDCExampleQuestion"));
    cboDCExampleQuestion->setEditable(false);
    cboDCExampleQuestion->setAccessibleName(QStringLiteral("Sample Response question"));
    cboDCExampleQuestion->setToolTip(QStringLiteral("The question whose answers the Sample Response column shows"));
    cboDCExampleQuestion->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboDCExampleQuestion->setMinimumContentsLength(20);
    Twips::place(cboDCExampleQuestion, 7100, 40, 4550, 375);
    // A choice of the user's (mouse, keys, wheel); the refill's own selections do not count.
    connect(cboDCExampleQuestion, &QComboBox::activated, this, &CollectScreen::cboDCExampleQuestion_Click);

    gRespondents = new FlexGrid(picRespondentList);
    gRespondents->setObjectName(QStringLiteral("gRespondents"));
    gRespondents->setAccessibleName(QStringLiteral("Respondents"));
    gRespondents->setSelectionBehavior(QAbstractItemView::SelectRows);
    gRespondents->setCols(3);
    Twips::place(gRespondents, 150, 500, 11500, 6000);
    gRespondents->installEventFilter(this);
    connect(gRespondents, &FlexGrid::dblClick, this, &CollectScreen::gRespondents_DblClick);
    // An answer the grid could not read as it drew its rows is told once it has drawn them.
    rows_.onReadFailure = [this](const db::Error& error) {
        QTimer::singleShot(
            0, this, [error] { reportError(QStringLiteral("Unable to read the list of respondents."), error); });
    };
}

bool CollectScreen::eventFilter(QObject* watched, QEvent* event)
{
    // The example list keeps to the grid's right edge as the window's layout sizes the grid.
    if (watched == gRespondents && (event->type() == QEvent::Resize || event->type() == QEvent::Move)) {
        const int right = Twips::leftOf(gRespondents) + Twips::widthOf(gRespondents);
        Twips::setLeft(cboDCExampleQuestion,
            std::max(
                Twips::leftOf(picCustBot) + Twips::widthOf(picCustBot), right - Twips::widthOf(cboDCExampleQuestion)));
    }
    return QWidget::eventFilter(watched, event);
}

// The list

void CollectScreen::RefreshRespondentList(int SelectRow, int SelectID)
{
    if (!isVisible()) {
        refillPending_ = true;
        pendingRow_ = SelectRow;
        pendingId_ = SelectID;
        refilledOnShow_ = false;
        return;
    }
    // Showing the screen has just refilled it with these arguments and nothing ran in between.
    if (refilledOnShow_ && SelectRow == pendingRow_ && SelectID == pendingId_) {
        refilledOnShow_ = false;
        return;
    }
    refilledOnShow_ = false;
    refill(SelectRow, SelectID);
}

void CollectScreen::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!refillPending_)
        return;
    refill(pendingRow_, pendingId_);
    // Whoever showed the screen may ask for the same refill at once; that call is answered by
    // this one. Anything later refills again.
    refilledOnShow_ = true;
    QTimer::singleShot(0, this, [this] { refilledOnShow_ = false; });
}

void CollectScreen::fillExampleList()
{
    db::Connection& connection = session_.SurveyConnection;
    const int remembered = cboDCExampleQuestion->currentIndex();
    cboDCExampleQuestion->clear();
    if (connection.isOpen()) {
        for (const RespondentAnswers::ExampleQuestion& question : RespondentAnswers::readExampleQuestions(connection))
            cboDCExampleQuestion->addItem(
                question.number + QStringLiteral(". ") + rtf::captionOf(question.question), question.id);
    }
    if (cboDCExampleQuestion->count() > 0) {
        const QScopedValueRollback<bool> refilling(ExampleComboEnabled, false);
        cboDCExampleQuestion->setCurrentIndex(remembered);
        if (cboDCExampleQuestion->currentIndex() < 0) {
            cboDCExampleQuestion->setCurrentIndex(0);
            cboDCExampleQuestion->show();
        }
    } else {
        cboDCExampleQuestion->hide();
    }
}

void CollectScreen::refill(int SelectRow, int SelectID)
{
    refillPending_ = false;
    try {
        fillExampleList();
        RedrawOff quiet(gRespondents);
        // The rows' order and their dates and sources in one pass; the example answers of the
        // rows the grid draws, as it draws them.
        rows_.read(cboDCExampleQuestion->currentIndex() >= 0 ? cboDCExampleQuestion->currentData().toInt() : -1);
        gRespondents->setSource(&rows_);
    } catch (const db::Error& e) {
        rows_.clear();
        gRespondents->setSource(&rows_);
        reportError(QStringLiteral("Unable to read the list of respondents."), e);
    }
    selectRow(SelectRow, SelectID);
}

void CollectScreen::refreshRespondent(qint32 id, int SelectRow, int SelectID)
{
    if (!isVisible() || refillPending_) {
        RefreshRespondentList(SelectRow, SelectID);
        return;
    }
    // A refill on showing the screen has just read the respondent with the others.
    bool current = refilledOnShow_;
    refilledOnShow_ = false;
    try {
        current = current || rows_.update(gRespondents, id);
    } catch (const db::Error&) {
        current = false;
    }
    // The refill reads the file whole and reports what fails.
    if (!current) {
        refill(SelectRow, SelectID);
        return;
    }
    selectRow(SelectRow, SelectID);
}

void CollectScreen::selectRow(int SelectRow, int SelectID)
{
    if (gRespondents->source() == &rows_) {
        const int listed = rows_.list().rowOf(SelectID);
        if (listed >= 0)
            SelectRow = listed + 1;
    }
    if (SelectRow >= gRespondents->rows())
        SelectRow = gRespondents->rows() - 1;
    gRespondents->setRow(std::max(0, SelectRow));
    gRespondents->setCol(0);
}

void CollectScreen::cboDCExampleQuestion_Click()
{
    if (ExampleComboEnabled)
        RefreshRespondentList(gRespondents->row(), 0);
}

// The commands

bool CollectScreen::noRespondentSelected()
{
    if (gRespondents->row() != 0)
        return false;
    Dialogs::msgBox(kNoneSelected, Dialogs::OKOnly, Dialogs::Critical);
    return true;
}

void CollectScreen::showAnswerEntry()
{
    {
        frmManualResponse entry(session_.SurveyConnection, CurrentRespondentID, window());
        entry.exec();
    }
    Q_EMIT showScreenRequested(QStringLiteral("Respondent"));
    // The respondent entered is the one row that changed; it is shown selected.
    refreshRespondent(CurrentRespondentID, 1, CurrentRespondentID);
}

void CollectScreen::cmdCreateResponse_Click()
{
    try {
        CurrentRespondentID = RespondentAnswers::addRespondent(session_.SurveyConnection);
    } catch (const db::Error& e) {
        reportError(QStringLiteral("Unable to add a respondent."), e);
        return;
    }
    showAnswerEntry();
}

void CollectScreen::cmdEditResponse_Click()
{
    gRespondents_DblClick();
}

void CollectScreen::gRespondents_DblClick()
{
    if (noRespondentSelected())
        return;
    CurrentRespondentID = gRespondents->rowData(gRespondents->row());
    showAnswerEntry();
}

void CollectScreen::cmdDeleteResponse_Click()
{
    if (noRespondentSelected())
        return;
    if (Dialogs::msgBox(
            QStringLiteral("Delete Respondent? This will delete all responses provided by this Respondent."),
            Dialogs::YesNo, Dialogs::Question)
        != Dialogs::Yes)
        return;
    const qint32 id = gRespondents->rowData(gRespondents->row());
    try {
        // The answers and the respondent go together or not at all.
        RespondentAnswers::deleteRespondent(session_.SurveyConnection, id);
    } catch (const db::Error& e) {
        reportError(QStringLiteral("Unable to delete the respondent."), e);
    }
    refreshRespondent(id, 1, 0);
}

// The paper questionnaire

void CollectScreen::mnuDataCollectionPaperSurvey_Click()
{
    const std::optional<QString> chosen
        = Dialogs::showSave({ QStringLiteral("PaperSurvey.rtf"), QStringLiteral("Rich Text Format (*.rtf)|*.rtf"),
            Dialogs::OverwritePrompt | Dialogs::PathMustExist, QString() });
    if (!chosen || chosen->isEmpty())
        return;
    const QString fileName = *chosen;

    WaitCursor hourglass;
    try {
        // The file is replaced only once the whole document is written.
        ReportFile::writeWhole(fileName, [this](QIODevice& file) {
            PaperSurvey::write(session_.SurveyConnection, file);
            return true;
        });
    } catch (const db::Error& e) {
        hourglass.restore();
        reportError(QStringLiteral("Unable to write to file ") + fileName, e);
        return;
    }
    hourglass.restore();

    if (Dialogs::msgBox(
            QStringLiteral("View paper based survey now?"), Dialogs::YesNo, Dialogs::Question, Dialogs::appTitle())
        == Dialogs::Yes)
        Shell::open(fileName);
}

// Start-up and layout

void CollectScreen::setUpRespondentGrid()
{
    gRespondents->setCols(3);
    gRespondents->setRows(1);
}

void CollectScreen::setRespondentHeaders()
{
    gRespondents->setRow(0);
    const std::pair<QString, int> headers[] = { { QStringLiteral("Date and Time"), 3500 },
        { QStringLiteral("Sample Response"), 1600 }, { QStringLiteral("Originated From"), 1600 } };
    for (int col = 0; col < 3; ++col) {
        gRespondents->setCol(col);
        gRespondents->setText(headers[col].first);
        gRespondents->setCellAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        gRespondents->setColWidthTwips(col, headers[col].second);
    }
}

void CollectScreen::widenRespondentColumn()
{
    widenColumnOne(gRespondents);
}

void CollectScreen::showRespondentList(bool shown)
{
    picRespondentList->setVisible(shown);
}

void CollectScreen::layOut(const ScreenSpace& space)
{
    using namespace Twips;
    {
        const int width = space.width - leftOf(lblInstructions) - 150;
        layoutRule({ width }, [&] { setWidth(lblInstructions, width); });
    }
    // The list below the instructions, in the screens' place (reckoned as the Design screen's).
    {
        const int top = space.top + heightOf(lblInstructions) - 200;
        layoutRule({ space.width, space.height },
            [&] { place(picRespondentList, space.left, top, space.width, space.height); });
    }
    // The grid by the window's size, its column 1 taking the room the others leave.
    {
        const int width = space.windowWidth - 500;
        const int height = space.windowHeight - topOf(gRespondents) - 3500;
        layoutRule({ width, height }, [&] {
            setWidth(gRespondents, width);
            setHeight(gRespondents, height);
        });
        const int others = columnWidthsSum(gRespondents, 1);
        if (gRespondents->cols() > 1 && widthOf(gRespondents) - others > 0) {
            const int column1 = widthOf(gRespondents) - others - 400;
            layoutRule({ column1 }, [&] { gRespondents->setColumnWidth(1, toPixelsX(column1)); });
        }
    }
    layoutRule({ space.width }, [&] { setWidth(picTitleCollect, space.width); });
}
