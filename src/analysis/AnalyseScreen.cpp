#include "analysis/AnalyseScreen.h"

#include "analysis/SurveyChart.h"
#include "document/ChartData.h"
#include "document/CsvExport.h"
#include "document/DetailReport.h"
#include "document/SummaryReport.h"
#include "document/SurveySession.h"
#include "platform/Shell.h"
#include "widgets/AccessibleNames.h"
#include "widgets/Dialogs.h"
#include "widgets/LongWork.h"
#include "widgets/ReportError.h"
#include "widgets/ScreenParts.h"
#include "widgets/Twips.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int kRowDatum = Qt::UserRole;
const QString kExpand = QStringLiteral("Expand Graph");
const QString kShrink = QStringLiteral("Shrink Graph");

QTableWidgetItem* cell(const QString& text, Qt::Alignment alignment, qint32 datum)
{
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    item->setData(kRowDatum, datum);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

void setGridHeader(QTableWidget* grid, int column, const QString& text, Qt::Alignment alignment, int width)
{
    auto* cell = new QTableWidgetItem(text);
    cell->setTextAlignment(alignment | Qt::AlignVCenter);
    grid->setHorizontalHeaderItem(column, cell);
    grid->setColumnWidth(column, Twips::toPixelsX(width));
}

// Redrawing off while the grid is filled, back on however the fill ends.
class RedrawOff {
public:
    explicit RedrawOff(QWidget* w)
        : w_(w)
    {
        w_->setUpdatesEnabled(false);
    }
    ~RedrawOff() { w_->setUpdatesEnabled(true); }
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;

private:
    QWidget* w_;
};

} // namespace

AnalyseScreen::AnalyseScreen(SurveySession& session, QWidget* parent)
    : QWidget(parent)
    , session_(session)
{
    setObjectName(QStringLiteral("picAnalyse"));

    picTitleAnalyse = makeTitlePanel(
        this, QStringLiteral("picTitleAnalyse"), QStringLiteral("lblTitleAnalyse"), QStringLiteral("Analyze"));

    // The report panel takes the whole screen below the title, so the enlarged chart covers the
    // instructions and the grid.
    picSummaryReport = new QWidget(this);
    picSummaryReport->setObjectName(QStringLiteral("picSummaryReport"));
    Twips::place(picSummaryReport, 0, 500, 12000, 8300);

    lblInstructions = makeInstructions(picSummaryReport,
        QStringLiteral("Instructions - You are currently viewing a list of responses. To view a graph select the "
                       "response below. For more help press F1."),
        2);
    Twips::place(lblInstructions, 150, 100, 11000, 450);

    gSummaryReport = new QTableWidget(picSummaryReport);
    gSummaryReport->setObjectName(QStringLiteral("gSummaryReport"));
    gSummaryReport->verticalHeader()->hide();
    // One line of text per row, as many rows on view as the grid's height allows.
    gSummaryReport->verticalHeader()->setDefaultSectionSize(gSummaryReport->fontMetrics().height() + 6);
    gSummaryReport->setColumnCount(2);
    gSummaryReport->setSelectionBehavior(QAbstractItemView::SelectRows);
    gSummaryReport->setSelectionMode(QAbstractItemView::SingleSelection);
    gSummaryReport->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gSummaryReport->setWordWrap(false);
    gSummaryReport->installEventFilter(this);
    Twips::place(gSummaryReport, 150, 600, 11500, 1750);
    nameControl(gSummaryReport, QStringLiteral("Summary report"));
    connect(gSummaryReport, &QTableWidget::cellClicked, this, [this] { gSummaryReport_Click(); });

    auto* styleLabel = new QLabel(QStringLiteral("Graph Style:"), picSummaryReport);
    styleLabel->setObjectName(QStringLiteral("lblGraphStyle"));
    Twips::place(styleLabel, 150, 2430, 2850, 255);
    cboGraphStyle = new QComboBox(picSummaryReport);
    cboGraphStyle->setObjectName(QStringLiteral("cboGraphStyle"));
    cboGraphStyle->addItems({ QStringLiteral("3D Bar"), QStringLiteral("2D Bar"), QStringLiteral("3D Line"),
        QStringLiteral("2D Line"), QStringLiteral("3D Area"), QStringLiteral("2D Area"), QStringLiteral("3D Step"),
        QStringLiteral("2D Step"), QStringLiteral("3D Combination"), QStringLiteral("2D Combination"),
        QStringLiteral("Pie"), QStringLiteral("2D X-Y") });
    Twips::place(cboGraphStyle, 150, 2700, 2850, 315);
    labelFor(styleLabel, cboGraphStyle);
    connect(cboGraphStyle, &QComboBox::currentIndexChanged, this, [this] { cboGraphStyle_Click(); });

    createTotals();

    // The chart's normal place; the layout sizes it to the window.
    c = new SurveyChart(picSummaryReport);
    c->setObjectName(QStringLiteral("c"));
    c->hide();
    Twips::place(c, 3150, 2430, 8000, 3000);

    // Shown and hidden with the chart, which starts hidden.
    cmdExpand = new QPushButton(kExpand, picSummaryReport);
    cmdExpand->setObjectName(QStringLiteral("cmdExpand"));
    cmdExpand->setAccessibleName(kExpand);
    cmdExpand->hide();
    Twips::place(cmdExpand, 9600, 5000, 1500, 375);
    connect(cmdExpand, &QPushButton::clicked, this, &AnalyseScreen::cmdExpand_Click);
    // The button stands over the chart's lower right corner: wherever the layout puts the two, the
    // chart draws nothing under the button.
    c->installEventFilter(this);
    cmdExpand->installEventFilter(this);
}

void AnalyseScreen::createTotals()
{
    fraTotals = new QGroupBox(QStringLiteral("Totals"), picSummaryReport);
    fraTotals->setObjectName(QStringLiteral("fraTotals"));
    Twips::place(fraTotals, 150, 3150, 2850, 1500);
    const std::pair<QString, QLabel**> lines[] = {
        { QStringLiteral("Total Respondents:"), &lblTotalRespondents },
        { QStringLiteral("Manual Entry:"), &lblTotalManualEntry },
        { QStringLiteral("Web Based:"), &lblTotalWebBased },
        { QStringLiteral("Imported:"), &lblTotalImported },
    };
    const char* names[] = { "lblTotalRespondents", "lblTotalManualEntry", "lblTotalWebBased", "lblTotalImported" };
    int top = 300;
    for (int i = 0; i < 4; ++i) {
        auto* caption = new QLabel(lines[i].first, fraTotals);
        caption->setObjectName(QString::fromLatin1(names[i]) + QStringLiteral("Caption"));
        Twips::place(caption, 120, top, 1700, 255);
        auto* value = new QLabel(QStringLiteral("0"), fraTotals);
        value->setObjectName(QString::fromLatin1(names[i]));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Twips::place(value, 1800, top, 900, 255);
        // A screen reader reads the count with its caption.
        caption->setBuddy(value);
        *lines[i].second = value;
        top += 280;
    }
}

// The summary

int AnalyseScreen::RefreshRespondeSummaryReportList(int SelectRow, int SelectID)
{
    // Opening or saving a survey refreshes the summary; while the screen is hidden that waits
    // until it is shown, which refreshes it anyway.
    if (isHidden()) {
        pendingRefresh_ = std::make_pair(SelectRow, SelectID);
        return SelectRow;
    }
    pendingRefresh_.reset();

    Summary::Totals totals;
    std::vector<Summary::Row> rows;
    if (session_.SurveyConnection.isOpen()) {
        totals = Summary::readTotals(session_.SurveyConnection);
        rows = Summary::readRows(session_.SurveyConnection, totals.all);
    }
    lblTotalRespondents->setText(QString::number(totals.all));
    lblTotalManualEntry->setText(QString::number(totals.manualEntry));
    lblTotalWebBased->setText(QString::number(totals.webBased));
    lblTotalImported->setText(QString::number(totals.imported));

    const RedrawOff redrawOff(gSummaryReport);
    SummaryRowCount = 0;
    SummaryRowMatrixResponseIDs.clear();
    gSummaryReport->clearSelection();
    gSummaryReport->setRowCount(int(rows.size()));
    for (int i = 0; i < int(rows.size()); ++i) {
        const Summary::Row& row = rows[size_t(i)];
        QTableWidgetItem* share = cell(row.share, Qt::AlignRight, row.datum);
        QTableWidgetItem* caption = cell(row.caption, Qt::AlignLeft, row.datum);
        if (!row.text.isEmpty()) {
            // As rich text the tooltip wraps, so a long question shows whole, and the question's own
            // text is never read as markup.
            const QString tip
                = Qt::convertFromPlainText(QString(row.text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
            share->setToolTip(tip);
            caption->setToolTip(tip);
        }
        gSummaryReport->setItem(i, 0, share);
        gSummaryReport->setItem(i, 1, caption);
        SummaryRowCount += 1;
        SummaryRowMatrixResponseIDs.append(row.mapEntry);
        const bool selectable = row.kind == Summary::RowKind::Answer || row.kind == Summary::RowKind::MatrixRow;
        if (selectable && row.datum == SelectID)
            SelectRow = i + 1;
    }

    // Grid rows count the header row too.
    const int gridRows = gSummaryReport->rowCount() + 1;
    if (SelectRow >= gridRows)
        SelectRow = gridRows - 1;
    if (SelectRow >= 1) {
        gSummaryReport->setCurrentCell(SelectRow - 1, 0);
        gSummaryReport->selectRow(SelectRow - 1);
    } else {
        gSummaryReport->setCurrentCell(-1, -1);
    }
    return SelectRow;
}

int AnalyseScreen::shareColumnWidth() const
{
    const QFontMetrics metrics(gSummaryReport->font());
    // The text of a cell stands inside a margin on either side, and the grid line takes a pixel.
    const int margin = gSummaryReport->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, gSummaryReport) + 1;
    const int pixels = metrics.horizontalAdvance(Summary::widestShareText()) + 2 * margin + 1;
    return std::max(600, Twips::fromPixelsX(pixels));
}

qint32 AnalyseScreen::rowData(int row) const
{
    if (row < 1 || row > gSummaryReport->rowCount())
        return 0;
    const QTableWidgetItem* item = gSummaryReport->item(row - 1, 0);
    return item ? item->data(kRowDatum).toInt() : 0;
}

void AnalyseScreen::setVisible(bool visible)
{
    QWidget::setVisible(visible);
    // Whoever shows the screen usually refreshes it at once; the waiting refresh runs only if not.
    if (visible && pendingRefresh_)
        QTimer::singleShot(0, this, &AnalyseScreen::refreshPending);
}

void AnalyseScreen::refreshPending()
{
    if (!pendingRefresh_ || isHidden())
        return;
    try {
        RefreshRespondeSummaryReportList(pendingRefresh_->first, pendingRefresh_->second);
    } catch (const db::Error& e) {
        reportReadFailure(e);
    }
}

void AnalyseScreen::reportReadFailure(const db::Error& error)
{
    reportError(QStringLiteral("Unable to read the survey."), error);
}

// The chart

void AnalyseScreen::RefreshGraph()
{
    const int R = gSummaryReport->currentRow() + 1;
    qint32 M = -1;
    if (R > 0 && !SummaryRowMatrixResponseIDs.isEmpty() && R <= SummaryRowMatrixResponseIDs.size())
        M = SummaryRowMatrixResponseIDs.at(R - 1);
    if (!session_.SurveyConnection.isOpen()) {
        c->hide();
        cmdExpand->hide();
        return;
    }

    const Chart::Result result = Chart::read(session_.SurveyConnection, R, rowData(R), M);
    if (result.visibility != Chart::Visibility::Keep) {
        const bool show = result.visibility == Chart::Visibility::Show;
        c->setVisible(show);
        cmdExpand->setVisible(show);
    }
    if (result.data) {
        c->setChartType(SurveyChart::typeForStyle(cboGraphStyle->currentIndex()));
        c->setData(result.subject, *result.data);
    }
}

void AnalyseScreen::drawChart()
{
    try {
        RefreshGraph();
    } catch (const db::Error& e) {
        reportReadFailure(e);
    }
}

void AnalyseScreen::gSummaryReport_Click()
{
    drawChart();
}

void AnalyseScreen::gSummaryReport_KeyDown(int keyCode, Qt::KeyboardModifiers shift)
{
    (void)keyCode;
    (void)shift;
    drawChart();
}

void AnalyseScreen::cboGraphStyle_Click()
{
    gSummaryReport_Click();
}

bool AnalyseScreen::eventFilter(QObject* watched, QEvent* event)
{
    // The chart is drawn for the row that is current when the key goes down, before the grid
    // moves.
    if (watched == gSummaryReport && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        gSummaryReport_KeyDown(key->key(), key->modifiers());
    }
    if ((watched == c || watched == cmdExpand) && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        c->keepClearOf(cmdExpand->geometry().translated(-c->pos()));
    return QWidget::eventFilter(watched, event);
}

void AnalyseScreen::cmdExpand_Click()
{
    if (cmdExpand->text() == kExpand) {
        c->raise();
        cmdExpand->raise();
        Twips::setLeft(c, Twips::leftOf(picSummaryReport) + 50);
        Twips::setTop(c, 0);
        cmdExpand->setText(kShrink);
        cmdExpand->setAccessibleName(kShrink);
    } else {
        c->raise();
        cmdExpand->raise();
        gSummaryReport->raise();
        Twips::setLeft(c, 3150);
        Twips::setTop(c, 2430);
        cmdExpand->setText(kExpand);
        cmdExpand->setAccessibleName(kExpand);
    }
    Q_EMIT layoutRequested();
}

// The commands

void AnalyseScreen::reportWriteFailure(const QString& fileName, const db::Error& error) const
{
    reportError(QStringLiteral("Unable to write to file ") + fileName, error);
}

void AnalyseScreen::mnuAnalyseDetail_Click()
{
    const std::optional<QString> file = Dialogs::showSave({ QStringLiteral("DetailReport.rtf"),
        QStringLiteral("Rich Text Format (*.rtf)|*.rtf"), Dialogs::OverwritePrompt | Dialogs::PathMustExist, {} });
    if (!file || file->isEmpty())
        return;

    bool complete = false;
    try {
        LongWork work(window(), QStringLiteral("Writing the detailed report..."), 0);
        complete = DetailReport::writeFile(session_.SurveyConnection, *file, work.progress());
    } catch (const db::Error& e) {
        reportWriteFailure(*file, e);
        return;
    }
    if (!complete)
        return; // cancelled: nothing written

    if (Dialogs::msgBox(QStringLiteral("View detailed report now?"), Dialogs::YesNo, Dialogs::Question) == Dialogs::Yes)
        Shell::open(*file);
}

void AnalyseScreen::mnuAnalyseTotRespondents_Click()
{
    qint64 count = 0;
    try {
        count = Summary::respondentCount(session_.SurveyConnection);
    } catch (const db::Error& e) {
        reportReadFailure(e);
        return;
    }
    Dialogs::msgBox(QString::number(count) + QStringLiteral(" respondents have completed this survey."),
        Dialogs::OKOnly, Dialogs::Information);
}

void AnalyseScreen::mnuFileExport_Click()
{
    const std::optional<QString> file = Dialogs::showSave(
        { QStringLiteral("SurveyExport.csv"), QStringLiteral("Comma Seperated Values (*.csv)|*.csv"),
            Dialogs::OverwritePrompt | Dialogs::PathMustExist, {} });
    if (!file || file->isEmpty())
        return;
    try {
        LongWork work(window(), QStringLiteral("Exporting the answers..."), 0);
        CsvExport::writeFile(session_.SurveyConnection, *file, work.progress());
    } catch (const db::Error& e) {
        reportWriteFailure(*file, e);
    }
}

// Start-up and layout

void AnalyseScreen::setUpSummaryGrid()
{
    gSummaryReport->setColumnCount(2);
    gSummaryReport->setRowCount(0);
    setGridHeader(gSummaryReport, 0, QStringLiteral("%"), Qt::AlignRight, shareColumnWidth());
    setGridHeader(gSummaryReport, 1, QStringLiteral("Question"), Qt::AlignLeft, 6400);
}

void AnalyseScreen::widenSummaryColumn()
{
    widenColumnOne(gSummaryReport);
}

void AnalyseScreen::selectFirstGraphStyle()
{
    if (cboGraphStyle->count() > 0) {
        cboGraphStyle->setCurrentIndex(0);
        cboGraphStyle_Click();
    }
}

void AnalyseScreen::layOut(const ScreenSpace& space)
{
    using namespace Twips;
    {
        const int width = space.width - leftOf(lblInstructions) - 150;
        layoutRule({ width }, [&] { setWidth(lblInstructions, width); });
    }
    layoutRule({ space.width }, [&] { setWidth(picTitleAnalyse, space.width); });
    layoutRule({ widthOf(this), heightOf(this) },
        [&] { place(picSummaryReport, leftOf(this), topOf(picSummaryReport), widthOf(this), heightOf(this)); });
    {
        const int width = widthOf(picSummaryReport) - leftOf(gSummaryReport) - 200;
        layoutRule({ width }, [&] { setWidth(gSummaryReport, width); });
    }

    // The chart fills the window from its place; the button stands at its lower right corner.
    const bool normalChart = cmdExpand->text() == kExpand;
    {
        const int width = space.windowWidth - leftOf(c);
        const int height = space.windowHeight - topOf(c) - (normalChart ? 2700 : 2500);
        layoutRule({ width, height }, [&] {
            setWidth(c, width);
            setHeight(c, height);
        });
    }
    setLeft(cmdExpand, space.windowWidth - widthOf(cmdExpand) - 350);
    setTop(cmdExpand, space.windowHeight - heightOf(cmdExpand) - (normalChart ? 2600 : 2700));
    // The window's outer height reckons in the menu, toolbar and status bars, which the report
    // panel does not reach: the button is lifted to stay whole inside the part of the panel that
    // shows.
    const int shownBottom = std::min(picSummaryReport->height(), height() - picSummaryReport->y());
    if (cmdExpand->y() + cmdExpand->height() > shownBottom)
        cmdExpand->move(cmdExpand->x(), std::max(0, shownBottom - cmdExpand->height()));
}
