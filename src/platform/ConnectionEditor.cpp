#include "ConnectionEditor.h"

#include "ConnectionString.h"
#include "DbError.h"
#include "DbSchema.h"
#include "DialogSeam.h"
#include "SqlConnection.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace platform {


QString ComposeSqlServerString(const QString &server, int port, const QString &database,
                               const QString &user, const QString &password)
{
    QString source = server;
    if (port > 0)
        source += QLatin1Char(',') + QString::number(port);
    return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=True;User ID=")
           + ConnectionString::QuoteValue(user) + QStringLiteral(";Password=") + ConnectionString::QuoteValue(password)
           + QStringLiteral(";Initial Catalog=") + ConnectionString::QuoteValue(database)
           + QStringLiteral(";Data Source=") + ConnectionString::QuoteValue(source) + QLatin1Char(';');
}

ConnectionEditorDialog::ConnectionEditorDialog(const QString &initial, const QString &caption,
                                               QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(caption.isEmpty() ? QStringLiteral("Data Link Properties") : caption);
    auto *layout = new QVBoxLayout(this);
    m_sqlServer = new QRadioButton(QStringLiteral("Microsoft SQL Server"), this);
    m_sqlite = new QRadioButton(QStringLiteral("SQLite database file"), this);
    auto *kinds = new QHBoxLayout;
    kinds->addWidget(m_sqlServer);
    kinds->addWidget(m_sqlite);
    layout->addLayout(kinds);

    m_pages = new QStackedWidget(this);
    auto *serverPage = new QWidget(m_pages);
    auto *serverForm = new QFormLayout(serverPage);
    m_server = new QLineEdit(serverPage);
    m_port = new QSpinBox(serverPage);
    m_port->setRange(0, 65535);
    m_port->setSpecialValueText(QStringLiteral("default"));
    m_database = new QLineEdit(serverPage);
    m_user = new QLineEdit(serverPage);
    m_password = new QLineEdit(serverPage);
    m_password->setEchoMode(QLineEdit::Password);
    m_sqlServer->setObjectName(QStringLiteral("radSqlServer"));
    m_sqlite->setObjectName(QStringLiteral("radSqlite"));
    m_server->setObjectName(QStringLiteral("txtServer"));
    m_port->setObjectName(QStringLiteral("sePort"));
    m_database->setObjectName(QStringLiteral("txtDatabase"));
    m_user->setObjectName(QStringLiteral("txtUser"));
    m_password->setObjectName(QStringLiteral("txtPassword"));
    serverForm->addRow(QStringLiteral("Server:"), m_server);
    serverForm->addRow(QStringLiteral("Port:"), m_port);
    serverForm->addRow(QStringLiteral("Database:"), m_database);
    serverForm->addRow(QStringLiteral("User name:"), m_user);
    serverForm->addRow(QStringLiteral("Password:"), m_password);
    auto *filePage = new QWidget(m_pages);
    auto *fileForm = new QHBoxLayout(filePage);
    m_file = new QLineEdit(filePage);
    m_file->setObjectName(QStringLiteral("txtFile"));
    auto *browse = new QPushButton(QStringLiteral("Browse..."), filePage);
    fileForm->addWidget(new QLabel(QStringLiteral("File:"), filePage));
    fileForm->addWidget(m_file);
    fileForm->addWidget(browse);
    m_pages->addWidget(serverPage);
    m_pages->addWidget(filePage);
    layout->addWidget(m_pages);

    m_other = new QLabel(this);
    m_other->setWordWrap(true);
    layout->addWidget(m_other);

    auto *testRow = new QHBoxLayout;
    auto *test = new QPushButton(QStringLiteral("Test connection"), this);
    test->setObjectName(QStringLiteral("btnTestConnection"));
    m_result = new QLabel(this);
    m_result->setWordWrap(true);
    testRow->addWidget(test);
    testRow->addWidget(m_result, 1);
    layout->addLayout(testRow);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);

    connect(m_sqlServer, &QRadioButton::toggled, this, [this](bool on) { m_pages->setCurrentIndex(on ? 0 : 1); });
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString f = QFileDialog::getOpenFileName(this, QStringLiteral("Database file"), m_file->text());
        if (!f.isEmpty())
            m_file->setText(f);
    });
    connect(test, &QPushButton::clicked, this, [this] { TestConnection(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    Load(initial);
    resize(480, sizeHint().height());
}

QString ConnectionEditorDialog::Result() const
{
    if (!m_otherString.isEmpty() && !m_touched)
        return m_otherString;
    if (m_sqlite->isChecked())
        return SqliteConnectionString(m_file->text().trimmed());
    return ComposeSqlServerString(m_server->text().trimmed(), m_port->value(), m_database->text().trimmed(),
                                  m_user->text(), m_password->text());
}

void ConnectionEditorDialog::Load(const QString &initial)
{
    const ConnectionString cs(initial);
    const QString provider = cs.Value(QStringLiteral("Provider"));
    if (provider.compare(QLatin1String("SQLite"), Qt::CaseInsensitive) == 0) {
        m_sqlite->setChecked(true);
        m_file->setText(cs.Value(QStringLiteral("Data Source")));
    } else {
        m_sqlServer->setChecked(true);
        QString source = cs.Value(QStringLiteral("Data Source"));
        if (const int comma = source.indexOf(QLatin1Char(',')); comma >= 0) {
            m_port->setValue(source.mid(comma + 1).trimmed().toInt());
            source = source.left(comma);
        }
        m_server->setText(source);
        m_database->setText(cs.Value(QStringLiteral("Initial Catalog")));
        m_user->setText(cs.Value(QStringLiteral("User ID")));
        m_password->setText(cs.Value(QStringLiteral("Password")));
        if (!provider.isEmpty() && !provider.startsWith(QLatin1String("SQLOLEDB"), Qt::CaseInsensitive)) {
            // A string this editor cannot show field by field is kept unless edited.
            m_otherString = initial;
            m_other->setText(QStringLiteral("Current string (kept unless you change a field):\n") + initial);
        }
    }
    if (m_otherString.isEmpty())
        m_other->hide();
    for (QLineEdit *e : {m_server, m_database, m_user, m_password, m_file})
        connect(e, &QLineEdit::textEdited, this, [this] { m_touched = true; });
    connect(m_port, &QSpinBox::valueChanged, this, [this] { m_touched = true; });
    connect(m_sqlServer, &QRadioButton::toggled, this, [this] { m_touched = true; });
}

void ConnectionEditorDialog::TestConnection()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QString text;
    try {
        SqlConnection con;
        con.Open(Result());
        text = QStringLiteral("Test connection succeeded.");
    } catch (const DbError &e) {
        text = QStringLiteral("Test connection failed: ") + e.Message();
    }
    QGuiApplication::restoreOverrideCursor();
    m_result->setText(text);
}

QString EditConnectionStringDialog(const QString &initial, const QString &caption)
{
    DialogRequest request;
    request.Kind = QStringLiteral("ConnectionEditor");
    request.Text = initial;
    request.Caption = caption;
    request.Buttons = MsgDlgButtons{mbOK, mbCancel};
    const DialogAnswer answer = RunModal(request, [&] {
        ConnectionEditorDialog dialog(initial, caption);
        const int r = dialog.exec();
        return r == QDialog::Accepted ? DialogAnswer(mrOk, dialog.Result()) : DialogAnswer(mrCancel);
    });
    if (answer.Result == mrOk && answer.Value.isValid())
        return answer.Value.toString();
    return initial;
}

} // namespace platform
