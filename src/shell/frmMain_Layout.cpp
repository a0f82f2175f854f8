// The main window's layout: every control of the three screens is placed from the window's outer
// size in twips, on every size change, whichever screen is showing.
#include "shell/frmMain.h"

#include "analysis/AnalyseScreen.h"
#include "collection/CollectScreen.h"
#include "designer/DesignScreen.h"
#include "widgets/FlexGrid.h"
#include "widgets/RichTextBox.h"
#include "widgets/Twips.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QTreeWidget>

#include <algorithm>
#include <initializer_list>

namespace {
using namespace Twips;

// A rule sets its values only when every width and height it computed can be set; a rule that
// cannot apply (a negative size while the window is very small) is skipped whole.
template <typename Apply>
void rule(std::initializer_list<int> sizes, Apply apply)
{
    if (std::all_of(sizes.begin(), sizes.end(), [](int size) { return size >= 0; }))
        apply();
}

// A horizontal line from X1 to X2 at the height Y.
void setLine(QFrame* line, int x1, int x2, int y)
{
    line->setGeometry(ToPixelsX(x1), ToPixelsY(y), ToPixelsX(x2 - x1), line->height());
}

int outerHeight(const QWidget* w)
{
    // A status bar not laid out yet has its natural height.
    return w->height() > 0 ? Height(w) : FromPixelsY(w->sizeHint().height());
}
}  // namespace

void frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmMain::Form_Resize()
{
    const auto W = [this] { return FromPixelsX(frameGeometry().width()); };
    const auto H = [this] { return FromPixelsY(frameGeometry().height()); };
    QWidget* picDesign = design_;
    QWidget* picCollect = collect_;
    QWidget* picAnalyse = analyse_;
    QWidget* c = analyse_->c;
    QPushButton* cmdExpand = analyse_->cmdExpand;
    const bool normalChart = cmdExpand->text() == QLatin1String("Expand Graph");

    // 1, 2: the chart and its button, by the chart's state.
    {
        const int width = W() - Left(c);
        const int height = H() - Top(c) - (normalChart ? 2700 : 2500);
        rule({width, height}, [&] {
            SetWidth(c, width);
            SetHeight(c, height);
        });
    }
    SetLeft(cmdExpand, W() - Width(cmdExpand) - 350);
    SetTop(cmdExpand, H() - Height(cmdExpand) - (normalChart ? 2600 : 2700));

    // 3, 4: the lines above and below the toolbars.
    rule({W()}, [&] { setLine(ToolBarTopLine, 0, W(), Top(ToolBarTopLine)); });
    rule({W()}, [&] { setLine(ToolBarBottomLine, 0, W(), Top(picToolbar) + Height(picToolbar) + 2); });

    // 5 to 15: the Design screen.
    {
        const int top = Top(picToolbar) + Height(picToolbar) + 20;
        const int height = H() - outerHeight(statusBar()) - Height(Toolbar) - 900;
        rule({W(), height}, [&] { Place(picDesign, 0, top, W(), height); });
    }
    rule({Width(picDesign)}, [&] {
        SetWidth(design_->picTitle, Width(picDesign));
        SetWidth(design_->picTitles, Width(picDesign));
    });
    {
        QWidget* lvListView = design_->lvListView;
        const int width = Width(picDesign) - Left(lvListView) - 150;
        const int height = Height(picDesign) - Top(lvListView) - outerHeight(statusBar()) + 300;
        rule({width, height}, [&] {
            SetWidth(lvListView, width);
            SetHeight(lvListView, height);
        });
    }
    rule({Width(design_->lvListView), Height(design_->lvListView)}, [&] {
        SetWidth(design_->picQProperties, Width(design_->lvListView));
        SetHeight(design_->picQProperties, Height(design_->lvListView));
    });
    SetTop(design_->picLibraryView, Height(picDesign) - Height(design_->picLibraryView));
    SetTop(design_->picBlankPanel2, Height(design_->picLibraryView) - Height(design_->picBlankPanel2) - 25);
    {
        const int height = Height(picDesign) - Top(picDesign) - Height(design_->picLibraryView) - 150;
        rule({height}, [&] { SetHeight(design_->picTreeView, height); });
    }
    {
        const int height = Height(design_->picTreeView) - Top(design_->picTreeView) + 500;
        rule({height}, [&] { SetHeight(design_->tvTreeView, height); });
    }
    SetTop(design_->picBlankPanel, Height(design_->picTreeView) - Height(design_->picBlankPanel) - 20);
    {
        const int width = Width(design_->picQProperties) - Left(design_->txtQ) - 300;
        rule({width}, [&] { SetWidth(design_->txtQ, width); });
    }
    {
        QList<QLabel*> labels = findChildren<QLabel*>(QStringLiteral("lblInstructions"));
        std::sort(labels.begin(), labels.end(), [](const QLabel* a, const QLabel* b) {
            return a->property("Index").toInt() < b->property("Index").toInt();
        });
        for (QLabel* label : labels) {
            const int width = Width(picDesign) - Left(label) - 150;
            rule({width}, [&] { SetWidth(label, width); });
        }
    }

    // 16 to 20: the Data Collection screen.
    {
        QWidget* list = collect_->picRespondentList;
        const int top = Top(picDesign) + Height(collect_->lblInstructions) - 200;
        rule({Width(picDesign), Height(picDesign)},
             [&] { Place(list, Left(picDesign), top, Width(picDesign), Height(picDesign)); });
    }
    {
        FlexGrid* g = collect_->gRespondents;
        const int width = W() - 500;
        const int height = H() - Top(g) - 3500;
        rule({width, height}, [&] {
            SetWidth(g, width);
            SetHeight(g, height);
        });
        const int others = columnWidthsSum(g, 1);
        if (g->cols() > 1 && Width(g) - others > 0) {
            const int column1 = Width(g) - others - 400;
            rule({column1}, [&] { g->setColumnWidth(1, ToPixelsX(column1)); });
        }
    }
    rule({W(), Height(picDesign)}, [&] { Place(picCollect, 0, Top(picDesign), W(), Height(picDesign)); });
    rule({Width(design_->picTitle)}, [&] { SetWidth(collect_->picTitleCollect, Width(design_->picTitle)); });

    // 21 to 24: the Analyse screen.
    rule({W(), Height(picDesign)}, [&] { Place(picAnalyse, 0, Top(picDesign), W(), Height(picDesign)); });
    rule({Width(design_->picTitle)}, [&] { SetWidth(analyse_->picTitleAnalyse, Width(design_->picTitle)); });
    {
        QWidget* report = analyse_->picSummaryReport;
        rule({Width(picAnalyse), Height(picAnalyse)},
             [&] { Place(report, Left(picAnalyse), Top(report), Width(picAnalyse), Height(picAnalyse)); });
    }
    {
        QTableWidget* g = analyse_->gSummaryReport;
        const int width = Width(analyse_->picSummaryReport) - Left(g) - 200;
        rule({width}, [&] { SetWidth(g, width); });
    }
}
