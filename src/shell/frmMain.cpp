#include "shell/frmMain.h"

#include "analysis/AnalyseScreen.h"
#include "collection/CollectScreen.h"
#include "designer/DesignScreen.h"
#include "platform/AppPath.h"
#include "shell/ShellResources.h"
#include "shell/frmSplash.h"
#include "widgets/Dialogs.h"
#include "widgets/ElidedLabel.h"
#include "widgets/ReportError.h"
#include "widgets/RichTextBox.h"
#include "widgets/Twips.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>

#include <functional>

frmMain::frmMain(SurveySession& session, db::Connection& library, QWidget* parent)
    : QMainWindow(parent)
    , session_(session)
    , libraryConnection_(library)
{
    ensureShellResources();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(programTitle());
    setWindowIcon(QIcon(QStringLiteral(":/icons/tessivo.png")));

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    setCentralWidget(central);

    design_ = new DesignScreen(session_, libraryConnection_, central);
    collect_ = new CollectScreen(session_, central);
    analyse_ = new AnalyseScreen(session_, central);
    for (QWidget* screen :
        { static_cast<QWidget*>(design_), static_cast<QWidget*>(collect_), static_cast<QWidget*>(analyse_) })
        Twips::place(screen, 0, 1010, 12000, 8800);
    collect_->hide();
    analyse_->hide();
    connect(collect_, &CollectScreen::showScreenRequested, this, &frmMain::ShowScreen);
    connect(analyse_, &AnalyseScreen::layoutRequested, this, &frmMain::Form_Resize);

    // Hidden rich-text boxes for building documents and reading plain text; never the user's to
    // reach. Each is a window of its own that is never shown: a hidden box inside the window would
    // still be listed to a screen reader, as a text field without a name.
    for (RichTextBox** box : { &txtTemp_, &txtTemp2_ }) {
        *box = new RichTextBox(this);
        (*box)->setWindowFlags(Qt::Window);
        (*box)->setFocusPolicy(Qt::NoFocus);
        (*box)->hide();
    }
    txtTemp_->setObjectName(QStringLiteral("txtTemp"));
    txtTemp2_->setObjectName(QStringLiteral("txtTemp2"));

    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBar"));
    // A long path is shown cut in the middle, so it never sets the window's width.
    statusFile_ = new ElidedLabel(bar);
    statusFile_->setObjectName(QStringLiteral("StatusBarPanel1"));
    bar->addWidget(statusFile_, 1);
    setStatusBar(bar);

    createToolbars();
    createMenus();
    design_->resetTree();

    // "For more help press F1."
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setObjectName(QStringLiteral("F1"));
    connect(f1, &QShortcut::activated, this, &frmMain::mnuHelpContents_Click);
}

QAction* frmMain::addAction(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& shortcut)
{
    auto* a = new QAction(caption, this);
    a->setObjectName(name);
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    menu->addAction(a);
    actions_.insert(name, a);
    return a;
}

void frmMain::createMenus()
{
    QMenuBar* bar = menuBar();

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    connect(
        addAction(file, QStringLiteral("mnuNew"), QStringLiteral("&New..."), QKeySequence(QStringLiteral("Ctrl+N"))),
        &QAction::triggered, this, [this] { mnuNew_Click(); });
    connect(addAction(file, QStringLiteral("mnuFileOpen"), QStringLiteral("&Open..."),
                QKeySequence(QStringLiteral("Ctrl+O"))),
        &QAction::triggered, this, &frmMain::mnuFileOpen_Click);
    connect(addAction(file, QStringLiteral("mnuFileClose"), QStringLiteral("&Close")), &QAction::triggered, this,
        &frmMain::mnuFileClose_Click);
    file->addSeparator();
    connect(
        addAction(file, QStringLiteral("mnuFileSave"), QStringLiteral("&Save"), QKeySequence(QStringLiteral("Ctrl+S"))),
        &QAction::triggered, this, [this] { mnuFileSave_Click(); });
    connect(addAction(file, QStringLiteral("mnuFileSaveAs"), QStringLiteral("Save &As...")), &QAction::triggered, this,
        [this] { mnuFileSaveAs_Click(); });
    connect(addAction(file, QStringLiteral("mnuFileExport"), QStringLiteral("&Export...")), &QAction::triggered, this,
        &frmMain::mnuFileExport_Click);
    file->addSeparator();
    connect(addAction(file, QStringLiteral("mnuFilePageSetup"), QStringLiteral("Page Set&up...")), &QAction::triggered,
        this, &frmMain::mnuFilePageSetup_Click);
    connect(addAction(file, QStringLiteral("mnuFilePrint"), QStringLiteral("&Print..."),
                QKeySequence(QStringLiteral("Ctrl+P"))),
        &QAction::triggered, this, &frmMain::mnuFilePrint_Click);
    file->addSeparator();
    connect(addAction(file, QStringLiteral("mnuFileExit"), QStringLiteral("E&xit")), &QAction::triggered, this,
        &frmMain::mnuFileExit_Click);

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    connect(addAction(edit, QStringLiteral("mnuEditUndo"), QStringLiteral("&Undo")), &QAction::triggered, design_,
        &DesignScreen::mnuEditUndo_Click);
    edit->addSeparator();
    connect(
        addAction(edit, QStringLiteral("mnuEditCut"), QStringLiteral("Cu&t"), QKeySequence(QStringLiteral("Ctrl+X"))),
        &QAction::triggered, design_, &DesignScreen::mnuEditCut_Click);
    connect(
        addAction(edit, QStringLiteral("mnuEditCopy"), QStringLiteral("&Copy"), QKeySequence(QStringLiteral("Ctrl+C"))),
        &QAction::triggered, design_, &DesignScreen::mnuEditCopy_Click);
    connect(addAction(
                edit, QStringLiteral("mnuEditPaste"), QStringLiteral("&Paste"), QKeySequence(QStringLiteral("Ctrl+V"))),
        &QAction::triggered, design_, &DesignScreen::mnuEditPaste_Click);
    connect(addAction(edit, QStringLiteral("mnuEditDelete"), QStringLiteral("&Delete"), QKeySequence(Qt::Key_Delete)),
        &QAction::triggered, design_, &DesignScreen::mnuEditDelete_Click);
    edit->addSeparator();
    connect(addAction(edit, QStringLiteral("mnuEditSelectAll"), QStringLiteral("Select &All")), &QAction::triggered,
        design_, &DesignScreen::mnuEditSelectAll_Click);

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    const std::tuple<QString, QString, QString, void (frmMain::*)()> viewItems[]
        = { { QStringLiteral("mnuViewDesign"), QStringLiteral("Design"), QStringLiteral("Shift+F1"),
                &frmMain::mnuViewDesign_Click },
              { QStringLiteral("mnuViewDataCollection"), QStringLiteral("Data Collection"), QStringLiteral("Shift+F2"),
                  &frmMain::mnuViewDataCollection_Click },
              { QStringLiteral("mnuViewAnalyse"), QStringLiteral("Analyze"), QStringLiteral("Shift+F3"),
                  &frmMain::mnuViewAnalyse_Click } };
    for (const auto& [name, caption, key, handler] : viewItems) {
        QAction* a = addAction(view, name, caption, QKeySequence(key));
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, handler] {
            restoreViewChecks();
            (this->*handler)();
        });
    }
    action(QStringLiteral("mnuViewDesign"))->setChecked(true);

    QMenu* designMenu = bar->addMenu(QStringLiteral("&Design"));
    designMenu->setObjectName(QStringLiteral("mnuDesign"));
    connect(addAction(designMenu, QStringLiteral("mnuDesignAddOpenEndedQuestion"),
                QStringLiteral("Add &Open Ended Question")),
        &QAction::triggered, design_, &DesignScreen::mnuDesignAddOpenEndedQuestion_Click);
    connect(
        addAction(designMenu, QStringLiteral("mnuDesignAddCheckQuestion"), QStringLiteral("Add &Check Type Question")),
        &QAction::triggered, design_, &DesignScreen::mnuDesignAddCheckQuestion_Click);
    connect(
        addAction(designMenu, QStringLiteral("mnuDesignAddRadioQuestion"), QStringLiteral("Add &Radio Type Question")),
        &QAction::triggered, design_, &DesignScreen::mnuDesignAddRadioQuestion_Click);
    connect(addAction(designMenu, QStringLiteral("mnuDesignAddMatrixQuestion"), QStringLiteral("Add &Matrix Question")),
        &QAction::triggered, design_, &DesignScreen::mnuDesignAddMatrixQuestion_Click);
    designMenu->addSeparator();
    connect(addAction(designMenu, QStringLiteral("mnuDesignAddText"), QStringLiteral("Add &Instruction Text")),
        &QAction::triggered, design_, &DesignScreen::mnuDesignAddText_Click);

    QMenu* collection = bar->addMenu(QStringLiteral("Data &Collection"));
    collection->setObjectName(QStringLiteral("mnuDataCollection"));
    connect(addAction(collection, QStringLiteral("mnuDataPublishWeb"), QStringLiteral("&Publish Web Survey...")),
        &QAction::triggered, this, &frmMain::mnuDataPublishWeb_Click);
    connect(
        addAction(collection, QStringLiteral("mnuDataCollectWeb"), QStringLiteral("&Collect Web Survey Responses...")),
        &QAction::triggered, this, &frmMain::mnuDataCollectWeb_Click);
    collection->addSeparator();
    connect(addAction(collection, QStringLiteral("mnuDataCollectionPaperSurvey"),
                QStringLiteral("Create &Paper Based Survey...")),
        &QAction::triggered, this, &frmMain::mnuDataCollectionPaperSurvey_Click);

    QMenu* analyse = bar->addMenu(QStringLiteral("&Analyze"));
    analyse->setObjectName(QStringLiteral("mnuAnalyse"));
    connect(addAction(analyse, QStringLiteral("mnuAnalyseSummary"), QStringLiteral("Summary Report"),
                QKeySequence(QStringLiteral("Ctrl+R"))),
        &QAction::triggered, this, &frmMain::mnuAnalyseSummary_Click);
    connect(addAction(analyse, QStringLiteral("mnuAnalyseDetail"), QStringLiteral("Detailed Report"),
                QKeySequence(QStringLiteral("Ctrl+D"))),
        &QAction::triggered, this, &frmMain::mnuAnalyseDetail_Click);
    analyse->addSeparator();
    connect(addAction(analyse, QStringLiteral("mnuAnalyseTotRespondents"), QStringLiteral("Total Respondents"),
                QKeySequence(QStringLiteral("Ctrl+T"))),
        &QAction::triggered, this, &frmMain::mnuAnalyseTotRespondents_Click);

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    connect(addAction(help, QStringLiteral("mnuHelpContents"), QStringLiteral("&Contents...")), &QAction::triggered,
        this, &frmMain::mnuHelpContents_Click);
    connect(addAction(help, QStringLiteral("mnuHelpTipOfTheDay"), QStringLiteral("Tip of the &Day...")),
        &QAction::triggered, this, &frmMain::mnuHelpTipOfTheDay_Click);
    connect(addAction(help, QStringLiteral("mnuHelpIndex"), QStringLiteral("&Index...")), &QAction::triggered, this,
        &frmMain::mnuHelpIndex_Click);
    connect(addAction(help, QStringLiteral("mnuHelpSearch"), QStringLiteral("&Search...")), &QAction::triggered, this,
        &frmMain::mnuHelpSearch_Click);
    help->addSeparator();
    connect(addAction(help, QStringLiteral("mnuHelpOnlineSupport"), QStringLiteral("&Online Support")),
        &QAction::triggered, this, &frmMain::mnuHelpOnlineSupport_Click);
    connect(addAction(help, QStringLiteral("mnuHelpSendFeedback"), QStringLiteral("Send &Feedback")),
        &QAction::triggered, this, &frmMain::mnuHelpSendFeedback_Click);
    help->addSeparator();
    connect(addAction(help, QStringLiteral("mnuAbout"), QStringLiteral("&About...")), &QAction::triggered, this,
        &frmMain::mnuAbout_Click);
}

// Start-up

void frmMain::reportLoadError(const db::Error& error, int loadState)
{
    Dialogs::msgBox(QStringLiteral("An error has occured loading please contact support at ") + supportMailAddress()
            + QStringLiteral(" for assitance. ") + QStringLiteral("\n") + errorDetails(error)
            + QStringLiteral(" LoadState ") + QString::number(loadState),
        Dialogs::OKOnly, Dialogs::Critical);
}

void frmMain::Form_Load(const QString& commandLine)
{
    int LoadState = 0;
    const auto step = [&](int number, const std::function<void()>& work) {
        LoadState = number;
        try {
            work();
        } catch (const db::Error& e) {
            reportLoadError(e, LoadState);
        } catch (const std::exception& e) {
            reportLoadError(db::programError(QString::fromLocal8Bit(e.what()), 0), LoadState);
        }
    };

    step(0, [this] {
        collect_->ExampleComboEnabled = true;
        analyse_->SummaryRowCount += 1;
        analyse_->SummaryRowMatrixResponseIDs.append(-1);
    });
    step(1, [this] {
        libraryConnection_.open(
            libraryFile(), { QStringLiteral("category"), QStringLiteral("question") }, db::OpenMode::ReadOnly);
    });
    step(2, [this] { SetupToolbar(); });
    step(3, [this] {
        // Without a window manager "maximised" means nothing, so the window also takes the screen's size.
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            setGeometry(screen->availableGeometry());
        setWindowState(windowState() | Qt::WindowMaximized);
    });
    step(4, [] {
        frmSplash splash;
        splash.exec();
    });
    step(5, [this] { helpFile_ = appPath() + QStringLiteral("/bhelp.hlp"); });
    step(6, [this, &commandLine] {
        session_.setFileChanged(false);
        if (!commandLine.isEmpty())
            DoOpen(commandLine, true, 1);
        else
            startNewSurvey();
    });
    step(7, [] {});
    // Step 8: the screen panels are plain widgets, drawn without a border.
    step(8, [] {});
    step(9, [this] { analyse_->setUpSummaryGrid(); });
    step(10, [this] { analyse_->widenSummaryColumn(); });
    step(11, [this] { collect_->setUpRespondentGrid(); });
    step(12, [this] { collect_->setRespondentHeaders(); });
    step(13, [this] { collect_->widenRespondentColumn(); });
    step(14, [this] { RefreshRespondentList(1, 0); });
    step(15, [this] { analyse_->selectFirstGraphStyle(); });
    step(16, [this] {
        // Without the library the tree stays empty; its failure was reported at step 1.
        if (libraryConnection_.isOpen())
            design_->LoadLibrary();
    });
    step(17, [this] { LoadMatrixResponses(); });
}

void frmMain::MarkFileChanged()
{
    session_.MarkFileChanged();
}

void frmMain::tvTreeView_NodeClick(QTreeWidgetItem* node)
{
    design_->tvTreeView_NodeClick(node);
}

void frmMain::AddBlankOpenEndedQuestion()
{
    design_->AddBlankOpenEndedQuestion();
}

void frmMain::LoadMatrixResponses()
{
    design_->LoadMatrixResponses();
}

void frmMain::RefreshRespondentList(int SelectRow, int SelectID)
{
    collect_->RefreshRespondentList(SelectRow, SelectID);
}

void frmMain::mnuDataCollectionPaperSurvey_Click()
{
    collect_->mnuDataCollectionPaperSurvey_Click();
}

void frmMain::RefreshRespondeSummaryReportList(int SelectRow, int SelectID)
{
    analyse_->RefreshRespondeSummaryReportList(SelectRow, SelectID);
}

QString frmMain::statusBarPanel1() const
{
    return statusFile_->fullText();
}

void frmMain::setStatusFile(const QString& path)
{
    statusFile_->setFullText(path);
}
