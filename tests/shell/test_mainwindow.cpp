// The main window: start-up, the screens and their switching, the menu bar and toolbars, and the
// layout rules.
#include "Controls.h"
#include "GuiTest.h"
#include "ProgramFolder.h"
#include "StartProgram.h"
#include "analysis/AnalyseScreen.h"
#include "collection/CollectScreen.h"
#include "designer/DesignScreen.h"
#include "document/SurveyFile.h"
#include "platform/AppPath.h"
#include "platform/Rtf.h"
#include "platform/Settings.h"
#include "platform/Shell.h"
#include "platform/TextUtil.h"
#include "shell/MainBas.h"
#include "shell/frmMain.h"
#include "widgets/Dialogs.h"
#include "widgets/FlexGrid.h"
#include "widgets/HelpWindow.h"
#include "widgets/RichTextBox.h"
#include "widgets/TreeNodes.h"
#include "widgets/Twips.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

namespace {
const QString kSurveyApp = QStringLiteral("Orvalen Survey");

QString checkedView(const frmMain& w)
{
    QStringList checked;
    for (const char* name : { "mnuViewDesign", "mnuViewDataCollection", "mnuViewAnalyse" }) {
        if (w.action(QString::fromLatin1(name))->isChecked())
            checked << QString::fromLatin1(name);
    }
    return checked.join(QLatin1Char(','));
}

QString headerText(const QTableWidget* g, int col)
{
    const QTableWidgetItem* item = g->horizontalHeaderItem(col);
    return item ? item->text() : QString();
}

QString headerText(const FlexGrid* g, int col)
{
    return g->textMatrix(0, col);
}

int colTwips(const QTableView* g, int col)
{
    return Twips::fromPixelsX(g->columnWidth(col));
}

// A length in twips as the screen shows it.
int px(int twips)
{
    return Twips::toPixelsX(twips);
}
} // namespace

class MainWindowTest : public GuiTest {
    Q_OBJECT

private:
    // The screen whose panel is shown, by its own visibility.
    QString screen() const
    {
        QStringList shown;
        if (!w->design()->isHidden())
            shown << QStringLiteral("Design");
        if (!w->collect()->isHidden())
            shown << QStringLiteral("Collect");
        if (!w->analyse()->isHidden())
            shown << QStringLiteral("Analyse");
        return shown.join(QLatin1Char(','));
    }

    // The Analyse screen, the report panel in it, and the chart's Expand/Shrink Graph button.
    struct ChartPanel {
        QWidget* screen;
        QWidget* panel;
        QPushButton* button;
    };
    ChartPanel chartPanel() const
    {
        auto* screen = control<QWidget>(w.get(), "picAnalyse");
        auto* panel = control<QWidget>(screen, "picSummaryReport");
        return { screen, panel, control<QPushButton>(panel, "cmdExpand") };
    }

    void resizeTo(int width, int height)
    {
        w->showNormal();
        w->resize(width, height);
        w->Form_Resize();
    }

private Q_SLOTS:

    // Start-up

    void startsOnTheDesignScreenWithItsGridsReady()
    {
        start();
        QCOMPARE(w->windowTitle(), QStringLiteral("Orvalen Tessivo v1.12"));
        QVERIFY(w->windowState() & Qt::WindowMaximized);
        QCOMPARE(screen(), QStringLiteral("Design"));
        QCOMPARE(checkedView(*w), QStringLiteral("mnuViewDesign"));
        QVERIFY(!w->ToolbarDesign->isHidden());
        QCOMPARE(w->helpFile(), appPath() + QStringLiteral("/bhelp.hlp"));

        // One blank open-ended question in a new untitled survey, which counts as unchanged.
        QVERIFY(isUntitledPath(w->session().CurrentFile));
        QCOMPARE(w->session().Survey.QCount(), 1);
        QCOMPARE(w->session().Survey.GetQIndex(1)->qType, QTypeOpenEnded);
        QVERIFY(!w->IsFileChanged());

        const QTableWidget* summary = control<QTableWidget>(w->analyse(), "gSummaryReport");
        QCOMPARE(summary->rowCount(), 0);
        QCOMPARE(headerText(summary, 0), QStringLiteral("%"));
        QCOMPARE(headerText(summary, 1), QStringLiteral("Question"));
        QCOMPARE(int(summary->horizontalHeaderItem(0)->textAlignment()), int(Qt::AlignRight | Qt::AlignVCenter));
        // 600 twips, or as wide as the widest share needs (tests/analysis).
        QCOMPARE(summary->columnWidth(0), px(w->analyse()->shareColumnWidth()));
        QVERIFY(summary->columnWidth(0) >= px(600));
        const FlexGrid* respondents = control<FlexGrid>(w->collect(), "gRespondents");
        QCOMPARE(respondents->rows(), 1);
        QCOMPARE(respondents->row(), 0);
        QCOMPARE((QStringList { headerText(respondents, 0), headerText(respondents, 1), headerText(respondents, 2) }),
            (QStringList { QStringLiteral("Date and Time"), QStringLiteral("Sample Response"),
                QStringLiteral("Originated From") }));
        QCOMPARE(respondents->columnWidth(0), px(3500));
        QCOMPARE(respondents->columnWidth(2), px(1600));
        QCOMPARE(control<QComboBox>(w->analyse(), "cboGraphStyle")->currentIndex(), 0);
        QCOMPARE(control<QComboBox>(w->analyse(), "cboGraphStyle")->currentText(), QStringLiteral("3D Bar"));
        QCOMPARE(w->analyse()->SummaryRowMatrixResponseIDs, QList<int> { -1 });
        QVERIFY(w->collect()->ExampleComboEnabled);
    }

    void gridsWiderThanTheirColumnsWidenColumnOneAtLoad()
    {
        auto main = newMainWindow();
        quickSplash();
        Twips::setWidth(control<QTableWidget>(main->analyse(), "gSummaryReport"), 9000);
        Twips::setWidth(control<FlexGrid>(main->collect(), "gRespondents"), 5000); // narrower than 6700: defaults stay
        main->Form_Load(QString());
        const QTableWidget* summary = control<QTableWidget>(main->analyse(), "gSummaryReport");
        QCOMPARE(summary->columnWidth(1), px(Twips::widthOf(summary) - colTwips(summary, 0) - 100));
        QCOMPARE(control<FlexGrid>(main->collect(), "gRespondents")->columnWidth(1), px(1600));
        main->session().setFileChanged(false);
        main->close();
    }

    void aSurveyOnTheCommandLineIsOpenedWithABlankPlaceholderAppended()
    {
        const QString path = folder->writeSurvey(QStringLiteral("s.tvq"),
            { { QTypeOpenEnded, QStringLiteral("A") }, { QTypeOpenEnded, QStringLiteral("B") } });
        start(path);
        QCOMPARE(w->session().CurrentFile, path);
        QCOMPARE(w->statusBarPanel1(), path);
        QCOMPARE(w->session().Survey.QCount(), 3);
        const QPtr blank = w->session().Survey.GetQIndex(3);
        QCOMPARE(blank->qType, QTypeOpenEnded);
        QCOMPARE(w->session().PlaceholderKey, blank->Key);
        QCOMPARE(TreeNodes::keyOf(control<QTreeWidget>(w->design(), "tvTreeView")->currentItem()), blank->Key);
        // A place to type into, which is no change: nothing asks to save it.
        QVERIFY(!w->session().FileChanged());
        QVERIFY(!w->IsFileChanged());
        const QString temps = folder->files(QStringLiteral("HC*.TMP")).join(QLatin1Char(' '));
        QVERIFY2(temps.isEmpty(), qPrintable(temps));
        QVERIFY(w->close());
        w.reset();
    }

    // However long the open survey's path, the window can still be made narrow.
    void aLongPathInTheStatusBarIsCutInTheMiddle()
    {
        start();
        QString sub;
        while (folder->path().size() + sub.size() < 360)
            sub += QStringLiteral("/a-folder-with-a-rather-long-name-") + QString::number(sub.size());
        QVERIFY(QDir().mkpath(folder->path() + sub));
        const QString path = folder->writeSurvey(
            sub.mid(1) + QStringLiteral("/survey.tvq"), { { QTypeOpenEnded, QStringLiteral("A") } });
        QVERIFY(path.size() >= 371);
        w->DoClose();
        QVERIFY(w->DoOpen(path, true, 1));
        QTest::qWait(0);

        QCOMPARE(w->statusBarPanel1(), path);
        QVERIFY(w->minimumSizeHint().width() < 400);
        w->resize(800, 600);
        QCOMPARE(w->width(), 800);
        QTest::qWait(0);
        const auto* panel = control<QLabel>(w.get(), "StatusBarPanel1");
        QVERIFY(panel->text().contains(QStringLiteral("…")));
        QVERIFY(panel->text().endsWith(QStringLiteral("survey.tvq")));
        QVERIFY(panel->width() <= 800);
        QCOMPARE(panel->toolTip(), path);
    }

    void tipsAtStartup_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("shown");
        QTest::newRow("0") << "0" << false;
        QTest::newRow("1") << "1" << true;
        QTest::newRow("absent") << QString() << true;
    }

    void tipsAtStartup()
    {
        QFETCH(QString, stored);
        QFETCH(bool, shown);
        saveSetting(kSurveyApp, QStringLiteral("Config"), QStringLiteral("FirstRun"), QStringLiteral("False"));
        if (stored.isNull())
            deleteSetting(appExeName(), QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"));
        else
            saveSetting(appExeName(), QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"), stored);
        quickSplash();
        const auto tip = handleNextModal(QStringLiteral("frmTip"));
        w = runMain(QString());
        QCOMPARE(tip->shown, shown);
    }

    void firstRunPromptsOnceAfterTheTip()
    {
        deleteSetting(kSurveyApp, QStringLiteral("Config"), QStringLiteral("FirstRun"));
        saveSetting(
            appExeName(), QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"), QStringLiteral("1"));
        quickSplash();
        int promptsBeforeTip = -1;
        const auto tip = handleNextModal(
            QStringLiteral("frmTip"), [&](QWidget*) { promptsBeforeTip = int(Dialogs::Script::shown().size()); });
        Dialogs::Script::answer(Dialogs::Yes);
        w = runMain(QString());
        QVERIFY(tip->shown);
        QCOMPARE(promptsBeforeTip, 0);
        QCOMPARE(Dialogs::Script::shown(),
            QStringList { QStringLiteral("We've noticed that this is the first time you have launched Orvalen Tessivo. "
                                         "You may find it useful to follow the getting started tutorial. Would you "
                                         "like to view it now?") });
        QCOMPARE(Dialogs::Script::lastButtons(), Dialogs::YesNoCancel);
        QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Question);
        QCOMPARE(getSetting(kSurveyApp, QStringLiteral("Config"), QStringLiteral("FirstRun")), QStringLiteral("False"));
        HelpWindow* help = Help::window(w.get());
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->currentTopic(), frmMain::kHelpGettingStarted);
        w->close();
        w.reset();

        // Every later start reads False and asks nothing.
        saveSetting(
            appExeName(), QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"), QStringLiteral("0"));
        w = runMain(QString());
        QCOMPARE(Dialogs::Script::shown().size(), 1);
    }

    void aMissingLibraryIsReportedAndTheWindowStillWorks()
    {
        QVERIFY(QFile::remove(folder->file(QStringLiteral("Library.mdb"))));
        Dialogs::Script::answer(Dialogs::OK);
        start();
        const QString text = Dialogs::Script::lastText();
        QVERIFY2(text.startsWith(QStringLiteral("An error has occured loading please contact support at "
                                                "support@tessivo.example for assitance. \n")),
            qPrintable(text));
        QVERIFY2(text.endsWith(QStringLiteral(" LoadState 1")), qPrintable(text));
        QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Critical);
        QCOMPARE(Dialogs::Script::lastButtons(), Dialogs::OKOnly);
        QCOMPARE(Dialogs::Script::shown().size(), 1);
        // The later steps ran: a new survey with its question, the toolbar pictures and the grids.
        QVERIFY(w->session().SurveyConnection.isOpen());
        QCOMPARE(w->session().Survey.QCount(), 1);
        QVERIFY(!frmMain::toolbarButton(w->Toolbar, QStringLiteral("Design"))->icon().isNull());
        QCOMPARE(headerText(control<FlexGrid>(w->collect(), "gRespondents"), 0), QStringLiteral("Date and Time"));
        QCOMPARE(control<QTreeWidget>(w->design(), "tvTreeLibrary")->topLevelItemCount(), 0);
    }

    // Screens, menus and toolbars

    void showScreen_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("screen");
        QTest::addColumn<bool>("respondentList");
        QTest::addColumn<QString>("checked");
        QTest::addColumn<bool>("designToolbar");
        // Each case starts on the Analyse screen with the respondent list hidden.
        QTest::newRow("Design") << "Design"
                                << "Design" << false << "mnuViewDesign" << true;
        QTest::newRow("Data Collection") << "Data Collection"
                                         << "Collect" << false << "mnuViewDataCollection" << false;
        QTest::newRow("Analyse") << "Analyse"
                                 << "Analyse" << false << "mnuViewAnalyse" << false;
        QTest::newRow("Respondent") << "Respondent"
                                    << "Collect" << true << "mnuViewDataCollection" << false;
        QTest::newRow("Respondent Answers") << "Respondent Answers"
                                            << "Collect" << false << "mnuViewDataCollection" << false;
        QTest::newRow("design (lower case)") << "design"
                                             << "Analyse" << false << "mnuViewAnalyse" << false;
        QTest::newRow("Analyze (the caption)") << "Analyze"
                                               << "Analyse" << false << "mnuViewAnalyse" << false;
        QTest::newRow("empty") << ""
                               << "Analyse" << false << "mnuViewAnalyse" << false;
    }

    void showScreen()
    {
        QFETCH(QString, tag);
        QFETCH(QString, screen);
        QFETCH(bool, respondentList);
        QFETCH(QString, checked);
        QFETCH(bool, designToolbar);
        start();
        w->ShowScreen(QStringLiteral("Analyse"));
        control<QWidget>(w->collect(), "picRespondentList")->hide();
        w->ShowScreen(tag);
        QCOMPARE(this->screen(), screen);
        QCOMPARE(!control<QWidget>(w->collect(), "picRespondentList")->isHidden(), respondentList);
        QCOMPARE(checkedView(*w), checked);
        QCOMPARE(!w->ToolbarDesign->isHidden(), designToolbar);
    }

    void menuBarHoldsEveryItemAsWritten()
    {
        start();
        QStringList items;
        for (QAction* top : w->menuBar()->actions()) {
            items << top->text();
            for (QAction* a : top->menu()->actions()) {
                if (a->isSeparator())
                    items << QStringLiteral("  -");
                else
                    items << QStringLiteral("  ") + a->text()
                            + (a->shortcut().isEmpty()
                                    ? QString()
                                    : QStringLiteral(" [") + a->shortcut().toString() + QLatin1Char(']'));
            }
        }
        const QStringList expected = { "&File", "  &New... [Ctrl+N]", "  &Open... [Ctrl+O]", "  &Close", "  -",
            "  &Save [Ctrl+S]", "  Save &As...", "  &Export...", "  -", "  Page Set&up...", "  &Print... [Ctrl+P]",
            "  -", "  E&xit", "&Edit", "  &Undo", "  -", "  Cu&t [Ctrl+X]", "  &Copy [Ctrl+C]", "  &Paste [Ctrl+V]",
            "  &Delete [Del]", "  -", "  Select &All", "&View", "  Design [Shift+F1]", "  Data Collection [Shift+F2]",
            "  Analyze [Shift+F3]", "&Design", "  Add &Open Ended Question", "  Add &Check Type Question",
            "  Add &Radio Type Question", "  Add &Matrix Question", "  -", "  Add &Instruction Text",
            "Data &Collection", "  &Publish Web Survey...", "  &Collect Web Survey Responses...", "  -",
            "  Create &Paper Based Survey...", "&Analyze", "  Summary Report [Ctrl+R]", "  Detailed Report [Ctrl+D]",
            "  -", "  Total Respondents [Ctrl+T]", "&Help", "  &Contents...", "  Tip of the &Day...", "  &Index...",
            "  &Search...", "  -", "  &Online Support", "  Send &Feedback", "  -", "  &About..." };
        QCOMPARE(items, expected);
    }

    void toolbarButtonsWorkByTheirKeys()
    {
        start();
        QStringList main;
        for (const QAction* a : w->Toolbar->actions()) {
            main << a->text() + QLatin1Char('|') + a->data().toString() + QLatin1Char('|') + a->toolTip();
            QVERIFY(!a->icon().isNull());
        }
        QCOMPARE(main,
            (QStringList { QStringLiteral("Design|Design|Design"),
                QStringLiteral("Data Collection|Data Collection|Data Collection"),
                QStringLiteral("Analyze|Analyse|Analyse") }));
        QStringList design;
        for (const QAction* a : w->ToolbarDesign->actions()) {
            design << a->text() + QLatin1Char('|') + a->data().toString() + QLatin1Char('|') + a->toolTip();
            QVERIFY(!a->icon().isNull());
        }
        QCOMPARE(design,
            (QStringList { QStringLiteral("Add Question|Add Question|Add Question"),
                QStringLiteral("Add Text|Add Text|Add Text") }));
        // No Windows version here: the classic image lists.
        QCOMPARE(w->Toolbar->property("ImageList").toString(), QStringLiteral("imToolbar"));
        QCOMPARE(w->ToolbarDesign->property("ImageList").toString(), QStringLiteral("imDesignToolbar"));

        frmMain::toolbarButton(w->Toolbar, QStringLiteral("Analyse"))->trigger();
        QCOMPARE(screen(), QStringLiteral("Analyse"));
        frmMain::toolbarButton(w->Toolbar, QStringLiteral("Data Collection"))->trigger();
        QCOMPARE(screen(), QStringLiteral("Collect"));
        QVERIFY(!control<QWidget>(w->collect(), "picRespondentList")->isHidden());
        frmMain::toolbarButton(w->Toolbar, QStringLiteral("Design"))->trigger();
        QCOMPARE(screen(), QStringLiteral("Design"));
        QVERIFY(Dialogs::Script::shown().isEmpty());

        // A View item's own click does not leave a stray check mark.
        w->action(QStringLiteral("mnuViewAnalyse"))->trigger();
        QCOMPARE(checkedView(*w), QStringLiteral("mnuViewAnalyse"));
        w->action(QStringLiteral("mnuViewAnalyse"))->trigger();
        QCOMPARE(checkedView(*w), QStringLiteral("mnuViewAnalyse"));
    }

    void f1OpensTheHelpContentsFromTheQuestionText()
    {
        start();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        control<RichTextBox>(w->design(), "txtQ")->setFocus();
        QTest::keyClick(control<RichTextBox>(w->design(), "txtQ"), Qt::Key_F1);
        HelpWindow* help = Help::window(w.get());
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->currentTopic(), 1);
    }

    void toolbarClickCommitsTheQuestionText()
    {
        start();
        {
            // Text the editor holds but has not committed yet.
            const QSignalBlocker uncommitted(control<RichTextBox>(w->design(), "txtQ"));
            control<RichTextBox>(w->design(), "txtQ")->setText(QStringLiteral("How old are you?"));
        }
        QCOMPARE(rtf::toPlainText(w->session().Survey.GetQIndex(1)->Question), QString());
        frmMain::toolbarButton(w->Toolbar, QStringLiteral("Analyse"))->trigger();
        QCOMPARE(rtf::toPlainText(w->session().Survey.GetQIndex(1)->Question), QStringLiteral("How old are you?"));
        QCOMPARE(w->design()->rootNode()->child(0)->text(0), QStringLiteral("1. How old are you?"));
    }

    void dataCollectionAsksToSaveAChangedDesign_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("file"); // the Save As answer: a name, "cancel", "bad" or none
        QTest::addColumn<bool>("switches");
        QTest::newRow("Yes, saved") << int(Dialogs::Yes) << "mine.tvq" << true;
        QTest::newRow("Yes, Save As cancelled") << int(Dialogs::Yes) << "cancel" << false;
        QTest::newRow("Yes, save failed") << int(Dialogs::Yes) << "bad" << false;
        QTest::newRow("No") << int(Dialogs::No) << "" << false;
        QTest::newRow("Cancel") << int(Dialogs::Cancel) << "" << false;
    }

    void dataCollectionAsksToSaveAChangedDesign()
    {
        QFETCH(int, answer);
        QFETCH(QString, file);
        QFETCH(bool, switches);
        start();
        control<RichTextBox>(w->design(), "txtQ")->setFocus();
        QTest::keyClicks(control<RichTextBox>(w->design(), "txtQ"), QStringLiteral("Age"));
        const QString untitled = w->session().CurrentFile;

        Dialogs::Script::answer(Dialogs::Answer(answer));
        if (file == QLatin1String("cancel")) {
            Dialogs::Script::cancelFile();
        } else if (file == QLatin1String("bad")) {
            Dialogs::Script::fileName(folder->file(QStringLiteral("no-such-folder/mine.tvq")));
            Dialogs::Script::answer(Dialogs::OK); // the failure message
        } else if (!file.isEmpty()) {
            Dialogs::Script::fileName(folder->file(file));
        }
        w->action(QStringLiteral("mnuViewDataCollection"))->trigger();

        QCOMPARE(Dialogs::Script::shown().first(),
            QStringLiteral(
                "You must save the design before adding responses. Do you want to save the changes you made?"));
        QCOMPARE(Dialogs::Script::pending(), 0);
        QCOMPARE(screen(), switches ? QStringLiteral("Collect") : QStringLiteral("Design"));
        QCOMPARE(checkedView(*w), switches ? QStringLiteral("mnuViewDataCollection") : QStringLiteral("mnuViewDesign"));
        if (switches) {
            QCOMPARE(w->session().CurrentFile, folder->file(file));
            QVERIFY(!w->IsFileChanged());
        } else {
            QCOMPARE(w->session().CurrentFile, untitled);
            QVERIFY(w->IsFileChanged());
        }
    }

    void dataCollectionOnANamedOrUnchangedSurvey()
    {
        const QString path = folder->writeSurvey(QStringLiteral("s.tvq"), { { QTypeOpenEnded, QStringLiteral("A") } });
        start(path);
        w->MarkFileChanged(); // an edit of the design
        Dialogs::Script::answer(Dialogs::Yes); // saved in place, no file dialog
        w->mnuViewDataCollection_Click();
        QCOMPARE(Dialogs::Script::lastButtons(), Dialogs::YesNoCancel);
        QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Question);
        QCOMPARE(screen(), QStringLiteral("Collect"));
        QCOMPARE(w->session().CurrentFile, path);
        // The blank placeholder start-up added stays in the tree and out of the file.
        QCOMPARE(w->session().Survey.QCount(), 2);
        QVERIFY(w->session().Survey.GetQIndex(1)->DatabaseID > 0);
        QCOMPARE(w->session().Survey.GetQIndex(2)->DatabaseID, -1);
        db::Recordset stored
            = w->session().SurveyConnection.openRecordset(QStringLiteral("SELECT count(*) FROM question"));
        QCOMPARE(stored.field(0).toInt(), 1);

        // Nothing to save now: no question.
        w->mnuViewDesign_Click();
        w->mnuViewDataCollection_Click();
        QCOMPARE(Dialogs::Script::shown().size(), 1);
        QCOMPARE(screen(), QStringLiteral("Collect"));
    }

    // Layout

    void layoutFollowsTheWindowSize()
    {
        start();
        w->showNormal();
        w->resize(1100, 760);
        const int W = Twips::fromPixelsX(w->frameGeometry().width());
        QTRY_COMPARE(Twips::widthOf(w->design()), W);
        const int H = Twips::fromPixelsY(w->frameGeometry().height());
        const int expected = H - Twips::heightOf(w->statusBar()) - Twips::heightOf(w->Toolbar) - 900;
        QCOMPARE(w->design()->height(), Twips::toPixelsY(expected));
        QCOMPARE(w->collect()->geometry(), w->design()->geometry());
        QCOMPARE(w->analyse()->geometry(), w->design()->geometry());
        QCOMPARE(w->design()->y(), Twips::toPixelsY(Twips::topOf(w->picToolbar) + Twips::heightOf(w->picToolbar) + 20));
        QCOMPARE(control<QWidget>(w->collect(), "picRespondentList")->y(),
            Twips::toPixelsY(
                Twips::topOf(w->design()) + Twips::heightOf(control<QLabel>(w->collect(), "lblInstructions")) - 200));

        // Too small for the screens: those rules are skipped, and the layout returns with the size.
        const QRect before = w->design()->geometry();
        resizeTo(w->minimumSizeHint().width(), 60);
        QVERIFY(H > Twips::fromPixelsY(w->frameGeometry().height()));
        QCOMPARE(w->design()->height(), before.height());
        resizeTo(1100, 760);
        QCOMPARE(w->design()->geometry(), before);
    }

    void respondentColumnOneFillsTheGrid()
    {
        start();
        FlexGrid* g = control<FlexGrid>(w->collect(), "gRespondents");
        resizeTo(1000, 700);
        const int others = colTwips(g, 0) + colTwips(g, 2);
        QCOMPARE(g->width(), px(Twips::fromPixelsX(w->frameGeometry().width()) - 500));
        QCOMPARE(g->columnWidth(1), Twips::toPixelsX(Twips::widthOf(g) - others - 400));
        resizeTo(1300, 700);
        const int wide = g->columnWidth(1);
        QCOMPARE(wide, Twips::toPixelsX(Twips::widthOf(g) - others - 400));
        QVERIFY(wide > Twips::toPixelsX(1600));

        // A grid narrower than the other columns (or with less room than the 400 twips) keeps
        // column 1 at its last width. The window has a minimum width, so the other columns grow.
        for (const int gridRoom : { 195, -300 }) {
            g->setColumnWidth(0, px(Twips::widthOf(g) - gridRoom - colTwips(g, 2)));
            w->Form_Resize();
            QCOMPARE(Twips::widthOf(g) - colTwips(g, 0) - colTwips(g, 2), gridRoom);
            QCOMPARE(g->columnWidth(1), wide);
        }
    }

    void chartStatesUseTheirOwnConstants_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("heightLess");
        QTest::addColumn<int>("buttonTopLess");
        QTest::newRow("normal") << "Expand Graph" << 3150 << 2430 << 2700 << 2600;
        QTest::newRow("expanded") << "Shrink Graph" << 50 << 0 << 2500 << 2700;
    }

    void chartStatesUseTheirOwnConstants()
    {
        QFETCH(QString, caption);
        QFETCH(int, left);
        QFETCH(int, top);
        QFETCH(int, heightLess);
        QFETCH(int, buttonTopLess);
        start();
        const auto [screen, panel, button] = chartPanel();
        auto* c = control<QWidget>(panel, "c");
        button->setText(caption);
        Twips::setLeft(c, left);
        Twips::setTop(c, top);
        resizeTo(1200, 800);
        const int W = Twips::fromPixelsX(w->frameGeometry().width());
        const int H = Twips::fromPixelsY(w->frameGeometry().height());
        QCOMPARE(c->width(), Twips::toPixelsX(W - left));
        QCOMPARE(c->height(), Twips::toPixelsY(H - top - heightLess));
        QCOMPARE(button->x(), Twips::toPixelsX(W - Twips::widthOf(button) - 350));
        // Lifted where that top would cut the button off at the bottom of its panel.
        const int shownBottom = std::min(panel->height(), screen->height() - panel->y());
        QCOMPARE(button->y(),
            std::min(Twips::toPixelsY(H - Twips::heightOf(button) - buttonTopLess), shownBottom - button->height()));
    }

    // The Expand/Shrink Graph button stays whole inside the part of its panel that shows, in the
    // normal and the enlarged layout of the chart.
    void theChartButtonStaysWholeInsideItsPanel_data()
    {
        QTest::addColumn<bool>("expanded");
        QTest::addColumn<QSize>("size");
        for (const QSize& size : { QSize(1280, 800), QSize(1024, 768), QSize(1920, 1080) }) {
            const QByteArray name = QByteArray::number(size.width()) + 'x' + QByteArray::number(size.height());
            QTest::newRow(name + " normal") << false << size;
            QTest::newRow(name + " enlarged") << true << size;
        }
    }

    void theChartButtonStaysWholeInsideItsPanel()
    {
        QFETCH(bool, expanded);
        QFETCH(QSize, size);
        start();
        const auto [screen, panel, button] = chartPanel();
        if (expanded)
            button->click();
        QCOMPARE(button->text(), expanded ? QStringLiteral("Shrink Graph") : QStringLiteral("Expand Graph"));
        resizeTo(size.width(), size.height());

        const QRect shown = panel->rect() & screen->rect().translated(-panel->pos());
        const QString where = QStringLiteral("button %1,%2 %3x%4 in %5,%6 %7x%8")
                                  .arg(button->x())
                                  .arg(button->y())
                                  .arg(button->width())
                                  .arg(button->height())
                                  .arg(shown.x())
                                  .arg(shown.y())
                                  .arg(shown.width())
                                  .arg(shown.height());
        QVERIFY2(shown.contains(button->geometry()), qPrintable(where));
    }
};

int main(int argc, char** argv)
{
    return runGuiTest<MainWindowTest>(argc, argv);
}

#include "test_mainwindow.moc"
