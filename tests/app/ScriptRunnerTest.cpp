#include "app/script/ScriptRunner.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/script/ScriptHost.h"
#include "ui/HeadlessDesktop.h"
#include "ui/ResourceRegistry.h"
#include "ui/Window.h"
#include "ui/WindowSystem.h"

namespace qx::script {
namespace {

constexpr const char* kResources = R"x(
menu 800
  popup "File"
    item 40010 "Ask"
    item 2 "Exit"
  end
  popup "Grey" grayed
    item 40011 "Never"
  end
end
dialog 9100 caption "Main" menu 800
  tab 1244 at 0 0 300 200
  edit 1100 at 0 0 50 20
  updown 1101 buddy 1100 range 0 50 pos 5 at 50 0 10 20
  combo 1102 items "a"=10 "b \"q\""=20 sel 0 at 0 30 80 20
  autocheck 1103 "Check" at 0 60 80 20
  button 1104 "Info" at 0 90 80 20
  button 1105 "Load" at 0 120 80 20
  button 1106 "Off" at 0 150 80 20 disabled
  picture 1161 at 0 190 4 4 image 302
end
dialog 9101 caption "Ask"
  edit 1200
  button 1 "OK"
  button 2 "Cancel"
end
)x";

// A small application: a main window whose menu opens a modal dialog, a button that shows a
// message and one that asks for a file; everything it does goes into a log.
class TestHost : public ScriptHost {
 public:
  TestHost(ui::WindowSystem& windows, ui::HeadlessDesktop& desktop)
      : desktop_(desktop), main_(windows), ask_(windows) {
    main_.SetEventHandler([this](ui::Event& event) { return OnMain(event); });
    main_.SetInitHandler([this] {
      ui::Control* tab = main_.GetControl(1244);
      tab->AddItem("User A", 0);
      tab->AddItem("User B", 1);
    });
  }
  ui::Window* MainWindow() override { return &main_; }
  void RunMainWindow() override {
    log.push_back("closed " + std::to_string(main_.DoModal(desktop_, 9100, nullptr)));
  }
  bool PrintParameterTable(std::ostream& out, std::string& error) override {
    if (!hasTable) {
      error = "no parameter table";
      return false;
    }
    out << "1338 14 100 100 1 8000000\n";
    return true;
  }

  std::vector<std::string> log;
  bool hasTable = false;

 private:
  bool OnMain(ui::Event& event) {
    if (event.type == ui::EventType::KeyDown) {
      log.push_back("key " + std::to_string(event.key) + (event.shift ? " shift" : "") +
                    (event.ctrl ? " ctrl" : ""));
      return false;
    }
    if (event.type == ui::EventType::Notify) {
      log.push_back("notify " + std::to_string(event.id) + " " + std::to_string(event.code) +
                    " pos " + std::to_string(event.position) + " delta " +
                    std::to_string(event.delta));
      return true;
    }
    if (event.id == ui::kIdOk) return true;
    if (event.id == ui::kIdCancel) {
      if (desktop_.ShowMessageBox(&main_, "Really?", "Confirm", ui::MessageIcon::Question,
                                  ui::MessageButtons::YesNo) == ui::DialogAnswer::Yes) {
        main_.EndDialog(ui::kIdCancel);
      }
      return true;
    }
    if (event.id == 1104) {
      desktop_.ShowMessageBox(&main_, "Done.\nAll good", "Note", ui::MessageIcon::Information,
                              ui::MessageButtons::Ok);
      return true;
    }
    if (event.id == 1105) {
      ui::FileDialogOptions options;
      options.initialPath = "/data/*.cam";
      const ui::FileDialogResult result = desktop_.ShowFileDialog(&main_, options);
      log.push_back("file " + std::to_string(result.code) + " " + result.path);
      return true;
    }
    if (event.id == 40010) {
      std::string typed;
      ask_.SetEventHandler([&](ui::Event& e) {
        if (e.id == ui::kIdOk) typed = ask_.GetControl(1200)->Text();
        return false;
      });
      const int result = ask_.DoModal(desktop_, 9101, &main_);
      log.push_back(result == ui::kIdOk ? "asked " + typed : "ask cancelled");
      return true;
    }
    log.push_back("event " + std::to_string(event.id) + " code " + std::to_string(event.code));
    return true;
  }

  ui::HeadlessDesktop& desktop_;
  ui::Window main_;
  ui::Window ask_;
};

class ScriptRunnerTest : public ::testing::Test {
 protected:
  ScriptRunnerTest() { resources.AddFile("test.qxr", kResources); }

  int Run(const std::string& script) {
    std::istringstream in(script);
    ScriptRunner runner(in, windows, desktop, host, out, err);
    return runner.Run();
  }

  ui::ResourceRegistry resources = ui::ResourceRegistry::FromEmbedded();
  ui::WindowSystem windows{resources};
  ui::HeadlessDesktop desktop;
  TestHost host{windows, desktop};
  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(ScriptRunnerTest, EmptyScriptClosesTheMainWindowAnsweringYes) {
  EXPECT_EQ(Run(""), 0);
  EXPECT_EQ(out.str(), "msgbox question \"Confirm\" \"Really?\" -> yes\n");
  EXPECT_EQ(host.log, (std::vector<std::string>{"closed 2"}));
  EXPECT_EQ(err.str(), "");
}

TEST_F(ScriptRunnerTest, UnansweredQuestionGetsNoAndTheWindowStays) {
  EXPECT_EQ(Run("close\nprint main\n"), 0);
  EXPECT_EQ(out.str(),
            "msgbox question \"Confirm\" \"Really?\" -> no\n"
            "main Window enabled=1 visible=1 text=\"Main\"\n"
            "msgbox question \"Confirm\" \"Really?\" -> yes\n");
}

TEST_F(ScriptRunnerTest, QueuedAnswerClosesTheWindowAndLaterCommandsAreAnError) {
  EXPECT_EQ(Run("answer yes\nclose\nprint main\n"), 2);
  EXPECT_EQ(out.str(), "msgbox question \"Confirm\" \"Really?\" -> yes\n");
  EXPECT_EQ(err.str(), "line 3: the main window has closed; no window takes this command\n");
}

TEST_F(ScriptRunnerTest, MessageBoxesPrintIconCaptionEscapedTextAndAnswer) {
  EXPECT_EQ(Run("click 1104\n"), 0);
  EXPECT_EQ(out.str().substr(0, out.str().find('\n') + 1),
            "msgbox info \"Note\" \"Done.\\nAll good\" -> ok\n");
}

TEST_F(ScriptRunnerTest, AnswerThatFitsNoButtonIsAnErrorOfTheLineShowingTheBox) {
  EXPECT_EQ(Run("answer yes\n# the box below has only OK\nclick 1104\nclick 1104\n"), 2);
  EXPECT_EQ(err.str(), "line 3: the queued answer does not fit a message box with OK\n");
}

TEST_F(ScriptRunnerTest, ModalDialogOpenedByAMenuIsOperatedByTheFollowingCommands) {
  EXPECT_EQ(Run("menu 40010\ntype 1200 hello  # not a comment\nprint main\nclick 1\n"), 0);
  ASSERT_GE(host.log.size(), 1u);
  EXPECT_EQ(host.log[0], "asked hello  # not a comment");
  // While the dialog runs its owner takes no input.
  EXPECT_NE(out.str().find("main Window enabled=0"), std::string::npos);
}

TEST_F(ScriptRunnerTest, ModalDialogStillOpenAtTheEndIsCancelledThenTheMainWindowCloses) {
  EXPECT_EQ(Run("menu 40010\ntype 1200 x\n"), 0);
  EXPECT_EQ(host.log, (std::vector<std::string>{"ask cancelled", "closed 2"}));
}

TEST_F(ScriptRunnerTest, OwnerOfAModalDialogRefusesInput) {
  EXPECT_EQ(Run("menu 40010\nclick 1104\n"), 2);
  EXPECT_EQ(err.str(), "line 2: control 1104 is in a window that is hidden or disabled\n");
}

TEST_F(ScriptRunnerTest, FileAnswersAreQueuedWithPathsAsWritten) {
  EXPECT_EQ(Run("file /tmp/my settings.cam\nclick 1105\nfile cancel\nclick 1105\nclick 1105\n"), 0);
  EXPECT_EQ(host.log[0], "file 1 /tmp/my settings.cam");
  EXPECT_EQ(host.log[1], "file 2 ");
  EXPECT_EQ(host.log[2], "file 2 ");
  EXPECT_NE(out.str().find("filedialog open \"/data/*.cam\" -> \"/tmp/my settings.cam\"\n"),
            std::string::npos);
}

TEST_F(ScriptRunnerTest, PrintShowsTheFieldsThatApply) {
  EXPECT_EQ(Run("type 1100 12\nprint 1100\nspin 1101 3\nprint 1101\nprint 1102\nclick 1103\n"
                "print 1103\nprint 1106\nprint 1161\nprint 1244\nprint 40011\nprint 40010\n"),
            0);
  std::istringstream lines(out.str());
  std::vector<std::string> printed;
  for (std::string line; std::getline(lines, line);) printed.push_back(line);
  ASSERT_GE(printed.size(), 10u);
  EXPECT_EQ(printed[0], "1100 EditBox enabled=1 visible=1 text=\"12\" value=12");
  EXPECT_EQ(printed[1], "1101 SpinBox enabled=1 visible=1 value=15 min=0 max=50");
  EXPECT_EQ(printed[2],
            "1102 DropList enabled=1 visible=1 text=\"a\" value=10 sel=0 "
            "items=[\"a\"=10,\"b \\\"q\\\"\"=20]");
  EXPECT_EQ(printed[3], "1103 CheckBox enabled=1 visible=1 text=\"Check\" value=1");
  EXPECT_EQ(printed[4], "1106 PushButton enabled=0 visible=1 text=\"Off\"");
  EXPECT_EQ(printed[5], "1161 Picture enabled=1 visible=1 bitmap=302");
  EXPECT_EQ(printed[6], "1244 Tab enabled=1 visible=1 sel=-1 items=[\"User A\"=0,\"User B\"=1]");
  EXPECT_EQ(printed[7], "40011 MenuItem enabled=0 text=\"Never\"");
  EXPECT_EQ(printed[8], "40010 MenuItem enabled=1 text=\"Ask\"");
}

TEST_F(ScriptRunnerTest, PrintOfATemplateNumberShowsThatWindow) {
  EXPECT_EQ(Run("print 9100\nmenu 40010\nprint 9101\nclick 2\nprint 9101\n"), 2);
  EXPECT_NE(out.str().find("9100 Window enabled=1 visible=1 text=\"Main\"\n"), std::string::npos);
  EXPECT_NE(out.str().find("9101 Window enabled=1 visible=1 text=\"Ask\"\n"), std::string::npos);
  EXPECT_EQ(err.str(), "line 5: unknown id 9101\n");  // the dialog has ended
}

TEST_F(ScriptRunnerTest, SpinAndSelectAndTabReachTheWindow) {
  EXPECT_EQ(Run("spin 1101 -2\nselect 1102 1\ntab 1\ncommit 1100\n"), 0);
  EXPECT_EQ(host.log[0], "notify 1101 -722 pos 5 delta -2");
  EXPECT_EQ(host.log[1], "event 1102 code 1");
  EXPECT_EQ(host.log[2], "notify 1244 -551 pos 0 delta 0");
  EXPECT_EQ(host.log[3], "event 1100 code 512");
}

TEST_F(ScriptRunnerTest, KeysCarryTheirCodesAndModifiers) {
  EXPECT_EQ(Run("key 1100 F5\nkey 1100 q shift ctrl\nkey 1100 65\nanswer yes\nkey main Escape\n"),
            0);
  EXPECT_EQ(host.log, (std::vector<std::string>{"key 116", "key 81 shift ctrl", "key 65", "key 27",
                                                "closed 2"}));
}

TEST_F(ScriptRunnerTest, WaitLetsTimersRun) {
  int ticks = 0;
  desktop.StartTimer(std::chrono::milliseconds(25), [&] { ++ticks; });
  EXPECT_EQ(Run("wait 100\n"), 0);
  EXPECT_EQ(ticks, 4);
}

TEST_F(ScriptRunnerTest, PrintTableGoesThroughTheHost) {
  EXPECT_EQ(Run("print-table\n"), 2);
  EXPECT_EQ(err.str(), "line 1: no parameter table\n");
  host.hasTable = true;
  out.str("");
  err.str("");
  host.log.clear();
  EXPECT_EQ(Run("print-table\n"), 0);
  EXPECT_EQ(out.str().substr(0, out.str().find('\n')), "1338 14 100 100 1 8000000");
}

TEST_F(ScriptRunnerTest, ErrorStopsTheScriptWithoutAskingToExit) {
  EXPECT_EQ(Run("print 1100\nbogus\nclick 1104\n"), 2);
  EXPECT_EQ(out.str().find("msgbox"), std::string::npos);
  EXPECT_EQ(host.log, (std::vector<std::string>{"closed 2"}));
}

struct GrammarError {
  const char* script;
  const char* message;
};

class ScriptGrammarErrors : public ScriptRunnerTest,
                            public ::testing::WithParamInterface<GrammarError> {};

TEST_P(ScriptGrammarErrors, ExitWithCodeTwoNamingTheLine) {
  EXPECT_EQ(Run(GetParam().script), 2) << GetParam().script;
  EXPECT_EQ(err.str(), std::string(GetParam().message) + "\n") << GetParam().script;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScriptGrammarErrors,
    ::testing::Values(
        GrammarError{"clik 1104\n", "line 1: unknown command \"clik\""},
        GrammarError{"# comment\n\n   \nclick 4242\n", "line 4: unknown id 4242"},
        GrammarError{"click\n", "line 1: usage: click ID"},
        GrammarError{"click 1104 1105\n", "line 1: usage: click ID"},
        GrammarError{"click abc\n", "line 1: bad id \"abc\""},
        GrammarError{"click 1100\n", "line 1: control 1100 is not a button"},
        GrammarError{"click 1106\n", "line 1: control 1106 is disabled"},
        GrammarError{"select 1102 2\n", "line 1: control 1102 has no item 2 (it has 2)"},
        GrammarError{"select 1102\n", "line 1: usage: select ID INDEX"},
        GrammarError{"select 1102 x\n", "line 1: bad number \"x\""},
        GrammarError{"spin 1100 1\n", "line 1: control 1100 is not an up-down control"},
        GrammarError{"type 1102 a\n", "line 1: control 1102 is not an edit field"},
        GrammarError{"commit 4242\n", "line 1: unknown id 4242"},
        GrammarError{"key 1100 Banana\n", "line 1: unknown key \"Banana\""},
        GrammarError{"key 1100 F13\n", "line 1: unknown key \"F13\""},
        GrammarError{"key 1100 Enter alt\n", "line 1: unknown modifier \"alt\""},
        GrammarError{"key 1100\n", "line 1: usage: key ID KEY [shift] [ctrl]"},
        GrammarError{"menu 40011\n", "line 1: menu command 40011 is greyed"},
        GrammarError{"menu 12345\n", "line 1: unknown id 12345"},
        GrammarError{"tab 2\n", "line 1: control 1244 has no tab 2 (it has 2)"},
        GrammarError{"close now\n", "line 1: usage: close"},
        GrammarError{"answer maybe\n", "line 1: usage: answer yes|no|ok|cancel"},
        GrammarError{"file\n", "line 1: usage: file PATH | file cancel"},
        GrammarError{"print 4242\n", "line 1: unknown id 4242"},
        GrammarError{"print\n", "line 1: usage: print ID"},
        GrammarError{"wait -1\n", "line 1: bad number \"-1\""},
        GrammarError{"wait\n", "line 1: usage: wait MS"},
        GrammarError{"print-table now\n", "line 1: usage: print-table"}));

TEST(ScriptKeys, NamesAndCodes) {
  EXPECT_EQ(ParseKeyName("Enter"), 13);
  EXPECT_EQ(ParseKeyName("escape"), 27);
  EXPECT_EQ(ParseKeyName("F1"), 112);
  EXPECT_EQ(ParseKeyName("f12"), 123);
  EXPECT_EQ(ParseKeyName("a"), 'A');
  EXPECT_EQ(ParseKeyName("Z"), 'Z');
  EXPECT_EQ(ParseKeyName("112"), 112);
  EXPECT_FALSE(ParseKeyName("F0").has_value());
  EXPECT_FALSE(ParseKeyName("0").has_value());
  EXPECT_FALSE(ParseKeyName("255").has_value());
  EXPECT_FALSE(ParseKeyName("ab").has_value());
}

}  // namespace
}  // namespace qx::script
