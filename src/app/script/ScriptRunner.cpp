#include "app/script/ScriptRunner.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <sstream>

#include "app/script/ScriptHost.h"
#include "ui/Control.h"
#include "ui/HeadlessDesktop.h"
#include "ui/OperatorInput.h"
#include "ui/Window.h"
#include "ui/WindowSystem.h"

namespace qx::script {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::optional<int> ParseInt(const std::string& text) {
  int value = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (first != last && *first == '+') ++first;
  auto [ptr, ec] = std::from_chars(first, last, value);
  if (first == last || ec != std::errc{} || ptr != last) return std::nullopt;
  return value;
}

// Splits at blanks; a word starting with '#' ends the line (a trailing comment).
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  std::string word;
  while (in >> word) {
    if (word[0] == '#') break;
    words.push_back(word);
  }
  return words;
}

const char* IconName(ui::MessageIcon icon) {
  switch (icon) {
    case ui::MessageIcon::Information:
      return "info";
    case ui::MessageIcon::Exclamation:
      return "warning";
    case ui::MessageIcon::Stop:
      return "error";
    case ui::MessageIcon::Question:
      return "question";
    case ui::MessageIcon::None:
      break;
  }
  return "none";
}

const char* AnswerName(ui::DialogAnswer answer) {
  switch (answer) {
    case ui::DialogAnswer::Ok:
      return "ok";
    case ui::DialogAnswer::Cancel:
      return "cancel";
    case ui::DialogAnswer::Yes:
      return "yes";
    case ui::DialogAnswer::No:
      return "no";
  }
  return "ok";
}

const char* ButtonsName(ui::MessageButtons buttons) {
  switch (buttons) {
    case ui::MessageButtons::Ok:
      return "OK";
    case ui::MessageButtons::OkCancel:
      return "OK and Cancel";
    case ui::MessageButtons::YesNo:
      return "Yes and No";
  }
  return "OK";
}

std::string KindName(const ui::Control& control) {
  switch (control.Type()) {
    case ui::ControlType::Static:
      return "Static";
    case ui::ControlType::Picture:
      return "Picture";
    case ui::ControlType::ListBox:
      return "ListBox";
    case ui::ControlType::Progress:
      return "Progress";
    case ui::ControlType::Tab:
      return "Tab";
    case ui::ControlType::Plot:
      return "Plot";
    default:
      return std::string(ui::WidgetKindName(control.Kind()));
  }
}

// Value of an edit field's text read as a decimal number: its leading digits, 0 if none.
long long LeadingNumber(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) &&
         value < 10000000000LL) {
    value = value * 10 + (text[i++] - '0');
  }
  return negative ? -value : value;
}

std::string ItemsField(const ui::Control& control) {
  std::string field = "items=[";
  bool first = true;
  for (const ui::ListItem& item : control.Items()) {
    if (!first) field += ",";
    first = false;
    field += QuoteForOutput(item.text) + "=" + std::to_string(item.data);
  }
  return field + "]";
}

bool EffectiveVisible(const ui::Control& control) {
  if (!control.IsVisible()) return false;
  for (const ui::Window* w = &control.Owner(); w != nullptr;
       w = w->IsChild() ? w->Parent() : nullptr) {
    if (!w->Exists() || !w->IsVisible()) return false;
  }
  return true;
}

bool EffectiveEnabled(const ui::Control& control) {
  if (!control.IsEnabled()) return false;
  for (const ui::Window* w = &control.Owner(); w != nullptr;
       w = w->IsChild() ? w->Parent() : nullptr) {
    if (!w->IsEnabled()) return false;
  }
  return true;
}

std::string DescribeControl(ui::Control& control) {
  std::ostringstream line;
  line << control.Id() << ' ' << KindName(control) << " enabled=" << EffectiveEnabled(control)
       << " visible=" << EffectiveVisible(control);
  const std::string text = " text=" + QuoteForOutput(control.Text());
  switch (control.Type()) {
    case ui::ControlType::Edit:
      line << text << " value=" << LeadingNumber(control.Text());
      break;
    case ui::ControlType::UpDown:
    case ui::ControlType::Progress:
      line << " value=" << control.StoredPosition() << " min=" << control.RangeMin()
           << " max=" << control.RangeMax();
      break;
    case ui::ControlType::ComboBox: {
      const int sel = control.Selection();
      line << " text=" << QuoteForOutput(control.ItemText(sel).value_or(""))
           << " value=" << control.ItemData(sel).value_or(-1) << " sel=" << sel << ' '
           << ItemsField(control);
      break;
    }
    case ui::ControlType::ListBox:
    case ui::ControlType::Tab:
      line << " sel=" << control.Selection() << ' ' << ItemsField(control);
      break;
    case ui::ControlType::Button:
      line << text;
      if (control.Kind() == ui::WidgetKind::CheckBox ||
          control.Kind() == ui::WidgetKind::RadioButton) {
        line << " value=" << control.CheckState();
      }
      break;
    case ui::ControlType::Static:
      line << text;
      break;
    case ui::ControlType::Picture:
      line << " bitmap=" << (control.Image() ? control.Image()->id : 0);
      break;
    case ui::ControlType::Plot:
      break;
  }
  return line.str();
}

}  // namespace

std::optional<int> ParseKeyName(const std::string& name) {
  const std::string key = Lower(name);
  if (key == "enter") return 13;
  if (key == "escape") return 27;
  if (key.size() >= 2 && key[0] == 'f') {
    const std::optional<int> n = ParseInt(key.substr(1));
    if (n && *n >= 1 && *n <= 12) return 111 + *n;
    return std::nullopt;
  }
  if (key.size() == 1 && key[0] >= 'a' && key[0] <= 'z') return key[0] - 'a' + 'A';
  const std::optional<int> code = ParseInt(key);
  if (code && *code >= 1 && *code <= 254) return code;
  return std::nullopt;
}

std::string QuoteForOutput(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  return out + "\"";
}

ScriptRunner::ScriptRunner(std::istream& script, ui::WindowSystem& windows,
                           ui::HeadlessDesktop& desktop, ScriptHost& host, std::ostream& out,
                           std::ostream& err, ScreenshotFunction screenshot)
    : script_(script),
      windows_(windows),
      desktop_(desktop),
      screenshot_(std::move(screenshot)),
      host_(host),
      out_(out),
      err_(err) {
  desktop_.SetModalDriver([this](ui::Window& window) { DriveModal(window); });
  desktop_.SetMessageBoxListener([this](const ui::HeadlessDesktop::MessageBoxRecord& box) {
    out_ << "msgbox " << IconName(box.icon) << ' ' << QuoteForOutput(box.caption) << ' '
         << QuoteForOutput(box.text) << " -> " << AnswerName(box.answer) << '\n';
    if (box.rejectedAnswer) {
      Fail(std::string("the queued answer does not fit a message box with ") +
           ButtonsName(box.buttons));
    }
  });
  desktop_.SetFileDialogListener([this](const ui::HeadlessDesktop::FileDialogRecord& dialog) {
    out_ << "filedialog " << (dialog.options.save ? "save" : "open") << ' '
         << QuoteForOutput(dialog.options.initialPath) << " -> "
         << (dialog.result.code == 1 ? QuoteForOutput(dialog.result.path) : "cancel") << '\n';
  });
}

ScriptRunner::~ScriptRunner() {
  desktop_.SetModalDriver(nullptr);
  desktop_.SetMessageBoxListener(nullptr);
  desktop_.SetFileDialogListener(nullptr);
}

int ScriptRunner::Run() {
  host_.RunMainWindow();
  if (!failed_ && HasMoreCommands())
    Fail("the main window has closed; no window takes this command");
  out_.flush();
  return failed_ ? kExitScriptError : kExitOk;
}

bool ScriptRunner::HasMoreCommands() {
  std::string line;
  while (!finished_ && std::getline(script_, line)) {
    ++lineNumber_;
    if (!Words(line).empty()) return true;
  }
  finished_ = true;
  return false;
}

void ScriptRunner::DriveModal(ui::Window& window) {
  while (window.Exists() && !window.HasEnded()) {
    if (!Step()) {
      Finish(window);
      return;
    }
  }
}

void ScriptRunner::Finish(ui::Window& window) {
  if (!window.Exists() || window.HasEnded()) return;
  if (!failed_) {
    // Close it as the operator would; the main window's exit question is answered Yes.
    if (&window == host_.MainWindow()) {
      desktop_.ClearQueues();
      desktop_.QueueAnswer(ui::DialogAnswer::Yes);
    }
    ui::Event close;
    close.type = ui::EventType::Command;
    close.id = ui::kIdCancel;
    close.code = ui::notify::kClicked;
    close.control = window.GetControl(ui::kIdCancel);
    window.Dispatch(close);
    desktop_.ClearQueues();
  }
  if (window.Exists() && !window.HasEnded()) window.EndDialog(ui::kIdCancel);
}

void ScriptRunner::Fail(const std::string& reason) {
  if (failed_) return;
  failed_ = true;
  out_.flush();
  err_ << "line " << lineNumber_ << ": " << reason << '\n';
}

bool ScriptRunner::Step() {
  if (failed_ || finished_) return false;
  std::string line;
  while (std::getline(script_, line)) {
    ++lineNumber_;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (Words(line).empty()) continue;
    return Execute(line) && !failed_;
  }
  finished_ = true;
  return false;
}

ui::Window* ScriptRunner::ActiveWindow() {
  if (ui::Window* modal = windows_.ActiveModal()) return modal;
  return host_.MainWindow();
}

ui::Control* ScriptRunner::ResolveControl(const std::string& idText) {
  const std::optional<int> id = ParseInt(idText);
  if (!id || *id < 0) {
    Fail("bad id \"" + idText + "\"");
    return nullptr;
  }
  ui::Control* control = windows_.FindControlForInput(*id);
  if (control == nullptr) Fail("unknown id " + idText);
  return control;
}

bool ScriptRunner::Execute(const std::string& line) {
  const std::vector<std::string> words = Words(line);
  const std::string& command = words[0];
  const std::size_t argc = words.size() - 1;
  auto usage = [this](const char* text) {
    Fail(std::string("usage: ") + text);
    return false;
  };
  auto apply = [this](const ui::InputResult& result) {
    if (!result.ok) Fail(result.error);
    return result.ok;
  };

  if (command == "click") {
    if (argc != 1) return usage("click ID");
    ui::Control* control = ResolveControl(words[1]);
    return control != nullptr && apply(ui::input::Click(*control));
  }
  if (command == "type") {
    if (argc < 1) return usage("type ID TEXT");
    // The text is the rest of the line after the id and one blank, exactly as written.
    const std::size_t idStart = line.find(words[1], line.find("type") + 4);
    const std::size_t idEnd = idStart + words[1].size();
    const std::string text = idEnd < line.size() ? line.substr(idEnd + 1) : std::string();
    ui::Control* control = ResolveControl(words[1]);
    return control != nullptr && apply(ui::input::TypeText(*control, text));
  }
  if (command == "commit") {
    if (argc != 1) return usage("commit ID");
    ui::Control* control = ResolveControl(words[1]);
    return control != nullptr && apply(ui::input::CommitEdit(*control));
  }
  if (command == "select" || command == "spin") {
    if (argc != 2) return usage(command == "select" ? "select ID INDEX" : "spin ID DELTA");
    const std::optional<int> number = ParseInt(words[2]);
    if (!number) {
      Fail("bad number \"" + words[2] + "\"");
      return false;
    }
    ui::Control* control = ResolveControl(words[1]);
    if (control == nullptr) return false;
    return apply(command == "select" ? ui::input::SelectItem(*control, *number)
                                     : ui::input::Spin(*control, *number));
  }
  if (command == "key") return PressKey(words);
  if (command == "menu") {
    if (argc != 1) return usage("menu ID");
    const std::optional<int> id = ParseInt(words[1]);
    if (!id || *id <= 0) {
      Fail("bad id \"" + words[1] + "\"");
      return false;
    }
    ui::Window* window = ActiveWindow();
    if (window == nullptr || window->FindMenuItem(*id) == nullptr) {
      ui::Window* main = host_.MainWindow();
      if (main != nullptr && main->Exists() && main->FindMenuItem(*id) != nullptr) {
        window = main;
      } else {
        Fail("unknown id " + words[1]);
        return false;
      }
    }
    return apply(ui::input::ChooseMenu(*window, *id));
  }
  if (command == "tab") {
    if (argc != 1) return usage("tab INDEX");
    const std::optional<int> index = ParseInt(words[1]);
    if (!index) {
      Fail("bad number \"" + words[1] + "\"");
      return false;
    }
    for (ui::Window* window : {ActiveWindow(), host_.MainWindow()}) {
      if (window == nullptr || !window->Exists()) continue;
      for (const auto& control : window->Controls()) {
        if (control->Type() == ui::ControlType::Tab) {
          return apply(ui::input::SelectTab(*control, *index));
        }
      }
    }
    Fail("no tab control");
    return false;
  }
  if (command == "close") {
    if (argc != 0) return usage("close");
    ui::Window* window = ActiveWindow();
    if (window == nullptr || !window->Exists()) {
      Fail("no window to close");
      return false;
    }
    return apply(ui::input::RequestClose(*window));
  }
  if (command == "answer") {
    if (argc != 1) return usage("answer yes|no|ok|cancel");
    const std::string answer = Lower(words[1]);
    if (answer == "yes") {
      desktop_.QueueAnswer(ui::DialogAnswer::Yes);
    } else if (answer == "no") {
      desktop_.QueueAnswer(ui::DialogAnswer::No);
    } else if (answer == "ok") {
      desktop_.QueueAnswer(ui::DialogAnswer::Ok);
    } else if (answer == "cancel") {
      desktop_.QueueAnswer(ui::DialogAnswer::Cancel);
    } else {
      return usage("answer yes|no|ok|cancel");
    }
    return true;
  }
  if (command == "file") {
    if (argc < 1) return usage("file PATH | file cancel");
    // The path is the rest of the line, so it may hold blanks.
    std::string path = line.substr(line.find("file") + 4);
    path.erase(0, path.find_first_not_of(" \t"));
    path.erase(path.find_last_not_of(" \t") + 1);
    if (path == "cancel") {
      desktop_.QueueFileResult(ui::FileDialogResult{2, ""});
    } else {
      desktop_.QueueFileResult(ui::FileDialogResult{1, path});
    }
    return true;
  }
  if (command == "print") return Print(words);
  if (command == "screenshot") return Screenshot(line, words);
  if (command == "print-table") {
    if (argc != 0) return usage("print-table");
    std::string error;
    if (!host_.PrintParameterTable(out_, error)) {
      Fail(error);
      return false;
    }
    return true;
  }
  if (command == "wait") {
    if (argc != 1) return usage("wait MS");
    const std::optional<int> ms = ParseInt(words[1]);
    if (!ms || *ms < 0) {
      Fail("bad number \"" + words[1] + "\"");
      return false;
    }
    desktop_.LetTimePass(std::chrono::milliseconds(*ms));
    return true;
  }
  Fail("unknown command \"" + command + "\"");
  return false;
}

bool ScriptRunner::PressKey(const std::vector<std::string>& words) {
  if (words.size() < 3 || words.size() > 5) {
    Fail("usage: key ID KEY [shift] [ctrl]");
    return false;
  }
  const std::optional<int> key = ParseKeyName(words[2]);
  if (!key) {
    Fail("unknown key \"" + words[2] + "\"");
    return false;
  }
  bool shift = false;
  bool ctrl = false;
  for (std::size_t i = 3; i < words.size(); ++i) {
    const std::string modifier = Lower(words[i]);
    if (modifier == "shift") {
      shift = true;
    } else if (modifier == "ctrl") {
      ctrl = true;
    } else {
      Fail("unknown modifier \"" + words[i] + "\"");
      return false;
    }
  }
  ui::InputResult result;
  if (words[1] == "main") {
    ui::Window* main = host_.MainWindow();
    if (main == nullptr || !main->Exists()) {
      Fail("the main window does not exist");
      return false;
    }
    result = ui::input::PressKey(*main, nullptr, *key, shift, ctrl);
  } else {
    ui::Control* control = ResolveControl(words[1]);
    if (control == nullptr) return false;
    result = ui::input::PressKey(control->Owner(), control, *key, shift, ctrl);
  }
  if (!result.ok) Fail(result.error);
  return result.ok;
}

bool ScriptRunner::Print(const std::vector<std::string>& words) {
  if (words.size() != 2) {
    Fail("usage: print ID");
    return false;
  }
  if (words[1] == "main") {
    ui::Window* main = host_.MainWindow();
    if (main == nullptr || !main->Exists()) {
      Fail("the main window does not exist");
      return false;
    }
    out_ << "main Window enabled=" << main->IsEnabled() << " visible=" << main->IsVisible()
         << " text=" << QuoteForOutput(main->Title()) << '\n';
    return true;
  }
  const std::optional<int> id = ParseInt(words[1]);
  if (!id || *id < 0) {
    Fail("bad id \"" + words[1] + "\"");
    return false;
  }
  if (ui::Control* control = windows_.FindControlForInput(*id)) {
    out_ << DescribeControl(*control) << '\n';
    return true;
  }
  for (ui::Window* window : {ActiveWindow(), host_.MainWindow()}) {
    if (window == nullptr || !window->Exists()) continue;
    if (const ui::MenuItem* item = window->FindMenuItem(*id)) {
      out_ << *id << " MenuItem enabled=" << window->IsMenuCommandAvailable(*id)
           << " text=" << QuoteForOutput(item->text) << '\n';
      return true;
    }
  }
  if (const ui::Window* found = FindWindowByTemplate(*id)) {
    out_ << *id << " Window enabled=" << found->IsEnabled() << " visible=" << found->IsVisible()
         << " text=" << QuoteForOutput(found->Title()) << '\n';
    return true;
  }
  Fail("unknown id " + words[1]);
  return false;
}

ui::Window* ScriptRunner::FindWindowByTemplate(int templateId) const {
  ui::Window* found = nullptr;
  for (ui::Window* window : windows_.Windows()) {
    if (window->Exists() && window->TemplateId() == templateId &&
        (found == nullptr || (!found->IsVisible() && window->IsVisible()))) {
      found = window;
    }
  }
  return found;
}

bool ScriptRunner::Screenshot(const std::string& line, const std::vector<std::string>& words) {
  if (words.size() < 3) {
    Fail("usage: screenshot WINDOW PATH");
    return false;
  }
  ui::Window* window = nullptr;
  if (words[1] == "main") {
    window = host_.MainWindow();
  } else if (const std::optional<int> id = ParseInt(words[1]); id && *id >= 0) {
    window = FindWindowByTemplate(*id);
  } else {
    Fail("bad window \"" + words[1] + "\"");
    return false;
  }
  if (window == nullptr || !window->Exists()) {
    Fail("no window " + words[1]);
    return false;
  }
  // The path is the rest of the line after the window word, blanks included.
  const std::size_t windowEnd = line.find(words[1], line.find("screenshot") + 10) + words[1].size();
  const std::string path = line.substr(line.find_first_not_of(" \t", windowEnd));
  if (!screenshot_) {
    out_ << "screenshot: a headless run draws no windows; nothing saved\n";
    return true;
  }
  std::string error;
  if (!screenshot_(*window, path, error)) {
    Fail("screenshot: " + error);
    return false;
  }
  return true;
}

}  // namespace qx::script
