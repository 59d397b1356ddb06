// Every window of the tool opens in Qt and renders to a PNG under the build tree
// (screenshots/), for reviewers to look at; nothing in it is cut off.

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <algorithm>
#include <cctype>

#include "QtFixture.h"
#include "qt/ControlWidgets.h"
#include "ui/EmbeddedResources.h"
#include "ui/ResourceParser.h"

namespace qx::test {
namespace {

std::string ScreenshotPath(const std::string& name) {
  return std::string(QX_BUILD_DIR) + "/screenshots/" + name + ".png";
}

// Texts that do not fit their widget are drawn cut off.
void ExpectNothingClipped(QWidget* root) {
  for (QLabel* label : root->findChildren<QLabel*>()) {
    if (!label->isVisibleTo(root) || label->text().isEmpty()) continue;
    EXPECT_GE(label->width(), label->sizeHint().width())
        << "label \"" << label->text().toStdString() << "\" is cut off";
  }
  for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
    if (!button->isVisibleTo(root) || button->text().isEmpty()) continue;
    // Push buttons have a minimum width of their own; what matters is that the text fits.
    const int needed = qobject_cast<QPushButton*>(button) != nullptr
                           ? button->fontMetrics().horizontalAdvance(button->text()) + 8
                           : button->sizeHint().width();
    EXPECT_GE(button->width(), needed)
        << "button \"" << button->text().toStdString() << "\" is cut off";
  }
  for (QComboBox* combo : root->findChildren<QComboBox*>()) {
    if (!combo->isVisibleTo(root) || combo->currentIndex() < 0) continue;
    EXPECT_GE(combo->width(), combo->minimumSizeHint().width())
        << "list " << combo->objectName().toStdString() << " is cut off";
  }
}

// Every dialog template of the embedded resources, so that a window added later is covered
// without an edit here. Pages (child templates) are shown inside the main window.
struct WindowCase {
  int id = 0;  // template number, 0: by name
  std::string templateName;
  bool page = false;
  std::string name;  // screenshot file and test name
};

std::vector<WindowCase> EmbeddedWindows() {
  std::vector<WindowCase> cases;
  for (const ui::EmbeddedFile& file : ui::EmbeddedResourceFiles()) {
    for (const ui::DialogTemplate& dialog : ui::ParseResources(file.name, file.text).dialogs) {
      WindowCase c;
      c.id = dialog.id;
      c.templateName = dialog.name;
      c.page = dialog.child;
      std::string name = dialog.id != 0 ? std::to_string(dialog.id) : dialog.name;
      if (!dialog.caption.empty() && dialog.id != 0) name += "-" + dialog.caption;
      for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      }
      c.name = "window_" + name;
      cases.push_back(c);
    }
  }
  return cases;
}

class ToolWindowScreenshot : public ::testing::TestWithParam<WindowCase> {
 protected:
  ui::ResourceRegistry resources = ui::ResourceRegistry::FromEmbedded();
  ui::WindowSystem windows{resources};
  qt::QtFrontEnd frontEnd{windows};
  ui::Window main{windows};
  ui::Window window{windows};
};

TEST_P(ToolWindowScreenshot, OpensRendersAndShowsEverythingUncut) {
  const WindowCase& c = GetParam();
  ASSERT_TRUE(resources.Errors().empty()) << resources.Errors().front().ToString();
  if (c.page) {
    ASSERT_TRUE(main.Create("Control Tool Body"));
    ASSERT_TRUE(c.id != 0 ? window.Create(c.id, &main) : window.Create(c.templateName, &main));
    main.GetControl(1244)->AddItem(window.Title().empty() ? c.name : window.Title(), 0);
    main.GetControl(1244)->SetSelection(0);
    main.Show(true);
  } else {
    ASSERT_TRUE(c.id != 0 ? window.Create(c.id) : window.Create(c.templateName));
  }
  window.Show(true);
  qt::WindowView* view = frontEnd.GetRenderer().ViewOf(window);
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(WaitUntil([view] { return view->Frame()->isVisible(); }));

  std::string error;
  const std::string path = ScreenshotPath(c.name);
  QFile::remove(QString::fromStdString(path));
  ASSERT_TRUE(qt::SaveScreenshot(frontEnd.GetRenderer(), window, path, &error)) << error;

  const QImage image(QString::fromStdString(path));
  ASSERT_FALSE(image.isNull());
  if (!c.page) {
    EXPECT_GE(image.width(), window.Geometry().width);
  }
  EXPECT_GE(image.height(), 40);
  ExpectNothingClipped(view->Content());
}

INSTANTIATE_TEST_SUITE_P(Embedded, ToolWindowScreenshot, ::testing::ValuesIn(EmbeddedWindows()),
                         [](const ::testing::TestParamInfo<WindowCase>& info) {
                           return info.param.name;
                         });

TEST(EmbeddedWindowList, HoldsTheMainWindowAndItsPages) {
  const std::vector<WindowCase> cases = EmbeddedWindows();
  EXPECT_TRUE(std::any_of(cases.begin(), cases.end(), [](const WindowCase& c) {
    return c.templateName == "Control Tool Body";
  }));
  EXPECT_GE(std::count_if(cases.begin(), cases.end(), [](const WindowCase& c) { return c.page; }),
            7);
}

// The main window as the operator first sees it: tabs, the first page, the status strip.
TEST(MainWindowScreenshot, WithItsPagesInTheTabControl) {
  ui::ResourceRegistry resources = ui::ResourceRegistry::FromEmbedded();
  ui::WindowSystem windows{resources};
  qt::QtFrontEnd frontEnd{windows};
  ui::Window main{windows};
  std::vector<std::unique_ptr<ui::Window>> pages;
  const std::vector<std::pair<int, const char*>> tabs = {{112, "User A"}, {113, "User B"},
                                                         {114, "User C"}, {115, "User D"},
                                                         {125, "User E"}, {107, "Factory A"}};
  ASSERT_TRUE(main.Create("Control Tool Body"));
  for (const auto& [id, caption] : tabs) {
    pages.push_back(std::make_unique<ui::Window>(windows));
    ASSERT_TRUE(pages.back()->Create(id, &main));
    main.GetControl(1244)->AddItem(caption, static_cast<int>(pages.size()) - 1);
  }
  main.GetControl(1244)->SetSelection(0);
  main.GetControl(1161)->SetImage(resources.FindImage(302));
  main.SetTitle("QX-4400x8800M-RLNK Control Tool  Ver 0.18");
  pages.front()->Show(true);
  main.Show(true);
  QWidget* frame = frontEnd.GetRenderer().WidgetOf(main);
  ASSERT_TRUE(WaitUntil([frame] { return frame->isVisible(); }));

  const std::string path = ScreenshotPath("main-window-user-a");
  std::string error;
  ASSERT_TRUE(qt::SaveScreenshot(frontEnd.GetRenderer(), main, path, &error)) << error;
  const QImage image(QString::fromStdString(path));
  ASSERT_FALSE(image.isNull());
  EXPECT_GE(image.width(), 920);
  // The whole window fits a 1366 x 768 screen with room for its title bar.
  EXPECT_LE(frame->height(), 768 - 40);
  EXPECT_LE(frame->width(), 1366);
  auto* tabHost =
      qobject_cast<qt::TabHost*>(frontEnd.GetRenderer().WidgetOf(*main.GetControl(1244)));
  ASSERT_NE(tabHost, nullptr);
  EXPECT_EQ(tabHost->Bar()->count(), 6);
}

TEST(ScreenshotErrors, WindowWithoutView_IsReported) {
  ui::ResourceRegistry resources = ui::ResourceRegistry::FromEmbedded();
  ui::WindowSystem windows{resources};
  qt::Renderer renderer{windows};
  ui::Window never{windows};
  std::string error;
  EXPECT_FALSE(qt::SaveScreenshot(renderer, never, ScreenshotPath("never"), &error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace qx::test
