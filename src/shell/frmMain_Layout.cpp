// The main window's layout: on every size change the window places its toolbar lines and the one
// place the three screens share, and each screen lays itself out in it, whichever is showing.
#include "shell/frmMain.h"

#include "analysis/AnalyseScreen.h"
#include "collection/CollectScreen.h"
#include "designer/DesignScreen.h"
#include "widgets/ScreenParts.h"
#include "widgets/Twips.h"

#include <QFrame>
#include <QStatusBar>
#include <QToolBar>

namespace {
using namespace Twips;

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
    const int W = FromPixelsX(frameGeometry().width());
    const int H = FromPixelsY(frameGeometry().height());

    // The lines above and below the toolbars.
    LayoutRule({W}, [&] { setLine(ToolBarTopLine, 0, W, Top(ToolBarTopLine)); });
    LayoutRule({W}, [&] { setLine(ToolBarBottomLine, 0, W, Top(picToolbar) + Height(picToolbar) + 2); });

    // The place of the screens, below the toolbars; each screen lays itself out in it.
    {
        const int top = Top(picToolbar) + Height(picToolbar) + 20;
        const int height = H - outerHeight(statusBar()) - Height(Toolbar) - 900;
        LayoutRule({W, height}, [&] { Place(design_, 0, top, W, height); });
    }
    const ScreenSpace space{W,
                            H,
                            outerHeight(statusBar()),
                            Left(design_),
                            Top(design_),
                            Width(design_),
                            Height(design_)};
    design_->layOut(space);
    LayoutRule({W, space.height}, [&] { Place(collect_, 0, space.top, W, space.height); });
    collect_->layOut(space);
    LayoutRule({W, space.height}, [&] { Place(analyse_, 0, space.top, W, space.height); });
    analyse_->layOut(space);
}
