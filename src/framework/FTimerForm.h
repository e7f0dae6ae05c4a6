#pragma once

// The window of the message dialog (built by CreateMsgDialog in modMsgDlgs), with the
// optional count-down that presses the default button by itself.

#include <QDialog>
#include <QString>

class QPushButton;
class QTimer;

class TfrmTimerForm : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmTimerForm(QWidget *parent = nullptr);

    QTimer *Timer1 = nullptr; // one second, off until a count-down starts it
    int Countdown = 5; // seconds left
    QPushButton *CountdownButton = nullptr; // shows the count in its caption; not owned
    QString CountdownCaption; // that button's caption without the count
    int CountdownResult = 0; // modal result to close with at 0

    QPushButton *DefaultButton = nullptr; // pressed by Enter
    QPushButton *CancelButton = nullptr; // pressed by Escape

public slots:
    // One second of the count-down: counts down, rewrites the caption, closes at 0.
    void Timer1Timer();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void reject() override; // closing the window answers mrCancel

private:
    void ShowCountdown();
};
