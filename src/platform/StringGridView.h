#pragma once

// A QTableView that paints a TStringAlignGrid: per cell its text, background, font and
// font colour. It draws no selection and no focus frame (the order logic colours the
// selected order itself); clicking or moving with the view's own keys sets the grid's
// current cell. Rows and columns follow the grid's counts; their pixel sizes are set by
// the owner (SetDefaultRowHeight, SetDefaultColWidth). Main thread only.

#include "platform/StringAlignGrid.h"

#include <QAbstractTableModel>
#include <QTableView>

namespace platform {

class StringGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // grid is not owned and must outlive the model.
    explicit StringGridModel(TStringAlignGrid *grid, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    // Re-reads the grid: a reset when its size changed, else one repaint of every cell.
    void Refresh();

private:
    TStringAlignGrid *m_grid;
    int m_cols;
    int m_rows;
};

class StringGridView : public QTableView
{
    Q_OBJECT
public:
    // grid is not owned and must outlive the view. The view installs itself as the grid's
    // OnChanged listener; repaints are coalesced into one per event-loop turn.
    explicit StringGridView(TStringAlignGrid *grid, QWidget *parent = nullptr);
    ~StringGridView() override;

    TStringAlignGrid *Grid() const { return m_grid; }
    void SetDefaultRowHeight(int pixels);
    void SetDefaultColWidth(int pixels);
    // Repaints now from the grid (tests and screenshots use it instead of waiting).
    void SyncNow();

signals:
    // A click on a cell; the grid's current cell is already set to it.
    void CellClicked(int col, int row);

private:
    void ScheduleSync();

    TStringAlignGrid *m_grid;
    StringGridModel *m_model;
    bool m_syncPending = false;
    int m_rowHeight = 20;
    int m_colWidth = 64;
};

} // namespace platform
