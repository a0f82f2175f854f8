// Every control the keyboard can reach has a name that assistive technology reads, on the three
// screens of the main window and in every window the program opens: each window is checked as it
// is shown, so a dialog added later is checked as soon as a row below opens it.
#include "AccessibleControls.h"
#include "Controls.h"
#include "GuiTest.h"
#include "ProgramFolder.h"
#include "SampleSurvey.h"
#include "StartProgram.h"
#include "analysis/AnalyseScreen.h"
#include "collection/CollectScreen.h"
#include "designer/DesignScreen.h"
#include "shell/frmMain.h"
#include "web/WizardDriver.h"
#include "web/frmAddServer.h"
#include "web/frmWizWebPublish.h"
#include "widgets/Dialogs.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// Runs fn on the next modal dialog once it is shown; fn closes it.
void whenModal(std::function<void(QDialog*)> fn, int attempts = 300)
{
    QTimer::singleShot(10, qApp, [fn, attempts] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            fn(dialog);
            return;
        }
        if (attempts > 0)
            whenModal(fn, attempts - 1);
    });
}

QString nameOf(const QWidget* w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
}

} // namespace

class AccessibilityTest : public GuiTest {
    Q_OBJECT

    QStringList faults;
    QStringList checked;

    // The controls of one window or screen: each named, and no two by the same name.
    void check(const QString& where, const QWidget* root)
    {
        checked << where;
        const QStringList unnamed = unnamedControls(root);
        if (!unnamed.isEmpty())
            faults << where + QStringLiteral(" has controls without a name: ") + unnamed.join(QStringLiteral(", "));
        const QStringList repeated = repeatedNames(root);
        if (!repeated.isEmpty())
            faults << where + QStringLiteral(" has names used twice: ") + repeated.join(QStringLiteral("; "));
        const QStringList unheard = unnamedInTree(root);
        if (!unheard.isEmpty())
            faults << where + QStringLiteral(" lists objects without a name: ") + unheard.join(QStringLiteral(", "));
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && window && window->isWindow() && !qobject_cast<frmMain*>(window)
            && !qobject_cast<QMenu*>(window) && !(window->windowType() == Qt::ToolTip)
            && !(window->windowType() == Qt::Popup))
            check(nameOf(window), window);
        return QObject::eventFilter(watched, event);
    }

private Q_SLOTS:
    void init()
    {
        GuiTest::init();
        faults.clear();
        checked.clear();
        qApp->installEventFilter(this);
        start();
        QVERIFY(w && QTest::qWaitForWindowActive(w.get()));
    }

    void cleanup()
    {
        qApp->removeEventFilter(this);
        GuiTest::cleanup();
    }

    // The whole window on each of its three screens, with a survey of every question type and
    // its respondents: the Data Collection screen lists them, the Analyze screen charts an answer.
    // Names are told apart within each screen (the screens are never shown together).
    void theMainWindowsControlsHaveNames()
    {
        const QString path = folder->newSurvey(QStringLiteral("sample.tvq"));
        SampleSurvey(path).w.connection.close();
        w->DoClose();
        QVERIFY(w->DoOpen(path, true, 1));

        const struct {
            const char* view;
            QWidget* screen;
        } screens[] = { { "mnuViewDesign", w->design() }, { "mnuViewDataCollection", w->collect() },
            { "mnuViewAnalyse", w->analyse() } };
        for (const auto& row : screens) {
            w->action(QString::fromLatin1(row.view))->trigger();
            QVERIFY(!row.screen->isHidden());
            if (row.screen == w->analyse()) {
                AnalyseScreen* a = w->analyse();
                control<QTableWidget>(a, "gSummaryReport")->setCurrentCell(2, 0); // Apple, under the fruit question
                a->gSummaryReport_Click();
                QVERIFY(control<SurveyChart>(a, "c")->isVisible());
                // The chart is one object, read with what it shows; each total with its caption.
                QAccessibleInterface* chart = QAccessible::queryAccessibleInterface(control<SurveyChart>(a, "c"));
                QCOMPARE(chart->role(), QAccessible::Chart);
                QCOMPARE(chart->text(QAccessible::Name), QStringLiteral("Which fruits?"));
                QCOMPARE(chart->text(QAccessible::Description),
                    QStringLiteral("Which fruits?: Apple 1, Banana 1, Cherry 1"));
                QCOMPARE(chart->childCount(), 0);
                const std::pair<QLabel*, const char*> totals[]
                    = { { control<QLabel>(a, "lblTotalRespondents"), "Total Respondents:" },
                          { control<QLabel>(a, "lblTotalManualEntry"), "Manual Entry:" },
                          { control<QLabel>(a, "lblTotalWebBased"), "Web Based:" },
                          { control<QLabel>(a, "lblTotalImported"), "Imported:" } };
                for (const auto& [count, caption] : totals)
                    QCOMPARE(accessibleLabelOf(count), QString::fromLatin1(caption));
            }
            const QString where = QStringLiteral("frmMain on ") + row.screen->objectName();
            const QStringList unnamed = unnamedControls(w.get());
            if (!unnamed.isEmpty())
                faults << where + QStringLiteral(" has controls without a name: ") + unnamed.join(QStringLiteral(", "));
            const QStringList repeated = repeatedNames(row.screen);
            if (!repeated.isEmpty())
                faults << where + QStringLiteral(" has names used twice: ") + repeated.join(QStringLiteral("; "));
            const QStringList unheard = unnamedInTree(w.get());
            if (!unheard.isEmpty())
                faults << where + QStringLiteral(" lists objects without a name: ")
                        + unheard.join(QStringLiteral(", "));
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // Each row opens a window the way the user does; the window is checked as it is shown.
    void everyWindowTheProgramOpensHasNamedControls()
    {
        DesignScreen* d = w->design();
        const struct {
            const char* window;
            std::function<void()> open;
        } rows[] = {
            { "frmLogic",
                [&] {
                    w->action(QStringLiteral("mnuDesignAddRadioQuestion"))->trigger();
                    control<QLineEdit>(d, "txtCheckResponse")->setText(QStringLiteral("Yes"));
                    control<QPushButton>(d, "cmdCheckAdd")->click();
                    control<QListWidget>(d, "lstCheckResponses")->setCurrentRow(0);
                    whenModal([](QDialog* dialog) { dialog->reject(); });
                    control<QPushButton>(d, "cmdRadioLogic")->click();
                } },
            { "frmMatrixAdd", // through frmMatrixDefine, which is checked on the way
                [&] {
                    w->action(QStringLiteral("mnuDesignAddMatrixQuestion"))->trigger();
                    whenModal([](QDialog* define) {
                        define->findChild<QListWidget*>(QStringLiteral("lstList"))->setCurrentRow(0);
                        whenModal([](QDialog* add) { add->reject(); });
                        define->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
                        define->reject();
                    });
                    control<QPushButton>(d, "cmdMatrixDefine")->click();
                } },
            { "frmTip",
                [&] {
                    whenModal([](QDialog* dialog) { dialog->reject(); });
                    w->action(QStringLiteral("mnuHelpTipOfTheDay"))->trigger();
                } },
            { "frmAbout",
                [&] {
                    whenModal([](QDialog* dialog) { dialog->reject(); });
                    w->action(QStringLiteral("mnuAbout"))->trigger();
                } },
            { "HelpWindow", [&] { w->action(QStringLiteral("mnuHelpContents"))->trigger(); } },
            // Answer entry builds a page per question: each kind of page is checked.
            { "frmManualResponse",
                [&] {
                    const QString path = folder->writeSurvey(QStringLiteral("entry.tvq"),
                        { { QTypeOpenEnded, QStringLiteral("Name?") }, { QTypeCheck, QStringLiteral("Pets?|Cat|Dog") },
                            { QTypeRadio, QStringLiteral("Smoke?|Yes|No") },
                            { QTypeMatrix, QStringLiteral("Rate|Food|Room") },
                            { QTypeText, QStringLiteral("Thanks") } });
                    w->DoClose();
                    QVERIFY(w->DoOpen(path, true, 1));
                    w->ShowScreen(QStringLiteral("Respondent"));
                    Dialogs::Script::answer(Dialogs::OK); // "Survey completed." after the last page
                    whenModal([this](QDialog* entry) {
                        auto* next = entry->findChild<QPushButton*>(QStringLiteral("cmdDCAnswersNext"));
                        for (int page = 1; page <= 5 && entry->isVisible(); ++page) {
                            check(QStringLiteral("frmManualResponse page %1").arg(page), entry);
                            next->click();
                        }
                        if (entry->isVisible())
                            entry->reject();
                    });
                    control<QPushButton>(w->collect(), "cmdCreateResponse")->click();
                } },
            // Opened by the web wizards' server pages.
            { "frmAddServer",
                [&] {
                    frmAddServer dialog(w.get());
                    whenModal([](QDialog* shown) { shown->reject(); });
                    dialog.exec();
                } },
            // The finish page of the Publish wizard: the address is the text a screen reader reads,
            // labelled by its caption.
            { "frmWizWebPublish_Complete",
                [&] {
                    PublishedURL = QStringLiteral("http://127.0.0.1/survey.php?id=4&lang=en");
                    frmWizWebPublish_Complete page(w.get());
                    page.show();
                    QCOMPARE(QAccessible::queryAccessibleInterface(page.Label6)->text(QAccessible::Name), PublishedURL);
                    QCOMPARE(accessibleLabelOf(page.Label6), QStringLiteral("Survey URL:"));
                    PublishedURL.clear();
                } },
            // The wizards' pages share one frame; the pages up to the login are walked here (all
            // twelve are checked in tests/web).
            { "frmWizWebCollect_Login",
                [&] {
                    const auto next
                        = [](QDialog* page) { page->findChild<QPushButton*>(QStringLiteral("cmdNext"))->click(); };
                    whenModal([=](QDialog* welcome) {
                        whenModal([=](QDialog* server) {
                            whenModal([](QDialog* login) {
                                login->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
                            });
                            next(server);
                        });
                        next(welcome);
                    });
                    w->action(QStringLiteral("mnuDataCollectWeb"))->trigger();
                } },
        };
        for (const auto& row : rows) {
            row.open();
            QTRY_VERIFY2(checked.contains(QString::fromLatin1(row.window)), row.window);
        }
        QVERIFY(checked.contains(QStringLiteral("frmMatrixDefine")));
        QVERIFY(checked.contains(QStringLiteral("frmWizWebCollect_ServerType")));
        QVERIFY(checked.contains(QStringLiteral("frmManualResponse page 5")));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }
};

int main(int argc, char** argv)
{
    return runGuiTest<AccessibilityTest>(argc, argv);
}

#include "test_accessibility.moc"
