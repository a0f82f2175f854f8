#pragma once

#include "document/clsQ.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class RichTextBox;
class frmMain;

// The Design screen (`picDesign`): the question tree with its buttons, the question library, and
// the property pane of the current question.
class DesignScreen : public QWidget {
    Q_OBJECT

public:
    DesignScreen(frmMain& main, QWidget* parent);

    // Title panels and instructions.
    QWidget* picTitle = nullptr;
    QWidget* picTitles = nullptr;
    QLabel* lblInstructions = nullptr;
    // The question tree box.
    QWidget* picTreeView = nullptr;
    QTreeWidget* tvTreeView = nullptr;
    QWidget* picBlankPanel = nullptr;
    QPushButton* cmdUp = nullptr;
    QPushButton* cmdDown = nullptr;
    QPushButton* cmdDelete = nullptr;
    // The question library box.
    QWidget* picLibraryView = nullptr;
    QTreeWidget* tvTreeLibrary = nullptr;
    QWidget* picBlankPanel2 = nullptr;
    QPushButton* cmdLibraryAdd = nullptr;
    // The property pane.
    QWidget* lvListView = nullptr;
    QWidget* picQProperties = nullptr;
    RichTextBox* txtQ = nullptr;
    QListWidget* lstCheckResponses = nullptr;

    // The root node "S_Parent" of the question tree; no object when the tree is empty.
    QTreeWidgetItem* RootNode() const;
    // Empties the tree and adds the root "Survey", expanded.
    void ResetTree();
    // Adds a question node as the last child of the root.
    QTreeWidgetItem* AddQuestionNode(const QString& key, const QString& caption);
    // Selects the node and runs the node click for it.
    void SelectNode(QTreeWidgetItem* node);
    // Empties the question editor and the response list.
    void ClearEditor();

    // The caption of a question's node: its number prefix and its whole plain text.
    static QString NodeCaption(const clsQ& q);

    void tvTreeView_NodeClick(QTreeWidgetItem* node);
    // Commits the editor's text into the current question and its node caption.
    void txtQ_LostFocus();
    void AddBlankOpenEndedQuestion();
    // Fills the answer-scale list from the open survey file.
    void LoadMatrixResponses();
    // Fills the question library tree from the library database.
    void LoadLibrary();

    // The Design menu and the design toolbar (buttons keyed "Add Question" and "Add Text").
    void mnuDesignAddOpenEndedQuestion_Click();
    void mnuDesignAddCheckQuestion_Click();
    void mnuDesignAddRadioQuestion_Click();
    void mnuDesignAddMatrixQuestion_Click();
    void mnuDesignAddText_Click();
    void ToolbarDesign_ButtonClick(const QString& key);

    // The Edit menu: each acts on the widget that has the keyboard focus.
    void mnuEditUndo_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuEditDelete_Click();
    void mnuEditSelectAll_Click();

private:
    QPtr currentQuestion() const;
    void buildTreeBox();
    void buildLibraryBox();
    void buildPropertyPane();

    frmMain& main_;
};
