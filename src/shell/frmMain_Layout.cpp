// The main window's layout: on every size change the window places its toolbar lines and the one
// place the three screens share, and each screen lays itself out in it, whichever is showing.
#include "analysis/AnalyseScreen.h"
#include "collection/CollectScreen.h"
#include "designer/DesignScreen.h"
#include "shell/frmMain.h"
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
    line->setGeometry(toPixelsX(x1), toPixelsY(y), toPixelsX(x2 - x1), line->height());
}

int outerHeight(const QWidget* w)
{
    // A status bar not laid out yet has its natural height.
    return w->height() > 0 ? heightOf(w) : fromPixelsY(w->sizeHint().height());
}
} // namespace

void frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmMain::Form_Resize()
{
    const int W = fromPixelsX(frameGeometry().width());
    const int H = fromPixelsY(frameGeometry().height());

    // The lines above and below the toolbars.
    layoutRule({ W }, [&] { setLine(ToolBarTopLine, 0, W, topOf(ToolBarTopLine)); });
    layoutRule({ W }, [&] { setLine(ToolBarBottomLine, 0, W, topOf(picToolbar) + heightOf(picToolbar) + 2); });

    // The place of the screens, below the toolbars; each screen lays itself out in it.
    {
        const int top = topOf(picToolbar) + heightOf(picToolbar) + 20;
        const int height = H - outerHeight(statusBar()) - heightOf(Toolbar) - 900;
        layoutRule({ W, height }, [&] { place(design_, 0, top, W, height); });
    }
    const ScreenSpace space { W, H, outerHeight(statusBar()), leftOf(design_), topOf(design_), widthOf(design_),
        heightOf(design_) };
    design_->layOut(space);
    layoutRule({ W, space.height }, [&] { place(collect_, 0, space.top, W, space.height); });
    collect_->layOut(space);
    layoutRule({ W, space.height }, [&] { place(analyse_, 0, space.top, W, space.height); });
    analyse_->layOut(space);
}
