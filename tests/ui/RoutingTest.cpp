#include <gtest/gtest.h>

#include "UiFixture.h"
#include "ui/OperatorInput.h"

namespace qx::test {
namespace {

using ui::EventType;
namespace input = ui::input;

// A main window with a page as its child; the page hands every command and notification to
// the main window first, as the feature pages do.
class RoutingTest : public UiTest {
 protected:
  RoutingTest() {
    main.SetEventHandler(mainEvents.Handler());
    page.SetEventHandler([this](ui::Event& event) {
      pageEvents.events.push_back(event);
      if (event.type != EventType::KeyDown) {
        ui::Event forwarded = event;
        main.Dispatch(forwarded);
      }
      return pageEvents.handles;
    });
    EXPECT_TRUE(main.Create(900));
    EXPECT_TRUE(page.Create(901, &main));
    main.Show(true);
    page.Show(true);
  }
  ui::Control& C(int id) { return *page.GetControl(id); }

  Recorder mainEvents;
  Recorder pageEvents;
  ui::Window main{windows};
  ui::Window page{windows};
};

TEST_F(RoutingTest, ClickReachesTheOwningPageThenTheMainWindow) {
  ASSERT_TRUE(input::Click(C(1432)).ok);
  ASSERT_EQ(pageEvents.events.size(), 1u);
  EXPECT_EQ(pageEvents.events[0].type, EventType::Command);
  EXPECT_EQ(pageEvents.events[0].id, 1432);
  EXPECT_EQ(pageEvents.events[0].code, ui::notify::kClicked);
  EXPECT_EQ(pageEvents.events[0].control, &C(1432));
  ASSERT_EQ(mainEvents.events.size(), 1u);
  EXPECT_EQ(mainEvents.events[0].id, 1432);
}

TEST_F(RoutingTest, EditCommitAndListChangeCarryTheirCodes) {
  ASSERT_TRUE(input::TypeText(C(1338), "250").ok);
  EXPECT_TRUE(pageEvents.events.empty());  // typing alone tells nobody
  ASSERT_TRUE(input::CommitEdit(C(1338)).ok);
  ASSERT_TRUE(input::SelectItem(C(1337), 2).ok);
  ASSERT_EQ(pageEvents.events.size(), 2u);
  EXPECT_EQ(pageEvents.events[0].code, ui::notify::kEditLostFocus);
  EXPECT_EQ(C(1338).Text(), "250");
  EXPECT_EQ(pageEvents.events[1].code, ui::notify::kSelectionChanged);
  EXPECT_EQ(C(1337).Selection(), 2);
}

TEST_F(RoutingTest, SpinTellsPositionAndDeltaBeforeItMoves) {
  int positionSeen = -1;
  page.SetEventHandler([&](ui::Event& event) {
    if (event.code == ui::notify::kUpDownDelta) positionSeen = event.control->StoredPosition();
    pageEvents.events.push_back(event);
    return false;
  });
  C(1338).SetText("400");  // typed text counts as the position the arrow starts from
  ASSERT_TRUE(input::Spin(C(1339), 5).ok);
  ASSERT_EQ(pageEvents.events.size(), 1u);
  EXPECT_EQ(pageEvents.events[0].type, EventType::Notify);
  EXPECT_EQ(pageEvents.events[0].code, ui::notify::kUpDownDelta);
  EXPECT_EQ(pageEvents.events[0].position, 400);
  EXPECT_EQ(pageEvents.events[0].delta, 5);
  EXPECT_EQ(positionSeen, 400);
  EXPECT_EQ(C(1339).StoredPosition(), 405);
  EXPECT_EQ(C(1338).Text(), "405");
}

TEST_F(RoutingTest, SpinStopsAtTheRangeEnds) {
  ASSERT_TRUE(input::Spin(C(1339), -100).ok);
  EXPECT_EQ(C(1339).StoredPosition(), 1);
  EXPECT_EQ(C(1338).Text(), "1");
}

TEST_F(RoutingTest, AutomaticButtonsChangeTheirCheckBeforeTheClick) {
  ASSERT_TRUE(input::Click(C(2540)).ok);
  EXPECT_EQ(C(2540).CheckState(), 1);
  ASSERT_TRUE(input::Click(C(2541)).ok);
  EXPECT_EQ(C(2541).CheckState(), 0);  // a plain check box leaves its check to the program
  ASSERT_TRUE(input::Click(C(3001)).ok);
  ASSERT_TRUE(input::Click(C(3003)).ok);
  EXPECT_EQ(C(3001).CheckState(), 0);
  EXPECT_EQ(C(3003).CheckState(), 1);
  EXPECT_EQ(pageEvents.events.size(), 4u);
}

TEST_F(RoutingTest, DisabledOrHiddenControlsRefuseInputAndTellNobody) {
  C(1432).Enable(false);
  const ui::InputResult disabled = input::Click(C(1432));
  EXPECT_FALSE(disabled.ok);
  EXPECT_NE(disabled.error.find("1432"), std::string::npos);
  C(1338).Show(false);
  EXPECT_FALSE(input::TypeText(C(1338), "5").ok);
  EXPECT_EQ(C(1338).Text(), "10");
  page.Show(false);
  EXPECT_FALSE(input::Click(C(2540)).ok);
  page.Show(true);
  main.Enable(false);  // a disabled parent blocks its pages too
  EXPECT_FALSE(input::Click(C(2540)).ok);
  EXPECT_TRUE(pageEvents.events.empty());
}

TEST_F(RoutingTest, InputOfTheWrongKindIsRefused) {
  EXPECT_FALSE(input::Click(C(1338)).ok);
  EXPECT_FALSE(input::Click(C(3040)).ok);  // group box
  EXPECT_FALSE(input::Spin(C(1338), 1).ok);
  EXPECT_FALSE(input::SelectItem(C(1337), 3).ok);
  EXPECT_FALSE(input::TypeText(C(1337), "x").ok);
  EXPECT_TRUE(pageEvents.events.empty());
}

TEST_F(RoutingTest, UnhandledEnterBecomesOkOfTheTopLevelWindow) {
  ASSERT_TRUE(input::PressKey(page, &C(1338), ui::vk::kEnter, false, false).ok);
  ASSERT_EQ(pageEvents.events.size(), 1u);
  EXPECT_EQ(pageEvents.events[0].type, EventType::KeyDown);
  EXPECT_EQ(pageEvents.events[0].key, ui::vk::kEnter);
  ASSERT_EQ(mainEvents.events.size(), 1u);
  EXPECT_EQ(mainEvents.events[0].type, EventType::Command);
  EXPECT_EQ(mainEvents.events[0].id, ui::kIdOk);
}

TEST_F(RoutingTest, SwallowedKeyGoesNoFurther) {
  pageEvents.handles = true;
  ASSERT_TRUE(input::PressKey(page, &C(1338), ui::vk::kEscape, false, false).ok);
  EXPECT_TRUE(mainEvents.events.empty());
}

TEST_F(RoutingTest, KeyCarriesShiftAndCtrl) {
  ASSERT_TRUE(input::PressKey(page, &C(1338), 'Q', true, true).ok);
  ASSERT_EQ(pageEvents.events.size(), 1u);
  EXPECT_EQ(pageEvents.events[0].key, 'Q');
  EXPECT_TRUE(pageEvents.events[0].shift);
  EXPECT_TRUE(pageEvents.events[0].ctrl);
  EXPECT_TRUE(mainEvents.events.empty());  // letters have no default meaning
}

TEST_F(RoutingTest, OpenListTakesEnterAndEscapeItself) {
  ASSERT_TRUE(input::DropDown(C(1337), true).ok);
  ASSERT_TRUE(input::PressKey(page, &C(1337), ui::vk::kEscape, false, false).ok);
  EXPECT_FALSE(C(1337).IsDroppedDown());
  EXPECT_TRUE(mainEvents.events.empty());
}

TEST_F(RoutingTest, HandlerMayRewriteTheKeyBeforeDefaultProcessing) {
  page.SetEventHandler([](ui::Event& event) {
    if (event.key == ui::vk::kEscape) event.key = ui::vk::kEnter;
    return false;
  });
  ASSERT_TRUE(input::PressKey(page, &C(1338), ui::vk::kEscape, false, false).ok);
  ASSERT_EQ(mainEvents.events.size(), 1u);
  EXPECT_EQ(mainEvents.events[0].id, ui::kIdOk);
}

TEST_F(RoutingTest, MenuCommandHasNoControl) {
  ASSERT_TRUE(input::ChooseMenu(main, 40001).ok);
  ASSERT_EQ(mainEvents.events.size(), 1u);
  EXPECT_EQ(mainEvents.events[0].id, 40001);
  EXPECT_EQ(mainEvents.events[0].code, 0);
  EXPECT_EQ(mainEvents.events[0].control, nullptr);
}

TEST_F(RoutingTest, GreyedMenuEntriesCannotBeChosen) {
  EXPECT_FALSE(main.IsMenuCommandAvailable(40002));
  EXPECT_FALSE(input::ChooseMenu(main, 40002).ok);
  EXPECT_FALSE(input::ChooseMenu(main, 49999).ok);
  main.SetMenuPopupGrayed(1, false);
  EXPECT_TRUE(input::ChooseMenu(main, 40002).ok);
  main.SetMenuItemGrayed(40001, true);
  EXPECT_FALSE(input::ChooseMenu(main, 40001).ok);
  ASSERT_EQ(mainEvents.events.size(), 1u);
  EXPECT_EQ(mainEvents.events[0].id, 40002);
}

TEST_F(RoutingTest, TabSelectionNotifiesTheTabsWindow) {
  ui::Control& tab = *main.GetControl(1244);
  tab.AddItem("User A", 0);
  tab.AddItem("User B", 1);
  ASSERT_TRUE(input::SelectTab(tab, 1).ok);
  EXPECT_FALSE(input::SelectTab(tab, 2).ok);
  EXPECT_EQ(tab.Selection(), 1);
  ASSERT_EQ(mainEvents.events.size(), 1u);
  EXPECT_EQ(mainEvents.events[0].code, ui::notify::kTabSelectionChanged);
}

TEST_F(RoutingTest, HandlerThatDestroysTheWindowDuringASpinIsSafe) {
  page.SetEventHandler([this](ui::Event&) {
    page.Destroy();
    return true;
  });
  EXPECT_TRUE(input::Spin(C(1339), 1).ok);
  EXPECT_FALSE(page.Exists());
}

TEST_F(RoutingTest, DestroyingTheParentDestroysItsPages) {
  int destroyed = 0;
  page.SetDestroyHandler([&] { ++destroyed; });
  main.Destroy();
  EXPECT_FALSE(page.Exists());
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(page.GetControl(1338), nullptr);
}

TEST_F(RoutingTest, DestructorRunsNoHandlerOfTheGoingOwner) {
  int destroyed = 0;
  {
    ui::Window window{windows};
    window.SetDestroyHandler([&] { ++destroyed; });
    ASSERT_TRUE(window.Create(902));
  }
  EXPECT_EQ(destroyed, 0);
  ui::Window window{windows};
  window.SetDestroyHandler([&] { ++destroyed; });
  ASSERT_TRUE(window.Create(902));
  window.Destroy();
  EXPECT_EQ(destroyed, 1);
}

TEST_F(RoutingTest, InputGoesToTheWindowTheOperatorSees) {
  ui::Window hidden{windows};
  ASSERT_TRUE(hidden.Create(901));  // same template, never shown
  EXPECT_EQ(windows.FindControlForInput(1432), page.GetControl(1432));
  page.Show(false);
  EXPECT_NE(windows.FindControlForInput(1432), nullptr);
  EXPECT_EQ(windows.FindControlForInput(4242), nullptr);
}

// Modal dialogs.
TEST_F(RoutingTest, ModalDialogDisablesItsOwnerAndReturnsTheEndCode) {
  ui::Window ask{windows};
  bool ownerEnabledInside = true;
  desktop.SetModalDriver([&](ui::Window& window) {
    ownerEnabledInside = main.IsEnabled();
    EXPECT_EQ(windows.ActiveModal(), &window);
    ASSERT_TRUE(input::TypeText(*window.GetControl(5001), "hello").ok);
    ASSERT_TRUE(input::Click(*window.GetControl(ui::kIdOk)).ok);
  });
  EXPECT_EQ(ask.DoModal(desktop, 902, &main), ui::kIdOk);
  EXPECT_FALSE(ownerEnabledInside);
  EXPECT_TRUE(main.IsEnabled());
  EXPECT_FALSE(ask.Exists());
  EXPECT_EQ(windows.ActiveModal(), nullptr);
}

TEST_F(RoutingTest, ModalDialogWithoutADriverEndsAsCancel) {
  ui::Window ask{windows};
  EXPECT_EQ(ask.DoModal(desktop, 902, &main), ui::kIdCancel);
}

TEST_F(RoutingTest, EscapeAndCloseBoxEndAModalDialogAsCancel) {
  ui::Window ask{windows};
  desktop.SetModalDriver([&](ui::Window& window) {
    ASSERT_TRUE(input::PressKey(window, window.GetControl(5001), ui::vk::kEscape, false, false).ok);
  });
  EXPECT_EQ(ask.DoModal(desktop, 902, &main), ui::kIdCancel);
  desktop.SetModalDriver([&](ui::Window& window) { ASSERT_TRUE(input::RequestClose(window).ok); });
  EXPECT_EQ(ask.DoModal(desktop, 902, &main), ui::kIdCancel);
}

TEST_F(RoutingTest, DialogEndedByItsInitialisationReturnsAtOnce) {
  ui::Window ask{windows};
  bool ownerDisabledDuringInit = false;
  ask.SetInitHandler([&] {
    ownerDisabledDuringInit = !main.IsEnabled();
    ask.EndDialog(7);
  });
  desktop.SetModalDriver([](ui::Window&) { ADD_FAILURE() << "no loop for an ended dialog"; });
  EXPECT_EQ(ask.DoModal(desktop, 902, &main), 7);
  EXPECT_TRUE(ownerDisabledDuringInit);
  EXPECT_TRUE(main.IsEnabled());
  EXPECT_FALSE(ask.Exists());
  EXPECT_EQ(windows.ActiveModal(), nullptr);
}

TEST_F(RoutingTest, DialogInitialisationSeesItsControls) {
  ui::Window ask{windows};
  std::string seen;
  ask.SetInitHandler([&] {
    ask.GetControl(5001)->SetText("ready");
    seen = ask.GetControl(5001)->Text();
  });
  ask.DoModal(desktop, 902, nullptr);
  EXPECT_EQ(seen, "ready");
  EXPECT_EQ(ask.DoModal(desktop, 99999, nullptr), -1);  // unknown template
}

}  // namespace
}  // namespace qx::test
