#include "StringGridView.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTimer>

namespace platform {

StringGridModel::StringGridModel(TStringAlignGrid *grid, QObject *parent)
    : QAbstractTableModel(parent), m_grid(grid), m_cols(grid->ColCount()), m_rows(grid->RowCount())
{
}

int StringGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int StringGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

QVariant StringGridModel::data(const QModelIndex &index, int role) const
{
    const int col = index.column();
    const int row = index.row();
    if (!index.isValid() || col >= m_grid->ColCount() || row >= m_grid->RowCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_grid->Cells(col, row);
    case Qt::BackgroundRole:
        return ToQColor(m_grid->CellColor(col, row));
    case Qt::ForegroundRole:
        return ToQColor(m_grid->CellFont(col, row).Color);
    case Qt::FontRole:
        return ToQFont(m_grid->CellFont(col, row));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

void StringGridModel::Refresh()
{
    if (m_cols != m_grid->ColCount() || m_rows != m_grid->RowCount()) {
        beginResetModel();
        m_cols = m_grid->ColCount();
        m_rows = m_grid->RowCount();
        endResetModel();
        return;
    }
    if (m_rows > 0 && m_cols > 0)
        emit dataChanged(index(0, 0), index(m_rows - 1, m_cols - 1));
}

namespace {

// Paints background and text only: no selection, no focus rectangle.
class PlainCellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        painter->save();
        painter->fillRect(option.rect, index.data(Qt::BackgroundRole).value<QColor>());
        painter->setFont(index.data(Qt::FontRole).value<QFont>());
        painter->setPen(index.data(Qt::ForegroundRole).value<QColor>());
        const QRect text = option.rect.adjusted(2, 0, -2, 0);
        painter->setClipRect(option.rect);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }
};

} // namespace

StringGridView::StringGridView(TStringAlignGrid *grid, QWidget *parent)
    : QTableView(parent), m_grid(grid), m_model(new StringGridModel(grid, this))
{
    setModel(m_model);
    setItemDelegate(new PlainCellDelegate(this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setShowGrid(true);
    setWordWrap(false);
    setTabKeyNavigation(false);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ToQColor(grid->Color()));
    setPalette(pal);

    m_grid->OnChanged = [this] { ScheduleSync(); };
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) {
        if (!index.isValid())
            return;
        m_grid->SetCurrentCell(index.column(), index.row());
        emit CellClicked(index.column(), index.row());
    });
    SyncNow();
}

StringGridView::~StringGridView()
{
    m_grid->OnChanged = nullptr;
}

void StringGridView::SetDefaultRowHeight(int pixels)
{
    m_rowHeight = qMax(1, pixels);
    verticalHeader()->setDefaultSectionSize(m_rowHeight);
    for (int row = 0; row < m_model->rowCount(); ++row)
        setRowHeight(row, m_rowHeight);
}

void StringGridView::SetDefaultColWidth(int pixels)
{
    m_colWidth = qMax(1, pixels);
    horizontalHeader()->setDefaultSectionSize(m_colWidth);
    for (int col = 0; col < m_model->columnCount(); ++col)
        setColumnWidth(col, m_colWidth);
}

void StringGridView::ScheduleSync()
{
    if (m_syncPending)
        return;
    m_syncPending = true;
    QTimer::singleShot(0, this, [this] { SyncNow(); });
}

void StringGridView::SyncNow()
{
    m_syncPending = false;
    const bool resized = m_model->rowCount() != m_grid->RowCount()
                         || m_model->columnCount() != m_grid->ColCount();
    m_model->Refresh();
    if (resized) {
        SetDefaultRowHeight(m_rowHeight);
        SetDefaultColWidth(m_colWidth);
    }
    viewport()->update();
}

} // namespace platform
