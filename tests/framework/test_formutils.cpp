#include "QtPrinters.h"

#include "framework/modFormUtils.h"
#include "framework/modMsgDlgs.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(SplitCommaList, CutsAtCommasOutsideOneOpenQuote)
{
    const struct
    {
        const char *name;
        QString text;
        QStringList expected;
    } cases[] = {
        {"quoted comma stays", "1, 2,,\"a,b\",3", {"1", "2", "\"a,b\"", "3"}},
        {"empty", "", {}},
        {"blanks only", "  ,  ", {}},
        {"NUL empty text", QString(QChar(0)), {}},
        {"single", "5", {"5"}},
        {"trailing comma", "1,2,", {"1", "2"}},
        {"unclosed quote keeps the rest", "\"a,b,c", {"\"a,b,c"}},
        {"third quote reopens nothing", "\"x\"\"y,z", {"\"x\"\"y", "z"}},
        {"tabs and NULs trimmed", "\t7" + QString(QChar(0)) + ", 8 ", {"7", "8"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QStringList list {"left over"};
        SplitCommaList(list, c.text);
        EXPECT_EQ(list, c.expected);
    }
}

TEST(AddTrailingBackslash, AppendsADelimiterOnlyWhenMissing)
{
    const struct
    {
        QString path, expected;
    } cases[] = {
        {"/opt/vela", "/opt/vela/"},
        {"/opt/vela/", "/opt/vela/"},
        {"C:\\Vela\\", "C:\\Vela\\"},
        {"", "/"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(AddTrailingBackslash(c.path), c.expected) << c.path.toStdString();
}

TEST(CenterOnMonitor, CentresOnTheMonitorOrSaysItIsInvalid)
{
    const QRect primary = QGuiApplication::primaryScreen()->geometry();
    const int count = int(QGuiApplication::screens().size());
    platform::ScriptedResponder dialogs(mrOk);
    for (int index : {0, 128, 128 * 3}) {
        QWidget form;
        form.resize(301, 201);
        CenterOnMonitor(index, &form);
        EXPECT_EQ(form.pos(),
                  QPoint(primary.left() + (primary.width() - 301) / 2,
                         primary.top() + (primary.height() - 201) / 2))
            << index;
    }
    EXPECT_TRUE(dialogs.Requests().isEmpty());

    for (int index : {count, 127, -1}) {
        QWidget form;
        form.move(7, 9);
        CenterOnMonitor(index, &form);
        EXPECT_EQ(form.pos(), QPoint(7, 9)) << index;
    }
    ASSERT_EQ(dialogs.Requests().size(), 3);
    for (const platform::DialogRequest &r : dialogs.Requests()) {
        EXPECT_EQ(r.Kind, "MsgDlg");
        EXPECT_EQ(r.Text, "Invalid monitor");
        EXPECT_EQ(r.Type, mtInformation);
        EXPECT_EQ(r.Buttons, TMsgDlgButtons {mbOK});
    }
}

TEST(FormSettings, LooksDifferInMessageFontAndPanelHeightOnly)
{
    TFormSettings s; // as created: keyboard look, spacing 19
    EXPECT_EQ(s.Look, flKeyboard);
    EXPECT_EQ(s.ButtonSpacing, 19);
    const struct
    {
        TFormLook look;
        const char *family;
        int points;
        bool bold;
        int panelHeight;
    } cases[] = {
        {flNormal, "Tahoma", 8, false, 40},
        {flKeyboard, "Tahoma", 8, false, 45},
        {flTouchScreen, "Arial", 10, true, 45},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.look));
        s.Apply(c.look);
        EXPECT_EQ(s.MessageFont.family(), c.family);
        EXPECT_EQ(s.MessageFont.pointSize(), c.points);
        EXPECT_EQ(s.MessageFont.bold(), c.bold);
        EXPECT_EQ(s.PanelHeight, c.panelHeight);
        EXPECT_EQ(s.ButtonFont.family(), "Tahoma");
        EXPECT_EQ(s.ButtonWidth, 64);
        EXPECT_EQ(s.ButtonHeight, 24);
        EXPECT_EQ(s.ButtonSpacing, 19);
    }
    EXPECT_EQ(FormSettings.Look, flNormal) << "the process-wide settings start in the normal look";
}

} // namespace
