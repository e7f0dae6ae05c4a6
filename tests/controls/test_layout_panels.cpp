// The row/column layout panel: positions of its children for each alignment, what takes
// part in a row, and what makes it arrange.

#include "controls/FPosForm.h"
#include "controls/ZxControlsPanel.h"

#include <QPushButton>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Panel
{
    // A panel of the given size with `count` buttons of the given size, all at (0, 0).
    Panel(int w, int h, int count, int bw, int bh)
    {
        panel.resize(w, h);
        for (int i = 0; i < count; ++i) {
            auto *b = new QPushButton(&panel);
            b->setGeometry(0, 0, bw, bh);
            buttons.push_back(b);
        }
    }
    std::vector<int> Lefts() const
    {
        std::vector<int> v;
        for (const QWidget *b : buttons)
            v.push_back(b->x());
        return v;
    }
    std::vector<int> Tops() const
    {
        std::vector<int> v;
        for (const QWidget *b : buttons)
            v.push_back(b->y());
        return v;
    }

    TZxControlsPanel panel;
    std::vector<QWidget *> buttons;
};

TEST(ZxControlsPanel, StartsAsACentredRowWithFivePixelSpacing)
{
    TZxControlsPanel p;
    EXPECT_EQ(p.Layout(), loHorizontal);
    EXPECT_EQ(p.HorizAlignment(), taCenter);
    EXPECT_EQ(p.VertAlignment(), vaMiddle);
    EXPECT_EQ(p.HorizSpacing(), 5);
    EXPECT_EQ(p.VertSpacing(), 5);
    EXPECT_EQ(p.VAlignment(), vaTop);
    EXPECT_TRUE(p.Caption().isEmpty());
}

// Three 75 x 25 buttons in a 590 x 45 panel.
TEST(ZxControlsPanel, RowPlacesEachAlignment)
{
    struct Case
    {
        const char *name;
        TAlignment horiz;
        TVertAlignment vert;
        std::vector<int> lefts;
        int top;
    };
    const Case cases[] = {
        {"left, top", taLeftJustify, vaTop, {5, 85, 165}, 5},
        {"centre, middle", taCenter, vaMiddle, {178, 258, 338}, 10},
        {"right (ends 5 before the edge), bottom", taRightJustify, vaBottom, {350, 430, 510}, 15},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Panel p(590, 45, 3, 75, 25);
        p.panel.SetHorizAlignment(c.horiz);
        p.panel.SetVertAlignment(c.vert);
        p.panel.ArrangeControls();
        EXPECT_EQ(p.Lefts(), c.lefts);
        EXPECT_EQ(p.Tops(), std::vector<int>(3, c.top));
    }
}

// Three 60 x 40 buttons in a 100 x 275 panel.
TEST(ZxControlsPanel, ColumnPlacesEachAlignment)
{
    struct Case
    {
        const char *name;
        TAlignment horiz;
        TVertAlignment vert;
        int left;
        std::vector<int> tops;
    };
    const Case cases[] = {
        {"top, left", taLeftJustify, vaTop, 5, {5, 50, 95}},
        {"middle, centre", taCenter, vaMiddle, 20, {72, 117, 162}},
        {"bottom (ends 5 above the edge), right", taRightJustify, vaBottom, 35, {140, 185, 230}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Panel p(100, 275, 3, 60, 40);
        p.panel.SetLayout(loVertical);
        p.panel.SetHorizAlignment(c.horiz);
        p.panel.SetVertAlignment(c.vert);
        p.panel.ArrangeControls();
        EXPECT_EQ(p.Lefts(), std::vector<int>(3, c.left));
        EXPECT_EQ(p.Tops(), c.tops);
    }
}

TEST(ZxControlsPanel, HiddenChildTakesNoPlaceAndIsNotMoved)
{
    Panel p(590, 45, 3, 75, 25);
    p.buttons[1]->setGeometry(7, 9, 75, 25);
    p.buttons[1]->hide();
    p.panel.ArrangeControls();
    EXPECT_EQ(p.Lefts(), (std::vector<int> {218, 7, 298})); // two buttons centred: 295 - 155 / 2
    EXPECT_EQ(p.buttons[1]->y(), 9);
}

TEST(ZxControlsPanel, DockedChildIsPlacedButNotCounted)
{
    Panel p(590, 45, 2, 75, 25);
    auto *docked = new TZXPanel(&p.panel);
    docked->setGeometry(0, 0, 100, 25);
    docked->SetAlign(alLeft);
    p.panel.SetHorizAlignment(taLeftJustify);
    p.panel.ArrangeControls();
    EXPECT_EQ(p.Lefts(), (std::vector<int> {5, 85}));
    EXPECT_EQ(docked->x(), 165); // after the two, the position runs on past it

    p.panel.SetHorizAlignment(taRightJustify); // block of the two buttons only: 590 - 150 - 10
    EXPECT_EQ(p.Lefts(), (std::vector<int> {430, 510}));
}

TEST(ZxControlsPanel, NothingVisibleAndUndockedLeavesEveryChildWhereItIs)
{
    Panel p(590, 45, 1, 75, 25);
    p.buttons[0]->setGeometry(33, 4, 75, 25);
    p.buttons[0]->hide();
    auto *docked = new TZXPanel(&p.panel);
    docked->setGeometry(11, 12, 50, 20);
    docked->SetAlign(alTop);
    p.panel.ArrangeControls();
    p.panel.SetLayout(loVertical);
    EXPECT_EQ(p.buttons[0]->pos(), QPoint(33, 4));
    EXPECT_EQ(docked->pos(), QPoint(11, 12));
}

TEST(ZxControlsPanel, ChangedPropertyOrResizeArrangesAndAnUnchangedOneDoesNot)
{
    Panel p(590, 45, 3, 75, 25);
    p.panel.SetHorizAlignment(taLeftJustify);
    EXPECT_EQ(p.Lefts(), (std::vector<int> {5, 85, 165}));

    p.buttons[0]->move(300, 0); // children moved by hand stay until something arranges
    p.panel.SetHorizAlignment(taLeftJustify);
    p.panel.SetHorizSpacing(5);
    EXPECT_EQ(p.buttons[0]->x(), 300);

    p.panel.SetHorizSpacing(10);
    EXPECT_EQ(p.Lefts(), (std::vector<int> {10, 95, 180}));

    p.panel.show();
    p.panel.SetHorizAlignment(taRightJustify);
    p.panel.resize(400, 45); // 400 - 225 - 30
    EXPECT_EQ(p.Lefts(), (std::vector<int> {145, 230, 315}));
}

TEST(ZxControlsPanel, DockingSwitchesLayoutOnlyWithAParent)
{
    QWidget parent;
    auto *bottom = new TZxControlsPanel(&parent);
    bottom->SetAlign(alBottom);
    EXPECT_EQ(bottom->Layout(), loHorizontal);
    EXPECT_EQ(bottom->HorizAlignment(), taRightJustify);
    EXPECT_EQ(bottom->VertAlignment(), vaMiddle);
    EXPECT_EQ(bottom->LastAlign, alBottom);

    auto *side = new TZxControlsPanel(&parent);
    side->SetAlign(alLeft);
    EXPECT_EQ(side->Layout(), loVertical);
    EXPECT_EQ(side->HorizAlignment(), taCenter);
    EXPECT_EQ(side->VertAlignment(), vaBottom);

    // Explicit values after docking win, until the docking changes again.
    side->SetVertAlignment(vaTop);
    side->SetAlign(alLeft);
    EXPECT_EQ(side->VertAlignment(), vaTop);

    TZxControlsPanel orphan;
    orphan.SetAlign(alBottom);
    EXPECT_EQ(orphan.HorizAlignment(), taCenter);
    EXPECT_EQ(orphan.LastAlign, alNone);
}

TEST(PosForm, ButtonRowIsACentredRowAlongTheBottom)
{
    TfrmPosForm form;
    EXPECT_EQ(form.pnlBottom->height(), 45);
    EXPECT_EQ(form.pnlBottom->Layout(), loHorizontal);
    EXPECT_EQ(form.pnlBottom->HorizAlignment(), taCenter);
    EXPECT_EQ(form.pnlBottom->VertAlignment(), vaMiddle);
    EXPECT_EQ(form.pnlBottom->HorizSpacing(), 12);
    EXPECT_EQ(form.pnlBottom->parentWidget(), form.pnlMain);
}

} // namespace
