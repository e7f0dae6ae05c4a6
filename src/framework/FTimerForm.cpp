#include "FTimerForm.h"

#include "platform/DialogSeam.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

TfrmTimerForm::TfrmTimerForm(QWidget *parent)
    : QDialog(parent)
    , Timer1(new QTimer(this))
{
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TfrmTimerForm::Timer1Timer);
}

void TfrmTimerForm::ShowCountdown()
{
    if (CountdownButton)
        CountdownButton->setText(CountdownCaption + " (" + QString::number(Countdown) + ")");
}

void TfrmTimerForm::Timer1Timer()
{
    if (Countdown > 0)
        --Countdown;
    ShowCountdown();
    if (Countdown == 0) {
        Timer1->stop();
        // A result of 0 (mrNone) keeps the window open, as a button without a result does.
        if (CountdownResult != platform::mrNone)
            done(CountdownResult);
    }
}

void TfrmTimerForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (Countdown > 0)
        ShowCountdown();
    if (DefaultButton)
        DefaultButton->setFocus();
}

void TfrmTimerForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (CancelButton)
            CancelButton->click();
        else
            reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmTimerForm::reject()
{
    done(platform::mrCancel);
}
