#include <gtest/gtest.h>

#include <QSignalSpy>

#include "platform/controls/Button.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/MenuItem.h"
#include "platform/controls/OptionButton.h"
#include "platform/controls/StatusBar.h"
#include "platform/controls/TextBox.h"
#include "platform/controls/Timer.h"
#include "platform/runtime/VirtualRuntime.h"

TEST(Controls, OptionButtonsAreExclusiveWithinTheirGroupOnly) {
    QObject owner;
    OptionButton skip(&owner, "Option1", "same", "跳过");
    OptionButton over(&owner, "Option2", "same", "覆盖");
    OptionButton other(&owner, "Option4", "login", "帐号登录：", true);
    int clicks = 0;
    over.onClick = [&] { ++clicks; };
    skip.setValue(true);
    over.click();
    EXPECT_FALSE(skip.value());
    EXPECT_TRUE(over.value());
    EXPECT_TRUE(other.value());
    EXPECT_EQ(clicks, 1);
}

TEST(Controls, SettersAreSilentAndUserActionsRaiseEvents) {
    QObject owner;
    CheckBox box(&owner, "Check1", "删除标题中的空格", true);
    TextBox text(&owner, "Text1", true);
    ComboBox combo(&owner, "Combo1", ComboBox::Style::ListOnly);
    QStringList seen;
    box.onClick = [&] { seen << QStringLiteral("check %1").arg(box.value()); };
    text.onChange = [&] { seen << "text " + text.text(); };
    combo.onClick = [&] { seen << "combo " + combo.text(); };
    box.setValue(false);
    text.setText("silent");
    combo.setItems({"0", "1", "2"});
    combo.setListIndex(1);
    EXPECT_TRUE(seen.isEmpty());
    box.click();
    text.edit("typed");
    combo.select(2);
    EXPECT_EQ(seen, QStringList({"check 1", "text typed", "combo 2"}));
    // A list-only box shows only its items; an index out of range chooses none.
    combo.setText("7");
    EXPECT_EQ(combo.listIndex(), -1);
    EXPECT_EQ(combo.text(), QString());
}

TEST(Controls, EditableComboKeepsItsOwnText) {
    QObject owner;
    ComboBox combo(&owner, "Combo1");
    combo.setItems({"/a", "/b"});
    combo.setText("/typed");
    EXPECT_EQ(combo.listIndex(), -1);
    EXPECT_EQ(combo.text(), "/typed");
    combo.setText("/b");
    EXPECT_EQ(combo.listIndex(), 1);
}

TEST(Controls, DisabledControlsIgnoreTheUser) {
    QObject owner;
    Button button(&owner, "Command1", "开始");
    int clicks = 0;
    button.onClick = [&] { ++clicks; };
    button.setEnabled(false);
    button.click();
    button.setEnabled(true);
    button.setVisible(false);
    button.click();
    EXPECT_EQ(clicks, 0);
    QSignalSpy changed(&button, &Control::changed);
    button.setBackColor(Color::fromBgr(255));
    button.setBackColor(Color::fromBgr(255));
    EXPECT_EQ(changed.count(), 1);
}

TEST(Controls, MenusHoldItemsAndSeparators) {
    QObject owner;
    MenuItem menu(&owner, "menuBrowse", "浏览(&B)");
    MenuItem* home = menu.add("menuHome", "打开雅虎搜索首页");
    MenuItem* sep = menu.addSeparator();
    int clicks = 0;
    home->onClick = [&] { ++clicks; };
    sep->onClick = [&] { ++clicks; };
    home->click();
    sep->click();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(sep->isSeparator());
    EXPECT_EQ(menu.items().size(), 2);
    EXPECT_EQ(home->parent(), &owner);
}

TEST(Controls, StatusPanelsCountFromOne) {
    QObject owner;
    StatusBar bar(&owner, "StatusBar1", 4);
    int clicked = 0;
    bar.onPanelClick = [&](int panel) { clicked = panel; };
    bar.setPanelText(2, "http://a.b/c.pdf");
    bar.setPanelText(9, "ignored");
    EXPECT_EQ(bar.panelText(2), "http://a.b/c.pdf");
    EXPECT_EQ(bar.panelText(9), QString());
    bar.clickPanel(2);
    EXPECT_EQ(clicked, 2);
}

TEST(Controls, ATimerWhoseHandlerYieldsIsNotReenteredByItsOwnTicks) {
    VirtualRuntime rt;
    QObject owner;
    Timer timer(&owner, "Timer_Down", rt, 1000);
    int entered = 0;
    int depth = 0;
    int maxDepth = 0;
    timer.onTick = [&] {
        ++entered;
        maxDepth = std::max(maxDepth, ++depth);
        const double start = rt.now();
        while (rt.now() - start < 3.5) {
            rt.waitStep();  // the timer's next ticks fall into this wait
        }
        --depth;
    };
    timer.start();
    rt.advance(8.9);
    EXPECT_EQ(maxDepth, 1);
    // Ticks at 1 s (runs to 4.5 s) and then the next tick after it, at 5 s (runs to 8.5 s).
    EXPECT_EQ(entered, 2);
    timer.stop();
    rt.advance(5.0);
    EXPECT_EQ(entered, 2);
    EXPECT_EQ(rt.activeTimers(), 0);
}

TEST(Controls, ATimerRestartsWithANewInterval) {
    VirtualRuntime rt;
    QObject owner;
    Timer timer(&owner, "Timer1", rt, 100);
    int ticks = 0;
    timer.onTick = [&] { ++ticks; };
    timer.start();
    rt.advance(0.35);
    EXPECT_EQ(ticks, 3);
    timer.setInterval(1000);
    rt.advance(0.9);
    EXPECT_EQ(ticks, 3);
    rt.advance(0.1);
    EXPECT_EQ(ticks, 4);
}
