#pragma once

#include "document/clsQ.h"
#include "platform/TextUtil.h"

#include <QWidget>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;
class ResponseListEditor;
class RichTextBox;
class clsSurvey;
class SurveySession;
struct ScreenSpace;
namespace db {
class Connection;
}

// The Design screen (`picDesign`): the question tree with its buttons, the question library, and
// the property pane of the current question with its type panels and response lists.
//
// The current question is the question of the selected node of the question tree. Every change
// of that selection runs the node click, so the pane always shows the current question and what
// is typed into it reaches that question only.
class DesignScreen : public QWidget {
    Q_OBJECT

public:
    // The screen edits the session's survey and reads the question library.
    DesignScreen(SurveySession& session, db::Connection& library, QWidget* parent);

    // The button Enter presses while a response text box has the focus; no object otherwise.
    QPushButton* defaultButton() const { return defaultButton_; }

    // The response, its 1-based position and its question handed to the jump-logic dialog.
    ResponsePtr LogicResponse;
    int LogicResponseIndex = 0;
    QPtr LogicQ;

    // The root node "S_Parent" of the question tree; no object when the tree is empty.
    QTreeWidgetItem* rootNode() const;
    // Empties the tree and adds the root "Survey", expanded.
    void resetTree();
    // Adds a question node as the last child of the root.
    QTreeWidgetItem* addQuestionNode(const QString& key, const QString& caption);
    // Selects the node and runs the node click for it.
    void selectNode(QTreeWidgetItem* node);
    // Empties the question editor and the response lists.
    void clearEditor();
    // Removes every node of the question tree, the root too.
    void removeAllNodes();
    // The selected node of the question tree; none when nothing is selected.
    QTreeWidgetItem* currentNode() const;
    // Whether the question editor holds no text.
    bool editorIsEmpty() const;
    // Commits the editor's text into its question while the property pane shows one.
    void commitShownQuestion();

    // Places and sizes the screen's controls by the main window's layout rules, in the space the
    // window gives the screens.
    void layOut(const ScreenSpace& space);

    // The longest question text the editor loads to edit; of a longer one it shows the start,
    // read-only, and the stored text stays as it is.
    static constexpr qsizetype kEditLength = kWholeTextLength;

    // The caption of a question's node: its number prefix and the start of its plain text.
    static QString nodeCaption(const clsQ& q);
    // The option index of a question type and the type of an option index (-1 outside 0 to 4).
    static int optionOfType(qint32 qType);
    static qint32 typeOfOption(int index);

    // The question tree and its commands.
    void tvTreeView_NodeClick(QTreeWidgetItem* node);
    void cmdDelete_Click();
    void cmdUp_Click();
    void cmdDown_Click();
    // Recaptions every question node with its number and the start of its plain text.
    void ReindexTreeQuestionNos();
    void AddBlankOpenEndedQuestion();

    // The Design menu and the design toolbar (buttons keyed "Add Question" and "Add Text").
    void mnuDesignAddOpenEndedQuestion_Click();
    void mnuDesignAddCheckQuestion_Click();
    void mnuDesignAddRadioQuestion_Click();
    void mnuDesignAddMatrixQuestion_Click();
    void mnuDesignAddText_Click();
    void ToolbarDesign_ButtonClick(const QString& key);

    // The property pane.
    // Applies the type of option Index to the question of nodx and shows its panel.
    void SelectQType(int Index, QTreeWidgetItem* nodx);
    void optQType_Click(int Index);
    void txtQ_KeyDown(int KeyCode, int Shift);
    void txtQ_KeyUp(int KeyCode, int Shift);
    // Commits the editor's text into the current question and its node caption.
    void txtQ_LostFocus();
    void cmdOpenEndedNoOfRows_LostFocus();
    void txtCheckResponse_GotFocus();
    void txtCheckResponse_LostFocus();
    void txtMatrixResponse_GotFocus();
    void txtMatrixResponse_LostFocus();

    // The response lists, the answer scales and the jumps.
    void cmdCheckAdd_Click();
    void cdmCheckDelete_Click();
    void cmdCheckUp_Click();
    void cmdCheckDown_Click();
    void lstCheckResponses_Click();
    void cmdMatrixAdd_Click();
    void cmdMatrixDelete_Click();
    void cmdMatrixUp_Click();
    void cmdMatrixDown_Click();
    void lstMatrixResponses_Click();
    // An answer scale selected, by the user or by code: it becomes the current question's scale.
    void cmbMatrixResponses_Click();
    // Fills the answer-scale list from the open survey file.
    void LoadMatrixResponses();
    void cmdMatrixDefine_Click();
    void cmdRadioLogic_Click();

    // The question library.
    // Fills the question library tree from the library database.
    void LoadLibrary();
    void cmdLibraryAdd_Click();

    // The Edit menu: each acts on the widget that has the keyboard focus as its keystroke would.
    void mnuEditUndo_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuEditDelete_Click();
    void mnuEditSelectAll_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The screen's controls; tests reach them by their objectName.
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
    // Shown while the editor holds only the start of a question text too long to edit.
    QLabel* lblTextTooLong = nullptr;
    // Label1(0) "Question Text:", (2) "Question Type:", (3) "No of Rows:", (4) "Responses:",
    // (5) "Response:", (6) "Added responses:", (7) "Added Sub Questions:", (8) "Sub Question:",
    // (9) "Responses:"; index 1 is not used.
    std::array<QLabel*, 10> Label1 {};
    // The type options in option order (not in type-code order).
    std::array<QRadioButton*, 5> optQType {};
    // Open-ended questions and instruction texts.
    QWidget* picOpenEnded = nullptr;
    QComboBox* cmdOpenEndedNoOfRows = nullptr;
    // Check and radio questions.
    QWidget* picCheck = nullptr;
    QLineEdit* txtCheckResponse = nullptr;
    QPushButton* cmdCheckAdd = nullptr;
    QListWidget* lstCheckResponses = nullptr;
    QPushButton* cmdCheckUp = nullptr;
    QPushButton* cmdCheckDown = nullptr;
    QPushButton* cdmCheckDelete = nullptr;
    QPushButton* cmdRadioLogic = nullptr;
    // Matrix questions.
    QWidget* picMatrix = nullptr;
    QLineEdit* txtMatrixResponse = nullptr;
    QPushButton* cmdMatrixAdd = nullptr;
    QListWidget* lstMatrixResponses = nullptr;
    QPushButton* cmdMatrixUp = nullptr;
    QPushButton* cmdMatrixDown = nullptr;
    QPushButton* cmdMatrixDelete = nullptr;
    QComboBox* cmbMatrixResponses = nullptr;
    QPushButton* cmdMatrixDefine = nullptr;

    QPtr currentQuestion() const;
    clsSurvey& survey() const;
    void buildTreeBox();
    void buildLibraryBox();
    void buildPropertyPane();
    void buildOpenEndedPanel();
    void buildCheckPanel();
    void buildMatrixPanel();
    void connectTree();

    void addQuestion(qint32 qType, int ResponseMatrixGroupID);
    void moveQuestion(int direction);
    // Numbers the questions anew and recaptions the tree.
    void renumberQuestions();
    void showPanel(QWidget* panel);
    void setOption(int index);
    // Loads a question's text into the editor, or the start of one too long to edit.
    void showQuestionText(const QString& text);
    // The controls of a response-list editor as the screen's own.
    static void takeControls(const ResponseListEditor* editor, QLabel*& textLabel, QLabel*& listLabel, QLineEdit*& text,
        QPushButton*& add, QListWidget*& list, QPushButton*& up, QPushButton*& down, QPushButton*& remove);

    void sendKey(int key, Qt::KeyboardModifiers modifiers);

    SurveySession& session_;
    db::Connection& library_;
    // The responses of a check or radio question, and the rows of a matrix question.
    ResponseListEditor* checkResponses_ = nullptr;
    ResponseListEditor* matrixResponses_ = nullptr;
    QPushButton* defaultButton_ = nullptr;
    // Set while code changes the tree or the scale list, so that the handlers of the user's
    // selection do not run in between (each set for a scope by a QScopedValueRollback).
    bool treeUpdating_ = false;
    bool scaleFilling_ = false;
    // Set while the node click fills the pane: the editor then holds the question's own text, so
    // the focus leaving it for a response box commits nothing.
    bool paneFilling_ = false;
    // The key of the question the pane shows, set once the node click has filled the pane; ""
    // while it shows none.
    QString paneKey_;
    // Set while the editor shows only the start of the question's text: nothing it holds is the
    // question's text, so nothing is committed from it.
    bool textTooLong_ = false;
};
