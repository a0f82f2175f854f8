#include "shell/frmMain.h"

#include "analysis/AnalyseScreen.h"
#include "collection/CollectScreen.h"
#include "designer/DesignScreen.h"
#include "platform/AppPath.h"
#include "platform/Dialogs.h"
#include "platform/RichTextBox.h"
#include "platform/Twips.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

frmMain::frmMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(WindowTitle());

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    setCentralWidget(central);

    design_ = new DesignScreen(*this, central);
    collect_ = new CollectScreen(*this, central);
    analyse_ = new AnalyseScreen(*this, central);
    for (QWidget* screen : {static_cast<QWidget*>(design_), static_cast<QWidget*>(collect_),
                            static_cast<QWidget*>(analyse_)})
        Twips::Place(screen, 0, 0, 12000, 8800);
    collect_->hide();
    analyse_->hide();

    // Hidden rich-text boxes for building documents and reading plain text.
    txtTemp_ = new RichTextBox(central);
    txtTemp_->setObjectName(QStringLiteral("txtTemp"));
    txtTemp_->hide();
    txtTemp2_ = new RichTextBox(central);
    txtTemp2_->setObjectName(QStringLiteral("txtTemp2"));
    txtTemp2_->hide();

    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBar"));
    statusFile_ = new QLabel(bar);
    statusFile_->setObjectName(QStringLiteral("StatusBarPanel1"));
    bar->addWidget(statusFile_, 1);
    setStatusBar(bar);

    createMenus();
    design_->ResetTree();
}

frmMain::~frmMain() = default;

QAction* frmMain::addAction(QMenu* menu, const QString& name, const QString& caption,
                            const QKeySequence& shortcut)
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
    connect(addAction(file, QStringLiteral("mnuNew"), QStringLiteral("&New..."), QKeySequence(QStringLiteral("Ctrl+N"))),
            &QAction::triggered, this, [this] { mnuNew_Click(); });
    connect(addAction(file, QStringLiteral("mnuFileOpen"), QStringLiteral("&Open..."), QKeySequence(QStringLiteral("Ctrl+O"))),
            &QAction::triggered, this, &frmMain::mnuFileOpen_Click);
    connect(addAction(file, QStringLiteral("mnuFileClose"), QStringLiteral("&Close")),
            &QAction::triggered, this, &frmMain::mnuFileClose_Click);
    file->addSeparator();
    connect(addAction(file, QStringLiteral("mnuFileSave"), QStringLiteral("&Save"), QKeySequence(QStringLiteral("Ctrl+S"))),
            &QAction::triggered, this, [this] { mnuFileSave_Click(); });
    connect(addAction(file, QStringLiteral("mnuFileSaveAs"), QStringLiteral("Save &As...")),
            &QAction::triggered, this, [this] { mnuFileSaveAs_Click(); });
    addAction(file, QStringLiteral("mnuFileExport"), QStringLiteral("&Export..."))->setEnabled(false);
    file->addSeparator();
    addAction(file, QStringLiteral("mnuFilePageSetup"), QStringLiteral("Page Set&up..."))->setEnabled(false);
    addAction(file, QStringLiteral("mnuFilePrint"), QStringLiteral("&Print..."), QKeySequence(QStringLiteral("Ctrl+P")))
        ->setEnabled(false);
    file->addSeparator();
    connect(addAction(file, QStringLiteral("mnuFileExit"), QStringLiteral("E&xit")),
            &QAction::triggered, this, &frmMain::mnuFileExit_Click);

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    connect(addAction(edit, QStringLiteral("mnuEditUndo"), QStringLiteral("&Undo")), &QAction::triggered, design_,
            &DesignScreen::mnuEditUndo_Click);
    edit->addSeparator();
    connect(addAction(edit, QStringLiteral("mnuEditCut"), QStringLiteral("Cu&t"), QKeySequence(QStringLiteral("Ctrl+X"))),
            &QAction::triggered, design_, &DesignScreen::mnuEditCut_Click);
    connect(addAction(edit, QStringLiteral("mnuEditCopy"), QStringLiteral("&Copy"), QKeySequence(QStringLiteral("Ctrl+C"))),
            &QAction::triggered, design_, &DesignScreen::mnuEditCopy_Click);
    connect(addAction(edit, QStringLiteral("mnuEditPaste"), QStringLiteral("&Paste"), QKeySequence(QStringLiteral("Ctrl+V"))),
            &QAction::triggered, design_, &DesignScreen::mnuEditPaste_Click);
    connect(addAction(edit, QStringLiteral("mnuEditDelete"), QStringLiteral("&Delete"), QKeySequence(Qt::Key_Delete)),
            &QAction::triggered, design_, &DesignScreen::mnuEditDelete_Click);
    edit->addSeparator();
    connect(addAction(edit, QStringLiteral("mnuEditSelectAll"), QStringLiteral("Select &All")), &QAction::triggered,
            design_, &DesignScreen::mnuEditSelectAll_Click);

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    for (const auto& [name, caption, key] :
         {std::tuple{QStringLiteral("mnuViewDesign"), QStringLiteral("Design"), QStringLiteral("Shift+F1")},
          std::tuple{QStringLiteral("mnuViewDataCollection"), QStringLiteral("Data Collection"), QStringLiteral("Shift+F2")},
          std::tuple{QStringLiteral("mnuViewAnalyse"), QStringLiteral("Analyze"), QStringLiteral("Shift+F3")}}) {
        QAction* a = addAction(view, name, caption, QKeySequence(key));
        a->setCheckable(true);
    }
    action(QStringLiteral("mnuViewDesign"))->setChecked(true);

    QMenu* designMenu = bar->addMenu(QStringLiteral("&Design"));
    designMenu->setObjectName(QStringLiteral("mnuDesign"));
    connect(addAction(designMenu, QStringLiteral("mnuDesignAddOpenEndedQuestion"), QStringLiteral("Add &Open Ended Question")),
            &QAction::triggered, design_, &DesignScreen::mnuDesignAddOpenEndedQuestion_Click);
    connect(addAction(designMenu, QStringLiteral("mnuDesignAddCheckQuestion"), QStringLiteral("Add &Check Type Question")),
            &QAction::triggered, design_, &DesignScreen::mnuDesignAddCheckQuestion_Click);
    connect(addAction(designMenu, QStringLiteral("mnuDesignAddRadioQuestion"), QStringLiteral("Add &Radio Type Question")),
            &QAction::triggered, design_, &DesignScreen::mnuDesignAddRadioQuestion_Click);
    connect(addAction(designMenu, QStringLiteral("mnuDesignAddMatrixQuestion"), QStringLiteral("Add &Matrix Question")),
            &QAction::triggered, design_, &DesignScreen::mnuDesignAddMatrixQuestion_Click);
    designMenu->addSeparator();
    connect(addAction(designMenu, QStringLiteral("mnuDesignAddText"), QStringLiteral("Add &Instruction Text")),
            &QAction::triggered, design_, &DesignScreen::mnuDesignAddText_Click);

    QMenu* collection = bar->addMenu(QStringLiteral("Data &Collection"));
    collection->setObjectName(QStringLiteral("mnuDataCollection"));
    addAction(collection, QStringLiteral("mnuDataPublishWeb"), QStringLiteral("&Publish Web Survey..."))->setEnabled(false);
    addAction(collection, QStringLiteral("mnuDataCollectWeb"), QStringLiteral("&Collect Web Survey Responses..."))
        ->setEnabled(false);
    collection->addSeparator();
    addAction(collection, QStringLiteral("mnuDataCollectionPaperSurvey"), QStringLiteral("Create &Paper Based Survey..."))
        ->setEnabled(false);

    QMenu* analyse = bar->addMenu(QStringLiteral("&Analyze"));
    analyse->setObjectName(QStringLiteral("mnuAnalyse"));
    addAction(analyse, QStringLiteral("mnuAnalyseSummary"), QStringLiteral("Summary Report"), QKeySequence(QStringLiteral("Ctrl+R")))
        ->setEnabled(false);
    addAction(analyse, QStringLiteral("mnuAnalyseDetail"), QStringLiteral("Detailed Report"), QKeySequence(QStringLiteral("Ctrl+D")))
        ->setEnabled(false);
    analyse->addSeparator();
    addAction(analyse, QStringLiteral("mnuAnalyseTotRespondents"), QStringLiteral("Total Respondents"),
              QKeySequence(QStringLiteral("Ctrl+T")))
        ->setEnabled(false);

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    addAction(help, QStringLiteral("mnuHelpContents"), QStringLiteral("&Contents..."));
    addAction(help, QStringLiteral("mnuHelpTipOfTheDay"), QStringLiteral("Tip of the &Day..."));
    addAction(help, QStringLiteral("mnuHelpIndex"), QStringLiteral("&Index..."));
    addAction(help, QStringLiteral("mnuHelpSearch"), QStringLiteral("&Search..."));
    help->addSeparator();
    addAction(help, QStringLiteral("mnuHelpOnlineSupport"), QStringLiteral("&Online Support"));
    addAction(help, QStringLiteral("mnuHelpSendFeedback"), QStringLiteral("Send &Feedback"));
    help->addSeparator();
    addAction(help, QStringLiteral("mnuAbout"), QStringLiteral("&About..."));
}

void frmMain::Form_Load(const QString& commandLine)
{
    int LoadState = 0;
    try {
        LoadState = 1;
        libraryConnection_.Open(AppFile(QStringLiteral("Library.mdb")),
                                {QStringLiteral("category"), QStringLiteral("question")}, db::OpenMode::ReadOnly);
        LoadState = 6;
        session_.FileChanged = false;
        if (!commandLine.isEmpty()) {
            DoOpen(commandLine, true, 1);
        } else {
            StartNewSurvey();
        }
    } catch (const db::Error& e) {
        Dialogs::MsgBox(QStringLiteral("An error has occured loading please contact support at "
                                       "support@tessivo.example for assitance. \n")
                            + e.description() + QLatin1Char(' ') + QString::number(e.number()) + QLatin1Char(' ')
                            + e.source() + QStringLiteral(" LoadState ") + QString::number(LoadState),
                        Dialogs::OKOnly, Dialogs::Critical);
    }
}

void frmMain::MarkFileChanged()
{
    session_.FileChanged = true;
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

void frmMain::RefreshRespondeSummaryReportList(int SelectRow, int SelectID)
{
    analyse_->RefreshRespondeSummaryReportList(SelectRow, SelectID);
}

QString frmMain::StatusBarPanel1() const
{
    return statusFile_->text();
}

void frmMain::setStatusFile(const QString& path)
{
    statusFile_->setText(path);
}
