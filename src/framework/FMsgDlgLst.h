#pragma once

// The report window of the exception reporter: the report in rich text, the support lines
// below it, saved as an RTF log file named after the minute it was written.

#include "modMsgDlgs.h"

#include <QDialog>
#include <QList>
#include <QString>

class QLabel;
class QPushButton;
class QTextEdit;
class QWidget;

class TfrmMsgDlgLst : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmMsgDlgLst(QWidget *parent = nullptr);

    QTextEdit *re = nullptr; // the report
    QTextEdit *reNums = nullptr; // support heading and telephone lines
    QWidget *pnlBottom = nullptr;
    QLabel *Image = nullptr;
    QPushButton *TchButton1 = nullptr; // "&Close"

    // Lines of the report. A carriage return inside a text breaks it into several lines of
    // the same style.
    void AddBoldLine(const QString &text);
    void AddLine(const QString &text);
    void AddErrorLine(const QString &text); // bold red
    void AddBlankLines(int n);
    void ClearLines();

    // Shows kind's icon; for mtError appends the application and operating-system
    // sections and saves the log. Then shows the window modally (kind "ReportWindow" on
    // the dialog seam; Text is the report as plain text, Data["LogFile"] the file saved)
    // and returns the modal result.
    int ShowMessages(TMsgDlgType kind);

    // Writes the report as RTF to "<folder>/yyyymmdd hhnn.rtf", replacing a file of that
    // name, and then appends to the window (not the file) a blank line and
    // "Log file has been saved to <file>". The folder is LogFolder(); when the file cannot
    // be written there, the user's application data folder. Returns the file written, or
    // an empty text when neither could be written (the window then says why).
    QString SaveLog();

    // Switches the report's height between 244 and 175 pixels, so the support lines get
    // more room.
    void ToggleSupportLines();

    QString ReportText() const; // the report as plain text, lines ended by "\n"
    QString ReportRtf() const; // the report as the RTF that SaveLog writes

    // Where logs go: the program's folder unless set (tests and tools point it elsewhere;
    // an empty text restores the default).
    static QString LogFolder();
    static void SetLogFolder(const QString &folder);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Line
    {
        QString Text;
        bool Bold = false;
        bool Red = false;
    };
    void Append(const QString &text, bool bold, bool red);
    QString m_lastLog;
    QList<Line> m_lines;
};
