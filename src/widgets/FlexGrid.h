#pragma once

#include <QAbstractTableModel>
#include <QTableView>

#include <vector>

class QKeyEvent;

// The rows below a grid's fixed row when the grid does not keep their cells itself: a list of any
// length (a row per respondent of a large survey) whose texts are made when they are drawn or
// asked for. Rows count from 0, the first row below the fixed row.
class FlexGridSource {
public:
    virtual ~FlexGridSource() = default;
    virtual int rowCount() const = 0;
    virtual QString text(int row, int col) = 0;
    virtual qint32 rowData(int row) const = 0;
    // The rows about to be drawn, so that the source can read what they show in one go.
    virtual void prefetch(int first, int last) = 0;
};

// The cells of a FlexGrid, row-major in grid coordinates (fixed row and column included), with a
// 32-bit datum per row and per column. The model shows the cells below the fixed row and right of
// the fixed column; the fixed cells are its header data.
class FlexGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit FlexGridModel(QObject* parent = nullptr);

    int rows() const { return source_ ? fixedRows_ + sourceRows_ : rows_; }
    int cols() const { return cols_; }
    int fixedRows() const { return fixedRows_; }
    int fixedCols() const { return fixedCols_; }
    void setRows(int rows);
    void setCols(int cols);
    void setFixed(int fixedRows, int fixedCols);

    QString text(int row, int col) const;
    void setText(int row, int col, const QString& text);
    Qt::Alignment alignment(int row, int col) const;
    void setAlignment(int row, int col, Qt::Alignment alignment);
    qint32 rowData(int row) const;
    void setRowData(int row, qint32 data);
    qint32 colData(int col) const;
    void setColData(int col, qint32 data);

    // Rows below the fixed row taken from a source instead of kept here; none for rows of the
    // model's own. Setting rows (setRows) gives the model rows of its own again.
    FlexGridSource* source() const { return source_; }
    void setSource(FlexGridSource* source);
    // What the source tells of its rows changing, in its own row numbers.
    void sourceReset();
    void sourceRowsInserted(int first, int count);
    void sourceRowsRemoved(int first, int count);
    void sourceRowChanged(int row);

    // While suspended the model tells its views nothing; resuming tells them that everything changed.
    void suspend();
    void resume();
    bool suspended() const { return suspended_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    bool valid(int row, int col) const { return row >= 0 && row < rows() && col >= 0 && col < cols_; }
    // A cell the model keeps itself (not one of a source's rows).
    bool owns(int row, int col) const { return row >= 0 && row < rows_ && col >= 0 && col < cols_; }
    qsizetype at(int row, int col) const { return qsizetype(row) * cols_ + col; }
    void cellChanged(int row, int col);
    // Rows inserted (delta > 0) or removed (delta < 0) from the source's row first on.
    void sourceRowsMoved(int first, int delta);
    void reshape(int rows, int cols);

    // The rows of the model's own cells: the fixed row alone while a source gives the others.
    int rows_ = 0;
    int cols_ = 0;
    int fixedRows_ = 1;
    int fixedCols_ = 0;
    std::vector<QString> cells_;
    // Qt::Alignment of each cell; 0 means left and vertically centred.
    std::vector<quint16> align_;
    std::vector<qint32> rowData_;
    std::vector<qint32> colData_;
    FlexGridSource* source_ = nullptr;
    // The source's row count as the views were last told it.
    int sourceRows_ = 0;
    bool suspended_ = false;
};

// A grid of rows and columns as the screens use it: counts that include the fixed header row (and
// the fixed first column, when the grid has one), a current cell, cell text and alignment, a
// 32-bit datum per row and per column, column widths in twips, and redraw suspension for a refill.
// Row 0 is the header row; a current row of 0 means no row is chosen. The grid keeps every cell in
// its own model, or takes the rows below the fixed row from a source (setSource), which keeps a
// row per respondent of a large survey.
class FlexGrid : public QTableView {
    Q_OBJECT

public:
    // fixedCols is 0 or 1; the grid always has one fixed row.
    explicit FlexGrid(QWidget* parent = nullptr, int fixedCols = 0);

    int rows() const { return model_->rows(); }
    void setRows(int rows);
    int cols() const { return model_->cols(); }
    void setCols(int cols);
    int fixedCols() const { return model_->fixedCols(); }

    // The current cell. Setting it moves the view's current cell (and its selection) there; a
    // fixed row or column leaves the view without a current cell.
    int row() const { return row_; }
    void setRow(int row);
    int col() const { return col_; }
    void setCol(int col);

    QString textMatrix(int row, int col) const { return model_->text(row, col); }
    void setTextMatrix(int row, int col, const QString& text) { model_->setText(row, col, text); }
    // The current cell's text and alignment.
    QString text() const { return model_->text(row_, col_); }
    void setText(const QString& text) { model_->setText(row_, col_, text); }
    Qt::Alignment cellAlignment() const { return model_->alignment(row_, col_); }
    void setCellAlignment(Qt::Alignment alignment) { model_->setAlignment(row_, col_, alignment); }

    qint32 rowData(int row) const { return model_->rowData(row); }
    void setRowData(int row, qint32 data) { model_->setRowData(row, data); }
    qint32 colData(int col) const { return model_->colData(col); }
    void setColData(int col, qint32 data) { model_->setColData(col, data); }

    int colWidthTwips(int col) const;
    void setColWidthTwips(int col, int twips);

    // The rows below the fixed row from a source (see FlexGridSource), which outlives the grid
    // or is set to none first; setRows gives the grid rows of its own again. Grid row r is the
    // source's row r - 1.
    FlexGridSource* source() const { return model_->source(); }
    void setSource(FlexGridSource* source) { model_->setSource(source); }

    // False stops the grid from drawing and from telling its view of changes until it is true again.
    bool redraw() const { return !model_->suspended(); }
    void setRedraw(bool on);

    FlexGridModel* gridModel() const { return model_; }

Q_SIGNALS:
    // A click on a cell (the current cell has moved there already).
    void click();
    // A double click anywhere in the grid's cell area.
    void dblClick();
    // A key pressed in the grid, before the grid moves its current cell; a handler that accepts
    // the event keeps the grid (and the window) from acting on it.
    void keyDown(QKeyEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyboardSearch(const QString& search) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void applyCurrent();
    void applyWidths();

    FlexGridModel* model_;
    int row_ = 0;
    int col_ = 0;
    std::vector<int> widths_; // twips, per grid column
    bool applying_ = false;
};
