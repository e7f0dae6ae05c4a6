#pragma once

// The settings the kitchen monitor reads besides its connection string, as the demo shop
// sets them up: the label printer of till 1, the file behind that printer, and the
// monitor's display options.

#include <QString>
#include <QStringList>

namespace platform {
class SqlConnection;
}

namespace demo {

// The demo's label printer: a PDF file stands in for the adhesive-label printer.
inline const QString kLabelPrinter = QStringLiteral("Label Printer (PDF)");

// The registry key and value of the PDF printers: "Name=/path/file.pdf" pairs separated
// by ';' (HKEY_LOCAL_MACHINE).
inline const QString kVelaKey = QStringLiteral("\\Software\\Zentrix\\Vela");
inline const QString kPdfPrintersValue = QStringLiteral("PdfPrinters");
// The monitor's own display options (HKEY_LOCAL_MACHINE).
inline const QString kGalleyKey = QStringLiteral("\\SOFTWARE\\MOX\\Galley");

// The pairs with `name` pointing at `file`: its pair replaced in place (names compare
// without regard to case) or appended; the other pairs kept as they were, empty ones
// dropped.
QString WithPdfPrinter(const QString &pairs, const QString &name, const QString &file);

// Writes, into the registry store the process uses (VELA_REGISTRY_DIR) and the database:
// - the local setting "PLABEL DEV" of till 1 = kLabelPrinter (SysData, when missing);
// - PdfPrinters with kLabelPrinter = dataFolder + "/labels.pdf" (always);
// - the monitor's display options (3 columns, invoice numbers, poll every 5 seconds,
//   readable colours), each only when missing, so a user's own choices survive a rerun.
// Appends one line per thing done to `log`. Returns false, with the reason in `error`,
// when the registry store cannot be written. Database errors throw DbError.
bool WriteDemoSettings(platform::SqlConnection &connection, const QString &dataFolder,
                       QStringList *log, QString *error);

} // namespace demo
