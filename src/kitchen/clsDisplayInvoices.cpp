#include "kitchen/clsDisplayInvoices.h"

namespace {

// text right-aligned in a field of width characters; a longer text is cut at the right.
QString RightAligned(const QString &text, int width)
{
    return text.rightJustified(width, QLatin1Char(' '), true);
}

TFont YellowBold()
{
    TFont font;
    font.Bold = true;
    font.Color = clYellow;
    return font;
}

} // namespace

// ---- TDisplayInvoice ----

TDisplayInvoice::TDisplayInvoice(TRootCollection *collection)
    : TInvoice(collection)
{
    m_headerColors.Font = YellowBold();
    m_headerColors.Colour = clBlack;
    m_itemColors.Font = YellowBold();
    m_itemColors.Colour = clBlack;
}

void TDisplayInvoice::SetTextColour(TColor value)
{
    if (m_textColour != value)
        m_textColour = value;
}

void TDisplayInvoice::SetBackColour(TColor value)
{
    if (m_backColour != value)
        m_backColour = value;
}

void TDisplayInvoice::BuildLines(QStringList &lines, const QDateTime &now) const
{
    lines.clear();
    lines.reserve(Rows());

    QString header = QString::number(TillID()) + QStringLiteral(" : ");
    if (m_displayNumber == dnInvoiceNum)
        header += RightAligned(QString::number(InvoiceNum()), 8) + QStringLiteral(" : ");
    else
        header += QString::number(OrderNum()) + QStringLiteral(" : ");
    header
        += RightAligned(FormatHourMinute(ElapsedTime(now)), 7) + QStringLiteral(" *************");
    lines.append(header);

    if (Overrung())
        lines.append(QStringLiteral("STATUS: OVERRUNG"));
    else if (!Prepared())
        lines.append(m_empNum.isEmpty() ? QStringLiteral("STATUS: WAITING")
                                        : QStringLiteral("WAITING FOR ") + m_empNum);
    else
        lines.append(m_empNum.isEmpty() ? QStringLiteral("STATUS: PREPARED")
                                        : QStringLiteral("PREPARED BY ") + m_empNum);

    const TLineitem *items = Lineitems();
    for (int i = 0; i < items->Count(); ++i) {
        const TLineitemItem *item = items->Items(i);
        // The shortest general form: 2, 1.5.
        QString line = QString::number(item->Quantity(), 'g', 15);
        if (m_displaySize)
            line += QLatin1Char(' ') + item->Size();
        line += QLatin1Char(' ') + item->ItemDesc();
        lines.append(line);
    }
}

TGridCoord TDisplayInvoice::NextCell(TGridCoord cell) const
{
    if (cell.Row < m_stringGrid->RowCount() - 1)
        return {cell.Col, cell.Row + 1};
    if (cell.Col < m_stringGrid->ColCount() - 1)
        return {cell.Col + 1, 0};
    return cell; // the grid's last cell has no successor
}

bool TDisplayInvoice::StartCellFree(TGridCoord cell) const
{
    void *object = m_stringGrid->Objects(cell.Col, cell.Row);
    if (!object)
        return true;
    if (object == static_cast<const void *>(this))
        return false;
    const auto *orders = dynamic_cast<const TDisplayInvoices *>(Collection());
    const TDisplayInvoice *other = orders ? orders->OrderInCell(*m_stringGrid, cell) : nullptr;
    return !other || other->InvoiceNum() != InvoiceNum();
}

bool TDisplayInvoice::Fits(int &spare)
{
    spare = m_expanded ? Rows() : 1;
    if (!m_stringGrid)
        return false;
    const int rowCount = m_stringGrid->RowCount();
    const int colCount = m_stringGrid->ColCount();
    const TGridCoord cell = m_position;
    if (cell.Col < 0 || cell.Row < 0 || cell.Col >= colCount || cell.Row >= rowCount)
        return false; // outside the grid (it shrank under the order)

    // A block that ends in the bottom row does not count as fitting in its column.
    if (spare + cell.Row <= rowCount - 1) {
        spare = rowCount - spare;
        return true;
    }
    // It runs on into the next column, unless the start cell already holds this order
    // (a redraw in place), whose column is then full.
    if (cell.Col < colCount - 1 && StartCellFree(cell)) {
        spare = -1;
        return true;
    }
    if (m_expanded) {
        m_expanded = false;
        return cell.Row + 1 <= rowCount - 1;
    }
    return false;
}

void TDisplayInvoice::SetPosition(TGridCoord cell)
{
    // Always where the layout puts it: whether the order fits there is Draw's question.
    // (Keeping an order where it was drawn before leaves it hidden in a full corner while
    // there is room, or drawn across the orders placed before it.)
    m_position = cell;
}

void TDisplayInvoice::SetColours(int highlight)
{
    m_itemColors.Font.Bold = true;
    m_headerColors.Font.Size = m_fontSize;
    m_itemColors.Font.Size = m_fontSize;

    TColor text;
    TColor back;
    if (!Prepared()) {
        const bool selected = m_selected || highlight == InvoiceNum();
        const bool employee = !m_empNum.isEmpty();
        if (selected) {
            text = employee ? m_empColour : m_textColour;
            back = employee ? m_textColour : m_selectColour;
        } else {
            text = m_textColour;
            back = employee ? m_empColour : m_backColour;
        }
    } else {
        text = m_cTextColour;
        back = m_selected ? m_cSelectColour : m_cBackColour;
    }
    m_headerColors.Font.Color = text;
    m_itemColors.Font.Color = text;
    m_headerColors.Colour = back;
    m_itemColors.Colour = back;

    if (Overrung())
        m_headerColors.Font.Color = clRed;
}

bool TDisplayInvoice::Draw(int highlight)
{
    int spare = 0;
    if (!Fits(spare)) {
        m_queued = true;
        return false;
    }
    m_queued = false;
    TGridCoord cell = m_position;

    // The first order of the grid is always shown in full.
    if (m_autoExpand || cell == TGridCoord {0, 0})
        m_expanded = true;

    QStringList lines;
    BuildLines(lines);
    if (lines.size() == 2)
        return false; // nothing to cook: never drawn

    // Every line is written from the header on. (Starting a block at the top of a later
    // column with a line further down would leave an order without its header.)
    SetColours(highlight);
    TStringAlignGrid &grid = *m_stringGrid;
    void *object = static_cast<TDisplayInvoice *>(this);
    for (int i = 0; i < lines.size(); ++i) {
        if (i == 0) {
            // The header is drawn in reverse: text in the background colour on a field of
            // the text colour (an overrung order's header on red).
            grid.SetCellColor(cell.Col, cell.Row, m_headerColors.Font.Color);
            grid.SetCellFont(cell.Col, cell.Row, m_headerColors.Font);
            grid.SetCellFontColor(cell.Col, cell.Row, m_headerColors.Colour);
        } else if (m_expanded) {
            const TCellColors &colors = i == 1 ? m_headerColors : m_itemColors;
            grid.SetCellColor(cell.Col, cell.Row, colors.Colour);
            grid.SetCellFont(cell.Col, cell.Row, colors.Font);
        } else {
            continue;
        }
        grid.SetCells(cell.Col, cell.Row, lines[i]);
        grid.SetObjects(cell.Col, cell.Row, object);
        cell = NextCell(cell);
    }
    m_endPosition = cell;
    return true;
}

// ---- TDisplayInvoices ----

TDisplayInvoices::TDisplayInvoices(TItemClass itemClass)
    : TInvoices(itemClass)
{ }

TDisplayInvoice *TDisplayInvoices::NewItem()
{
    return static_cast<TDisplayInvoice *>(Add());
}

void TDisplayInvoices::SetAutoExpand(bool value)
{
    if (value == m_autoExpand)
        return;
    m_autoExpand = value;
    for (int i = 0; i < Count(); ++i)
        Items(i)->SetAutoExpand(value);
}

TDisplayInvoice *TDisplayInvoices::OrderInCell(const TStringAlignGrid &grid, TGridCoord cell) const
{
    if (cell.Col < 0 || cell.Col >= grid.ColCount() || cell.Row < 0 || cell.Row >= grid.RowCount())
        return nullptr;
    void *object = grid.Objects(cell.Col, cell.Row);
    if (!object)
        return nullptr;
    for (int i = 0; i < Count(); ++i) {
        if (static_cast<void *>(Items(i)) == object)
            return Items(i);
    }
    return nullptr;
}

void TDisplayInvoices::ItemCreated(TRootCollectionItem *item)
{
    TInvoices::ItemCreated(item);
    if (auto *order = dynamic_cast<TDisplayInvoice *>(item))
        order->SetAutoExpand(m_autoExpand);
}
