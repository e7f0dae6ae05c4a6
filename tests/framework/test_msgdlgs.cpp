#include "QtPrinters.h"

#include "framework/FTimerForm.h"
#include "framework/modMsgDlgs.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

QLabel *MessageLabel(TfrmTimerForm &form)
{
    return form.findChild<QLabel *>("Message", Qt::FindDirectChildrenOnly);
}

// The dialog's buttons from left to right.
QList<QPushButton *> ButtonsLeftToRight(TfrmTimerForm &form)
{
    QList<QPushButton *> buttons = form.findChildren<QPushButton *>();
    std::sort(buttons.begin(), buttons.end(),
              [](QPushButton *a, QPushButton *b) { return a->x() < b->x(); });
    return buttons;
}

int ScreenWidth()
{
    return QGuiApplication::primaryScreen()->geometry().width();
}

struct ButtonSetCase
{
    const char *name;
    unsigned bits;
    QStringList captions;
    QStringList objectNames;
    const char *defaultButton; // pressed by Enter
    int enterResult;
    int escapeResult; // 2 (mrCancel) without a cancel button: the window was just closed
};

void PrintTo(const ButtonSetCase &c, std::ostream *os)
{
    *os << c.name;
}

class ButtonSets : public ::testing::TestWithParam<ButtonSetCase>
{
};

TEST_P(ButtonSets, CaptionsOrderDefaultAndCancelButtons)
{
    const ButtonSetCase &c = GetParam();
    for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
        auto form = CreateMsgDialog("Continue?", mtConfirmation, TMsgDlgButtons::FromBits(c.bits));
        QStringList captions, names;
        int lastRight = -1;
        for (QPushButton *b : ButtonsLeftToRight(*form)) {
            captions << b->text();
            names << b->objectName();
            EXPECT_GT(b->x(), lastRight) << "buttons overlap";
            lastRight = b->x() + b->width();
            EXPECT_EQ(b->size(), QSize(64, 24));
            EXPECT_EQ(b->y(), form->height() - 24 - 8);
        }
        EXPECT_EQ(captions, c.captions);
        EXPECT_EQ(names, c.objectNames);
        ASSERT_TRUE(form->DefaultButton);
        EXPECT_EQ(form->DefaultButton->objectName(), c.defaultButton);
        EXPECT_TRUE(form->DefaultButton->isDefault());

        form->show();
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : form.get(),
                        Qt::Key(key));
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(form->result(), key == Qt::Key_Return ? c.enterResult : c.escapeResult)
            << "key " << key;
    }
}

INSTANTIATE_TEST_SUITE_P(
    MsgDlg, ButtonSets,
    ::testing::Values(
        ButtonSetCase {"Ok", 4, {"OK"}, {"OK"}, "OK", 1, 1},
        ButtonSetCase {"YesNo", 3, {"&Yes", "&No"}, {"Yes", "No"}, "Yes", 6, 7},
        ButtonSetCase {
            "YesNoCancel", 11, {"&Yes", "&No", "Cancel"}, {"Yes", "No", "Cancel"}, "Yes", 6, 2},
        ButtonSetCase {"AbortRetryIgnore",
                       0x70,
                       {"Abort", "&Retry", "&Ignore"},
                       {"Abort", "Retry", "Ignore"},
                       "Retry",
                       4,
                       2}),
    [](const auto &p) { return std::string(p.param.name); });

TEST(MsgDlgLayout, ThreeLinesGetThreeLineHeightsBesideTheIcon)
{
    auto form = CreateMsgDialog("Clocked in\rEmployee: ANNA\rTime: 09:14", mtInformation, {mbOK});
    EXPECT_EQ(form->windowTitle(), "Information");
    QLabel *image = form->findChild<QLabel *>("Image");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->geometry(), QRect(8, 8, 32, 32));

    QLabel *label = MessageLabel(*form);
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), "Clocked in\nEmployee: ANNA\nTime: 09:14");
    EXPECT_FALSE(label->wordWrap());
    const QFontMetrics fm(label->font());
    EXPECT_EQ(label->height(), 3 * fm.lineSpacing());
    // As wide as the widest line needs, and the three lines fit in the height.
    EXPECT_EQ(label->width(), label->sizeHint().width());
    EXPECT_GT(label->width(), fm.horizontalAdvance("Time: 09:14"));
    EXPECT_LE(label->sizeHint().height(), label->height());
    EXPECT_EQ(label->pos(), QPoint(32 + 18, 8));

    EXPECT_EQ(form->width(), std::max(32 + label->width() + 10, 64) + 16);
    EXPECT_EQ(form->height(), std::max(32, label->height()) + 24 + 26);
    // Centred on the screen.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_LE(std::abs(form->geometry().center().x() - screen.center().x()), 1);
}

TEST(MsgDlgLayout, CustomTypeHasTheApplicationTitleAndNoIcon)
{
    auto form = CreateMsgDialog("Hello", mtCustom, {mbOK});
    EXPECT_EQ(form->windowTitle(), ApplicationTitle());
    EXPECT_EQ(form->findChild<QLabel *>("Image"), nullptr);
    EXPECT_EQ(MessageLabel(*form)->x(), 18);
}

TEST(MsgDlgLayout, LongLineWrapsAtHalfTheScreenAndIsNotCut)
{
    QString words;
    while (QFontMetrics(FormSettings.MessageFont).horizontalAdvance(words) < ScreenWidth() * 2)
        words += "Could not load the new invoice sound because the device is busy ";
    auto form = CreateMsgDialog(words.trimmed(), mtError, {mbOK});
    QLabel *label = MessageLabel(*form);
    ASSERT_TRUE(label);
    EXPECT_TRUE(label->wordWrap());
    EXPECT_EQ(label->width(), ScreenWidth() / 2);
    EXPECT_GE(label->height(), 5 * QFontMetrics(label->font()).lineSpacing());
    EXPECT_LE(label->heightForWidth(label->width()), label->height());
    EXPECT_LT(form->width(), ScreenWidth());
}

TEST(MsgDlgCountdown, DefaultButtonCountsDownAndClosesWithItsResult)
{
    auto form = CreateMsgDialog("You are clocked in", mtInformation, {mbOK}, 5);
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_EQ(form->Timer1->interval(), 1000);
    QPushButton *ok = form->findChild<QPushButton *>("OK");
    ASSERT_TRUE(ok);
    EXPECT_EQ(form->CountdownButton, ok);

    form->show();
    EXPECT_EQ(ok->text(), "OK (5)");
    for (int left = 4; left >= 1; --left) {
        form->Timer1Timer();
        EXPECT_EQ(ok->text(), QString("OK (%1)").arg(left));
        EXPECT_TRUE(form->isVisible());
    }
    form->Timer1Timer();
    EXPECT_EQ(ok->text(), "OK (0)");
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), mrOk);
    EXPECT_FALSE(form->Timer1->isActive());
}

TEST(MsgDlgCountdown, TimerDrivesTheCountdownInTheEventLoop)
{
    auto form = CreateMsgDialog("Clocked out", mtInformation, {mbYes, mbNo}, 3);
    form->Timer1->setInterval(5);
    form->show();
    EXPECT_EQ(form->findChild<QPushButton *>("Yes")->text(), "&Yes (3)");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->isVisible(); }, 5000));
    EXPECT_EQ(form->result(), mrYes);
    EXPECT_EQ(form->findChild<QPushButton *>("Yes")->text(), "&Yes (0)");
    EXPECT_EQ(form->findChild<QPushButton *>("No")->text(), "&No");
}

TEST(MsgDlgCountdown, NoCountdownLeavesCaptionsAndTimerAlone)
{
    auto form = CreateMsgDialog("Saved", mtInformation, {mbOK});
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_EQ(form->CountdownButton, nullptr);
    form->show();
    EXPECT_EQ(form->findChild<QPushButton *>("OK")->text(), "OK");
}

TEST(MsgDlgSeam, RecordsWhatWasShownAndReturnsTheAnswer)
{
    platform::ScriptedResponder dialogs;
    dialogs.Queue(mrNo);
    QStringList captionsSeen;
    EXPECT_EQ(MsgDlg("Print labels? [Kitchen]", mtConfirmation, {mbYes, mbNo}), mrNo);

    dialogs.SetHandler([&](const platform::DialogRequest &r) -> platform::DialogAnswer {
        // The real window was built and is there to look at while the question is open.
        auto *form = qobject_cast<TfrmTimerForm *>(r.Window.data());
        if (form)
            for (QPushButton *b : ButtonsLeftToRight(*form))
                captionsSeen << b->text();
        return mrYes;
    });
    EXPECT_EQ(MsgDlg("Clock in now?", mtWarning, {mbYes, mbNo, mbCancel}, QString(), 5), mrYes);

    ASSERT_EQ(dialogs.Requests().size(), 2);
    const platform::DialogRequest &first = dialogs.Requests()[0];
    EXPECT_EQ(first.Kind, "MsgDlg");
    EXPECT_EQ(first.Text, "Print labels? [Kitchen]");
    EXPECT_EQ(first.Type, mtConfirmation);
    EXPECT_EQ(first.Buttons.Bits(), 3u);
    EXPECT_EQ(first.Caption, "Confirm");
    EXPECT_EQ(first.Window, nullptr) << "the window is gone once MsgDlg returns";
    EXPECT_EQ(dialogs.Last().Buttons.Bits(), 11u);
    EXPECT_EQ(dialogs.Last().Data.value("Countdown").toInt(), 5);
    EXPECT_EQ(captionsSeen, (QStringList {"&Yes", "&No", "Cancel"}));
}

TEST(MsgDlgSeam, WrappersShowTheirTypeButtonsAndText)
{
    platform::ScriptedResponder dialogs(mrOk);
    ErrorDlg("Connection lost");
    InfoDlg("TVelaPrintersItem.Clone not implemented");
    ReportError("Failed to save the order", "disk full", "TDbManager.SetStatus");

    ASSERT_EQ(dialogs.Requests().size(), 3);
    const struct
    {
        TMsgDlgType type;
        QString text;
    } expected[] = {
        {mtError, "Connection lost"},
        {mtInformation, "TVelaPrintersItem.Clone not implemented"},
        {mtError, "Failed to save the order\rReason: disk full\r\rRaised In: TDbManager.SetStatus"},
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(dialogs.Requests()[i].Type, expected[i].type);
        EXPECT_EQ(dialogs.Requests()[i].Text, expected[i].text);
        EXPECT_EQ(dialogs.Requests()[i].Buttons, TMsgDlgButtons {mbOK});
    }
}

TEST(MsgDlgSeam, ViewLogButtonOnlyForAnExistingLogFile)
{
    QTemporaryFile log;
    ASSERT_TRUE(log.open());
    struct
    {
        const char *name;
        QString logFile;
        bool viewLog;
    } cases[] = {
        {"missing", "/nonexistent/folder/log.rtf", false},
        {"existing", log.fileName(), true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        platform::ScriptedResponder dialogs;
        bool sawViewLog = false;
        dialogs.SetHandler([&](const platform::DialogRequest &r) -> platform::DialogAnswer {
            if (r.Kind == "MsgDlg") {
                auto *viewLog = r.Window->findChild<QPushButton *>("btnLogFile");
                auto *ok = r.Window->findChild<QPushButton *>("OK");
                sawViewLog = viewLog != nullptr;
                if (viewLog && ok) {
                    EXPECT_EQ(viewLog->text(), "View Log");
                    EXPECT_EQ(viewLog->x(), ok->x() + 64 + 19);
                }
            }
            return mrYes;
        });
        EXPECT_EQ(MsgDlg("Report saved", mtInformation, {mbOK}, c.logFile), mrYes);
        EXPECT_EQ(sawViewLog, c.viewLog);
        const auto opened = dialogs.RequestsOfKind("ShellOpen");
        ASSERT_EQ(opened.size(), c.viewLog ? 1 : 0);
        if (c.viewLog) {
            EXPECT_EQ(opened[0].Text, c.logFile);
        }
    }
}

} // namespace
