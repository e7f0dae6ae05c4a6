#include "QtPrinters.h"

#include "platform/DialogSeam.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

namespace {

using namespace platform;

DialogRequest Request(const QString &kind, const QString &text = QString())
{
    DialogRequest r;
    r.Kind = kind;
    r.Text = text;
    return r;
}

TEST(ScriptedResponder, AnswersFromQueueThenHandlerThenDefaultWithoutShowingWindows)
{
    ScriptedResponder dialogs {DialogAnswer(mrCancel)};
    dialogs.Queue(mrYes);
    dialogs.Queue(DialogAnswer(mrOk, QStringLiteral("1234")));

    int realShown = 0;
    auto real = [&]() -> DialogAnswer {
        ++realShown;
        return mrAbort;
    };
    EXPECT_EQ(RunModal(Request("MsgDlg", "first"), real).Result, mrYes);
    const DialogAnswer pin = RunModal(Request("Password"), real);
    EXPECT_EQ(pin.Result, mrOk);
    EXPECT_EQ(pin.Value.toString(), "1234");
    EXPECT_EQ(RunModal(Request("TillList"), real).Result, mrCancel) << "default: closed";
    dialogs.SetHandler([](const DialogRequest &r) -> DialogAnswer {
        return r.Kind == "NumPad" ? DialogAnswer(mrOk, 12) : DialogAnswer(mrNo);
    });
    EXPECT_EQ(RunModal(Request("NumPad"), real).Value.toInt(), 12);
    EXPECT_EQ(realShown, 0);

    ASSERT_EQ(dialogs.Requests().size(), 4);
    EXPECT_EQ(dialogs.Requests()[0].Text, "first");
    EXPECT_EQ(dialogs.RequestsOfKind("Password").size(), 1);
    EXPECT_EQ(dialogs.Last().Kind, "NumPad");
}

TEST(ScriptedResponder, InnerResponderHidesOuterUntilItGoes)
{
    EXPECT_FALSE(DialogsScripted());
    ScriptedResponder outer(mrOk);
    {
        ScriptedResponder inner(mrNo);
        EXPECT_EQ(MessageBox("inner?", mtConfirmation, {mbYes, mbNo}), mrNo);
    }
    EXPECT_EQ(MessageBox("outer"), mrOk);
    ASSERT_EQ(outer.Requests().size(), 1);
    EXPECT_EQ(outer.Requests()[0].Text, "outer");
    EXPECT_TRUE(DialogsScripted());
}

TEST(ScriptedResponder, MessageBoxRecordsTypeButtonsAndCaption)
{
    ScriptedResponder dialogs;
    dialogs.Queue(mrYes);
    const QString copyQuestion = "This will copy the specific computer settings from another\r"
                                 "till to this one\r\rAre you sure you want to continue?";
    EXPECT_EQ(MessageBox(copyQuestion, mtWarning, {mbYes, mbNo}, "Copy Till Settings"), mrYes);
    MessageBox("T_PrintersItem.Clone not implemented yet");

    ASSERT_EQ(dialogs.Requests().size(), 2);
    const DialogRequest &first = dialogs.Requests()[0];
    EXPECT_EQ(first.Kind, "MessageBox");
    EXPECT_EQ(first.Text, copyQuestion);
    EXPECT_EQ(first.Type, mtWarning);
    EXPECT_EQ(first.Buttons.Bits(), 3u);
    EXPECT_EQ(first.Caption, "Copy Till Settings");
    const DialogRequest &plain = dialogs.Requests()[1];
    EXPECT_EQ(plain.Buttons, MsgDlgButtons {mbOK});
    EXPECT_EQ(plain.Type, mtCustom);
    EXPECT_EQ(plain.Caption, QGuiApplication::applicationDisplayName());
}

TEST(MsgDlgButtonSet, BitsAndOrder)
{
    EXPECT_EQ((MsgDlgButtons {mbYes, mbNo, mbCancel}).Bits(), 11u);
    EXPECT_EQ(MsgDlgButtons::FromBits(11).InOrder(), (QList<MsgDlgBtn> {mbYes, mbNo, mbCancel}));
    EXPECT_EQ(MsgDlgButtons::FromBits(4).Count(), 1);
    EXPECT_EQ(MsgDlgButtons::FromBits(0xFFFF).Count(), kMsgDlgBtnCount) << "unknown bits dropped";
}

TEST(CarriageReturns, BreakLinesAloneOrBeforeALineFeed)
{
    EXPECT_EQ(CarriageReturnsToLineFeeds("a\rb\r\nc\r\rd"), "a\nb\nc\n\nd");
}

} // namespace
