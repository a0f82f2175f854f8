// The three screens of the main window, the toolbars and the View menu that switch between them,
// and the about box.
#include "analysis/AnalyseScreen.h"
#include "collection/CollectScreen.h"
#include "designer/DesignScreen.h"
#include "shell/frmAbout.h"
#include "shell/frmMain.h"
#include "shell/modDetectWindows.h"
#include "widgets/AccessibleNames.h"
#include "widgets/Dialogs.h"
#include "widgets/Twips.h"

#include <QAction>
#include <QFrame>
#include <QToolBar>
#include <QToolButton>

namespace {
QIcon icon(const QString& name)
{
    return QIcon(QStringLiteral(":/icons/") + name + QStringLiteral(".png"));
}

QAction* addButton(QToolBar* bar, const QString& caption, const QString& key, const QString& tooltip)
{
    QAction* a = bar->addAction(caption);
    a->setData(key);
    a->setToolTip(tooltip);
    return a;
}

QToolBar* makeToolbar(const QString& name, QWidget* parent)
{
    auto* bar = new QToolBar(parent);
    bar->setObjectName(name);
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(Twips::toPixelsX(480), Twips::toPixelsY(480)));
    // The button that shows the buttons a narrow toolbar has no room for.
    if (auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        nameButton(more, QStringLiteral("More buttons"));
    return bar;
}

QFrame* makeLine(const QString& name, QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}
} // namespace

void frmMain::createToolbars()
{
    QWidget* central = centralWidget();
    ToolBarTopLine = makeLine(QStringLiteral("ToolBarTopLine"), central);
    Twips::place(ToolBarTopLine, 0, 0, 12000, 30);

    picToolbar = new QWidget(central);
    picToolbar->setObjectName(QStringLiteral("picToolbar"));
    Twips::place(picToolbar, 0, 30, 12000, 960);

    Toolbar = makeToolbar(QStringLiteral("Toolbar"), picToolbar);
    addButton(Toolbar, QStringLiteral("Design"), QStringLiteral("Design"), QStringLiteral("Design"));
    addButton(Toolbar, QStringLiteral("Data Collection"), QStringLiteral("Data Collection"),
        QStringLiteral("Data Collection"));
    addButton(Toolbar, QStringLiteral("Analyze"), QStringLiteral("Analyse"), QStringLiteral("Analyse"));
    connect(Toolbar, &QToolBar::actionTriggered, this, &frmMain::Toolbar_ButtonClick);

    ToolbarDesign = makeToolbar(QStringLiteral("ToolbarDesign"), picToolbar);
    addButton(
        ToolbarDesign, QStringLiteral("Add Question"), QStringLiteral("Add Question"), QStringLiteral("Add Question"));
    addButton(ToolbarDesign, QStringLiteral("Add Text"), QStringLiteral("Add Text"), QStringLiteral("Add Text"));
    connect(ToolbarDesign, &QToolBar::actionTriggered, this, &frmMain::ToolbarDesign_ButtonClick);

    ToolBarBottomLine = makeLine(QStringLiteral("ToolBarBottomLine"), central);
    Twips::place(ToolBarBottomLine, 0, 992, 12000, 30);

    imToolbar = { QStringLiteral("imToolbar"),
        { { QStringLiteral("analyse"), icon(QStringLiteral("analyse")) },
            { QStringLiteral("design"), icon(QStringLiteral("design")) },
            { QStringLiteral("datacollection"), icon(QStringLiteral("datacollection")) } } };
    imToolbarXP = { QStringLiteral("imToolbarXP"),
        { { QStringLiteral("analyse"), icon(QStringLiteral("analyse_xp")) },
            { QStringLiteral("datacollection"), icon(QStringLiteral("datacollection_xp")) },
            { QStringLiteral("design"), icon(QStringLiteral("design_xp")) } } };
    imDesignToolbar = { QStringLiteral("imDesignToolbar"),
        { { QStringLiteral("addquestion"), icon(QStringLiteral("addquestion")) },
            { QStringLiteral("addtext"), icon(QStringLiteral("addtext")) } } };
    imDesignToolbarXP = { QStringLiteral("imDesignToolbarXP"),
        { { QStringLiteral("addquestion"), icon(QStringLiteral("addquestion_xp")) },
            { QStringLiteral("addtext"), icon(QStringLiteral("addtext_xp")) } } };
    placeToolbars();
}

void frmMain::placeToolbars()
{
    const int height = Twips::heightOf(picToolbar);
    const QSize main = Toolbar->sizeHint();
    Toolbar->setGeometry(Twips::toPixelsX(60), 0, main.width(), Twips::toPixelsY(height));
    const QSize designSize = ToolbarDesign->sizeHint();
    ToolbarDesign->setGeometry(
        Toolbar->geometry().right() + 1 + Twips::toPixelsX(240), 0, designSize.width(), Twips::toPixelsY(height));
}

QAction* frmMain::toolbarButton(const QToolBar* toolbar, const QString& key)
{
    for (QAction* a : toolbar->actions()) {
        if (a->data().toString() == key)
            return a;
    }
    return nullptr;
}

void frmMain::SetupToolbar()
{
    const auto assign = [](QToolBar* bar, const ImageList& images, std::initializer_list<int> imageOfButton) {
        const QList<QAction*> buttons = bar->actions();
        int button = 0;
        for (int image : imageOfButton) {
            if (button < buttons.size())
                buttons.at(button)->setIcon(images.image(image));
            ++button;
        }
        bar->setProperty("ImageList", images.Name);
    };
    if (IsWindowsXP()) {
        assign(Toolbar, imToolbarXP, { 3, 2, 1 });
        assign(ToolbarDesign, imDesignToolbarXP, { 1, 2 });
    } else {
        assign(Toolbar, imToolbar, { 2, 3, 1 });
        assign(ToolbarDesign, imDesignToolbar, { 1, 2 });
    }
    placeToolbars();
}

void frmMain::ShowScreen(const QString& sTag)
{
    struct Row {
        const char* tag;
        bool design, collect, analyse;
        int respondentList; // 1 shown, 0 hidden, -1 unchanged
        const char* checked;
    };
    static const Row table[] = {
        { "Design", true, false, false, -1, "mnuViewDesign" },
        { "Data Collection", false, true, false, -1, "mnuViewDataCollection" },
        { "Analyse", false, false, true, -1, "mnuViewAnalyse" },
        { "Respondent", false, true, false, 1, "mnuViewDataCollection" },
        { "Respondent Answers", false, true, false, 0, "mnuViewDataCollection" },
    };
    for (const Row& row : table) {
        if (sTag != QLatin1String(row.tag))
            continue;
        design_->setVisible(row.design);
        collect_->setVisible(row.collect);
        analyse_->setVisible(row.analyse);
        if (row.respondentList >= 0)
            collect_->showRespondentList(row.respondentList == 1);
        checkedView_ = QString::fromLatin1(row.checked);
        restoreViewChecks();
        ToolbarDesign->setVisible(row.design);
        return;
    }
}

void frmMain::restoreViewChecks()
{
    for (const char* name : { "mnuViewDesign", "mnuViewDataCollection", "mnuViewAnalyse" })
        action(QString::fromLatin1(name))->setChecked(checkedView_ == QLatin1String(name));
}

void frmMain::mnuViewDesign_Click()
{
    ShowScreen(QStringLiteral("Design"));
}

void frmMain::mnuViewDataCollection_Click()
{
    if (IsFileChanged()) {
        const Dialogs::Answer answer = Dialogs::msgBox(
            QStringLiteral(
                "You must save the design before adding responses. Do you want to save the changes you made?"),
            Dialogs::YesNoCancel, Dialogs::Question);
        if (answer != Dialogs::Yes)
            return;
        // Answer entry reads the questions from the file, so without a save the design stays.
        if (!saveCurrent())
            return;
    }
    ShowScreen(QStringLiteral("Respondent"));
    RefreshRespondentList(1, 0);
}

void frmMain::mnuViewAnalyse_Click()
{
    ShowScreen(QStringLiteral("Analyse"));
    try {
        RefreshRespondeSummaryReportList(1, 0);
    } catch (const db::Error& e) {
        AnalyseScreen::reportReadFailure(e);
    }
}

void frmMain::Toolbar_ButtonClick(QAction* button)
{
    if (!button)
        return;
    design_->commitShownQuestion();
    const QString key = button->data().toString();
    if (key == QLatin1String("Design"))
        mnuViewDesign_Click();
    else if (key == QLatin1String("Data Collection"))
        mnuViewDataCollection_Click();
    else if (key == QLatin1String("Analyse"))
        mnuViewAnalyse_Click();
}

void frmMain::ToolbarDesign_ButtonClick(QAction* button)
{
    if (button)
        design_->ToolbarDesign_ButtonClick(button->data().toString());
}

void frmMain::mnuAbout_Click()
{
    frmAbout about(this);
    about.exec();
}
