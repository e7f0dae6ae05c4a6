#pragma once

// The dialog that registers this machine as a till: shows the machine's name, drive serial
// and logon name, proposes the next number (the highest registered plus one, 1 to 10) and
// refuses a number already registered. Shown through the dialog seam as "TillSetup".
// The connection is not owned. Main thread only.

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace platform {
class SqlConnection;
}

class TfrmTillIDSetup : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmTillIDSetup(QWidget *parent = nullptr);

    platform::SqlConnection *AdoConnection() const { return m_connection; }
    void SetAdoConnection(platform::SqlConnection *connection) { m_connection = connection; }
    const QString &ComputerName() const { return m_computerName; }
    const QString &HDSerial() const { return m_hdSerial; }
    const QString &UserName() const { return m_userName; }
    int TillID() const { return m_tillID; } // after OK: the number to register

    QSpinBox *spin = nullptr;
    QLabel *lblComputerName = nullptr;
    QLabel *lblHDSerial = nullptr;
    QLabel *lblUserName = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;
    QGroupBox *grpTillFor = nullptr; // hidden: the dialog registers the machine it runs on

    // Fills the dialog as it is shown, then shows it modally; returns the modal result.
    int Execute();
    // What showing the dialog does: reads the machine's facts and proposes the next number.
    void FormShow();

private:
    void GetNextTillID();
    void btnOKClick();

    platform::SqlConnection *m_connection = nullptr;
    QString m_computerName;
    QString m_hdSerial;
    QString m_userName;
    int m_tillID = 0;
};
