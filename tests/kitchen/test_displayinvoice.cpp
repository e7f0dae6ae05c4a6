#include "KitchenTestUtil.h"

#include <gtest/gtest.h>

using namespace kitchentest;

namespace {

using Picture_t = std::vector<std::string>;

TEST(DisplayInvoiceLines, HeaderStatusAndItemLines)
{
    const QDateTime now = QDateTime::currentDateTime();
    struct Case
    {
        const char *Name;
        int Till, InvoiceNum, OrderNum;
        TDisplayNumber Number;
        int MinutesAgo;
        QString Header;
    };
    const Case cases[] = {
        {"invoice number padded to 8", 5, 106550, 12, dnInvoiceNum, 68,
         QStringLiteral("5 :   106550 :   01:08 *************")},
        {"order number not padded", 5, 106550, 12, dnOrderNum, 68,
         QStringLiteral("5 : 12 :   01:08 *************")},
        {"a longer invoice number is cut at the right", 12, 123456789, 1, dnInvoiceNum, 0,
         QStringLiteral("12 : 12345678 :   00:00 *************")},
        {"no till", 0, 7, 7, dnInvoiceNum, 3,
         QStringLiteral("0 :        7 :   00:03 *************")},
    };
    for (const Case &tc : cases) {
        SCOPED_TRACE(tc.Name);
        TDisplayInvoice order;
        order.SetInvoiceNum(tc.InvoiceNum);
        order.SetOrderNum(tc.OrderNum);
        order.SetTillID(tc.Till);
        order.SetDisplayNumber(tc.Number);
        order.SetDate(now.addSecs(-60 * tc.MinutesAgo));
        QStringList lines;
        order.BuildLines(lines, now);
        ASSERT_EQ(lines.size(), 2);
        EXPECT_EQ(lines[0], tc.Header);
    }
}

TEST(DisplayInvoiceLines, StatusLine)
{
    struct Case
    {
        const char *Name;
        bool Prepared, Overrung;
        QString EmpNum, Expected;
    };
    const Case cases[] = {
        {"waiting", false, false, {}, QStringLiteral("STATUS: WAITING")},
        {"waiting with maker", false, false, QStringLiteral("17"),
         QStringLiteral("WAITING FOR 17")},
        {"prepared", true, false, {}, QStringLiteral("STATUS: PREPARED")},
        {"prepared with maker", true, false, QStringLiteral("17"),
         QStringLiteral("PREPARED BY 17")},
        {"overrung waiting with maker", false, true, QStringLiteral("17"),
         QStringLiteral("STATUS: OVERRUNG")},
        {"overrung prepared", true, true, {}, QStringLiteral("STATUS: OVERRUNG")},
    };
    for (const Case &tc : cases) {
        SCOPED_TRACE(tc.Name);
        TDisplayInvoice order;
        order.SetPrepared(tc.Prepared);
        order.SetOverrung(tc.Overrung);
        order.SetEmpNum(tc.EmpNum);
        QStringList lines;
        order.BuildLines(lines);
        EXPECT_EQ(lines.value(1), tc.Expected);
    }
}

TEST(DisplayInvoiceLines, ItemLines)
{
    struct Case
    {
        const char *Name;
        double Quantity;
        QString Size, Desc;
        bool DisplaySize;
        QString Expected;
    };
    const Case cases[] = {
        {"with size", 2, QStringLiteral("LARGE"), QStringLiteral("Pizza"), true,
         QStringLiteral("2 LARGE Pizza")},
        {"size hidden", 2, QStringLiteral("LARGE"), QStringLiteral("Pizza"), false,
         QStringLiteral("2 Pizza")},
        {"empty size leaves two spaces",
         3,
         {},
         QStringLiteral("Chips"),
         true,
         QStringLiteral("3  Chips")},
        {"fraction", 1.5, QStringLiteral("SMALL"), QStringLiteral("Rice"), true,
         QStringLiteral("1.5 SMALL Rice")},
        {"quotes and accents kept", 1, QStringLiteral("12\""),
         QStringLiteral("Crème brûlée 'Spezial' – 辛い"), true,
         QStringLiteral("1 12\" Crème brûlée 'Spezial' – 辛い")},
    };
    for (const Case &tc : cases) {
        SCOPED_TRACE(tc.Name);
        TDisplayInvoice order;
        order.SetDisplaySize(tc.DisplaySize);
        TLineitemItem *item = order.Lineitems()->Add();
        item->SetQuantity(tc.Quantity);
        item->SetSize(tc.Size);
        item->SetItemDesc(tc.Desc);
        QStringList lines;
        order.BuildLines(lines);
        ASSERT_EQ(lines.size(), 3);
        EXPECT_EQ(lines[2], tc.Expected);
        EXPECT_EQ(order.Rows(), 3);
    }
}

// One order drawn alone into an empty grid.
struct DrawCase
{
    const char *Name;
    int Cols, Rows;
    TGridCoord Start;
    int Items;
    bool Expanded, AutoExpand;
    Picture_t Expected;
    bool Drawn, Queued, ExpandedAfter;
    TGridCoord End; // when drawn
};

class DisplayInvoiceDraw : public ::testing::TestWithParam<DrawCase>
{
};

TEST_P(DisplayInvoiceDraw, WritesTheBlockWhereTheRulesSay)
{
    const DrawCase &tc = GetParam();
    TStringAlignGrid grid(tc.Cols, tc.Rows);
    TDisplayInvoices orders;
    TDisplayInvoice *order = orders.NewItem();
    Fill(*order, 1, tc.Items);
    order->SetDisplaySize(true);
    order->SetStringGrid(&grid);
    order->SetAutoExpand(tc.AutoExpand);
    order->SetExpanded(tc.Expanded);
    order->SetPosition(tc.Start);

    EXPECT_EQ(order->Draw(0), tc.Drawn);
    EXPECT_EQ(Picture(grid, orders), tc.Expected);
    EXPECT_EQ(order->Queued(), tc.Queued);
    EXPECT_EQ(order->Expanded(), tc.ExpandedAfter);
    if (tc.Drawn) {
        EXPECT_EQ(order->EndPosition(), tc.End);
    } else {
        EXPECT_EQ(order->EndPosition(), TGridCoord {}); // untouched
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DisplayInvoiceDraw,
    ::testing::Values(
        DrawCase {"CollapsedAtRow8FitsInItsColumn",
                  2,
                  10,
                  {0, 8},
                  2,
                  false,
                  false,
                  {"........A.", ".........."},
                  true,
                  false,
                  false,
                  {0, 9}},
        DrawCase {"CollapsedAtBottomRowRunsOnToNextColumn",
                  2,
                  10,
                  {0, 9},
                  2,
                  false,
                  false,
                  {".........A", ".........."},
                  true,
                  false,
                  false,
                  {1, 0}},
        DrawCase {"ExpandedFourLinesRunOnFromRow6",
                  2,
                  10,
                  {0, 6},
                  2,
                  true,
                  false,
                  {"......Aaaa", ".........."},
                  true,
                  false,
                  true,
                  {1, 0}},
        DrawCase {"ExpandedInLastColumnIsCollapsed",
                  2,
                  10,
                  {1, 6},
                  2,
                  true,
                  false,
                  {"..........", "......A..."},
                  true,
                  false,
                  false,
                  {1, 7}},
        DrawCase {"AutoExpandInLastColumnExpandsAgain",
                  2,
                  10,
                  {1, 6},
                  2,
                  true,
                  true,
                  {"..........", "......Aaaa"},
                  true,
                  false,
                  true,
                  {1, 9}},
        DrawCase {"LinesBeyondTheLastCellOverwriteIt",
                  2,
                  10,
                  {1, 6},
                  4,
                  true,
                  true,
                  {"..........", "......Aaaa"},
                  true,
                  false,
                  true,
                  {1, 9}},
        DrawCase {"CollapsedInBottomRowOfLastColumnIsQueued",
                  2,
                  10,
                  {1, 9},
                  2,
                  false,
                  false,
                  {"..........", ".........."},
                  false,
                  true,
                  false,
                  {}},
        DrawCase {"FirstCellIsAlwaysExpanded",
                  2,
                  10,
                  {0, 0},
                  3,
                  false,
                  false,
                  {"Aaaaa.....", ".........."},
                  true,
                  false,
                  true,
                  {0, 5}},
        DrawCase {"NoLineItemsIsNeverDrawn",
                  2,
                  10,
                  {0, 0},
                  0,
                  true,
                  true,
                  {"..........", ".........."},
                  false,
                  false,
                  true,
                  {}},
        DrawCase {"TwoHundredItemsFillTheGrid",
                  3,
                  10,
                  {0, 0},
                  200,
                  false,
                  false,
                  {"Aaaaaaaaaa", "aaaaaaaaaa", "aaaaaaaaaa"},
                  true,
                  false,
                  true,
                  {2, 9}},
        DrawCase {"LongOrderAtTopOfLastColumnKeepsItsHeader",
                  2,
                  10,
                  {1, 0},
                  12,
                  true,
                  true,
                  {"..........", "Aaaaaaaaaa"},
                  true,
                  false,
                  true,
                  {1, 9}},
        DrawCase {
            "OneCellGridHasNoRoom", 1, 1, {0, 0}, 2, false, false, {"."}, false, true, false, {}},
        DrawCase {"OneRowRunsAcrossTheColumns",
                  3,
                  1,
                  {0, 0},
                  3,
                  false,
                  false,
                  {"A", "a", "a"},
                  true,
                  false,
                  true,
                  {2, 0}}),
    [](const ::testing::TestParamInfo<DrawCase> &c) { return std::string(c.param.Name); });

TEST(DisplayInvoiceDrawing, TheLastCellKeepsTheLastLine)
{
    TStringAlignGrid grid(2, 10);
    TDisplayInvoices orders;
    TDisplayInvoice *order = orders.NewItem();
    Fill(*order, 1, 200);
    order->SetDisplaySize(true);
    order->SetStringGrid(&grid);
    order->SetAutoExpand(true);
    order->SetPosition({1, 6});
    ASSERT_TRUE(order->Draw(0));
    EXPECT_EQ(grid.Cells(1, 7), QStringLiteral("STATUS: WAITING"));
    EXPECT_EQ(grid.Cells(1, 8), ItemLine(1));
    EXPECT_EQ(grid.Cells(1, 9), ItemLine(200));
}

TEST(DisplayInvoiceDrawing, FitReportsTheSpareRoom)
{
    TStringAlignGrid grid(2, 10);
    TDisplayInvoice order;
    Fill(order, 1, 2);
    order.SetStringGrid(&grid);
    struct Case
    {
        const char *Name;
        TGridCoord Start;
        bool Expanded;
        bool Fits;
        int Spare;
    };
    const Case cases[] = {
        {"in its column: rows left", {0, 8}, false, true, 9},
        {"expanded in its column", {0, 2}, true, true, 6},
        {"runs on", {0, 9}, false, true, -1},
        {"last column, collapsed by the test", {1, 7}, true, true, 4},
        {"bottom of last column", {1, 9}, false, false, 1},
    };
    for (const Case &tc : cases) {
        SCOPED_TRACE(tc.Name);
        order.SetPosition(tc.Start);
        order.SetExpanded(tc.Expanded);
        int spare = 1234;
        EXPECT_EQ(order.Fits(spare), tc.Fits);
        EXPECT_EQ(spare, tc.Spare);
    }
}

// Redrawing in place finds the order itself in its start cell: its column counts as full.
TEST(DisplayInvoiceDrawing, RedrawInPlaceOfABlockThatRanOn)
{
    TStringAlignGrid grid(2, 10);
    TDisplayInvoices orders;
    TDisplayInvoice *order = orders.NewItem();
    Fill(*order, 1, 2);
    order->SetStringGrid(&grid);
    order->SetExpanded(true);
    order->SetPosition({0, 6});
    ASSERT_TRUE(order->Draw(0));

    // Expanded: collapsed to its header; the lines drawn before stay until the next layout.
    EXPECT_TRUE(order->Draw(0));
    EXPECT_FALSE(order->Expanded());
    EXPECT_FALSE(order->Queued());
    EXPECT_EQ(order->EndPosition(), (TGridCoord {0, 7}));
    EXPECT_EQ(grid.Cells(0, 7), QStringLiteral("STATUS: WAITING"));

    // Collapsed and starting in the bottom row: reported queued, the cell keeps its text.
    TDisplayInvoice *bottom = orders.NewItem();
    Fill(*bottom, 2, 2);
    bottom->SetStringGrid(&grid);
    bottom->SetPosition({0, 9});
    ASSERT_TRUE(bottom->Draw(0));
    const QString header = grid.Cells(0, 9);
    EXPECT_FALSE(bottom->Draw(0));
    EXPECT_TRUE(bottom->Queued());
    EXPECT_EQ(grid.Cells(0, 9), header);

    // Another order in the start cell does not count as this one.
    TDisplayInvoice *other = orders.NewItem();
    Fill(*other, 3, 2);
    other->SetStringGrid(&grid);
    other->SetPosition({0, 9});
    EXPECT_TRUE(other->Draw(0));
    EXPECT_EQ(other->EndPosition(), (TGridCoord {1, 0}));
    EXPECT_EQ(Picture(grid, orders), (Picture_t {"......AaaC", ".........."}));
}

// What a cook sees of one expanded order: header in reverse, status line and item lines
// in the text colour on the background.
TEST(DisplayInvoiceColours, CellsFollowTheOrdersState)
{
    struct Case
    {
        const char *Name;
        bool Prepared, Selected;
        int Highlight;
        QString EmpNum;
        bool Overrung;
        TColor Text, Back;
    };
    const Case cases[] = {
        {"waiting", false, false, 0, {}, false, kText, kBack},
        {"waiting selected", false, true, 0, {}, false, kText, kSelect},
        {"waiting highlighted by number", false, false, 1, {}, false, kText, kSelect},
        {"waiting, other number highlighted", false, false, 2, {}, false, kText, kBack},
        {"waiting with maker", false, false, 0, QStringLiteral("9"), false, kText, kEmp},
        {"waiting with maker selected", false, true, 0, QStringLiteral("9"), false, kEmp, kText},
        {"prepared", true, false, 0, {}, false, kCText, kCBack},
        {"prepared selected", true, true, 0, {}, false, kCText, kCSelect},
        {"prepared ignores the highlight", true, false, 1, {}, false, kCText, kCBack},
        {"overrung", false, false, 0, {}, true, kText, kBack},
    };
    for (const Case &tc : cases) {
        SCOPED_TRACE(tc.Name);
        TStringAlignGrid grid(1, 10);
        TDisplayInvoices orders;
        TDisplayInvoice *order = orders.NewItem();
        Fill(*order, 1, 1, tc.Prepared);
        order->SetStringGrid(&grid);
        order->SetSelected(tc.Selected);
        order->SetEmpNum(tc.EmpNum);
        order->SetEmpColour(kEmp);
        order->SetOverrung(tc.Overrung);
        ASSERT_TRUE(order->Draw(tc.Highlight));

        const TColor headerText = tc.Overrung ? clRed : tc.Text;
        // Header: text colour as the field, background colour as the text.
        EXPECT_EQ(grid.CellColor(0, 0), headerText);
        EXPECT_EQ(grid.CellFont(0, 0).Color, tc.Back);
        EXPECT_TRUE(grid.CellFont(0, 0).Bold);
        // Status line: the header's colours the right way round.
        EXPECT_EQ(grid.CellColor(0, 1), tc.Back);
        EXPECT_EQ(grid.CellFont(0, 1).Color, headerText);
        // Item line.
        EXPECT_EQ(grid.CellColor(0, 2), tc.Back);
        EXPECT_EQ(grid.CellFont(0, 2).Color, tc.Text);
        EXPECT_TRUE(grid.CellFont(0, 2).Bold);
        EXPECT_EQ(grid.CellFont(0, 2).Size, kFontSize);
        EXPECT_EQ(grid.CellFont(0, 0).Size, kFontSize);
        // Below the order the grid is untouched.
        EXPECT_EQ(grid.CellColor(0, 3), clWindow);
    }
}

TEST(DisplayInvoiceColours, NewOrderDefaults)
{
    TDisplayInvoice order;
    EXPECT_EQ(order.SelectColour(), clBlue);
    EXPECT_EQ(order.FontSize(), 10);
    for (const TCellColors *colors : {&order.HeaderColors(), &order.ItemColors()}) {
        EXPECT_EQ(colors->Font.Color, clYellow);
        EXPECT_TRUE(colors->Font.Bold);
        EXPECT_EQ(colors->Colour, clBlack);
        EXPECT_TRUE(colors->Font.Name.isEmpty()); // the platform's default face
    }
    EXPECT_FALSE(order.Selected() || order.Expanded() || order.Queued() || order.AutoExpand());
}

TEST(DisplayInvoices, AutoExpandReachesEveryOrder)
{
    TDisplayInvoices orders;
    TDisplayInvoice *before = orders.NewItem();
    orders.SetAutoExpand(true);
    TDisplayInvoice *after = orders.NewItem();
    EXPECT_TRUE(before->AutoExpand());
    EXPECT_TRUE(after->AutoExpand());
    orders.SetAutoExpand(false);
    EXPECT_FALSE(before->AutoExpand());
    EXPECT_FALSE(after->AutoExpand());
}

TEST(DisplayInvoices, OrderInCellOnlyNamesItsOwnOrders)
{
    TStringAlignGrid grid(2, 2);
    TDisplayInvoices orders;
    TDisplayInvoice *order = orders.NewItem();
    int stranger = 0;
    grid.SetObjects(0, 0, order);
    grid.SetObjects(1, 0, &stranger);
    EXPECT_EQ(orders.OrderInCell(grid, {0, 0}), order);
    EXPECT_EQ(orders.OrderInCell(grid, {1, 0}), nullptr);
    EXPECT_EQ(orders.OrderInCell(grid, {0, 1}), nullptr);
    EXPECT_EQ(orders.OrderInCell(grid, {5, 5}), nullptr);
}

} // namespace
