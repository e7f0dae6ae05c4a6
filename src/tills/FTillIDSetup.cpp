#include "FTillIDSetup.h"

#include "modTillID.h"

#include "framework/clsEZXException.h"
#include "framework/modMsgDlgs.h"

#include "platform/DialogSeam.h"
#include "platform/SqlQuery.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

TfrmTillIDSetup::TfrmTillIDSetup(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTillIDSetup"));
    setWindowTitle(QStringLiteral("Till Identification Setup"));
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    setFont(f);

    auto *layout = new QVBoxLayout(this);
    grpTillFor = new QGroupBox(QStringLiteral("Till ID Is For..."), this);
    grpTillFor->setObjectName(QStringLiteral("grpTillFor"));
    auto *grpLayout = new QVBoxLayout(grpTillFor);
    auto *radThis = new QRadioButton(QStringLiteral("This Computer"), grpTillFor);
    radThis->setChecked(true);
    grpLayout->addWidget(radThis);
    grpLayout->addWidget(new QRadioButton(QStringLiteral("Another Computer"), grpTillFor));
    grpTillFor->hide();
    layout->addWidget(grpTillFor);

    auto *form = new QFormLayout;
    spin = new QSpinBox(this);
    spin->setObjectName(QStringLiteral("spin"));
    spin->setRange(1, 10);
    spin->setValue(1);
    form->addRow(QStringLiteral("Unique Till ID"), spin);
    lblComputerName = new QLabel(this);
    lblComputerName->setObjectName(QStringLiteral("lblComputerName"));
    form->addRow(QStringLiteral("Computer:"), lblComputerName);
    lblHDSerial = new QLabel(this);
    lblHDSerial->setObjectName(QStringLiteral("lblHDSerial"));
    form->addRow(QStringLiteral("Hard Drive Serial #"), lblHDSerial);
    lblUserName = new QLabel(this);
    lblUserName->setObjectName(QStringLiteral("lblUserName"));
    form->addRow(QStringLiteral("Logged In As:"), lblUserName);
    layout->addLayout(form);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { done(platform::mrCancel); });
}

int TfrmTillIDSetup::Execute()
{
    FormShow();
    platform::DialogRequest request;
    request.Kind = QStringLiteral("TillSetup");
    request.Caption = windowTitle();
    request.Data.insert(QStringLiteral("TillID"), spin->value());
    request.Window = this;
    return platform::RunModal(request, [this] { return platform::DialogAnswer(exec()); }).Result;
}

void TfrmTillIDSetup::FormShow()
{
    m_userName = GetLogonName();
    m_computerName = GetComputerNameText().toUpper();
    m_hdSerial = GetDriveSerial(QStringLiteral("C"));
    lblUserName->setText(m_userName);
    lblComputerName->setText(m_computerName);
    lblHDSerial->setText(m_hdSerial);
    if (m_hdSerial == QLatin1String("0")) {
        InfoDlg(QStringLiteral("The specified computer could not be found"));
        btnOK->setEnabled(false);
    } else {
        btnOK->setEnabled(true);
    }
    GetNextTillID();
}

void TfrmTillIDSetup::GetNextTillID()
{
    try {
        platform::SqlQuery q(m_connection);
        q.SetSQL(QStringList {QStringLiteral("SELECT DISTINCT tillid"),
                              QStringLiteral("FROM tills"), QStringLiteral("ORDER BY tillid ASC")});
        q.Open();
        if (q.IsEmpty()) {
            spin->setValue(1);
        } else {
            q.Last();
            spin->setValue(q.FieldByName(u"TILLID").AsInteger()
                           + 1); // the spin box clamps to 1..10
        }
    } catch (const std::exception &e) {
        ErrorDlg(QStringLiteral("Failed to locate the list of used till ID's\r\rError: ")
                 + ExceptionMessage(e)
                 + QStringLiteral("\r\rException Raised In: TfrmTillIDSetup.GetNextTillID"));
    }
}

void TfrmTillIDSetup::btnOKClick()
{
    try {
        platform::SqlQuery q(m_connection);
        q.SetSQL(QStringList {QStringLiteral("SELECT * FROM tills"),
                              QStringLiteral("WHERE TillID = ") + QString::number(spin->value())});
        q.Open();
        if (q.IsEmpty()) {
            m_tillID = spin->value();
            done(platform::mrOk);
            return;
        }
        InfoDlg(QStringLiteral("The Till ID ") + QString::number(spin->value())
                + QStringLiteral(" has already been registered by...\rComputer: ")
                + q.FieldByName(u"Computer Name").AsString().toUpper());
    } catch (const std::exception &e) {
        ErrorDlg(QStringLiteral("Failed to update the till ID\r\rError: ") + ExceptionMessage(e)
                 + QStringLiteral("\r\rException Raised In: TfrmTillIDSetup.btnOKClick"));
    }
}
