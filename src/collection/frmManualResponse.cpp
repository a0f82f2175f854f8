#include "collection/frmManualResponse.h"

#include "collection/ReportError.h"
#include "document/clsQ.h"
#include "platform/Database.h"
#include "widgets/Dialogs.h"
#include "widgets/FlexGrid.h"
#include "platform/Rtf.h"
#include "widgets/ScreenParts.h"
#include "platform/TextUtil.h"
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
#include <QSet>
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
    Twips::Place(area, kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight);
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
    setFixedSize(Twips::ToPixelsX(8580), Twips::ToPixelsY(5310));

    lblInstructions = new QLabel(
        QStringLiteral("Instructions - You are currently entering the responses to the survey. Select the answer then "
                       "press Next. For more help press F1."),
        this);
    lblInstructions->setObjectName(QStringLiteral("lblInstructions"));
    lblInstructions->setWordWrap(true);
    Twips::Place(lblInstructions, 150, 100, 8280, 500);

    picDCAnswers = new QWidget(this);
    picDCAnswers->setObjectName(QStringLiteral("picDCAnswers"));
    Twips::Place(picDCAnswers, 0, 650, 8580, kPanelTop + kPanelHeight + 50);

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
    Twips::Place(lblDCQuestion, 150, 0, 8280, kPanelTop - 100);

    picDCResponseSimple = new QWidget(picDCAnswers);
    picDCResponseSimple->setObjectName(QStringLiteral("picDCResponseSimple"));
    Twips::Place(picDCResponseSimple, kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight);
    txtDCSimpleResponse = new QPlainTextEdit(picDCResponseSimple);
    txtDCSimpleResponse->setObjectName(QStringLiteral("txtDCSimpleResponse"));
    txtDCSimpleResponse->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Enter starts a new line of the answer; Tab moves on to the buttons.
    txtDCSimpleResponse->setTabChangesFocus(true);
    txtDCSimpleResponse->setAccessibleName(QStringLiteral("Answer"));
    Twips::Place(txtDCSimpleResponse, 0, 0, kPanelWidth, kPanelHeight);

    // Element 0 of each button array stays hidden until a question gives it a response: a button
    // without a caption is nothing a user (or a screen reader) could choose.
    picDCResponseCheck = makeButtonPanel(picDCAnswers, QStringLiteral("picDCResponseCheck"));
    addButton(chkDCCheck, picDCResponseCheck, QStringLiteral("chkDCCheck"))->hide();
    picDCResponseRadio = makeButtonPanel(picDCAnswers, QStringLiteral("picDCResponseRadio"));
    addButton(optDCRadio, picDCResponseRadio, QStringLiteral("optDCRadio"))->hide();

    picDCResponseMatrix = new QWidget(picDCAnswers);
    picDCResponseMatrix->setObjectName(QStringLiteral("picDCResponseMatrix"));
    Twips::Place(picDCResponseMatrix, kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight);
    gMatrix = new FlexGrid(picDCResponseMatrix, 1);
    gMatrix->setObjectName(QStringLiteral("gMatrix"));
    gMatrix->setAccessibleName(QStringLiteral("Answers"));
    // A cell is chosen by its "Yes"; the current cell is only where the keyboard is.
    gMatrix->setSelectionMode(QAbstractItemView::NoSelection);
    gMatrix->setItemDelegate(new CurrentCellFrame(gMatrix));
    Twips::Place(gMatrix, 0, 0, kPanelWidth, kPanelHeight);
    connect(gMatrix, &FlexGrid::Click, this, &frmManualResponse::gMatrix_Click);
    connect(gMatrix, &FlexGrid::KeyDown, this, &frmManualResponse::gMatrix_KeyDown);

    picDCFooter = new QWidget(this);
    picDCFooter->setObjectName(QStringLiteral("picDCFooter"));
    Twips::Place(picDCFooter, 4700, 4800, 3800, 420);
    const auto makeButton = [this](const QString& name, const QString& caption, int left) {
        QPushButton* button = MakeButton(name, caption, picDCFooter);
        Twips::Place(button, left, 0, 1200, 375);
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
        top = Twips::Top(before) + Twips::Height(before);
    }
    const int height = std::max(kButtonHeight, Twips::FromPixelsY(button->sizeHint().height()));
    Twips::Place(button, kButtonLeft, top, kPanelWidth - kButtonLeft - 400, height);
    button->installEventFilter(new EnsureVisible(area));
    // Tab goes from answer to answer before it reaches the buttons below.
    if (!buttons.isEmpty())
        QWidget::setTabOrder(buttons.last(), button);
    buttons.append(button);
    inside->resize(Twips::ToPixelsX(kPanelWidth - 300), Twips::ToPixelsY(top + height + kButtonTop));
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
    inside->resize(inside->width(), Twips::ToPixelsY(Twips::Top(first) + Twips::Height(first) + kButtonTop));
}

void frmManualResponse::showPanel(QWidget* panel)
{
    for (QWidget* each : { picDCResponseSimple, static_cast<QWidget*>(picDCResponseCheck),
             static_cast<QWidget*>(picDCResponseRadio), picDCResponseMatrix })
        each->setVisible(each == panel);
}

QSet<int> frmManualResponse::storedResponses(int questionId)
{
    QSet<int> stored;
    db::Recordset answers = connection_.OpenRecordset(
        QStringLiteral("SELECT ResponseID FROM Respondent_Responses WHERE questionid = ? AND respondentid = ?"),
        { questionId, CurrentRespondentID });
    for (; !answers.atEnd(); answers.MoveNext())
        stored.insert(answers.field(0).toInt());
    return stored;
}

// Showing a page

bool frmManualResponse::RespondentAnswers_ShowQuestion()
{
    try {
        db::Recordset rs = connection_.OpenRecordset(
            QStringLiteral("SELECT id, question, questionno, qtype FROM question WHERE pos = ?"),
            { CurrentQuestionPos });
        if (rs.atEnd())
            return false;
        const int questionId = rs.field(0).toInt();
        const int qType = rs.field(3).toInt();
        const QString text = NullToEmpty(rs.field(1));
        const QString prefix = NumberPrefix(qType, NullToEmpty(rs.field(2)));
        rs = db::Recordset();

        pageShown_ = false;
        shownRows_.clear();
        shownStored_ = false;
        storedAnswer_.clear();
        shownAnswer_.clear();
        showQuestionText(prefix, text);
        CurrentQType = qType;
        switch (qType) {
        case QTypeOpenEnded:
            showOpenEnded(questionId);
            break;
        case QTypeCheck:
            showCheck(questionId);
            break;
        case QTypeRadio:
            showRadio(questionId);
            break;
        case QTypeMatrix:
            showMatrix(questionId);
            break;
        case QTypeText:
            showPanel(nullptr);
            cmdDCAnswersNext->setDefault(true);
            break;
        default:
            showPanel(nullptr);
            break;
        }
        shownRows_ = pageRows();
        pageShown_ = true;
        if (isVisible())
            focusPage();
    } catch (const db::Error& e) {
        // A page that could not be read whole is left empty and is never stored, so it cannot
        // replace the answers already stored for its question.
        pageShown_ = false;
        showPanel(nullptr);
        ReportError(QStringLiteral("Unable to show the question."), e);
    }
    return true;
}

void frmManualResponse::showQuestionText(const QString& prefix, const QString& stored)
{
    // The whole text; of a huge one its start, as the question editor shows it.
    const QString shown
        = prefix + CaptionText(rtf::toPlainText(stored, kWholeTextLength + 1), kWholeTextLength);
    const QTextOption::WrapMode wrap = wrapModeFor(shown);
    if (lblDCQuestion->wordWrapMode() != wrap) {
        // Set while the view is empty, the mode costs no layout.
        lblDCQuestion->clear();
        lblDCQuestion->setWordWrapMode(wrap);
    }
    lblDCQuestion->setPlainText(shown);
}

void frmManualResponse::showOpenEnded(int questionId)
{
    txtDCSimpleResponse->clear();
    showPanel(picDCResponseSimple);
    db::Recordset rs = connection_.OpenRecordset(
        QStringLiteral("SELECT simpleresponse FROM Respondent_Responses WHERE questionid = ? AND respondentid = ?"),
        { questionId, CurrentRespondentID });
    if (!rs.atEnd()) {
        shownStored_ = true;
        storedAnswer_ = NullToEmpty(rs.field(0));
        txtDCSimpleResponse->setPlainText(storedAnswer_);
    }
    shownAnswer_ = txtDCSimpleResponse->toPlainText();
    // Enter starts a new line in the answer.
    cmdDCAnswersNext->setDefault(false);
}

void frmManualResponse::showCheck(int questionId)
{
    showPanel(picDCResponseCheck);
    clearButtons(chkDCCheck);
    const QSet<int> stored = storedResponses(questionId);
    shownStored_ = !stored.isEmpty();

    db::Recordset rs = connection_.OpenRecordset(
        QStringLiteral("SELECT id, name FROM response WHERE questionid = ? ORDER BY pos"), { questionId });
    chkDCCheck.first()->setVisible(!rs.atEnd());
    for (int i = 0; !rs.atEnd(); rs.MoveNext(), ++i) {
        QCheckBox* box
            = i == 0 ? chkDCCheck.first() : addButton(chkDCCheck, picDCResponseCheck, QStringLiteral("chkDCCheck"));
        const QString caption = NullToEmpty(rs.field(1));
        box->setText(LiteralCaption(caption));
        box->setAccessibleName(caption.isEmpty() ? QStringLiteral("Answer %1").arg(i + 1) : caption);
        box->setProperty("Tag", QString::number(rs.field(0).toInt()));
        box->setChecked(stored.contains(rs.field(0).toInt()));
        box->show();
    }
    picDCResponseCheck->verticalScrollBar()->setValue(0);
    cmdDCAnswersNext->setDefault(true);
}

void frmManualResponse::showRadio(int questionId)
{
    showPanel(picDCResponseRadio);
    clearButtons(optDCRadio);
    db::Recordset rs = connection_.OpenRecordset(
        QStringLiteral("SELECT id, name FROM response WHERE questionid = ? ORDER BY pos"), { questionId });
    optDCRadio.first()->setVisible(!rs.atEnd());
    for (int i = 0; !rs.atEnd(); rs.MoveNext(), ++i) {
        QRadioButton* option
            = i == 0 ? optDCRadio.first() : addButton(optDCRadio, picDCResponseRadio, QStringLiteral("optDCRadio"));
        const QString caption = NullToEmpty(rs.field(1));
        option->setText(LiteralCaption(caption));
        option->setAccessibleName(caption.isEmpty() ? QStringLiteral("Answer %1").arg(i + 1) : caption);
        option->setProperty("Tag", QString::number(rs.field(0).toInt()));
        option->show();
    }
    if (optDCRadio.first()->isVisibleTo(picDCResponseRadio)) {
        const QSet<int> stored = storedResponses(questionId);
        shownStored_ = !stored.isEmpty();
        // Choosing one option clears the others: the last stored one stays chosen.
        for (QRadioButton* option : std::as_const(optDCRadio)) {
            if (stored.contains(option->property("Tag").toInt()))
                option->setChecked(true);
        }
    }
    picDCResponseRadio->verticalScrollBar()->setValue(0);
    cmdDCAnswersNext->setDefault(true);
}

void frmManualResponse::showMatrix(int questionId)
{
    showPanel(picDCResponseMatrix);
    int scale = -1;
    QList<QPair<int, QString>> rows;
    db::Recordset rs = connection_.OpenRecordset(
        QStringLiteral("SELECT id, name, responsematrixgroupid FROM response WHERE questionid = ? ORDER BY pos"),
        { questionId });
    if (!rs.atEnd())
        scale = rs.field(2).toInt();
    for (; !rs.atEnd(); rs.MoveNext())
        rows.append({ rs.field(0).toInt(), NullToEmpty(rs.field(1)) });
    gMatrix->setVisible(!rows.isEmpty());

    const auto twipsOf
        = [this](const QString& text) { return Twips::FromPixelsX(fontMetrics().horizontalAdvance(text)); };
    gMatrix->setRedraw(false);
    gMatrix->setRows(1);
    gMatrix->setCols(1);
    for (const auto& [id, name] : std::as_const(rows)) {
        const int r = gMatrix->rows();
        gMatrix->setRows(r + 1);
        const QString caption = name + QLatin1Char(' ');
        gMatrix->setTextMatrix(r, 0, caption);
        gMatrix->setRow(r);
        gMatrix->setCol(0);
        gMatrix->setCellAlignment(Qt::AlignRight | Qt::AlignVCenter);
        gMatrix->setRowData(r, id);
        if (twipsOf(caption) + 150 > gMatrix->colWidthTwips(0))
            gMatrix->setColWidthTwips(0, twipsOf(caption) + 200);
    }

    db::Recordset columns = connection_.OpenRecordset(
        QStringLiteral("SELECT id, name FROM responsematrix WHERE responsematrixgroupid = ? ORDER BY pos"), { scale });
    gMatrix->setVisible(!columns.atEnd() && !rows.isEmpty());
    for (; !columns.atEnd(); columns.MoveNext()) {
        const int c = gMatrix->cols();
        gMatrix->setCols(c + 1);
        const QString caption = NullToEmpty(columns.field(1));
        gMatrix->setTextMatrix(0, c, caption);
        gMatrix->setRow(0);
        gMatrix->setCol(c);
        gMatrix->setCellAlignment(Qt::AlignHCenter | Qt::AlignTop);
        gMatrix->setColData(c, columns.field(0).toInt());
        if (twipsOf(caption) + 150 > gMatrix->colWidthTwips(c))
            gMatrix->setColWidthTwips(c, twipsOf(caption) + 200);
    }

    // Stored answers are shown again; a row without one starts with no cell chosen, so a row the
    // user never answers stores nothing.
    if (gMatrix->rows() > 1 && gMatrix->cols() > 1) {
        QHash<int, int> chosen; // matrix row's response id -> column id, the first stored row
        db::Recordset answers
            = connection_.OpenRecordset(QStringLiteral("SELECT ResponseID, ResponseMatrixID FROM Respondent_Responses "
                                                       "WHERE questionid = ? AND respondentid = ? ORDER BY id"),
                { questionId, CurrentRespondentID });
        for (; !answers.atEnd(); answers.MoveNext()) {
            shownStored_ = true;
            const int response = answers.field(0).toInt();
            if (!chosen.contains(response))
                chosen.insert(response, answers.field(1).toInt());
        }
        for (int r = 1; r < gMatrix->rows(); ++r) {
            const auto found = chosen.constFind(gMatrix->rowData(r));
            if (found == chosen.cend())
                continue;
            for (int c = 1; c < gMatrix->cols(); ++c) {
                gMatrix->setTextMatrix(r, c, gMatrix->colData(c) == *found ? kYes : QString());
                gMatrix->setRow(r);
                gMatrix->setCol(c);
                gMatrix->setCellAlignment(kCentred);
            }
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
    if (!pageShown_)
        return true;
    try {
        db::Recordset rs = connection_.OpenRecordset(
            QStringLiteral("SELECT ID FROM question WHERE pos = ?"), { CurrentQuestionPos });
        if (rs.atEnd()) {
            Dialogs::MsgBox(QStringLiteral("Error cmdDCAnswersNext_Click"), Dialogs::OKOnly, Dialogs::Critical);
            return true;
        }
        const int questionId = rs.field(0).toInt();
        rs = db::Recordset();

        findJump();
        const QList<AnswerRow> rows = pageRows();
        // A page left as it was shown keeps its stored rows as they are; only a page shown with
        // answers no row holds yet (an open answer never stored) stores them.
        if (rows == shownRows_ && (shownStored_ || rows.isEmpty()))
            return true;

        db::Transaction transaction(connection_);
        connection_.Execute(
            QStringLiteral("DELETE FROM Respondent_Responses WHERE RespondentID = ? AND questionid = ?"),
            { CurrentRespondentID, questionId });
        const QString insert = QStringLiteral("INSERT INTO Respondent_Responses (QuestionID, RespondentID, ResponseID, "
                                              "SimpleResponse) VALUES (?, ?, ?, ?)");
        const QString insertCell = QStringLiteral(
            "INSERT INTO Respondent_Responses (QuestionID, RespondentID, ResponseID, SimpleResponse, ResponseMatrixID) "
            "VALUES (?, ?, ?, ?, ?)");
        for (const AnswerRow& row : rows) {
            if (row.columnId < 0)
                connection_.Execute(insert, { questionId, CurrentRespondentID, row.responseId, row.text });
            else
                connection_.Execute(
                    insertCell, { questionId, CurrentRespondentID, row.responseId, row.text, row.columnId });
        }
        transaction.commit();
        return true;
    } catch (const db::Error& e) {
        JumpToQuestionID = -1;
        ReportError(QStringLiteral("Unable to store the answers."), e);
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

QList<frmManualResponse::AnswerRow> frmManualResponse::pageRows() const
{
    QList<AnswerRow> rows;
    switch (CurrentQType) {
    case QTypeOpenEnded:
        // Always one row; an answer left as shown keeps its stored text exactly.
        rows.append({ 1, txtDCSimpleResponse->toPlainText() == shownAnswer_ ? storedAnswer_ : typedAnswer() });
        break;
    case QTypeCheck:
        if (!chkDCCheck.first()->isVisibleTo(picDCResponseCheck))
            break;
        for (const QCheckBox* box : std::as_const(chkDCCheck)) {
            if (box->isChecked())
                rows.append({ box->property("Tag").toInt(), QString() });
        }
        break;
    case QTypeRadio:
        if (!optDCRadio.first()->isVisibleTo(picDCResponseRadio))
            break;
        for (const QRadioButton* option : std::as_const(optDCRadio)) {
            if (option->isChecked())
                rows.append({ option->property("Tag").toInt(), QString() });
        }
        break;
    case QTypeMatrix:
        if (!gMatrix->isVisibleTo(picDCResponseMatrix))
            break;
        for (int c = 1; c < gMatrix->cols(); ++c) {
            for (int r = 1; r < gMatrix->rows(); ++r) {
                if (gMatrix->textMatrix(r, c) == kYes)
                    rows.append({ gMatrix->rowData(r), QString(), gMatrix->colData(c) });
            }
        }
        break;
    default:
        break;
    }
    return rows;
}

void frmManualResponse::findJump()
{
    if (CurrentQType != QTypeRadio || !optDCRadio.first()->isVisibleTo(picDCResponseRadio))
        return;
    for (const QRadioButton* option : std::as_const(optDCRadio)) {
        if (!option->isChecked())
            continue;
        db::Recordset jump
            = connection_.OpenRecordset(QStringLiteral("SELECT logicjumptoquestionid FROM response WHERE id = ?"),
                { option->property("Tag").toInt() });
        if (!jump.atEnd() && !jump.isNull(0))
            JumpToQuestionID = jump.field(0).toInt();
    }
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
            db::Recordset rs = connection_.OpenRecordset(
                QStringLiteral("SELECT pos FROM question WHERE id = ?"), { JumpToQuestionID });
            // A jump to a question that is no longer in the file stays on the page.
            if (!rs.atEnd())
                CurrentQuestionPos = rs.field(0).toInt();
        } catch (const db::Error& e) {
            ReportError(QStringLiteral("Unable to show the question."), e);
            return;
        }
    }
    if (!RespondentAnswers_ShowQuestion()) {
        Dialogs::MsgBox(QStringLiteral("Survey completed."), Dialogs::OKOnly, Dialogs::Information);
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
