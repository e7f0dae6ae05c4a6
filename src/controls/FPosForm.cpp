#include "FPosForm.h"

#include <QVBoxLayout>

TfrmPosForm::TfrmPosForm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPosForm"));
    resize(696, 480);
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    setFont(f);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    pnlMain = new TZXPanel(this);
    pnlMain->setObjectName(QStringLiteral("pnlMain"));
    pnlMain->BevelOuter = bvNone;
    outer->addWidget(pnlMain);

    m_mainLayout = new QVBoxLayout(pnlMain);
    m_mainLayout->setContentsMargins(0, 0, 0, 0);
    m_mainLayout->setSpacing(0);

    pnlBottom = new TZxControlsPanel(pnlMain);
    pnlBottom->setObjectName(QStringLiteral("pnlBottom"));
    pnlBottom->SetAlign(alBottom);
    // Stated after the docking, so they win over what docking at the bottom sets.
    pnlBottom->SetLayout(loHorizontal);
    pnlBottom->SetHorizAlignment(taCenter);
    pnlBottom->SetHorizSpacing(12);
    pnlBottom->SetVertAlignment(vaMiddle);
    pnlBottom->setFixedHeight(45);
    m_mainLayout->addWidget(pnlBottom);
}

void TfrmPosForm::AddToMain(QWidget *widget, int stretch)
{
    m_mainLayout->insertWidget(m_mainLayout->indexOf(pnlBottom), widget, stretch);
}
