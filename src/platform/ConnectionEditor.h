#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QStackedWidget;

namespace platform {

// Stands in for the data-link dialog: edits a connection string as an SQL Server
// connection (server, port, database, user, password) or an SQLite file, with a
// "Test connection" button. Runs through the dialog seam (kind "ConnectionEditor";
// Text = the initial string; a scripted answer's Value is the new string).
// Returns the edited string on OK and the initial string on Cancel.
QString EditConnectionStringDialog(const QString &initial, const QString &caption = QString());

// The SQL Server form of the suite ("Provider=SQLOLEDB.1;Persist Security Info=True;...")
// built from the editor's fields; port 0 leaves the server's default port. A value that
// would otherwise end or change the string (a ';', blanks at either end, a leading quote
// or brace) is written between double quotes, inner double quotes doubled.
QString ComposeSqlServerString(const QString &server, int port, const QString &database,
                               const QString &user, const QString &password);

// The editor's window, which EditConnectionStringDialog shows when no responder answers.
// Fields carry object names for tests: radSqlServer, radSqlite, txtServer, sePort,
// txtDatabase, txtUser, txtPassword, txtFile, btnTestConnection.
class ConnectionEditorDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ConnectionEditorDialog(const QString &initial, const QString &caption = QString(),
                                    QWidget *parent = nullptr);

    // The string the fields describe. A string this editor cannot show field by field
    // (another provider) comes back unchanged unless the user edited a field.
    QString Result() const;

private:
    void Load(const QString &initial);
    void TestConnection();

    QRadioButton *m_sqlServer;
    QRadioButton *m_sqlite;
    QStackedWidget *m_pages;
    QLineEdit *m_server;
    QSpinBox *m_port;
    QLineEdit *m_database;
    QLineEdit *m_user;
    QLineEdit *m_password;
    QLineEdit *m_file;
    QLabel *m_other;
    QLabel *m_result;
    QString m_otherString;
    bool m_touched = false;
};

} // namespace platform
