#include "printing/clsPrintLabels.h"

#include "printing/PrnMain.h"

#include "framework/clsEZXException.h"
#include "framework/clsSysData.h"
#include "platform/Printer.h"
#include "platform/SqlQuery.h"

#include <vector>

namespace {

const QChar CR(13);

// The first count characters, without cutting a character outside the basic plane in two.
QString LeftChars(const QString &text, qsizetype count)
{
    if (count <= 0)
        return QString();
    if (count >= text.size())
        return text;
    if (text.at(count - 1).isHighSurrogate() && text.at(count).isLowSurrogate())
        --count;
    return text.left(count);
}

// A "PLABEL DEV" value that names no printer: empty, or only blanks and the NUL marker
// that the settings store writes for an empty text.
bool NoPrinterConfigured(const QString &device)
{
    for (const QChar c : device) {
        if (!c.isNull() && !c.isSpace())
            return false;
    }
    return true;
}

// The installed printer of that name, compared without regard to letter case; raises the
// message the kitchen staff see when it is not there.
QString FindLabelPrinter(const QString &device)
{
    const QStringList installed = platform::Printer::Instance().Printers();
    for (const QString &name : installed) {
        if (name.compare(device, Qt::CaseInsensitive) == 0)
            return name;
    }
    QString list;
    for (const QString &name : installed)
        list += name + CR;
    if (installed.isEmpty())
        list = QStringLiteral("No windows printers available");
    throw EZXException(QStringLiteral("Failed to find the label printer [") + device
                       + QStringLiteral("] in the list of available windows printers") + CR + CR
                       + QStringLiteral("Available printers are...") + CR + CR + list);
}

// One label line: the left text fitted to the label width in the line's font, the right
// label's text (side by side) appended as it is, written at the margin.
void WriteLabelLine(TPrintObject &print, TSysDataItem &margin, int size, TFontStyles style,
                    const QString &left, bool pair, const QString &right, float y)
{
    print.SetFont(QString::fromLatin1(kLabelFontName), size, style);
    QString text = print.FitToWidth(left, QStringLiteral(" "), kLabelWidthDots);
    if (pair)
        text += right;
    // Read again for every line, as the setting is: a value that is not a number fails here.
    const float x = float(margin.AsFloat());
    print.WriteText(text, x, y);
}

} // namespace

// --- TProductEx, TProductsEx ------------------------------------------------------------

TProductEx::TProductEx(TRootCollection *collection)
    : TRootCollectionItem(collection)
{ }

TProductsEx::TProductsEx()
    : TRootCollection(&CreateItemOf<TProductEx>)
{ }

TProductEx *TProductsEx::Add(const QString &labelDesc, const QString &size)
{
    TProductEx *product = Add();
    product->SetLabelDesc(labelDesc);
    product->SetSize(size);
    return product;
}

// --- reading ----------------------------------------------------------------------------

namespace {

// Two sizes are the same when equal (the columns compare without regard to letter case),
// or both empty or missing. The columns are compared directly, not through IsNull, so that
// their collation applies.
QString SameSize(const char *a, const char *b)
{
    return QStringLiteral("(%1.[Size] = %2.[Size] OR (IsNull(%1.[Size], '') = '' AND "
                          "IsNull(%2.[Size], '') = ''))")
        .arg(QLatin1String(a), QLatin1String(b));
}

} // namespace

QString InvoiceLabelsSQL(int invoiceNum)
{
    // Sized products share their Code, one price record per size: matching the Code alone
    // would give a sized line one row (and one label) per size. The ORDER BY keeps extras
    // after the product they belong to.
    return QStringLiteral("SELECT LineItem.LineNum, Prices.LabelDesc, Prices.[Size], "
                          "Catmenu.Description FROM Prices JOIN LineItem ON LineItem.Code = "
                          "Prices.Code JOIN CatMenu ON Prices.CatMenuCode = CatMenu.CatMenuCode "
                          "JOIN PricesLinkPrinters ON Prices.Recipe = "
                          "PricesLinkPrinters.fkPricesID WHERE LineItem.InvoiceNum = ")
        + QString::number(invoiceNum) + QStringLiteral(" ")
        + QStringLiteral("AND LabelDesc IS NOT NULL ") + QStringLiteral("AND LabelDesc <> '' ")
        + QStringLiteral("AND (") + SameSize("LineItem", "Prices")
        + QStringLiteral(" OR NOT EXISTS (SELECT NULL FROM Prices SizePrices "
                         "WHERE SizePrices.Code = LineItem.Code AND ")
        + SameSize("SizePrices", "LineItem") + QStringLiteral(")) ")
        + QStringLiteral("GROUP BY LineItem.LineNum, Prices.LabelDesc, Prices.[Size], "
                         "Catmenu.Description")
        + QStringLiteral(" ORDER BY LineItem.LineNum");
}

void ReadLabelProducts(platform::SqlQuery &rows, TProductsEx &products)
{
    TProductEx *current = nullptr;
    for (rows.First(); !rows.Eof(); rows.Next()) {
        const QString category = rows.FieldByName(u"Description").AsString().toUpper().trimmed();
        const QString labelDesc = rows.FieldByName(u"LabelDesc").AsString();
        const QString size = rows.FieldByName(u"Size").AsString();
        const bool extra = category == QLatin1String("EXTRA") || category == QLatin1String("NONE");
        if (!extra) {
            current = products.Add(labelDesc, size);
            continue;
        }
        if (!current)
            current = products.Add(labelDesc, size);
        current->Extras().append(labelDesc);
    }
}

QString LabelExtrasSummary(const QStringList &extras)
{
    if (extras.isEmpty())
        return QString();
    QString summary = LeftChars(extras.at(0), 25);
    qsizetype total = extras.at(0).size();
    for (qsizetype j = 1; j < extras.size(); ++j) {
        // An extra that finds no room left still contributes its comma.
        summary += QLatin1Char(',') + LeftChars(extras.at(j), 25 - j - summary.size());
        total += extras.at(j).size();
    }
    if (summary.size() < total)
        summary += QStringLiteral(",...");
    return summary;
}

// --- printing ---------------------------------------------------------------------------

void PrintInvoiceLabels(platform::SqlConnection &connection, const TLabelSettings &settings,
                        int invoiceNum, int orderNum, const QString &waiter)
{
    // A query of its own: the shared runner's query may hold another caller's rows.
    platform::SqlQuery query(&connection);
    query.SetCursorLocation(platform::CursorLocation::Client);
    query.SetSQL(InvoiceLabelsSQL(invoiceNum));
    query.Open();
    if (query.IsEmpty())
        return;
    TProductsEx products;
    ReadLabelProducts(query, products);
    query.Close();
    PrintProductLabels(settings, orderNum, products, waiter);
}

void PrintProductLabels(const TLabelSettings &settings, int orderNum, const TProductsEx &products,
                        const QString &waiter)
{
    if (NoPrinterConfigured(settings.LabelDevice) || products.Count() == 0)
        return;

    const int count = products.Count();
    std::vector<QString> summaries;
    summaries.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
        summaries.push_back(LabelExtrasSummary(products.Items(i)->Extras()));

    // The settings read as the settings store reads them.
    TSysDataItem margin;
    margin.SetValue(settings.LabelMargin);
    TSysDataItem flag;
    flag.SetValue(settings.SideBySide);
    const bool sideBySide = flag.AsBoolean();
    flag.SetValue(settings.WaiterDetails);
    const bool waiterLine = flag.AsBoolean() && !waiter.isEmpty();

    platform::Printer::Instance().SetPrinterName(FindLabelPrinter(settings.LabelDevice));

    TPrintObject print;
    try {
        print.BeginJob();
        print.SetPageMargins(0, 0, 0, 0); // each margin falls back to the printer's gutter
        print.SetTextArea(0, 30);
        print.SetAutoNewPage(false);
        print.ResetLinePosition();

        const QString order = QStringLiteral("Order #: ") + QString::number(orderNum);
        const QString waiterText = QStringLiteral("Wtr:") + waiter;
        const QString ofCount = QStringLiteral(" of ") + QString::number(count);
        int n = 1;
        while (n <= count) {
            const bool pair = sideBySide && count - n > 0;
            const TProductEx *left = products.Items(n - 1);
            const TProductEx *right = pair ? products.Items(n) : left;
            const QString leftItem = QStringLiteral("Item ") + QString::number(n) + ofCount;
            const QString rightItem = QStringLiteral("Item ") + QString::number(n + 1) + ofCount;
            const QString &rightSummary = summaries[size_t(pair ? n : n - 1)];
            const float next = TPrintObject::kNextLine;

            WriteLabelLine(print, margin, 10, {}, order, pair, order, 0);
            WriteLabelLine(print, margin, 12, TFontStyle::fsBold, left->LabelDesc(), pair,
                           right->LabelDesc(), next);
            WriteLabelLine(print, margin, 10, {}, left->Size(), pair, right->Size(), next);
            WriteLabelLine(print, margin, 8, {}, summaries[size_t(n - 1)], pair, rightSummary,
                           next);
            WriteLabelLine(print, margin, 10, {}, leftItem, pair, rightItem, next);
            if (waiterLine)
                WriteLabelLine(print, margin, 10, {}, waiterText, pair, waiterText, next);

            if (pair)
                ++n;
            ++n;
            if (n <= count)
                print.StartNewPage();
        }
    } catch (...) {
        // The first error is the one to report; ending the job must not replace it.
        try {
            print.EndJob();
        } catch (...) { }
        throw;
    }
    print.EndJob();
}
