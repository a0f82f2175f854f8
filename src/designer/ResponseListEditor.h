#pragma once

#include "document/clsQ.h"

#include <QString>
#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class SurveySession;

// One response list of the current question with its text box and buttons: a text box with its
// Add button, the list, the Up and Down arrows and Delete. The check and radio panel edits the
// responses with it, the matrix panel the rows (sub questions); both are the question's responses,
// addressed by list position + 1. Every change goes to the list and the question together and
// marks the survey changed.
class ResponseListEditor : public QWidget {
    Q_OBJECT

public:
    // The controls' names and captions, and what the list holds ("response", "sub question"), which
    // names the buttons for assistive technology.
    struct Setup {
        int textLabelIndex;
        QString textLabel;
        QString textName;
        QString addName;
        int listLabelIndex;
        QString listLabel;
        QString listName;
        QString upName;
        QString downName;
        QString deleteName;
        QString item;
        int listHeight; // twips
    };

    // currentQuestion gives the question the pane shows (none: the commands do nothing to a question).
    ResponseListEditor(
        const Setup& setup, SurveySession& session, std::function<QPtr()> currentQuestion, QWidget* parent);

    // The label over the text box and the one over the list (control array Label1).
    QLabel* textLabel = nullptr;
    QLabel* listLabel = nullptr;
    QLineEdit* text = nullptr;
    QPushButton* add = nullptr;
    QListWidget* list = nullptr;
    QPushButton* up = nullptr;
    QPushButton* down = nullptr;
    QPushButton* remove = nullptr;

    // Fills the list with the question's responses (empties it for none). The arrows keep their
    // state until the next click in the list.
    void fill(const clsQ* q);
    // The selected position, 0-based; -1 when none is selected.
    int selectedRow() const;

    // The commands of the buttons and of a click in the list.
    void addResponse();
    void deleteResponse();
    void moveUp();
    void moveDown();
    void listClick();

Q_SIGNALS:
    // The text box got or lost the keyboard focus (its Add button is the default button meanwhile).
    void textGotFocus();
    void textLostFocus();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void move(int direction);

    SurveySession& session_;
    std::function<QPtr()> currentQuestion_;
    // Set while the list is filled or changed by code, so that the click handling does not run.
    bool filling_ = false;
};
