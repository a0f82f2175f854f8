#pragma once

#include "document/SurveySession.h"
#include "platform/Database.h"

#include <QHash>
#include <QMainWindow>

class AnalyseScreen;
class CollectScreen;
class DesignScreen;
class QAction;
class QLabel;
class QMenu;
class QTreeWidgetItem;
class RichTextBox;

// The main window. It composes the three screens and carries the operations the rest of the
// program calls on it: open, save and close the survey, the unsaved-changes flag, and the
// refreshes of the screens.
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    static QString WindowTitle() { return QStringLiteral("Orvalen Tessivo v1.12"); }

    SurveySession& session() { return session_; }
    const SurveySession& session() const { return session_; }
    db::Connection& LibraryConnection() { return libraryConnection_; }

    DesignScreen* design() const { return design_; }
    CollectScreen* collect() const { return collect_; }
    AnalyseScreen* analyse() const { return analyse_; }
    // A menu command by its name (mnuFileSave, mnuViewDesign, ...).
    QAction* action(const QString& name) const { return actions_.value(name); }

    // Runs once before the window is first shown: prepares the library, the survey named on the
    // command line (or a new one) and the screens.
    void Form_Load(const QString& commandLine);

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
    void LoadMatrixResponses();
    void RefreshRespondentList(int SelectRow, int SelectID);
    void RefreshRespondeSummaryReportList(int SelectRow, int SelectID);

    // The status bar's first panel (the open survey's file name).
    QString StatusBarPanel1() const;
    // The temporary file made by the last New; only it is deleted when an untitled survey closes.
    const QString& UntitledFile() const { return untitledFile_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenus();
    QAction* addAction(QMenu* menu, const QString& name, const QString& caption,
                       const QKeySequence& shortcut = {});
    void setStatusFile(const QString& path);

    // The question "Do you want to save the changes you made?" when the survey needs saving.
    // False when the command must not go on: Cancel, or Yes and the save did not happen.
    bool SavePrompt();
    // Saves as the commands do: Save As for an untitled survey, otherwise DoSave.
    bool SaveCurrent();
    // A new untitled file in the program's folder, made from the template; throws when it cannot.
    QString CreateUntitledFile();
    // Opens a new untitled survey; throws, with the open survey left as it is, when no file can be made.
    bool StartNewSurvey();
    // After an open failed: no connection stays on the rejected file and a new survey is started.
    void ResetAfterFailedOpen();
    // Copies a file whole or not at all; throws on failure.
    static void CopyFile(const QString& from, const QString& to);
    // Writes the survey into the open file and reloads it; throws on failure.
    void SaveAndReload();
    void ReportSaveFailure(const QString& fileName, const db::Error& error);

    SurveySession session_;
    db::Connection libraryConnection_;
    QString untitledFile_;
    bool resetting_ = false;

    DesignScreen* design_ = nullptr;
    CollectScreen* collect_ = nullptr;
    AnalyseScreen* analyse_ = nullptr;
    RichTextBox* txtTemp_ = nullptr;
    RichTextBox* txtTemp2_ = nullptr;
    QLabel* statusFile_ = nullptr;
    QHash<QString, QAction*> actions_;
};
