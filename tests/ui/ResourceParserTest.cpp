#include "ui/ResourceParser.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "ui/EmbeddedResources.h"
#include "ui/ResourceRegistry.h"

namespace qx::ui {
namespace {

TEST(ResourceParser, ReadsDialogControlsWithTheirInitialState) {
  const ParsedResources parsed = ParseResources("t.qxr", R"x(
dialog 104 caption "LUT Setting" size 440 300 at 50 60
  plot 1148 at 160 20 260 260
  edit 1576 at 10 10 40 20
  updown 1577 buddy 1576 range 2 16 pos 8 at 50 10 12 20
  combo 1145 items "A"=1 "B" sel 1 disabled
  control 1200 "Go" class Button style 0x9 group
end
)x");
  ASSERT_TRUE(parsed.errors.empty()) << parsed.errors.front().ToString();
  ASSERT_EQ(parsed.dialogs.size(), 1u);
  const DialogTemplate& d = parsed.dialogs[0];
  EXPECT_EQ(d.id, 104);
  EXPECT_EQ(d.caption, "LUT Setting");
  EXPECT_EQ(d.rect, (Rect{50, 60, 440, 300}));
  ASSERT_EQ(d.controls.size(), 5u);
  EXPECT_EQ(d.controls[0].type, ControlType::Plot);
  EXPECT_EQ(*d.controls[0].rect, (Rect{160, 20, 260, 260}));  // exact geometry is kept
  EXPECT_EQ(d.controls[2].buddy, 1576);
  EXPECT_EQ(d.controls[2].rangeMin, 2);
  EXPECT_EQ(d.controls[2].rangeMax, 16);
  EXPECT_EQ(d.controls[2].position, 8);
  ASSERT_EQ(d.controls[3].items.size(), 2u);
  EXPECT_EQ(d.controls[3].items[0], (ListItem{"A", 1}));
  EXPECT_EQ(d.controls[3].items[1], (ListItem{"B", 0}));
  EXPECT_EQ(d.controls[3].selection, 1);
  EXPECT_TRUE(d.controls[3].disabled);
  EXPECT_EQ(d.controls[4].type, ControlType::Button);
  EXPECT_EQ(d.controls[4].style, 0x9u | style::kGroup);
  EXPECT_EQ(d.controls[4].caption, "Go");
}

TEST(ResourceParser, GroupsAndRowsGetLabelsAndPlaces) {
  const ParsedResources parsed = ParseResources("t.qxr", R"x(
dialog 112 child
  group "Exposure"
    row "Time" : edit 1338 | updown 1339 buddy 1338
    row "Mode" : combo 1337
  end
  group "Gain"
    row : edit 1400
  end
end
)x");
  ASSERT_TRUE(parsed.errors.empty()) << parsed.errors.front().ToString();
  const DialogTemplate& d = parsed.dialogs[0];
  EXPECT_TRUE(d.child);
  // group box, label, edit, up-down, label, combo, group box, edit
  ASSERT_EQ(d.controls.size(), 8u);
  EXPECT_EQ(d.controls[0].caption, "Exposure");
  EXPECT_EQ(d.controls[1].caption, "Time");
  EXPECT_EQ(d.controls[1].id, -1);
  EXPECT_EQ(d.controls[2].groupIndex, 0);
  EXPECT_EQ(d.controls[2].row, 0);
  EXPECT_EQ(d.controls[2].column, 1);
  EXPECT_EQ(d.controls[5].row, 1);
  EXPECT_EQ(d.controls[7].groupIndex, 6);
  // Every control has a place; rows go down, the second group sits below the first, and a
  // group box holds its controls.
  for (const ControlTemplate& c : d.controls) ASSERT_TRUE(c.rect.has_value());
  EXPECT_GT(d.controls[5].rect->top, d.controls[2].rect->top);
  EXPECT_GT(d.controls[2].rect->left, d.controls[1].rect->left);
  EXPECT_GE(d.controls[6].rect->top, d.controls[0].rect->Bottom());
  EXPECT_GE(d.controls[0].rect->Bottom(), d.controls[5].rect->Bottom());
  EXPECT_GE(d.rect.height, d.controls[7].rect->Bottom());
}

TEST(ResourceParser, RowsAfterANestedGroupStartBelowIt) {
  const ParsedResources parsed = ParseResources("t.qxr", R"x(
dialog 107 child
  group "Port"
    group "Supported"
      row "Highest" : edit 2898
      row "Second" : edit 2899
    end
    row "Baud Rate" : combo 1422
  end
  group "Model"
    row "Model" : combo 1855
  end
end
)x");
  ASSERT_TRUE(parsed.errors.empty()) << parsed.errors.front().ToString();
  const std::vector<ControlTemplate>& c = parsed.dialogs[0].controls;
  // Port, Supported, label, 2898, label, 2899, label, 1422, Model, label, 1855
  ASSERT_EQ(c.size(), 11u);
  const Rect port = *c[0].rect;
  const Rect supported = *c[1].rect;
  EXPECT_GE(supported.left, port.left);
  EXPECT_GE(supported.Bottom(), c[5].rect->Bottom());  // the nested group holds its rows
  EXPECT_GE(c[7].rect->top, supported.Bottom());       // the row after it starts below it
  EXPECT_GE(port.Bottom(), c[7].rect->Bottom());       // and the outer group holds both
  EXPECT_GE(c[8].rect->top, port.Bottom());            // the next group follows
  EXPECT_EQ(c[6].rect->top, c[7].rect->top);           // a row's label and field share a line
}

TEST(ResourceParser, ReadsMenusWithGreyedEntries) {
  const ParsedResources parsed = ParseResources("m.qxr", R"x(
menu 601
  popup "File(&F)"
    item 32781 "&Open"
    separator
    item 2 "E&xit"
  end
  popup "LUT(&L)" grayed
    item 32779 "&Open LUT file" grayed
  end
end
)x");
  ASSERT_TRUE(parsed.errors.empty()) << parsed.errors.front().ToString();
  ASSERT_EQ(parsed.menus.size(), 1u);
  const MenuTemplate& m = parsed.menus[0];
  ASSERT_EQ(m.items.size(), 2u);
  ASSERT_EQ(m.items[0].children.size(), 3u);
  EXPECT_TRUE(m.items[0].children[1].separator);
  EXPECT_EQ(m.items[0].children[2].commandId, 2);
  EXPECT_TRUE(m.items[1].grayed);
  EXPECT_TRUE(m.items[1].children[0].grayed);
}

TEST(ResourceParser, ReadsPalettedAndSolidImages) {
  const ParsedResources parsed = ParseResources("i.qxr", R"x(
bitmap 303 2 1 solid 0 128 0
icon 9 2 2
  palette . 0 0 0 0
  palette r 255 0 0
  r.
  .r
end
)x");
  ASSERT_TRUE(parsed.errors.empty()) << parsed.errors.front().ToString();
  ASSERT_EQ(parsed.images.size(), 2u);
  EXPECT_EQ(parsed.images[0].At(1, 0), (Color{0, 128, 0, 255}));
  EXPECT_EQ(parsed.images[1].At(0, 0), (Color{255, 0, 0, 255}));
  EXPECT_EQ(parsed.images[1].At(1, 0).a, 0);
  EXPECT_EQ(parsed.images[1].At(5, 5).a, 0);  // outside the image
}

struct BadInput {
  const char* text;
  int line;
  const char* fragment;  // part of the message
};

class ResourceParserErrors : public ::testing::TestWithParam<BadInput> {};

TEST_P(ResourceParserErrors, NameFileAndLine) {
  const ParsedResources parsed = ParseResources("bad.qxr", GetParam().text);
  ASSERT_FALSE(parsed.errors.empty()) << GetParam().text;
  const ResourceError& error = parsed.errors.front();
  EXPECT_EQ(error.file, "bad.qxr");
  EXPECT_EQ(error.line, GetParam().line) << error.ToString();
  EXPECT_NE(error.message.find(GetParam().fragment), std::string::npos) << error.ToString();
  EXPECT_EQ(error.ToString().rfind("bad.qxr:" + std::to_string(GetParam().line) + ": ", 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ResourceParserErrors,
    ::testing::Values(
        BadInput{"dialog 5\n  edit 1 \"unclosed\n end\n", 2, "unterminated"},
        BadInput{"dialog 5\n  knob 3\nend\n", 2, "unknown control kind"},
        BadInput{"dialog 5\n  edit 3\n  edit 3\nend\n", 3, "used twice"},
        BadInput{"dialog 5\n  edit x\nend\n", 2, "expected a control id"},
        BadInput{"dialog 5\n  edit 3 at 1 2\nend\n", 2, "expected width"},
        BadInput{"dialog 5\n  edit 3 at 1 2 -4 4\nend\n", 2, "width must be 0 to 32767"},
        BadInput{"dialog 5\n  edit 3 at 2147483647 0 9 9\nend\n", 2, "x must be"},
        BadInput{"dialog 5 size 0 10\nend\n", 1, "width must be 1 to"},
        BadInput{"dialog 5\n group \"g\" at 0 0 99999 5\n end\nend\n", 2, "width must be"},
        BadInput{"dialog 5\n  edit 3 wobble\nend\n", 2, "unknown option"},
        BadInput{"dialog 5\n  combo 3 items \"a\" sel 4\nend\n", 2, "selection"},
        BadInput{"dialog 5\n  updown 3 buddy 77\nend\n", 2, "buddy 77"},
        BadInput{"dialog 5\n  control 3 class Gizmo\nend\n", 2, "unknown window class"},
        BadInput{"dialog 5\n  edit 99999999999\nend\n", 2, "bad number"},
        BadInput{"dialog 5\n  row \"x\" edit 3\nend\n", 2, "expected \":\""},
        BadInput{"dialog 5\n  row : edit 3 | | edit 4\nend\n", 2, "empty cell"},
        BadInput{"\n\ndialog 5\n  edit 3\n", 3, "no \"end\""},
        BadInput{"menu 1\n  item 0 \"x\"\nend\n", 2, "positive"},
        BadInput{"menu 1\n  popup \"a\"\n", 1, "no \"end\""},
        BadInput{"bitmap 1 0 4 solid 1 2 3\n", 1, "image size"},
        BadInput{"bitmap 1 2 2 solid 1 2 300\n", 1, "0 to 255"},
        BadInput{"icon 1 2 2\n palette a 1 1 1\n aa\n ab\nend\n", 4, "not in the palette"},
        BadInput{"icon 1 2 2\n palette a 1 1 1\n aaa\nend\n", 3, "2 characters"},
        BadInput{"icon 1 2 2\n palette a 1 1 1\n aa\nend\n", 4, "1 of 2 rows"},
        BadInput{"end\n", 1, "without a block"}, BadInput{"window 3\n", 1, "unknown keyword"},
        BadInput{"dialog\n", 1, "expected a dialog number or name"}));

TEST(ResourceParser, KeepsGoodDefinitionsAroundBadLines) {
  const ParsedResources parsed = ParseResources("mixed.qxr", R"x(
dialog 1
  edit 10
  nonsense here
  edit 11
end
bitmap 2 1 1 solid 9 9 9
)x");
  EXPECT_EQ(parsed.errors.size(), 1u);
  ASSERT_EQ(parsed.dialogs.size(), 1u);
  EXPECT_EQ(parsed.dialogs[0].controls.size(), 2u);
  EXPECT_EQ(parsed.images.size(), 1u);
}

// The files come from outside the program: arbitrary bytes must never crash the parser.
TEST(ResourceParser, SurvivesArbitraryBytes) {
  std::mt19937 random(1234);
  const std::string alphabet =
      "dialog menu end row group : | = \" \\ # 0123456789 -x\n\t\r\x01\xff";
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 200);
    for (int i = 0; i < length; ++i) text.push_back(alphabet[random() % alphabet.size()]);
    const ParsedResources parsed = ParseResources("fuzz", text);
    for (const DialogTemplate& d : parsed.dialogs) {
      for (const ControlTemplate& c : d.controls) ASSERT_TRUE(c.rect.has_value());
    }
  }
}

TEST(ResourceRegistry, SecondDefinitionOfANumberIsReportedAndIgnored) {
  ResourceRegistry registry;
  registry.AddFile("a.qxr", "dialog 7 caption \"first\"\nend\n");
  registry.AddFile("b.qxr", "dialog 7 caption \"second\"\nend\n");
  ASSERT_EQ(registry.Errors().size(), 1u);
  EXPECT_EQ(registry.Errors()[0].file, "b.qxr");
  EXPECT_EQ(registry.FindDialog(7)->caption, "first");
}

// The program's own resources.
class EmbeddedResources : public ::testing::Test {
 protected:
  ResourceRegistry registry = ResourceRegistry::FromEmbedded();
};

TEST_F(EmbeddedResources, ParseWithoutErrors) {
  for (const ResourceError& error : registry.Errors()) ADD_FAILURE() << error.ToString();
  EXPECT_FALSE(EmbeddedResourceFiles().empty());
}

TEST_F(EmbeddedResources, MatchTheSourceFiles) {
  for (const EmbeddedFile& file : EmbeddedResourceFiles()) {
    std::ifstream in(std::string(QX_SOURCE_DIR) + "/resources/" + std::string(file.name),
                     std::ios::binary);
    ASSERT_TRUE(in) << file.name;
    std::ostringstream text;
    text << in.rdbuf();
    // Compared as a whole but reported briefly: the files are long.
    EXPECT_TRUE(text.str() == file.text)
        << file.name << " differs from its embedded copy (" << text.str().size() << " bytes vs "
        << file.text.size() << "); it changed since the build";
  }
}

// Feature code finds a control by its id alone, so no id may be used by two templates
// (1 and 2, OK and Cancel, excepted; one template shown several times is one template).
TEST_F(EmbeddedResources, ControlIdsAreUniqueAcrossTemplates) {
  std::map<int, std::string> owner;
  for (const DialogTemplate* dialog : registry.Dialogs()) {
    const std::string name = dialog->id != 0 ? std::to_string(dialog->id) : dialog->name;
    for (const ControlTemplate& control : dialog->controls) {
      if (control.id <= 2) continue;
      const auto [it, added] = owner.emplace(control.id, name);
      EXPECT_TRUE(added) << "control " << control.id << " is in " << it->second << " and " << name;
    }
  }
}

TEST_F(EmbeddedResources, StatusBitmapsAreSolidRedAndGreen) {
  const auto offline = registry.FindImage(302);
  const auto online = registry.FindImage(303);
  ASSERT_TRUE(offline && online);
  EXPECT_EQ(offline->width, 4);
  EXPECT_EQ(offline->height, 4);
  EXPECT_EQ(online->width, 4);
  EXPECT_EQ(online->height, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(offline->At(x, y), (Color{255, 0, 0, 255}));
      EXPECT_EQ(online->At(x, y), (Color{0, 128, 0, 255}));
    }
  }
  for (int icon : {500, 502, 503}) EXPECT_NE(registry.FindImage(icon), nullptr) << icon;
}

TEST_F(EmbeddedResources, ProgressTemplateHasBarAndText) {
  const DialogTemplate* progress = registry.FindDialog(105);
  ASSERT_NE(progress, nullptr);
  ASSERT_EQ(progress->controls.size(), 2u);
  EXPECT_EQ(progress->controls[0].id, 1013);
  EXPECT_EQ(progress->controls[0].type, ControlType::Progress);
  EXPECT_EQ(progress->controls[0].rangeMin, 0);
  EXPECT_EQ(progress->controls[0].rangeMax, 100);
  EXPECT_EQ(progress->controls[1].id, 1015);
}

TEST_F(EmbeddedResources, MainWindowShellHasTabStripMenuAndIcon) {
  const DialogTemplate* body = registry.FindDialog("Control Tool Body");
  ASSERT_NE(body, nullptr);
  EXPECT_EQ(body->menuId, 601);
  EXPECT_EQ(body->iconId, 500);
  bool tab = false;
  bool strip = false;
  for (const ControlTemplate& c : body->controls) {
    tab = tab || (c.id == 1244 && c.type == ControlType::Tab);
    strip = strip || (c.id == 1161 && c.type == ControlType::Picture);
  }
  EXPECT_TRUE(tab);
  EXPECT_TRUE(strip);
}

TEST_F(EmbeddedResources, MainMenuHasTheToolsEntriesAndAGreyedLutMenu) {
  const MenuTemplate* menu = registry.FindMenu(601);
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->items.size(), 5u);
  const char* titles[] = {"File(&F)", "Settings(&S)", "Utility(&U)", "LUT(&L)", "Help(&H)"};
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(menu->items[i].text, titles[i]);
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(menu->items[i].grayed, i == 3) << titles[i];
  std::vector<int> ids;
  std::function<void(const std::vector<MenuItem>&)> collect =
      [&](const std::vector<MenuItem>& items) {
        for (const MenuItem& item : items) {
          if (item.popup) {
            collect(item.children);
          } else if (!item.separator) {
            ids.push_back(item.commandId);
          }
        }
      };
  collect(menu->items);
  EXPECT_EQ(ids, (std::vector<int>{32781, 32786, 32787, 2, 32775, 32777, 32776, 32773, 32778, 32779,
                                   32780, 32784, 32774, 32785}));
  EXPECT_EQ(menu->items[0].children[1].text, "&Save as");
  EXPECT_EQ(menu->items[0].children[1].children[1].text, "Shipping Data");
}

}  // namespace
}  // namespace qx::ui
