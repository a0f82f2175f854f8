#pragma once

#include "document/SurveySession.h"
#include "platform/Database.h"

#include <QHash>
#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QPair>

class AnalyseScreen;
class CollectScreen;
class DesignScreen;
class ElidedLabel;
class QAction;
class QFrame;
class QMenu;
class QToolBar;
class QTreeWidgetItem;
class RichTextBox;

// The icons of a toolbar, numbered from 1, each under a key.
struct ImageList {
    QString Name;
    QList<QPair<QString, QIcon>> ListImages;
    QIcon image(int index) const
    {
        return index >= 1 && index <= ListImages.size() ? ListImages.at(index - 1).second : QIcon();
    }
};

// The main window. It composes the three screens and carries the operations the rest of the
// program calls on it: open, save and close the survey, the unsaved-changes flag, and the
// refreshes of the screens. It works on the session and the library connection its caller owns,
// which outlive it.
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    frmMain(SurveySession& session, db::Connection& library, QWidget* parent = nullptr);

    static QString programTitle() { return QStringLiteral("Orvalen Tessivo v1.12"); }

    SurveySession& session() { return session_; }
    const SurveySession& session() const { return session_; }
    db::Connection& LibraryConnection() { return libraryConnection_; }

    DesignScreen* design() const { return design_; }
    CollectScreen* collect() const { return collect_; }
    AnalyseScreen* analyse() const { return analyse_; }
    // A menu command by its name (mnuFileSave, mnuViewDesign, ...).
    QAction* action(const QString& name) const { return actions_.value(name); }

    // Runs once before the window is first shown: prepares the library, the toolbars, the splash
    // screen, the help file, the survey named on the command line (or a new one) and the screens.
    // A step that fails is reported with its number; the steps after it still run, so the window
    // always opens usable.
    void Form_Load(const QString& commandLine);

    // Screens and toolbars. ShowScreen takes "Design", "Data Collection", "Analyse", "Respondent" or
    // "Respondent Answers" (exactly so); any other text changes nothing.
    void ShowScreen(const QString& sTag);
    void SetupToolbar();
    void mnuViewDesign_Click();
    // Asks to save a changed design first; stays on the Design screen unless it was saved.
    void mnuViewDataCollection_Click();
    void mnuViewAnalyse_Click();
    void Toolbar_ButtonClick(QAction* button);
    void ToolbarDesign_ButtonClick(QAction* button);
    void mnuAbout_Click();
    // A toolbar's button by its key; none when there is no such button.
    static QAction* toolbarButton(const QToolBar* toolbar, const QString& key);

    // Places and sizes the controls of all three screens for the window's size.
    void Form_Resize();

    // Help.
    QString helpFile() const { return helpFile_; }
    void mnuHelpContents_Click();
    void mnuHelpIndex_Click();
    void mnuHelpSearch_Click();
    void mnuHelpTipOfTheDay_Click();
    void mnuHelpOnlineSupport_Click();
    void mnuHelpSendFeedback_Click();
    // The getting-started prompt of the first start.
    void FirstRun();
    static constexpr int kHelpContents = 1;
    static constexpr int kHelpGettingStarted = 3;

    // The frame around the screens.
    QFrame* ToolBarTopLine = nullptr;
    QWidget* picToolbar = nullptr;
    QToolBar* Toolbar = nullptr;
    QToolBar* ToolbarDesign = nullptr;
    QFrame* ToolBarBottomLine = nullptr;
    ImageList imToolbar;
    ImageList imToolbarXP;
    ImageList imDesignToolbar;
    ImageList imDesignToolbarXP;

    // Opening, saving and closing. DoOpen and DoSave report their own failures and say whether
    // they succeeded.
    bool DoOpen(const QString& sFilename, bool bIsNew, int SelectIndex);
    void DoClose();
    bool DoSave();

    // File commands; those that save answer whether the survey was saved.
    bool mnuNew_Click();
    void mnuFileOpen_Click();
    void mnuFileClose_Click();
    bool mnuFileSave_Click();
    bool mnuFileSaveAs_Click();
    void mnuFileExit_Click();

    void MarkFileChanged();
    bool IsFileChanged() const;

    // Forwarded to the screens.
    void tvTreeView_NodeClick(QTreeWidgetItem* node);
    void AddBlankOpenEndedQuestion();
    // Appends the blank placeholder question of an opened survey (SurveySession::PlaceholderKey),
    // selected or with the selection kept, and leaves the changed flag as it was.
    void addPlaceholderQuestion(bool select);
    void LoadMatrixResponses();
    void RefreshRespondentList(int SelectRow, int SelectID);
    void mnuDataCollectionPaperSurvey_Click();
    void RefreshRespondeSummaryReportList(int SelectRow, int SelectID);
    void RefreshGraph();

    // The analysis commands, page setup and printing (the Analyse screen's and the printer's).
    void mnuAnalyseSummary_Click();
    void mnuAnalyseDetail_Click();
    void mnuAnalyseTotRespondents_Click();
    void mnuFileExport_Click();
    static QString QuoteMe(const QString& text);
    void mnuFilePageSetup_Click();
    void mnuFilePrint_Click();
    void DoPageSetup();
    void DoPrint();

    // The web wizards' files: the survey exchange file "test.xml" written from the survey in memory,
    // and a results file imported as "Web" respondents. Both throw db::Error to the caller.
    void DoSaveXML();
    void DoLoadXML(const QString& sFilename);
    // The web wizards of the Data Collection menu. Publishing asks first to save a survey that has
    // unsaved changes or was never saved, since the service files its answers by the stored ids.
    void mnuDataPublishWeb_Click();
    void mnuDataCollectWeb_Click();

    // The status bar's first panel (the open survey's file name).
    QString statusBarPanel1() const;
    // The temporary file made by the last New, while its survey is open; only it is deleted once
    // that survey is saved under a name, discarded or closed.
    const QString& untitledFile() const { return untitledFile_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createMenus();
    void createToolbars();
    // The View items' check marks as the last ShowScreen set them (a click on an item toggles its
    // mark before the command runs, which may not switch at all).
    void restoreViewChecks();
    void placeToolbars();
    void reportLoadError(const db::Error& error, int loadState);
    QAction* addAction(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& shortcut = {});
    void setStatusFile(const QString& path);

    // The question "Do you want to save the changes you made?" when the survey needs saving.
    // False when the command must not go on: Cancel, or Yes and the save did not happen.
    bool savePrompt();
    // Saves as the commands do: Save As for an untitled survey, otherwise DoSave.
    bool saveCurrent();
    // Deletes the file of an untitled survey that was saved under a name or discarded, when it is
    // the file New made (never a file of the user's own).
    void dropUntitledFile(const QString& file);
    // Whether the open survey is the untitled one and holds respondents (answers typed in before
    // any save): they are something to save even when the design is not.
    bool untitledHoldsRespondents();
    // Opens a new untitled survey; throws, with the open survey left as it is, when no file can be made.
    bool startNewSurvey();
    // After an open failed: no connection stays on the rejected file and a new survey is started.
    void resetAfterFailedOpen();
    // Writes the survey into the open file and reloads it; throws on failure.
    void saveAndReload();
    void reportSaveFailure(const QString& fileName, const db::Error& error);
    // "Unable to create a new survey. " and why.
    static void reportNewFailure(const db::Error& error);

    SurveySession& session_;
    db::Connection& libraryConnection_;
    QString untitledFile_;
    bool resetting_ = false;
    QString helpFile_;
    QString checkedView_ = QStringLiteral("mnuViewDesign");

    DesignScreen* design_ = nullptr;
    CollectScreen* collect_ = nullptr;
    AnalyseScreen* analyse_ = nullptr;
    RichTextBox* txtTemp_ = nullptr;
    RichTextBox* txtTemp2_ = nullptr;
    ElidedLabel* statusFile_ = nullptr;
    QHash<QString, QAction*> actions_;
};
