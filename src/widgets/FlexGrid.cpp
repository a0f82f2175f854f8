#include "widgets/FlexGrid.h"

#include "widgets/Twips.h"

#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>
#include <cstdlib>

namespace {
constexpr Qt::Alignment kDefaultAlignment = Qt::AlignLeft | Qt::AlignVCenter;
constexpr int kDefaultColWidth = 1000; // twips
} // namespace

// FlexGridModel

FlexGridModel::FlexGridModel(QObject* parent)
    : QAbstractTableModel(parent)
{ }

void FlexGridModel::reshape(int rows, int cols)
{
    rows = std::max(0, rows);
    cols = std::max(0, cols);
    if (cols == cols_) {
        cells_.resize(size_t(rows) * size_t(cols));
        align_.resize(size_t(rows) * size_t(cols));
    } else {
        std::vector<QString> cells(size_t(rows) * size_t(cols));
        std::vector<quint16> align(size_t(rows) * size_t(cols));
        const int keepRows = std::min(rows, rows_);
        const int keepCols = std::min(cols, cols_);
        for (int r = 0; r < keepRows; ++r) {
            for (int c = 0; c < keepCols; ++c) {
                cells[size_t(r) * size_t(cols) + size_t(c)] = std::move(cells_[size_t(at(r, c))]);
                align[size_t(r) * size_t(cols) + size_t(c)] = align_[size_t(at(r, c))];
            }
        }
        cells_ = std::move(cells);
        align_ = std::move(align);
    }
    rowData_.resize(size_t(rows));
    colData_.resize(size_t(cols));
    rows_ = rows;
    cols_ = cols;
}

void FlexGridModel::setRows(int rows)
{
    rows = std::max(0, rows);
    if (source_) {
        if (!suspended_)
            beginResetModel();
        source_ = nullptr;
        sourceRows_ = 0;
        reshape(rows, cols_);
        if (!suspended_)
            endResetModel();
        return;
    }
    if (rows == rows_)
        return;
    if (suspended_) {
        reshape(rows, cols_);
        return;
    }
    const int before = rowCount();
    const int after = std::max(0, rows - fixedRows_);
    const bool headerChanged = (rows_ < fixedRows_) != (rows < fixedRows_);
    if (after > before) {
        beginInsertRows(QModelIndex(), before, after - 1);
        reshape(rows, cols_);
        endInsertRows();
    } else if (after < before) {
        beginRemoveRows(QModelIndex(), after, before - 1);
        reshape(rows, cols_);
        endRemoveRows();
    } else {
        reshape(rows, cols_);
    }
    if (headerChanged && columnCount() > 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void FlexGridModel::setCols(int cols)
{
    cols = std::max(0, cols);
    if (cols == cols_)
        return;
    if (suspended_) {
        reshape(rows_, cols);
        return;
    }
    beginResetModel();
    reshape(rows_, cols);
    endResetModel();
}

void FlexGridModel::setFixed(int fixedRows, int fixedCols)
{
    if (!suspended_)
        beginResetModel();
    fixedRows_ = std::clamp(fixedRows, 0, 1);
    fixedCols_ = std::clamp(fixedCols, 0, 1);
    if (!suspended_)
        endResetModel();
}

QString FlexGridModel::text(int row, int col) const
{
    if (owns(row, col))
        return cells_[size_t(at(row, col))];
    return valid(row, col) ? source_->text(row - fixedRows_, col) : QString();
}

void FlexGridModel::setText(int row, int col, const QString& text)
{
    if (!owns(row, col))
        return;
    cells_[size_t(at(row, col))] = text;
    cellChanged(row, col);
}

Qt::Alignment FlexGridModel::alignment(int row, int col) const
{
    if (!owns(row, col))
        return kDefaultAlignment;
    const quint16 a = align_[size_t(at(row, col))];
    return a == 0 ? kDefaultAlignment : Qt::Alignment(a);
}

void FlexGridModel::setAlignment(int row, int col, Qt::Alignment alignment)
{
    if (!owns(row, col))
        return;
    align_[size_t(at(row, col))] = quint16(alignment.toInt());
    cellChanged(row, col);
}

qint32 FlexGridModel::rowData(int row) const
{
    if (row >= 0 && row < rows_)
        return rowData_[size_t(row)];
    return row >= rows_ && row < rows() ? source_->rowData(row - fixedRows_) : 0;
}

void FlexGridModel::setRowData(int row, qint32 data)
{
    if (row >= 0 && row < rows_)
        rowData_[size_t(row)] = data;
}

qint32 FlexGridModel::colData(int col) const
{
    return col >= 0 && col < cols_ ? colData_[size_t(col)] : 0;
}

void FlexGridModel::setColData(int col, qint32 data)
{
    if (col >= 0 && col < cols_)
        colData_[size_t(col)] = data;
}

void FlexGridModel::cellChanged(int row, int col)
{
    if (suspended_)
        return;
    if (row < fixedRows_) {
        if (col >= fixedCols_)
            Q_EMIT headerDataChanged(Qt::Horizontal, col - fixedCols_, col - fixedCols_);
    } else if (col < fixedCols_) {
        Q_EMIT headerDataChanged(Qt::Vertical, row - fixedRows_, row - fixedRows_);
    } else {
        const QModelIndex i = index(row - fixedRows_, col - fixedCols_);
        Q_EMIT dataChanged(i, i, { Qt::DisplayRole, Qt::TextAlignmentRole });
    }
}

void FlexGridModel::setSource(FlexGridSource* source)
{
    if (!suspended_)
        beginResetModel();
    // Of its own cells the model keeps the fixed row.
    if (!source_)
        reshape(std::min(rows_, fixedRows_), cols_);
    source_ = source;
    sourceRows_ = source_ ? source_->rowCount() : 0;
    if (!suspended_)
        endResetModel();
}

void FlexGridModel::sourceReset()
{
    if (!source_)
        return;
    if (!suspended_)
        beginResetModel();
    sourceRows_ = source_->rowCount();
    if (!suspended_)
        endResetModel();
}

void FlexGridModel::sourceRowsInserted(int first, int count)
{
    sourceRowsMoved(first, count);
}

void FlexGridModel::sourceRowsRemoved(int first, int count)
{
    sourceRowsMoved(first, -count);
}

void FlexGridModel::sourceRowsMoved(int first, int delta)
{
    if (!source_ || delta == 0)
        return;
    const int last = first + std::abs(delta) - 1;
    if (!suspended_ && delta > 0)
        beginInsertRows(QModelIndex(), first, last);
    else if (!suspended_)
        beginRemoveRows(QModelIndex(), first, last);
    sourceRows_ += delta;
    if (!suspended_ && delta > 0)
        endInsertRows();
    else if (!suspended_)
        endRemoveRows();
}

void FlexGridModel::sourceRowChanged(int row)
{
    if (!source_ || suspended_ || row < 0 || row >= sourceRows_ || columnCount() == 0)
        return;
    Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1), { Qt::DisplayRole });
}

void FlexGridModel::suspend()
{
    if (suspended_)
        return;
    beginResetModel();
    suspended_ = true;
}

void FlexGridModel::resume()
{
    if (!suspended_)
        return;
    suspended_ = false;
    if (source_)
        sourceRows_ = source_->rowCount();
    endResetModel();
}

int FlexGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(0, rows() - fixedRows_);
}

int FlexGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(0, cols_ - fixedCols_);
}

QVariant FlexGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row() + fixedRows_;
    const int col = index.column() + fixedCols_;
    if (role == Qt::DisplayRole)
        return text(row, col);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(alignment(row, col));
    return {};
}

QVariant FlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    int row = 0;
    int col = 0;
    if (orientation == Qt::Horizontal) {
        if (fixedRows_ == 0)
            return {};
        col = section + fixedCols_;
    } else {
        if (fixedCols_ == 0)
            return {};
        row = section + fixedRows_;
    }
    if (role == Qt::DisplayRole)
        return text(row, col);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(alignment(row, col));
    return {};
}

Qt::ItemFlags FlexGridModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

// FlexGrid

FlexGrid::FlexGrid(QWidget* parent, int fixedCols)
    : QTableView(parent)
    , model_(new FlexGridModel(this))
{
    model_->setFixed(1, fixedCols);
    model_->setCols(1);
    model_->setRows(1);
    setModel(model_);

    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab moves on to the next control, as in the other controls of a window.
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(kDefaultAlignment);
    verticalHeader()->setSectionsClickable(false);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    verticalHeader()->setVisible(fixedCols > 0);

    widths_.assign(1, kDefaultColWidth);
    applyWidths();

    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex&) { Q_EMIT click(); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        applyWidths();
        applyCurrent();
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section, int, int size) {
        const size_t col = size_t(section + model_->fixedCols());
        if (!applying_ && col < widths_.size())
            widths_[col] = Twips::fromPixelsX(size);
    });
}

void FlexGrid::setRows(int rows)
{
    model_->setRows(rows);
    if (row_ >= model_->rows()) {
        row_ = std::max(0, model_->rows() - 1);
        applyCurrent();
    }
}

void FlexGrid::setCols(int cols)
{
    widths_.resize(size_t(std::max(0, cols)), kDefaultColWidth);
    model_->setCols(cols);
    if (col_ >= model_->cols())
        col_ = std::max(0, model_->cols() - 1);
    applyWidths();
    applyCurrent();
}

void FlexGrid::setRow(int row)
{
    if (row < 0 || row >= rows())
        return;
    row_ = row;
    applyCurrent();
}

void FlexGrid::setCol(int col)
{
    if (col < 0 || col >= cols())
        return;
    col_ = col;
    applyCurrent();
}

int FlexGrid::colWidthTwips(int col) const
{
    return col >= 0 && size_t(col) < widths_.size() ? widths_[size_t(col)] : 0;
}

void FlexGrid::setColWidthTwips(int col, int twips)
{
    if (col < 0 || col >= cols())
        return;
    widths_[size_t(col)] = std::max(0, twips);
    applyWidths();
}

void FlexGrid::setRedraw(bool on)
{
    if (on == redraw())
        return;
    if (on) {
        model_->resume();
        setUpdatesEnabled(true);
    } else {
        setUpdatesEnabled(false);
        model_->suspend();
    }
}

void FlexGrid::applyWidths()
{
    if (model_->suspended())
        return;
    applying_ = true;
    const int fixed = model_->fixedCols();
    for (int col = 0; col < cols() && size_t(col) < widths_.size(); ++col) {
        const int px = Twips::toPixelsX(widths_[size_t(col)]);
        if (col < fixed)
            verticalHeader()->setFixedWidth(px);
        else if (columnWidth(col - fixed) != px)
            setColumnWidth(col - fixed, px);
    }
    applying_ = false;
}

void FlexGrid::applyCurrent()
{
    if (model_->suspended() || !selectionModel())
        return;
    applying_ = true;
    const int fixedCols = model_->fixedCols();
    if (row_ >= 1 && col_ >= fixedCols && row_ < rows() && col_ < cols()) {
        const QModelIndex current = model_->index(row_ - 1, col_ - fixedCols);
        setCurrentIndex(current);
        scrollTo(current);
    } else {
        selectionModel()->clear();
    }
    applying_ = false;
}

void FlexGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (!applying_ && current.isValid()) {
        row_ = current.row() + 1;
        col_ = current.column() + model_->fixedCols();
    }
}

void FlexGrid::paintEvent(QPaintEvent* event)
{
    // A source reads what the rows in view show at once, rather than cell by cell.
    if (FlexGridSource* source = model_->source(); source && model_->rowCount() > 0 && !model_->suspended()) {
        const int first = std::max(0, rowAt(0));
        const int last = rowAt(viewport()->height() - 1);
        source->prefetch(first, last < 0 ? model_->rowCount() - 1 : last);
    }
    QTableView::paintEvent(event);
}

void FlexGrid::keyboardSearch(const QString& search)
{
    // Finding a typed text would make the text of every row of a source, reading a large list
    // whole on a key press: a grid over a source does not search.
    if (!model_->source())
        QTableView::keyboardSearch(search);
}

void FlexGrid::keyPressEvent(QKeyEvent* event)
{
    event->ignore();
    Q_EMIT keyDown(event);
    if (event->isAccepted())
        return;
    QTableView::keyPressEvent(event);
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    Q_EMIT dblClick();
}
