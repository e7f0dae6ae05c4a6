#pragma once

// Item labels: when the kitchen finishes an order, one adhesive label per labelled product
// on the till's label printer, naming the order, the product, its size, a summary of its
// extras, its place in the order ("Item 2 of 5") and, when asked for, the waiter.
//
// The products are read with one statement; extras (menu category "EXTRA" or "NONE") are
// folded into the product before them. The labels are drawn through TPrintObject on the
// process-wide printer, one label (or a pair side by side) per page.
//
// Main thread only. Failures are raised to the caller: EZXException for a label printer that
// is not installed, platform::DbError from the statement, platform::ConvertError for a label
// margin that is not a number, platform::PrinterError from the printer. A job that was
// started is ended on every way out.

#include "framework/clsRootCollection.h"

#include <QString>
#include <QStringList>

namespace platform {
class SqlConnection;
class SqlQuery;
} // namespace platform

// The label items of the till's settings, as the settings store holds them: raw text,
// converted (and failing) here when a label is printed. The defaults are the items' own.
struct TLabelSettings
{
    QString LabelDevice = QStringLiteral("LPT1"); // "PLABEL DEV"; empty: no label printing
    QString LabelMargin = QStringLiteral("0.6"); // "PRINT LABEL MARGIN": inches from the left
    QString SideBySide = QStringLiteral("1"); // "PRINT SIDEBYSIDE": Boolean, two labels across
    QString WaiterDetails = QStringLiteral("0"); // "WAITER DETAILS": Boolean, the waiter line
};

// One product to be labelled.
class TProductEx : public TRootCollectionItem
{
public:
    explicit TProductEx(TRootCollection *collection = nullptr);

    QString ClassName() const override { return QStringLiteral("TProductEx"); }

    const QString &LabelDesc() const { return m_labelDesc; } // the label title
    void SetLabelDesc(const QString &value) { m_labelDesc = value; }
    const QString &Size() const { return m_size; }
    void SetSize(const QString &value) { m_size = value; }
    // The label titles of the extras that follow the product, in result order.
    QStringList &Extras() { return m_extras; }
    const QStringList &Extras() const { return m_extras; }

private:
    QString m_labelDesc;
    QString m_size;
    QStringList m_extras;
};

// The products of one run, in the order they were added; not bound to a table.
class TProductsEx : public TRootCollection
{
public:
    TProductsEx();

    TProductEx *Items(int index) const
    {
        return static_cast<TProductEx *>(TRootCollection::Items(index));
    }
    TProductEx *Add() override { return static_cast<TProductEx *>(TRootCollection::Add()); }
    TProductEx *Add(const QString &labelDesc, const QString &size);
};

// The face, and the width in printer dots every left-hand label line is fitted to.
inline constexpr const char *kLabelFontName = "Arial Narrow";
inline constexpr int kLabelWidthDots = 320;

// The statement that reads an invoice's labelled line items: one row per line item whose
// price record has a label title and at least one printer link, in line order. A sized
// product's line matches the price record of its own size; when none of the product's
// records has that size, every record of the code takes part.
QString InvoiceLabelsSQL(int invoiceNum);

// Folds the rows of InvoiceLabelsSQL (from the first to the last) into products: a row of
// category "EXTRA" or "NONE" (letter case and surrounding blanks ignored) is an extra of the
// product before it; an extra with no product before it also starts a product of its own.
void ReadLabelProducts(platform::SqlQuery &rows, TProductsEx &products);

// The summary line of a product's extras: the first extra cut to 25 characters, then each
// further extra after a comma, cut to what is left of 25 characters less one per extra so
// far; ",..." when anything was cut off.
QString LabelExtrasSummary(const QStringList &extras);

// Prints the labels of one invoice with OrderNum on every label. Nothing happens, and
// nothing is reported, when the invoice has no labelled line item or no label printer is
// configured. The waiter line is printed when "WAITER DETAILS" is on and waiter is not empty
// (the kitchen monitor passes an empty name). Returns when the print job has ended.
void PrintInvoiceLabels(platform::SqlConnection &connection, const TLabelSettings &settings,
                        int invoiceNum, int orderNum, const QString &waiter);

// Prints one label per product (two per page side by side). Finds the label printer among
// the installed printers without regard to letter case and leaves it the current printer.
void PrintProductLabels(const TLabelSettings &settings, int orderNum, const TProductsEx &products,
                        const QString &waiter);
