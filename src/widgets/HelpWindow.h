#pragma once

#include "platform/HelpFile.h"

#include <QList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;
class QTextBrowser;

// The program's help viewer: one window per owner with the topic on the right and, on tabs at the
// left, the contents, the keyword index and a full-text search. It stands in for the system help
// viewer and is driven the same way (Help::winHelp).
class HelpWindow : public QWidget {
    Q_OBJECT

public:
    enum Tab { ContentsTab = 0, IndexTab = 1, SearchTab = 2 };

    explicit HelpWindow(QWidget* owner);

    // Reads the help file (again only when another file is named); a file that cannot be read
    // leaves the reason on the topic page.
    bool openFile(const QString& path);
    void showTopic(int context);
    void showTab(Tab tab);

    QString fileName() const { return fileName_; }
    const HelpFile& file() const { return file_; }
    int currentTopic() const { return current_; }
    Tab currentTab() const;
    // The plain text of the page on display.
    QString pageText() const;

    QTabWidget* tabHelp = nullptr;
    QListWidget* lstContents = nullptr;
    QLineEdit* txtIndexWord = nullptr;
    QListWidget* lstIndex = nullptr;
    QLineEdit* txtSearchWords = nullptr;
    QPushButton* cmdListTopics = nullptr;
    QListWidget* lstSearchResults = nullptr;
    QLabel* lblSearchCount = nullptr;
    QTextBrowser* txtTopic = nullptr;
    QPushButton* cmdContents = nullptr;
    QPushButton* cmdBack = nullptr;

private:
    void fillLists();
    void showPage(const QString& title, const QString& html);
    void displayItem(const QListWidgetItem* item);
    void indexWordEdited(const QString& text);
    void listTopics();
    void linkClicked(const QUrl& url);

    HelpFile file_;
    QString fileName_;
    bool loaded_ = false;
    int current_ = 0;
    QList<int> history_;
};

// The system help viewer's calls, answered by the help window.
namespace Help {
constexpr int HELP_CONTEXT = 1; // data: the topic's context number
constexpr int HELP_QUIT = 2; // closes the owner's help window
constexpr int HELP_TAB = 15; // data: -2 the index, -1 the search, 0 the contents

// Opens (or reuses) the owner's help window on the help file and carries out the command.
bool winHelp(QWidget* owner, const QString& helpFile, int command, int data);
// The owner's help window; none when it was never opened.
HelpWindow* window(QWidget* owner);
} // namespace Help
