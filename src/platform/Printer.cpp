#include "platform/Printer.h"

#include "platform/QtPrintDevice.h"
#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextStream>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <future>
#include <thread>

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {

const QString kVelaKey = QStringLiteral("\\Software\\Zentrix\\Vela");
const QString kPdfPrintersValue = QStringLiteral("PdfPrinters");

std::shared_ptr<PrinterSystem> &InstalledSystem()
{
    static std::shared_ptr<PrinterSystem> system;
    return system;
}

// --- the CUPS server --------------------------------------------------------------------

QString ServerNameFromClientConf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1String("ServerName"), Qt::CaseInsensitive)) {
            const QString value = line.mid(10).trimmed();
            if (!value.isEmpty() && line.size() > 10 && line.at(10).isSpace())
                return value;
        }
    }
    return QString();
}

QString ConfiguredCupsServer()
{
    const QString env = qEnvironmentVariable("CUPS_SERVER").trimmed();
    if (!env.isEmpty())
        return env;
    const QString user
        = ServerNameFromClientConf(QDir::homePath() + QStringLiteral("/.cups/client.conf"));
    if (!user.isEmpty())
        return user;
    return ServerNameFromClientConf(QStringLiteral("/etc/cups/client.conf"));
}

bool IsLocalServer(const QString &host)
{
    return host.isEmpty() || host.startsWith(QLatin1Char('/'))
        || host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0
        || host.startsWith(QLatin1String("127.")) || host == QLatin1String("::1");
}

// "host", "host:port", "[v6]:port", each optionally followed by "/version=...".
void SplitServer(QString server, QString &host, QString &port)
{
    const int slash = server.indexOf(QLatin1Char('/'), 1);
    if (slash > 0)
        server.truncate(slash);
    port = QStringLiteral("631");
    if (server.startsWith(QLatin1Char('['))) {
        const int close = server.indexOf(QLatin1Char(']'));
        host = server.mid(1, close - 1);
        if (close > 0 && server.mid(close + 1).startsWith(QLatin1Char(':')))
            port = server.mid(close + 2);
    } else if (server.count(QLatin1Char(':')) == 1) {
        host = server.section(QLatin1Char(':'), 0, 0);
        port = server.section(QLatin1Char(':'), 1);
    } else {
        host = server;
    }
}

// Blocking; run on a helper thread. Name lookup included.
bool TcpConnects(const std::string &host, const std::string &port, int timeoutMs)
{
    addrinfo hints {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (getaddrinfo(host.c_str(), port.c_str(), &hints, &found) != 0 || !found)
        return false;
    bool connected = false;
    for (addrinfo *a = found; a && !connected; a = a->ai_next) {
        const int fd
            = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0)
            continue;
        int rc = connect(fd, a->ai_addr, a->ai_addrlen);
        if (rc == 0) {
            connected = true;
        } else if (errno == EINPROGRESS) {
            pollfd p {fd, POLLOUT, 0};
            if (poll(&p, 1, timeoutMs) == 1) {
                int error = 0;
                socklen_t length = sizeof error;
                connected
                    = getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
            }
        }
        close(fd);
    }
    freeaddrinfo(found);
    return connected;
}

void WarnOnceUnreachable(const QString &server)
{
    static QString warned;
    if (warned == server)
        return;
    warned = server;
    qWarning("The print server %s does not answer; its printers are left out. Check the "
             "network or CUPS_SERVER / client.conf.",
             qPrintable(server));
}

} // namespace

// --- fonts ------------------------------------------------------------------------------

void InstallPrintFontSubstitutes()
{
    static bool installed = false;
    if (installed || !QGuiApplication::instance())
        return;
    installed = true;
    const struct
    {
        const char *windowsFace;
        const char *substitute;
    } faces[] = {
        {"Arial Narrow", "Liberation Sans Narrow"},
        {"Arial", "Liberation Sans"},
    };
    for (const auto &face : faces) {
        const QString windowsFace = QString::fromLatin1(face.windowsFace);
        const QString substitute = QString::fromLatin1(face.substitute);
        if (!QFontDatabase::hasFamily(windowsFace) && QFontDatabase::hasFamily(substitute))
            QFont::insertSubstitution(windowsFace, substitute);
    }
}

QFont ToQFont(const PrintFont &font)
{
    QFont f(font.name);
    f.setPointSizeF(font.size > 0 ? font.size : 1);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeOut);
    return f;
}

// --- the machine's printers -------------------------------------------------------------

QList<MachinePrinters::PdfPrinter> MachinePrinters::ParsePdfPrinters(const QString &value)
{
    QList<PdfPrinter> printers;
    const QStringList entries = value.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &entry : entries) {
        const int equals = entry.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        PdfPrinter printer {entry.left(equals).trimmed(), entry.mid(equals + 1).trimmed()};
        if (printer.name.isEmpty() || printer.file.isEmpty())
            continue;
        const bool repeated = std::any_of(printers.cbegin(), printers.cend(), [&](const auto &p) {
            return p.name.compare(printer.name, Qt::CaseInsensitive) == 0;
        });
        if (!repeated)
            printers.append(printer);
    }
    return printers;
}

QList<MachinePrinters::PdfPrinter> MachinePrinters::PdfPrinters()
{
    Registry registry;
    const std::optional<QString> value
        = registry.ReadString(RegistryRoot::LocalMachine, kVelaKey, kPdfPrintersValue);
    return value ? ParsePdfPrinters(*value) : QList<PdfPrinter>();
}

QStringList MachinePrinters::PrinterNames()
{
    const QList<PdfPrinter> pdf = PdfPrinters();
    QStringList names;
    if (CupsServerReachable(kServerTimeoutMs)) {
        for (const QString &queue : QPrinterInfo::availablePrinterNames()) {
            const bool hidden = std::any_of(pdf.cbegin(), pdf.cend(), [&](const auto &p) {
                return p.name.compare(queue, Qt::CaseInsensitive) == 0;
            });
            if (!hidden)
                names.append(queue);
        }
    }
    for (const PdfPrinter &printer : pdf)
        names.append(printer.name);
    return names;
}

QString MachinePrinters::DefaultPrinterName()
{
    if (!CupsServerReachable(kServerTimeoutMs))
        return QString();
    return QPrinterInfo::defaultPrinterName();
}

std::unique_ptr<PrintDevice> MachinePrinters::CreateDevice(const QString &name)
{
    for (const PdfPrinter &printer : PdfPrinters()) {
        if (printer.name.compare(name, Qt::CaseInsensitive) == 0)
            return std::make_unique<PdfFileDevice>(
                printer.name, printer.file, QSizeF(kPdfLabelWidthInches, kPdfLabelHeightInches),
                kPdfDpi);
    }
    if (!CupsServerReachable(kServerTimeoutMs))
        throw PrinterError(QStringLiteral("The print server of printer [%1] cannot be reached. "
                                          "Check the network and the print server.")
                               .arg(name));
    QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull()) {
        for (const QString &queue : QPrinterInfo::availablePrinterNames()) {
            if (queue.compare(name, Qt::CaseInsensitive) == 0)
                info = QPrinterInfo::printerInfo(queue);
        }
    }
    if (info.isNull())
        throw PrinterError(QStringLiteral("The printer [%1] is not installed.").arg(name));
    if (info.state() == QPrinter::Error)
        throw PrinterError(QStringLiteral("The printer [%1] is stopped or cannot be reached. "
                                          "Check the printer and resume it in the print "
                                          "settings.")
                               .arg(name));
    return std::make_unique<QPrinterDevice>(
        std::make_unique<QPrinter>(info, QPrinter::HighResolution), info.printerName());
}

bool CupsServerReachable(int timeoutMs)
{
    const QString server = ConfiguredCupsServer();
    QString host;
    QString port;
    SplitServer(server, host, port);
    if (IsLocalServer(host))
        return true;

    // The name lookup cannot be given a timeout, so the whole probe runs on a helper thread
    // that is left to finish on its own when it takes too long.
    auto result = std::make_shared<std::promise<bool>>();
    std::future<bool> answer = result->get_future();
    std::thread([result, h = host.toStdString(), p = port.toStdString(), timeoutMs] {
        result->set_value(TcpConnects(h, p, timeoutMs));
    }).detach();
    const bool reachable
        = answer.wait_for(std::chrono::milliseconds(timeoutMs)) == std::future_status::ready
        && answer.get();
    if (!reachable)
        WarnOnceUnreachable(server);
    return reachable;
}

// --- the seam ---------------------------------------------------------------------------

std::shared_ptr<PrinterSystem> SetPrinterSystem(std::shared_ptr<PrinterSystem> system)
{
    Printer::Instance().Abort();
    std::shared_ptr<PrinterSystem> previous = std::move(InstalledSystem());
    InstalledSystem() = std::move(system);
    return previous;
}

PrinterSystem &CurrentPrinterSystem()
{
    std::shared_ptr<PrinterSystem> &system = InstalledSystem();
    if (!system)
        system = std::make_shared<MachinePrinters>();
    return *system;
}

// --- the printer object -----------------------------------------------------------------

Printer &Printer::Instance()
{
    static Printer printer;
    return printer;
}

QStringList Printer::Printers() const
{
    return CurrentPrinterSystem().PrinterNames();
}

void Printer::BeginDoc(const QString &title)
{
    if (m_device)
        throw PrinterError(QStringLiteral("A print job is already running."));
    InstallPrintFontSubstitutes();
    QString name = m_printerName;
    if (name.isEmpty())
        name = CurrentPrinterSystem().DefaultPrinterName();
    if (name.isEmpty())
        throw PrinterError(QStringLiteral("No printer is chosen and this machine has no default "
                                          "printer. Install a printer or choose one."));
    std::unique_ptr<PrintDevice> device = CurrentPrinterSystem().CreateDevice(name);
    device->BeginDoc(title);
    m_device = std::move(device);
    m_pageNumber = 1;
}

void Printer::NewPage()
{
    Device().NewPage();
    ++m_pageNumber;
}

void Printer::EndDoc()
{
    std::unique_ptr<PrintDevice> device = std::move(m_device);
    m_pageNumber = 0;
    if (!device)
        throw PrinterError(QStringLiteral("No print job is running."));
    device->EndDoc();
}

void Printer::Abort()
{
    std::unique_ptr<PrintDevice> device = std::move(m_device);
    m_pageNumber = 0;
    if (device)
        device->Abort();
}

PrintDevice &Printer::Device()
{
    if (!m_device)
        throw PrinterError(QStringLiteral("No print job is running."));
    return *m_device;
}

} // namespace platform
