#include "platform/QtPrintDevice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform {

// --- QPrinterDevice ---------------------------------------------------------------------

QPrinterDevice::QPrinterDevice(std::unique_ptr<QPrinter> printer, const QString &displayName)
    : m_printer(std::move(printer))
    , m_displayName(displayName)
{
    InstallPrintFontSubstitutes();
    m_dpiX = m_printer->logicalDpiX();
    m_dpiY = m_printer->logicalDpiY();
    const QRectF paper = m_printer->paperRect(QPrinter::DevicePixel);
    const QRectF page = m_printer->pageRect(QPrinter::DevicePixel);
    m_physical = QSize(qRound(paper.width()), qRound(paper.height()));
    m_offset = QPoint(qRound(page.left() - paper.left()), qRound(page.top() - paper.top()));
    m_printable = QSize(qRound(page.width()), qRound(page.height()));
    SetFont(PrintFont());
}

QPrinterDevice::~QPrinterDevice()
{
    if (m_painter)
        QPrinterDevice::Abort();
}

void QPrinterDevice::BeginDoc(const QString &title)
{
    if (m_painter)
        throw PrinterError(
            QStringLiteral("A print job is already running on printer [%1].").arg(m_displayName));
    m_printer->setDocName(title);
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(m_printer.get()))
        throw PrinterError(QStringLiteral("Printing could not start on printer [%1]. Check that "
                                          "the printer is ready.")
                               .arg(m_displayName));
    painter->setFont(m_qfont);
    m_painter = std::move(painter);
}

void QPrinterDevice::NewPage()
{
    if (!m_painter)
        throw PrinterError(QStringLiteral("No print job is running."));
    if (!m_printer->newPage())
        throw PrinterError(
            QStringLiteral("Printer [%1] could not start a new page.").arg(m_displayName));
}

bool QPrinterDevice::FinishPainting()
{
    if (!m_painter)
        return true;
    const bool ended = m_painter->end();
    m_painter.reset();
    return ended && m_printer->printerState() != QPrinter::Error;
}

void QPrinterDevice::EndDoc()
{
    if (!m_painter)
        throw PrinterError(QStringLiteral("No print job is running."));
    if (!FinishPainting())
        throw PrinterError(
            QStringLiteral("Printer [%1] could not finish the document.").arg(m_displayName));
}

void QPrinterDevice::Abort()
{
    if (!m_painter)
        return;
    m_printer->abort(); // where the engine supports it; the painter ends either way
    m_painter->end();
    m_painter.reset();
}

void QPrinterDevice::SetFont(const PrintFont &font)
{
    m_font = font;
    m_qfont = ToQFont(font);
    m_metrics.emplace(m_qfont, m_printer.get());
    if (m_painter)
        m_painter->setFont(m_qfont);
}

TextMetrics QPrinterDevice::GetTextMetrics() const
{
    return TextMetrics {m_metrics->ascent() + m_metrics->descent(),
                        std::max(0, m_metrics->leading())};
}

int QPrinterDevice::TextWidth(const QString &text) const
{
    return m_metrics->horizontalAdvance(text);
}

void QPrinterDevice::TextOut(int x, int y, const QString &text)
{
    if (!m_painter)
        throw PrinterError(QStringLiteral("No print job is running."));
    // Qt places text on its baseline, Windows by the top of its cell.
    m_painter->drawText(QPointF(x, y + m_metrics->ascent()), text);
}

// --- PdfFileDevice ----------------------------------------------------------------------

namespace {

std::unique_ptr<QPrinter> MakePdfPrinter(QSizeF pageInches, int dpi)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setResolution(dpi);
    printer->setPageLayout(QPageLayout(QPageSize(pageInches, QPageSize::Inch),
                                       QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                       QPageLayout::Inch));
    return printer;
}

} // namespace

PdfFileDevice::PdfFileDevice(const QString &printerName, const QString &file, QSizeF pageInches,
                             int dpi)
    : QPrinterDevice(MakePdfPrinter(pageInches, dpi), printerName)
    , m_file(QFileInfo(file).absoluteFilePath())
{ }

PdfFileDevice::~PdfFileDevice()
{
    PdfFileDevice::Abort();
}

void PdfFileDevice::BeginDoc(const QString &title)
{
    const QFileInfo target(m_file);
    const QDir folder = target.absoluteDir();
    if (!folder.exists())
        throw PrinterError(QStringLiteral("The PDF printer [%1] cannot write %2: the folder does "
                                          "not exist. Create it or change the printer's path.")
                               .arg(DisplayName(), m_file));
    QTemporaryFile part(folder.filePath(QStringLiteral(".%1-XXXXXX.pdf").arg(target.fileName())));
    part.setAutoRemove(false);
    if (!part.open())
        throw PrinterError(QStringLiteral("The PDF printer [%1] cannot write %2: %3")
                               .arg(DisplayName(), m_file, part.errorString()));
    part.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                        | QFileDevice::ReadOther);
    m_partFile = part.fileName();
    part.close();
    QtPrinter().setOutputFileName(m_partFile);
    try {
        QPrinterDevice::BeginDoc(title);
    } catch (...) {
        QFile::remove(m_partFile);
        m_partFile.clear();
        throw;
    }
}

void PdfFileDevice::EndDoc()
{
    const QString part = m_partFile;
    if (part.isEmpty())
        throw PrinterError(QStringLiteral("No print job is running."));
    m_partFile.clear();
    if (!FinishPainting()) {
        QFile::remove(part);
        throw PrinterError(
            QStringLiteral("The PDF printer [%1] could not write %2.").arg(DisplayName(), m_file));
    }
    // rename() replaces the old file in one step: a reader sees the old or the new job.
    if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(m_file).constData())
        != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(part);
        throw PrinterError(QStringLiteral("The PDF printer [%1] could not replace %2: %3")
                               .arg(DisplayName(), m_file, reason));
    }
}

void PdfFileDevice::Abort()
{
    QPrinterDevice::Abort();
    if (!m_partFile.isEmpty()) {
        QFile::remove(m_partFile);
        m_partFile.clear();
    }
}

} // namespace platform
