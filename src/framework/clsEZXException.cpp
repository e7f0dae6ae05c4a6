#include "clsEZXException.h"

#include "FMsgDlgLst.h"

#include <memory>

EZXException::EZXException(const QString &message, const QStringList &additionalInfo,
                           const QString &raisedIn)
    : std::runtime_error(message.toStdString())
    , m_message(message)
    , m_raisedIn(raisedIn)
    , m_additionalInfo(additionalInfo)
{ }

EZXException::EZXException(const QString &message, const QString &raisedIn)
    : EZXException(message, QStringList(), raisedIn)
{ }

QString ExceptionMessage(const std::exception &e)
{
    if (const auto *zx = dynamic_cast<const EZXException *>(&e))
        return zx->Message();
    return QString::fromUtf8(e.what());
}

TZxException ExceptionReporter;

TZxException::TZxException()
{
    Reset();
}

void TZxException::Reset()
{
    Hint.clear();
    Message = QStringLiteral("An Error Has Occurred");
    RaisedIn = QStringLiteral("Not Set");
    AdditionalInfo.clear();
}

void TZxException::HandleException(QObject *sender, const std::exception &e)
{
    Q_UNUSED(sender);
    // The texts are one-shot, also when the report itself fails.
    struct ResetOnExit
    {
        TZxException *reporter;
        ~ResetOnExit() { reporter->Reset(); }
    } resetOnExit {this};

    if (const auto *zx = dynamic_cast<const EZXException *>(&e)) {
        RaisedIn = zx->RaisedIn();
        if (!zx->AdditionalInfo().isEmpty())
            AdditionalInfo = zx->AdditionalInfo();
    }

    auto report = std::make_unique<TfrmMsgDlgLst>();
    report->AddBoldLine(Message);
    report->AddBlankLines(1);
    report->AddErrorLine("Error: " + ExceptionMessage(e));
    if (!RaisedIn.isEmpty()) {
        report->AddBlankLines(1);
        report->AddBoldLine("Raised In: " + RaisedIn);
    }
    report->AddBlankLines(1);
    if (!Hint.isEmpty())
        report->AddBoldLine(Hint);
    if (!AdditionalInfo.isEmpty()) {
        report->AddBoldLine("Additional Information");
        for (const QString &line : std::as_const(AdditionalInfo))
            report->AddLine(line);
    }
    report->ShowMessages(mtError);
}
