#include "widgets/HelpWindow.h"

#include "widgets/AccessibleNames.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {
const QString kTitle = QStringLiteral("Orvalen Tessivo Help");
constexpr int kContextRole = Qt::UserRole;

QLabel* stepLabel(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    return l;
}
} // namespace

HelpWindow::HelpWindow(QWidget* owner)
    : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(kTitle);
    resize(960, 680);

    auto* buttons = new QHBoxLayout;
    cmdContents = new QPushButton(QStringLiteral("&Contents"), this);
    cmdContents->setObjectName(QStringLiteral("cmdContents"));
    cmdBack = new QPushButton(QStringLiteral("&Back"), this);
    cmdBack->setObjectName(QStringLiteral("cmdBack"));
    cmdBack->setEnabled(false);
    buttons->addWidget(cmdContents);
    buttons->addWidget(cmdBack);
    buttons->addStretch(1);

    tabHelp = new QTabWidget(this);
    tabHelp->setObjectName(QStringLiteral("tabHelp"));

    auto* contents = new QWidget(tabHelp);
    auto* cl = new QVBoxLayout(contents);
    cl->addWidget(stepLabel(QStringLiteral("Click a topic, and then click Display."), contents));
    lstContents = new QListWidget(contents);
    lstContents->setObjectName(QStringLiteral("lstContents"));
    cl->addWidget(lstContents, 1);
    auto* displayContents = new QPushButton(QStringLiteral("&Display"), contents);
    displayContents->setObjectName(QStringLiteral("cmdDisplayContents"));
    cl->addWidget(displayContents, 0, Qt::AlignRight);
    tabHelp->addTab(contents, QStringLiteral("Contents"));

    auto* index = new QWidget(tabHelp);
    auto* il = new QVBoxLayout(index);
    il->addWidget(stepLabel(QStringLiteral("1  Type the first few letters of the word you're looking for."), index));
    txtIndexWord = new QLineEdit(index);
    txtIndexWord->setObjectName(QStringLiteral("txtIndexWord"));
    il->addWidget(txtIndexWord);
    il->addWidget(stepLabel(QStringLiteral("2  Click the index entry you want, and then click Display."), index));
    lstIndex = new QListWidget(index);
    lstIndex->setObjectName(QStringLiteral("lstIndex"));
    il->addWidget(lstIndex, 1);
    auto* displayIndex = new QPushButton(QStringLiteral("&Display"), index);
    displayIndex->setObjectName(QStringLiteral("cmdDisplayIndex"));
    il->addWidget(displayIndex, 0, Qt::AlignRight);
    tabHelp->addTab(index, QStringLiteral("Index"));

    auto* search = new QWidget(tabHelp);
    auto* sl = new QVBoxLayout(search);
    sl->addWidget(stepLabel(QStringLiteral("1  Type the word(s) you want to find."), search));
    auto* searchRow = new QHBoxLayout;
    txtSearchWords = new QLineEdit(search);
    txtSearchWords->setObjectName(QStringLiteral("txtSearchWords"));
    cmdListTopics = new QPushButton(QStringLiteral("&List Topics"), search);
    cmdListTopics->setObjectName(QStringLiteral("cmdListTopics"));
    searchRow->addWidget(txtSearchWords, 1);
    searchRow->addWidget(cmdListTopics);
    sl->addLayout(searchRow);
    sl->addWidget(stepLabel(QStringLiteral("2  Click a topic, and then click Display."), search));
    lstSearchResults = new QListWidget(search);
    lstSearchResults->setObjectName(QStringLiteral("lstSearchResults"));
    sl->addWidget(lstSearchResults, 1);
    lblSearchCount = new QLabel(search);
    lblSearchCount->setObjectName(QStringLiteral("lblSearchCount"));
    auto* displaySearch = new QPushButton(QStringLiteral("&Display"), search);
    displaySearch->setObjectName(QStringLiteral("cmdDisplaySearch"));
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(lblSearchCount, 1);
    countRow->addWidget(displaySearch);
    sl->addLayout(countRow);
    tabHelp->addTab(search, QStringLiteral("Search"));

    txtTopic = new QTextBrowser(this);
    txtTopic->setObjectName(QStringLiteral("txtTopic"));
    txtTopic->setOpenLinks(false);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(tabHelp);
    splitter->addWidget(txtTopic);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({ 330, 600 });

    nameControl(tabHelp, QStringLiteral("Help topics"));
    nameControl(tabHelp->tabBar(), QStringLiteral("Find topics by"));
    nameControl(lstContents, QStringLiteral("Contents topics"));
    nameControl(txtIndexWord, QStringLiteral("Index word"));
    nameControl(lstIndex, QStringLiteral("Index entries"));
    nameControl(txtSearchWords, QStringLiteral("Words to find"));
    nameControl(lstSearchResults, QStringLiteral("Topics found"));
    nameControl(txtTopic, QStringLiteral("Topic"));
    nameButton(displayContents, QStringLiteral("Display the contents topic"));
    nameButton(displayIndex, QStringLiteral("Display the index entry"));
    nameButton(displaySearch, QStringLiteral("Display the topic found"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);

    connect(cmdContents, &QPushButton::clicked, this, [this] {
        showTopic(1);
        showTab(ContentsTab);
    });
    connect(cmdBack, &QPushButton::clicked, this, [this] {
        if (history_.isEmpty())
            return;
        const int previous = history_.takeLast();
        const QList<int> keep = history_;
        showTopic(previous);
        history_ = keep;
        cmdBack->setEnabled(!history_.isEmpty());
    });
    connect(txtTopic, &QTextBrowser::anchorClicked, this, &HelpWindow::linkClicked);
    for (QListWidget* list : { lstContents, lstIndex, lstSearchResults }) {
        connect(list, &QListWidget::itemActivated, this, &HelpWindow::displayItem);
        connect(list, &QListWidget::itemDoubleClicked, this, &HelpWindow::displayItem);
    }
    connect(displayContents, &QPushButton::clicked, this, [this] { displayItem(lstContents->currentItem()); });
    connect(displayIndex, &QPushButton::clicked, this, [this] { displayItem(lstIndex->currentItem()); });
    connect(displaySearch, &QPushButton::clicked, this, [this] { displayItem(lstSearchResults->currentItem()); });
    connect(txtIndexWord, &QLineEdit::textEdited, this, &HelpWindow::indexWordEdited);
    connect(txtIndexWord, &QLineEdit::returnPressed, this, [this] { displayItem(lstIndex->currentItem()); });
    connect(cmdListTopics, &QPushButton::clicked, this, &HelpWindow::listTopics);
    connect(txtSearchWords, &QLineEdit::returnPressed, this, &HelpWindow::listTopics);
}

bool HelpWindow::openFile(const QString& path)
{
    if (loaded_ && path == fileName_)
        return true;
    fileName_ = path;
    current_ = 0;
    history_.clear();
    cmdBack->setEnabled(false);
    QString error;
    loaded_ = file_.load(path, &error);
    fillLists();
    if (!loaded_) {
        showPage(kTitle,
            QStringLiteral("<p>The help file <b>%1</b> could not be opened: %2</p>")
                .arg(path.toHtmlEscaped(), error.toHtmlEscaped()));
    }
    return loaded_;
}

void HelpWindow::fillLists()
{
    lstContents->clear();
    lstIndex->clear();
    lstSearchResults->clear();
    lblSearchCount->clear();
    for (const HelpTopic& t : file_.topics()) {
        auto* item = new QListWidgetItem(t.title, lstContents);
        item->setData(kContextRole, t.context);
    }
    const QList<HelpFile::IndexEntry> entries = file_.index();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const HelpFile::IndexEntry& e = entries.at(i);
        const bool shared = (i > 0 && entries.at(i - 1).keyword.compare(e.keyword, Qt::CaseInsensitive) == 0)
            || (i + 1 < entries.size() && entries.at(i + 1).keyword.compare(e.keyword, Qt::CaseInsensitive) == 0);
        QString text = e.keyword;
        if (shared) {
            if (const HelpTopic* t = file_.find(e.context))
                text += QStringLiteral(" - ") + t->title;
        }
        auto* item = new QListWidgetItem(text, lstIndex);
        item->setData(kContextRole, e.context);
    }
}

void HelpWindow::showPage(const QString& title, const QString& html)
{
    setWindowTitle(title == kTitle ? kTitle : kTitle + QStringLiteral(" - ") + title);
    txtTopic->setHtml(html);
}

void HelpWindow::showTopic(int context)
{
    if (!loaded_)
        return;
    const HelpTopic* t = file_.find(context);
    if (!t) {
        showPage(
            kTitle, QStringLiteral("<p>The topic you asked for (number %1) is not in the help file.</p>").arg(context));
        return;
    }
    if (current_ != 0 && current_ != context) {
        history_ << current_;
        cmdBack->setEnabled(true);
    }
    current_ = context;
    showPage(t->title, QStringLiteral("<h2>") + t->title.toHtmlEscaped() + QStringLiteral("</h2>\n") + t->body);
    for (int i = 0; i < lstContents->count(); ++i) {
        if (lstContents->item(i)->data(kContextRole).toInt() == context)
            lstContents->setCurrentRow(i);
    }
}

void HelpWindow::showTab(Tab tab)
{
    tabHelp->setCurrentIndex(int(tab));
    if (tab == IndexTab)
        txtIndexWord->setFocus();
    else if (tab == SearchTab)
        txtSearchWords->setFocus();
}

HelpWindow::Tab HelpWindow::currentTab() const
{
    return Tab(tabHelp->currentIndex());
}

QString HelpWindow::pageText() const
{
    return txtTopic->toPlainText();
}

void HelpWindow::displayItem(const QListWidgetItem* item)
{
    if (item)
        showTopic(item->data(kContextRole).toInt());
}

void HelpWindow::indexWordEdited(const QString& text)
{
    if (text.isEmpty())
        return;
    for (int i = 0; i < lstIndex->count(); ++i) {
        if (lstIndex->item(i)->text().startsWith(text, Qt::CaseInsensitive)) {
            lstIndex->setCurrentRow(i);
            lstIndex->scrollToItem(lstIndex->item(i));
            return;
        }
    }
}

void HelpWindow::listTopics()
{
    lstSearchResults->clear();
    const QList<int> found = file_.search(txtSearchWords->text());
    for (int context : found) {
        if (const HelpTopic* t = file_.find(context)) {
            auto* item = new QListWidgetItem(t->title, lstSearchResults);
            item->setData(kContextRole, context);
        }
    }
    if (!found.isEmpty())
        lstSearchResults->setCurrentRow(0);
    lblSearchCount->setText(
        found.size() == 1 ? QStringLiteral("1 topic found") : QStringLiteral("%1 topics found").arg(found.size()));
}

void HelpWindow::linkClicked(const QUrl& url)
{
    if (url.scheme() == QLatin1String("topic"))
        showTopic(url.path().toInt());
}

namespace Help {

HelpWindow* window(QWidget* owner)
{
    if (!owner)
        return nullptr;
    return owner->findChild<HelpWindow*>(QStringLiteral("HelpWindow"), Qt::FindDirectChildrenOnly);
}

bool winHelp(QWidget* owner, const QString& helpFile, int command, int data)
{
    HelpWindow* w = window(owner);
    if (command == HELP_QUIT) {
        if (w)
            w->close();
        return true;
    }
    if (!w)
        w = new HelpWindow(owner);
    const bool loaded = w->openFile(helpFile);
    if (loaded) {
        if (command == HELP_CONTEXT) {
            w->showTopic(data);
        } else if (command == HELP_TAB) {
            if (w->currentTopic() == 0)
                w->showTopic(1);
            w->showTab(data == -2 ? HelpWindow::IndexTab
                    : data == -1  ? HelpWindow::SearchTab
                                  : HelpWindow::ContentsTab);
        }
    }
    w->show();
    w->raise();
    w->activateWindow();
    return loaded;
}

} // namespace Help
