#include "platform/StringAlignGrid.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

namespace platform {

QFont ToQFont(const TFont &font, const QFont &base)
{
    QFont result = base;
    if (!font.Name.isEmpty())
        result.setFamilies({font.Name});
    if (font.Size > 0)
        result.setPointSize(font.Size);
    result.setBold(font.Bold);
    result.setItalic(font.Italic);
    return result;
}

} // namespace platform

TStringAlignGrid::TStringAlignGrid(int colCount, int rowCount)
    : m_colCount(std::max(colCount, 1))
    , m_rowCount(std::max(rowCount, 1))
    , m_cells(std::size_t(m_colCount) * std::size_t(m_rowCount))
{ }

void TStringAlignGrid::SetSize(int colCount, int rowCount)
{
    colCount = std::max(colCount, 1);
    rowCount = std::max(rowCount, 1);
    if (colCount == m_colCount && rowCount == m_rowCount)
        return;
    std::vector<Cell> cells(std::size_t(colCount) * std::size_t(rowCount));
    const int keepCols = std::min(colCount, m_colCount);
    const int keepRows = std::min(rowCount, m_rowCount);
    for (int c = 0; c < keepCols; ++c) {
        for (int r = 0; r < keepRows; ++r)
            cells[std::size_t(c) * std::size_t(rowCount) + std::size_t(r)] = std::move(At(c, r));
    }
    m_cells = std::move(cells);
    m_colCount = colCount;
    m_rowCount = rowCount;
    m_col = std::min(m_col, m_colCount - 1);
    m_row = std::min(m_row, m_rowCount - 1);
    Changed();
}

void TStringAlignGrid::SetColor(TColor value)
{
    m_color = value;
    Changed();
}

void TStringAlignGrid::SetFont(const TFont &value)
{
    m_font = value;
    Changed();
}

void TStringAlignGrid::SetCells(int col, int row, const QString &text)
{
    At(col, row).Text = text;
    Changed();
}

void TStringAlignGrid::SetObjects(int col, int row, void *object)
{
    At(col, row).Object = object;
    Changed();
}

TColor TStringAlignGrid::CellColor(int col, int row) const
{
    return At(col, row).Color.value_or(m_color);
}

void TStringAlignGrid::SetCellColor(int col, int row, TColor color)
{
    At(col, row).Color = color;
    Changed();
}

const TFont &TStringAlignGrid::CellFont(int col, int row) const
{
    const Cell &cell = At(col, row);
    return cell.Font ? *cell.Font : m_font;
}

void TStringAlignGrid::SetCellFont(int col, int row, const TFont &font)
{
    At(col, row).Font = font;
    Changed();
}

void TStringAlignGrid::SetCellFontColor(int col, int row, TColor color)
{
    Cell &cell = At(col, row);
    if (!cell.Font)
        cell.Font = m_font;
    cell.Font->Color = color;
    Changed();
}

void TStringAlignGrid::SetCurrentCell(int col, int row)
{
    At(col, row); // range check
    m_col = col;
    m_row = row;
    Changed();
}

const TStringAlignGrid::Cell &TStringAlignGrid::At(int col, int row) const
{
    if (col < 0 || col >= m_colCount || row < 0 || row >= m_rowCount) {
        throw std::out_of_range("Grid cell (" + std::to_string(col) + ", " + std::to_string(row)
                                + ") is outside a grid of " + std::to_string(m_colCount)
                                + " columns and " + std::to_string(m_rowCount) + " rows");
    }
    return m_cells[std::size_t(col) * std::size_t(m_rowCount) + std::size_t(row)];
}

TStringAlignGrid::Cell &TStringAlignGrid::At(int col, int row)
{
    return const_cast<Cell &>(std::as_const(*this).At(col, row));
}

void TStringAlignGrid::Changed() const
{
    if (OnChanged)
        OnChanged();
}
