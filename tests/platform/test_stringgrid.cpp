#include "platform/StringAlignGrid.h"

#include <QGuiApplication>
#include <QPalette>

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace {

// Fills every cell with its own address, so a test can see where each cell went.
void FillWithAddresses(TStringAlignGrid &grid)
{
    for (int c = 0; c < grid.ColCount(); ++c) {
        for (int r = 0; r < grid.RowCount(); ++r) {
            grid.SetCells(c, r, QStringLiteral("%1,%2").arg(c).arg(r));
            grid.SetCellColor(c, r, RGBColor(c, r, 0));
        }
    }
}

TEST(StringAlignGrid, ResizingKeepsTheCellsThatStillFit)
{
    struct Case
    {
        const char *Name;
        int Cols, Rows;
    };
    const Case cases[] = {
        {"grow both", 6, 7},   {"fewer columns", 2, 4},  {"fewer rows", 3, 2},
        {"shrink both", 1, 1}, {"more rows only", 3, 9}, {"zero is one", 0, -3},
    };
    for (const Case &tc : cases) {
        SCOPED_TRACE(tc.Name);
        TStringAlignGrid grid(3, 4);
        FillWithAddresses(grid);
        grid.SetSize(tc.Cols, tc.Rows);
        const int cols = std::max(tc.Cols, 1);
        const int rows = std::max(tc.Rows, 1);
        ASSERT_EQ(grid.ColCount(), cols);
        ASSERT_EQ(grid.RowCount(), rows);
        for (int c = 0; c < cols; ++c) {
            for (int r = 0; r < rows; ++r) {
                const bool kept = c < 3 && r < 4;
                EXPECT_EQ(grid.Cells(c, r),
                          kept ? QStringLiteral("%1,%2").arg(c).arg(r) : QString())
                    << c << "," << r;
                EXPECT_EQ(grid.CellColor(c, r), kept ? RGBColor(c, r, 0) : clWindow)
                    << c << "," << r;
            }
        }
    }
}

TEST(StringAlignGrid, ResizingMovesTheCurrentCellInside)
{
    TStringAlignGrid grid(4, 10);
    grid.SetCurrentCell(3, 9);
    grid.SetRowCount(5);
    EXPECT_EQ(grid.Col(), 3);
    EXPECT_EQ(grid.Row(), 4);
    grid.SetColCount(2);
    EXPECT_EQ(grid.Col(), 1);
}

TEST(StringAlignGrid, CellsOutsideTheGridAreRefused)
{
    TStringAlignGrid grid(2, 3);
    EXPECT_THROW(grid.Cells(2, 0), std::out_of_range);
    EXPECT_THROW(grid.SetCells(0, 3, QStringLiteral("x")), std::out_of_range);
    EXPECT_THROW(grid.SetObjects(-1, 0, &grid), std::out_of_range);
    EXPECT_THROW(grid.SetCurrentCell(0, -1), std::out_of_range);
    EXPECT_EQ(grid.Col(), 0);
    EXPECT_NO_THROW(grid.SetCells(1, 2, QStringLiteral("x")));
}

TEST(StringAlignGrid, AssigningAFontGivesTheCellACopyOfItsOwn)
{
    TStringAlignGrid grid(2, 2);
    TFont header;
    header.Size = 14;
    header.Bold = true;
    header.Color = clYellow;

    grid.SetCellFont(0, 0, header);
    grid.SetCellFontColor(0, 0, clBlack);
    header.Size = 20; // later changes of the source do not reach the cell

    EXPECT_EQ(grid.CellFont(0, 0).Color, clBlack);
    EXPECT_EQ(grid.CellFont(0, 0).Size, 14);
    EXPECT_TRUE(grid.CellFont(0, 0).Bold);
    EXPECT_EQ(header.Color, clYellow);

    // A cell without a font of its own follows the grid's font ...
    EXPECT_FALSE(grid.HasCellFont(1, 1));
    TFont gridFont;
    gridFont.Size = 11;
    grid.SetFont(gridFont);
    EXPECT_EQ(grid.CellFont(1, 1).Size, 11);
    // ... until its colour is set, which gives it a copy of the grid's font.
    grid.SetCellFontColor(1, 1, clRed);
    EXPECT_EQ(grid.CellFont(1, 1).Color, clRed);
    EXPECT_EQ(grid.CellFont(1, 1).Size, 11);
    EXPECT_EQ(grid.Font().Color, clWindowText);
}

TEST(StringAlignGrid, ObjectsAreKeptNotOwned)
{
    int order = 0;
    {
        TStringAlignGrid grid(1, 1);
        EXPECT_EQ(grid.Objects(0, 0), nullptr);
        grid.SetObjects(0, 0, &order);
        EXPECT_EQ(grid.Objects(0, 0), &order);
    }
    EXPECT_EQ(order, 0);
}

TEST(StringAlignGrid, EveryChangeIsAnnounced)
{
    TStringAlignGrid grid(2, 2);
    int changes = 0;
    grid.OnChanged = [&] {
        ++changes;
    };
    grid.SetCells(0, 0, QStringLiteral("a"));
    grid.SetCellColor(0, 0, clRed);
    grid.SetCellFontColor(0, 0, clRed);
    grid.SetObjects(0, 0, &grid);
    grid.SetSize(3, 3);
    grid.SetSize(3, 3); // no change, no announcement
    grid.SetCurrentCell(2, 2);
    EXPECT_EQ(changes, 6);
}

TEST(Colors, TColorToQColor)
{
    QPalette palette;
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Button, QColor(4, 5, 6));
    palette.setColor(QPalette::Text, QColor(7, 8, 9));
    palette.setColor(QPalette::Highlight, QColor(10, 11, 12));
    palette.setColor(QPalette::HighlightedText, QColor(13, 14, 15));
    palette.setColor(QPalette::ButtonText, QColor(16, 17, 18));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(19, 20, 21));

    struct Case
    {
        const char *Name;
        TColor Color;
        QColor Expected;
    };
    const Case cases[] = {
        {"clBlack", clBlack, QColor(0, 0, 0)},
        {"clRed is 0x0000FF", clRed, QColor(255, 0, 0)},
        {"clGreen", clGreen, QColor(0, 128, 0)},
        {"clYellow", clYellow, QColor(255, 255, 0)},
        {"clBlue is 0xFF0000", clBlue, QColor(0, 0, 255)},
        {"mixed bytes BBGGRR", 0x00336699, QColor(0x99, 0x66, 0x33)},
        {"RGBColor", RGBColor(1, 2, 250), QColor(1, 2, 250)},
        {"clWindow is Base", clWindow, QColor(1, 2, 3)},
        {"clBtnFace is Button", clBtnFace, QColor(4, 5, 6)},
        {"clWindowText is Text", clWindowText, QColor(7, 8, 9)},
        {"clHighlight", clHighlight, QColor(10, 11, 12)},
        {"clHighlightText", clHighlightText, QColor(13, 14, 15)},
        {"clBtnText", clBtnText, QColor(16, 17, 18)},
        {"clGrayText is disabled text", clGrayText, QColor(19, 20, 21)},
        {"clNone is transparent", clNone, QColor(Qt::transparent)},
        {"clDefault leaves the widget's colour", clDefault, QColor()},
        {"unused system index", 0x80000019, QColor()},
        {"system index out of range", 0x800000FF, QColor()},
    };
    for (const Case &tc : cases) {
        SCOPED_TRACE(tc.Name);
        const QColor actual = platform::ToQColor(tc.Color, palette);
        EXPECT_EQ(actual.isValid(), tc.Expected.isValid());
        if (tc.Expected.isValid()) {
            EXPECT_EQ(actual.rgba(), tc.Expected.rgba());
        }
    }
}

TEST(Colors, SystemColoursFollowTheApplicationPalette)
{
    // The test program runs a QApplication: clWindow must be what Qt's widgets paint.
    EXPECT_EQ(platform::ToQColor(clWindow).rgba(),
              QGuiApplication::palette().color(QPalette::Base).rgba());
}

} // namespace
