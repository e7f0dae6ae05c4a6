#pragma once

// The order grid's data: a table of cells, each with a text, an object reference, a
// background colour and an optional font of its own. The order logic writes it and its
// tests read it back; a view (a QTableView in the main window) paints it. No widget here.
//
// Cells are addressed (column, row), both from 0. A cell outside the grid is an error:
// every accessor throws std::out_of_range for it. Main thread only.

#include "platform/Colors.h"

#include <QFont>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// A font as the grid keeps it: face, size, style and colour in one value. Assigning one
// copies it, so a cell's font can change without touching the font it came from.
struct TFont
{
    QString Name; // the face; empty = the platform's default face
    int Size = 8; // points
    bool Bold = false;
    bool Italic = false;
    TColor Color = clWindowText;

    bool operator==(const TFont &) const = default;
};

// A cell's address: column and row, both from 0.
struct TGridCoord
{
    int Col = 0;
    int Row = 0;

    bool operator==(const TGridCoord &) const = default;
};

namespace platform {
// The QFont to paint a TFont with: base (the view's own font) with the face, size and
// style of font. The colour is not part of a QFont; paint it with ToQColor(font.Color).
QFont ToQFont(const TFont &font, const QFont &base = QFont());
} // namespace platform

class TStringAlignGrid
{
public:
    // At least one column and one row, as every count below.
    explicit TStringAlignGrid(int colCount = 5, int rowCount = 5);

    int ColCount() const { return m_colCount; }
    int RowCount() const { return m_rowCount; }
    // Counts below 1 are taken as 1. Cells that still fit keep their contents; new cells
    // are empty. The current cell is moved inside the grid when it fell outside.
    void SetColCount(int value) { SetSize(value, m_rowCount); }
    void SetRowCount(int value) { SetSize(m_colCount, value); }
    void SetSize(int colCount, int rowCount);

    // The grid's own background and font, used by every cell that has none of its own.
    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    const TFont &Font() const { return m_font; }
    void SetFont(const TFont &value);

    const QString &Cells(int col, int row) const { return At(col, row).Text; }
    void SetCells(int col, int row, const QString &text);

    // What the cell shows (the order drawn there). Not owned; never dereferenced here.
    void *Objects(int col, int row) const { return At(col, row).Object; }
    void SetObjects(int col, int row, void *object);

    // The cell's background: its own colour, or the grid's Color when it has none.
    TColor CellColor(int col, int row) const;
    void SetCellColor(int col, int row, TColor color);

    // The cell's font: its own, or the grid's Font when it has none.
    const TFont &CellFont(int col, int row) const;
    bool HasCellFont(int col, int row) const { return At(col, row).Font.has_value(); }
    // Copies font into the cell's own font.
    void SetCellFont(int col, int row, const TFont &font);
    // Changes the colour of the cell's own font (made from the grid's font first when the
    // cell has none), leaving the font it was copied from as it was.
    void SetCellFontColor(int col, int row, TColor color);

    // The current cell: the one the user last clicked or moved to. (0, 0) at first.
    int Col() const { return m_col; }
    int Row() const { return m_row; }
    void SetCurrentCell(int col, int row);

    // Called after every change of contents, size or current cell, so a view can repaint.
    std::function<void()> OnChanged;

private:
    struct Cell
    {
        QString Text;
        void *Object = nullptr;
        std::optional<TColor> Color;
        std::optional<TFont> Font;
    };

    const Cell &At(int col, int row) const;
    Cell &At(int col, int row);
    void Changed() const;

    int m_colCount;
    int m_rowCount;
    std::vector<Cell> m_cells; // column by column: index col * m_rowCount + row
    TColor m_color = clWindow;
    TFont m_font;
    int m_col = 0;
    int m_row = 0;
};
