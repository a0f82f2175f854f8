#include "collection/frmManualResponse.h"

#include "document/clsQ.h"
#include "platform/Database.h"
#include "platform/Rtf.h"
#include "platform/TextUtil.h"
#include "widgets/Dialogs.h"
#include "widgets/FlexGrid.h"
#include "widgets/ReportError.h"
#include "widgets/ScreenParts.h"
#include "widgets/Twips.h"

#include <QCheckBox>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTextDocument>

namespace {

const QString kYes = QStringLiteral("Yes");
constexpr Qt::Alignment kCentred = Qt::AlignHCenter | Qt::AlignVCenter;

// The room below the question label where the answer panels lie on top of each other.
constexpr int kPanelLeft = 150;
constexpr int kPanelTop = 950;
constexpr int kPanelWidth = 8280;
constexpr int kPanelHeight = 3000;
// The first check box or option button; each further one stands below the one before.
constexpr int kButtonLeft = 150;
constexpr int kButtonTop = 120;
constexpr int kButtonHeight = 225;

// Keeps the focused answer in view while the arrow keys or Tab move through a long list.
class EnsureVisible : public QObject {
public:
    EnsureVisible(QScrollArea* area)
        : QObject(area)
        , area_(area)
    { }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn)
            area_->ensureWidgetVisible(static_cast<QWidget*>(watched));
        return false;
    }

private:
    QScrollArea* area_;
};

// Draws the matrix grid's current cell with a frame only, while the grid has the focus: a cell
// looks chosen by its "Yes" alone, so a fresh page does not look as if its first cell were chosen.
class CurrentCellFrame : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem plain = option;
        plain.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        QStyledItemDelegate::paint(painter, plain, index);
        if (!(option.state & QStyle::State_HasFocus))
            return;
        painter->save();
        QPen pen(option.palette.color(QPalette::Active, QPalette::Highlight), 2);
        pen.setJoinStyle(Qt::MiterJoin);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
        painter->restore();
    }
};

// Lines break between words; a text with a word longer than any line breaks anywhere, since
// breaking such a word only between words measures it again for every line it fills.
QTextOption::WrapMode wrapModeFor(const QString& text)
{
    constexpr qsizetype kLongestWord = 1000;
    qsizetype word = 0;
    for (const QChar c : text) {
        word = c.isSpace() ? 0 : word + 1;
        if (word > kLongestWord)
            return QTextOption::WrapAnywhere;
    }
    return QTextOption::WrapAtWordBoundaryOrAnywhere;
}

QScrollArea* makeButtonPanel(QWidget* parent, const QString& name)
{
    auto* area = new QScrollArea(parent);
    area->setObjectName(name);
    area->setFocusPolicy(Qt::NoFocus);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(false);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* inside = new QWidget(area);
    inside->setObjectName(name + QStringLiteral("Inside"));
    area->setWidget(inside);
    Twips::place(area, kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight);
    return area;
}

} // namespace

frmManualResponse::frmManualResponse(db::Connection& connection, qint32 respondentId, QWidget* parent)
    : QDialog(parent)
    , CurrentRespondentID(respondentId)
    , connection_(connection)
{
    buildControls();
    // Form_Load: the first question.
    CurrentQuestionPos = 1;
    RespondentAnswers_ShowQuestion();
}

frmManualResponse::~frmManualResponse() = default;

void frmManualResponse::buildControls()
{
    setObjectName(QStringLiteral("frmManualResponse"));
    setWindowTitle(QStringLiteral("Survey Response"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(Twips::toPixelsX(8580), Twips::toPixelsY(5310));

    lblInstructions = new QLabel(
        QStringLiteral("Instructions - You are currently entering the responses to the survey. Select the answer then "
                       "press Next. For more help press F1."),
        this);
    lblInstructions->setObjectName(QStringLiteral("lblInstructions"));
    lblInstructions->setWordWrap(true);
    Twips::place(lblInstructions, 150, 100, 8280, 500);

    picDCAnswers = new QWidget(this);
    picDCAnswers->setObjectName(QStringLiteral("picDCAnswers"));
    Twips::place(picDCAnswers, 0, 650, 8580, kPanelTop + kPanelHeight + 50);

    // The question reads as a label does, on the dialog's background; a long one scrolls within
    // its room, so the answers below stay where they are.
    lblDCQuestion = new QPlainTextEdit(picDCAnswers);
    lblDCQuestion->setObjectName(QStringLiteral("lblDCQuestion"));
    lblDCQuestion->setAccessibleName(QStringLiteral("Question"));
    lblDCQuestion->setReadOnly(true);
    lblDCQuestion->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    lblDCQuestion->setUndoRedoEnabled(false);
    lblDCQuestion->setFrameShape(QFrame::NoFrame);
    lblDCQuestion->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    lblDCQuestion->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lblDCQuestion->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lblDCQuestion->document()->setDocumentMargin(0);
    QPalette asLabel = lblDCQuestion->palette();
    asLabel.setColor(QPalette::Base, asLabel.color(QPalette::Window));
    asLabel.setColor(QPalette::Text, asLabel.color(QPalette::WindowText));
    lblDCQuestion->setPalette(asLabel);
    QFont bold = lblDCQuestion->font();
    bold.setBold(true);
    lblDCQuestion->setFont(bold);
    Twips::place(lblDCQuestion, 150, 0, 8280, kPanelTop - 100);

    picDCResponseSimple = new QWidget(picDCAnswers);
    picDCResponseSimple->setObjectName(QStringLiteral("picDCResponseSimple"));
    Twips::place(picDCResponseSimple, kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight);
    txtDCSimpleResponse = new QPlainTextEdit(picDCResponseSimple);
    txtDCSimpleResponse->setObjectName(QStringLiteral("txtDCSimpleResponse"));
    txtDCSimpleResponse->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Enter starts a new line of the answer; Tab moves on to the buttons.
    txtDCSimpleResponse->setTabChangesFocus(true);
    txtDCSimpleResponse->setAccessibleName(QStringLiteral("Answer"));
    Twips::place(txtDCSimpleResponse, 0, 0, kPanelWidth, kPanelHeight);

    // Element 0 of each button array stays hidden until a question gives it a response: a button
    // without a caption is nothing a user (or a screen reader) could choose.
    picDCResponseCheck = makeButtonPanel(picDCAnswers, QStringLiteral("picDCResponseCheck"));
    addButton(chkDCCheck, picDCResponseCheck, QStringLiteral("chkDCCheck"))->hide();
    picDCResponseRadio = makeButtonPanel(picDCAnswers, QStringLiteral("picDCResponseRadio"));
    addButton(optDCRadio, picDCResponseRadio, QStringLiteral("optDCRadio"))->hide();

    picDCResponseMatrix = new QWidget(picDCAnswers);
    picDCResponseMatrix->setObjectName(QStringLiteral("picDCResponseMatrix"));
    Twips::place(picDCResponseMatrix, kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight);
    gMatrix = new FlexGrid(picDCResponseMatrix, 1);
    gMatrix->setObjectName(QStringLiteral("gMatrix"));
    gMatrix->setAccessibleName(QStringLiteral("Answers"));
    // A cell is chosen by its "Yes"; the current cell is only where the keyboard is.
    gMatrix->setSelectionMode(QAbstractItemView::NoSelection);
    gMatrix->setItemDelegate(new CurrentCellFrame(gMatrix));
    Twips::place(gMatrix, 0, 0, kPanelWidth, kPanelHeight);
    connect(gMatrix, &FlexGrid::click, this, &frmManualResponse::gMatrix_Click);
    connect(gMatrix, &FlexGrid::keyDown, this, &frmManualResponse::gMatrix_KeyDown);

    picDCFooter = new QWidget(this);
    picDCFooter->setObjectName(QStringLiteral("picDCFooter"));
    Twips::place(picDCFooter, 4700, 4800, 3800, 420);
    const auto makeButton = [this](const QString& name, const QString& caption, int left) {
        QPushButton* button = makeCommandButton(name, caption, picDCFooter);
        Twips::place(button, left, 0, 1200, 375);
        return button;
    };
    cmdDCAnswersPrevious = makeButton(QStringLiteral("cmdDCAnswersPrevious"), QStringLiteral("&Previous"), 0);
    cmdDCAnswersNext = makeButton(QStringLiteral("cmdDCAnswersNext"), QStringLiteral("&Next"), 1300);
    cmdDCAnswersCancel = makeButton(QStringLiteral("cmdDCAnswersCancel"), QStringLiteral("&Cancel"), 2600);
    // Each page decides whether Enter presses Next; a button with the focus does not take that
    // over (Enter presses the focused button itself, see keyPressEvent).
    for (QPushButton* button : { cmdDCAnswersPrevious, cmdDCAnswersNext, cmdDCAnswersCancel })
        button->setAutoDefault(false);
    connect(cmdDCAnswersPrevious, &QPushButton::clicked, this, &frmManualResponse::cmdDCAnswersPrevious_Click);
    connect(cmdDCAnswersNext, &QPushButton::clicked, this, &frmManualResponse::cmdDCAnswersNext_Click);
    connect(cmdDCAnswersCancel, &QPushButton::clicked, this, &frmManualResponse::cmdDCAnswersCancel_Click);

    for (QWidget* panel : { picDCResponseSimple, static_cast<QWidget*>(picDCResponseCheck),
             static_cast<QWidget*>(picDCResponseRadio), picDCResponseMatrix })
        panel->hide();
}

template <typename Button>
Button* frmManualResponse::addButton(QList<Button*>& buttons, QScrollArea* area, const QString& name)
{
    QWidget* inside = area->widget();
    auto* button = new Button(inside);
    button->setObjectName(name);
    button->setProperty("Index", int(buttons.size()));
    // Named before it has a caption: a screen reader lists the hidden first button too.
    button->setAccessibleName(QStringLiteral("Answer %1").arg(buttons.size() + 1));
    int top = kButtonTop;
    if (!buttons.isEmpty()) {
        const Button* before = buttons.last();
        top = Twips::topOf(before) + Twips::heightOf(before);
    }
    const int height = std::max(kButtonHeight, Twips::fromPixelsY(button->sizeHint().height()));
    Twips::place(button, kButtonLeft, top, kPanelWidth - kButtonLeft - 400, height);
    button->installEventFilter(new EnsureVisible(area));
    // Tab goes from answer to answer before it reaches the buttons below.
    if (!buttons.isEmpty())
        QWidget::setTabOrder(buttons.last(), button);
    buttons.append(button);
    inside->resize(Twips::toPixelsX(kPanelWidth - 300), Twips::toPixelsY(top + height + kButtonTop));
    return button;
}

template <typename Button> void frmManualResponse::clearButtons(QList<Button*>& buttons)
{
    while (buttons.size() > 1)
        delete buttons.takeLast();
    Button* first = buttons.first();
    // An option of an exclusive group cannot be cleared while it is the chosen one.
    const bool exclusive = first->autoExclusive();
    first->setAutoExclusive(false);
    first->setChecked(false);
    first->setAutoExclusive(exclusive);
    first->setText(QString());
    first->setProperty("Tag", QString());
    QWidget* inside = first->parentWidget();
    inside->resize(inside->width(), Twips::toPixelsY(Twips::topOf(first) + Twips::heightOf(first) + kButtonTop));
}

void frmManualResponse::showPanel(QWidget* panel)
{
    for (QWidget* each : { picDCResponseSimple, static_cast<QWidget*>(picDCResponseCheck),
             static_cast<QWidget*>(picDCResponseRadio), picDCResponseMatrix })
        each->setVisible(each == panel);
}

template <typename Button>
void frmManualResponse::fillButtons(QList<Button*>& buttons, QScrollArea* area, const QString& name,
    const QList<RespondentAnswers::Choice>& responses, const QList<bool>& chosen)
{
    clearButtons(buttons);
    buttons.first()->setVisible(!responses.isEmpty());
    for (qsizetype i = 0; i < responses.size(); ++i) {
        Button* button = i == 0 ? buttons.first() : addButton(buttons, area, name);
        const QString& caption = responses.at(i).name;
        button->setText(literalCaption(caption));
        button->setAccessibleName(caption.isEmpty() ? QStringLiteral("Answer %1").arg(i + 1) : caption);
        button->setProperty("Tag", QString::number(responses.at(i).id));
        button->setChecked(chosen.value(i));
        button->show();
    }
    area->verticalScrollBar()->setValue(0);
}

// Showing a page

bool frmManualResponse::RespondentAnswers_ShowQuestion()
{
    try {
        std::optional<RespondentAnswers::Page> page
            = RespondentAnswers::readPage(connection_, CurrentRespondentID, CurrentQuestionPos);
        if (!page)
            return false;
        page_.reset();
        shownAnswer_.clear();
        showQuestionText(numberPrefix(page->type, page->number), page->question);
        CurrentQType = page->type;
        switch (page->type) {
        case QTypeOpenEnded:
            showOpenEnded(*page);
            break;
        case QTypeCheck:
            showCheck(*page);
            break;
        case QTypeRadio:
            showRadio(*page);
            break;
        case QTypeMatrix:
            showMatrix(*page);
            break;
        case QTypeText:
            showPanel(nullptr);
            cmdDCAnswersNext->setDefault(true);
            break;
        default:
            showPanel(nullptr);
            break;
        }
        page_ = std::move(page);
        if (isVisible())
            focusPage();
    } catch (const db::Error& e) {
        // A page that could not be read whole is left empty and is never stored, so it cannot
        // replace the answers already stored for its question.
        page_.reset();
        lblDCQuestion->clear();
        showPanel(nullptr);
        reportError(QStringLiteral("Unable to show the question."), e);
    }
    return true;
}

void frmManualResponse::showQuestionText(const QString& prefix, const QString& stored)
{
    // The whole text; of a huge one its start, as the question editor shows it.
    const QString shown = prefix + captionText(rtf::toPlainText(stored, kWholeTextLength + 1), kWholeTextLength);
    const QTextOption::WrapMode wrap = wrapModeFor(shown);
    if (lblDCQuestion->wordWrapMode() != wrap) {
        // Set while the view is empty, the mode costs no layout.
        lblDCQuestion->clear();
        lblDCQuestion->setWordWrapMode(wrap);
    }
    lblDCQuestion->setPlainText(shown);
}

void frmManualResponse::showOpenEnded(const RespondentAnswers::Page& page)
{
    txtDCSimpleResponse->clear();
    showPanel(picDCResponseSimple);
    txtDCSimpleResponse->setPlainText(page.stored.text);
    shownAnswer_ = txtDCSimpleResponse->toPlainText();
    // Enter starts a new line in the answer.
    cmdDCAnswersNext->setDefault(false);
}

void frmManualResponse::showCheck(const RespondentAnswers::Page& page)
{
    showPanel(picDCResponseCheck);
    fillButtons(chkDCCheck, picDCResponseCheck, QStringLiteral("chkDCCheck"), page.responses, page.stored.chosen);
    cmdDCAnswersNext->setDefault(true);
}

void frmManualResponse::showRadio(const RespondentAnswers::Page& page)
{
    showPanel(picDCResponseRadio);
    fillButtons(optDCRadio, picDCResponseRadio, QStringLiteral("optDCRadio"), page.responses, page.stored.chosen);
    cmdDCAnswersNext->setDefault(true);
}

void frmManualResponse::showMatrix(const RespondentAnswers::Page& page)
{
    showPanel(picDCResponseMatrix);
    const auto twipsOf
        = [this](const QString& text) { return Twips::fromPixelsX(fontMetrics().horizontalAdvance(text)); };
    gMatrix->setRedraw(false);
    gMatrix->setRows(1);
    gMatrix->setCols(1);
    for (const RespondentAnswers::Choice& row : page.responses) {
        const int r = gMatrix->rows();
        gMatrix->setRows(r + 1);
        const QString caption = row.name + QLatin1Char(' ');
        gMatrix->setTextMatrix(r, 0, caption);
        gMatrix->setRow(r);
        gMatrix->setCol(0);
        gMatrix->setCellAlignment(Qt::AlignRight | Qt::AlignVCenter);
        gMatrix->setRowData(r, row.id);
        if (twipsOf(caption) + 150 > gMatrix->colWidthTwips(0))
            gMatrix->setColWidthTwips(0, twipsOf(caption) + 200);
    }
    for (const RespondentAnswers::Choice& column : page.columns) {
        const int c = gMatrix->cols();
        gMatrix->setCols(c + 1);
        gMatrix->setTextMatrix(0, c, column.name);
        gMatrix->setRow(0);
        gMatrix->setCol(c);
        gMatrix->setCellAlignment(Qt::AlignHCenter | Qt::AlignTop);
        gMatrix->setColData(c, column.id);
        if (twipsOf(column.name) + 150 > gMatrix->colWidthTwips(c))
            gMatrix->setColWidthTwips(c, twipsOf(column.name) + 200);
    }
    gMatrix->setVisible(!page.responses.isEmpty() && !page.columns.isEmpty());

    // Stored answers are shown again; a row without one starts with no cell chosen, so a row the
    // user never answers stores nothing.
    for (int r = 1; r < gMatrix->rows(); ++r) {
        const int chosen = page.stored.cells.value(r - 1, -1);
        if (chosen < 0)
            continue;
        for (int c = 1; c < gMatrix->cols(); ++c) {
            gMatrix->setTextMatrix(r, c, c - 1 == chosen ? kYes : QString());
            gMatrix->setRow(r);
            gMatrix->setCol(c);
            gMatrix->setCellAlignment(kCentred);
        }
    }
    gMatrix->setRow(gMatrix->rows() > 1 ? 1 : 0);
    gMatrix->setCol(gMatrix->cols() > 1 ? 1 : 0);
    gMatrix->setRedraw(true);
}

void frmManualResponse::focusPage()
{
    QWidget* target = nullptr;
    switch (CurrentQType) {
    case QTypeOpenEnded:
        target = txtDCSimpleResponse;
        break;
    case QTypeCheck:
        if (chkDCCheck.first()->isVisibleTo(this))
            target = chkDCCheck.first();
        break;
    case QTypeRadio:
        // The chosen option, or the first: arrow keys then choose among them.
        if (optDCRadio.first()->isVisibleTo(this)) {
            target = optDCRadio.first();
            for (QRadioButton* option : std::as_const(optDCRadio)) {
                if (option->isChecked())
                    target = option;
            }
        }
        break;
    case QTypeMatrix:
        if (gMatrix->isVisibleTo(this))
            target = gMatrix;
        break;
    default:
        break;
    }
    // A page without answers to give leaves the keyboard on Next.
    (target ? target : cmdDCAnswersNext)->setFocus(Qt::OtherFocusReason);
}

void frmManualResponse::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    auto* button = qobject_cast<QPushButton*>(focusWidget());
    if (enter && button && button->parentWidget() == picDCFooter
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        button->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmManualResponse::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    focusPage();
}

// Storing a page

bool frmManualResponse::ShowDCAnswer()
{
    JumpToQuestionID = -1;
    if (!page_)
        return true;
    try {
        const RespondentAnswers::Answers answers = pageAnswers(*page_);
        if (RespondentAnswers::storePage(connection_, CurrentRespondentID, CurrentQuestionPos, *page_, answers)
            == RespondentAnswers::StoreResult::NoQuestion) {
            Dialogs::msgBox(QStringLiteral("Error cmdDCAnswersNext_Click"), Dialogs::OKOnly, Dialogs::Critical);
            return true;
        }
        JumpToQuestionID = RespondentAnswers::jumpOf(*page_, answers);
        return true;
    } catch (const db::Error& e) {
        reportError(QStringLiteral("Unable to store the answers."), e);
        return false;
    }
}

QString frmManualResponse::typedAnswer() const
{
    // Paragraphs and the line breaks within them (Shift+Enter) alike end in CR LF, as every other
    // text the system stores and exchanges; the characters typed are kept as they are.
    QString text = txtDCSimpleResponse->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QChar::LineSeparator);
    return text.replace(QChar::LineSeparator, QLatin1String("\r\n"));
}

RespondentAnswers::Answers frmManualResponse::pageAnswers(const RespondentAnswers::Page& page) const
{
    RespondentAnswers::Answers answers;
    const qsizetype responses = page.responses.size();
    switch (page.type) {
    case QTypeOpenEnded:
        // An answer left as shown keeps its stored text exactly.
        answers.text = txtDCSimpleResponse->toPlainText() == shownAnswer_ ? page.stored.text : typedAnswer();
        break;
    case QTypeCheck:
        for (qsizetype i = 0; i < responses && i < chkDCCheck.size(); ++i)
            answers.chosen.append(chkDCCheck.at(i)->isChecked());
        break;
    case QTypeRadio:
        for (qsizetype i = 0; i < responses && i < optDCRadio.size(); ++i)
            answers.chosen.append(optDCRadio.at(i)->isChecked());
        break;
    case QTypeMatrix:
        // A row's answer is its cell that holds "Yes" (choosing a cell clears the others of its row).
        for (int r = 1; r < gMatrix->rows(); ++r) {
            int chosen = -1;
            for (int c = gMatrix->cols() - 1; c >= 1; --c) {
                if (gMatrix->textMatrix(r, c) == kYes)
                    chosen = c - 1;
            }
            answers.cells.append(chosen);
        }
        break;
    default:
        break;
    }
    return answers;
}

// Moving between pages

void frmManualResponse::cmdDCAnswersNext_Click()
{
    if (!ShowDCAnswer())
        return;
    if (JumpToQuestionID == -1) {
        CurrentQuestionPos += 1;
    } else {
        try {
            // A jump to a question that is no longer in the file stays on the page.
            if (const std::optional<int> pos = RespondentAnswers::positionOf(connection_, JumpToQuestionID))
                CurrentQuestionPos = *pos;
        } catch (const db::Error& e) {
            reportError(QStringLiteral("Unable to show the question."), e);
            return;
        }
    }
    if (!RespondentAnswers_ShowQuestion()) {
        Dialogs::msgBox(QStringLiteral("Survey completed."), Dialogs::OKOnly, Dialogs::Information);
        CurrentQuestionPos = 1;
        accept();
    }
}

void frmManualResponse::cmdDCAnswersPrevious_Click()
{
    if (CurrentQuestionPos == 1)
        return;
    if (!ShowDCAnswer())
        return;
    CurrentQuestionPos -= 1;
    RespondentAnswers_ShowQuestion();
}

void frmManualResponse::cmdDCAnswersCancel_Click()
{
    reject();
}

// Choosing a matrix cell

void frmManualResponse::chooseMatrixCell()
{
    const int r = gMatrix->row();
    const int c = gMatrix->col();
    if (r < 1 || c < 1)
        return;
    // Choosing the chosen cell again clears it, so a wrong choice can be taken back.
    const bool clear = gMatrix->textMatrix(r, c) == kYes;
    for (int col = 1; col < gMatrix->cols(); ++col)
        gMatrix->setTextMatrix(r, col, QString());
    if (!clear) {
        gMatrix->setText(kYes);
        gMatrix->setCellAlignment(kCentred);
    }
}

void frmManualResponse::gMatrix_Click()
{
    chooseMatrixCell();
}

void frmManualResponse::gMatrix_KeyDown(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        chooseMatrixCell();
        event->accept();
        break;
    default:
        break;
    }
}
