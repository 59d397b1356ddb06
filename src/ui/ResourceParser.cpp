#include "ui/ResourceParser.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <optional>

#include "ui/TemplateLayout.h"

namespace qx::ui {
namespace {

constexpr int kMaxImageSide = 256;
constexpr std::size_t kMaxMenuDepth = 8;

struct Token {
  enum class Kind { Word, Number, String, Symbol };
  Kind kind = Kind::Word;
  std::string text;
  long long number = 0;
};

// Splits one line; false with a reason when a string is not closed or a number is malformed.
bool Tokenize(std::string_view line, std::vector<Token>& tokens, std::string& error) {
  std::size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (c == '#') {
      break;
    } else if (c == '"') {
      std::string text;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char d = line[i++];
        if (d == '"') {
          closed = true;
          break;
        }
        if (d == '\\' && i < line.size()) {
          const char e = line[i++];
          d = e == 'n' ? '\n' : e == 't' ? '\t' : e;
        }
        text.push_back(d);
      }
      if (!closed) {
        error = "unterminated string";
        return false;
      }
      tokens.push_back({Token::Kind::String, std::move(text), 0});
    } else if (c == '|' || c == ':' || c == '=') {
      tokens.push_back({Token::Kind::Symbol, std::string(1, c), 0});
      ++i;
    } else {
      std::size_t end = i;
      while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r' &&
             line[end] != '"' && line[end] != '|' && line[end] != ':' && line[end] != '=' &&
             line[end] != '#') {
        ++end;
      }
      std::string word(line.substr(i, end - i));
      i = end;
      const bool numeric = std::isdigit(static_cast<unsigned char>(word[0])) ||
                           ((word[0] == '-' || word[0] == '+') && word.size() > 1 &&
                            std::isdigit(static_cast<unsigned char>(word[1])));
      if (!numeric) {
        tokens.push_back({Token::Kind::Word, std::move(word), 0});
        continue;
      }
      std::string_view digits = word;
      bool negative = false;
      if (digits[0] == '-' || digits[0] == '+') {
        negative = digits[0] == '-';
        digits.remove_prefix(1);
      }
      int base = 10;
      if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.remove_prefix(2);
      }
      long long value = 0;
      auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
      if (ec != std::errc{} || ptr != digits.data() + digits.size() || value > 0xFFFFFFFFLL) {
        error = "bad number \"" + word + "\"";
        return false;
      }
      tokens.push_back({Token::Kind::Number, word, negative ? -value : value});
    }
  }
  return true;
}

// Reads tokens left to right; every accessor reports what it expected on failure.
class Cursor {
 public:
  Cursor(const std::vector<Token>& tokens, std::size_t begin, std::size_t end)
      : tokens_(tokens), pos_(begin), end_(end) {}

  bool AtEnd() const { return pos_ >= end_; }
  const Token* Peek() const { return AtEnd() ? nullptr : &tokens_[pos_]; }
  bool PeekIs(Token::Kind kind) const { return Peek() != nullptr && Peek()->kind == kind; }
  bool PeekWord(std::string_view word) const {
    return PeekIs(Token::Kind::Word) && Peek()->text == word;
  }
  void Skip() { ++pos_; }

  std::optional<int> Int(const char* what, std::string& error) {
    if (!PeekIs(Token::Kind::Number) || Peek()->number < -2147483648LL ||
        Peek()->number > 0xFFFFFFFFLL) {
      error = std::string("expected ") + what;
      return std::nullopt;
    }
    const long long value = tokens_[pos_++].number;
    return static_cast<int>(static_cast<std::uint32_t>(value));
  }
  std::optional<std::string> String(const char* what, std::string& error) {
    if (!PeekIs(Token::Kind::String)) {
      error = std::string("expected ") + what;
      return std::nullopt;
    }
    return tokens_[pos_++].text;
  }
  std::optional<std::string> Word(const char* what, std::string& error) {
    if (!PeekIs(Token::Kind::Word) && !PeekIs(Token::Kind::String)) {
      error = std::string("expected ") + what;
      return std::nullopt;
    }
    return tokens_[pos_++].text;
  }
  bool Symbol(char symbol) {
    if (PeekIs(Token::Kind::Symbol) && Peek()->text[0] == symbol) {
      ++pos_;
      return true;
    }
    return false;
  }

 private:
  const std::vector<Token>& tokens_;
  std::size_t pos_;
  std::size_t end_;
};

struct KindInfo {
  ControlType type;
  std::uint32_t style;
  bool idOptional;
};

const std::map<std::string, KindInfo, std::less<>>& ControlKinds() {
  static const std::map<std::string, KindInfo, std::less<>> kinds = {
      {"edit", {ControlType::Edit, 0, false}},
      {"updown", {ControlType::UpDown, 0, false}},
      {"combo", {ControlType::ComboBox, style::kComboDropDownList, false}},
      {"listbox", {ControlType::ListBox, 0, false}},
      {"button", {ControlType::Button, style::kPushButton, false}},
      {"defbutton", {ControlType::Button, style::kDefPushButton, false}},
      {"check", {ControlType::Button, style::kCheckBox, false}},
      {"autocheck", {ControlType::Button, style::kAutoCheckBox, false}},
      {"radio", {ControlType::Button, style::kRadioButton, false}},
      {"autoradio", {ControlType::Button, style::kAutoRadioButton, false}},
      {"groupbox", {ControlType::Button, style::kGroupBox, true}},
      {"text", {ControlType::Static, 0, true}},
      {"picture", {ControlType::Picture, style::kStaticBitmap, false}},
      {"iconview", {ControlType::Picture, style::kStaticIcon, false}},
      {"progress", {ControlType::Progress, 0, false}},
      {"tab", {ControlType::Tab, 0, false}},
      {"plot", {ControlType::Plot, 0, false}},
      {"control", {ControlType::Static, 0, false}},
  };
  return kinds;
}

// Window coordinates stay far from the int limits, so sums like top + height never overflow.
constexpr int kMaxCoordinate = 32767;

std::optional<int> ReadCoordinate(Cursor& in, const char* what, int low, std::string& error) {
  const std::optional<int> value = in.Int(what, error);
  if (!value) return std::nullopt;
  if (*value < low || *value > kMaxCoordinate) {
    error = std::string(what) + " must be " + std::to_string(low) + " to " +
            std::to_string(kMaxCoordinate);
    return std::nullopt;
  }
  return value;
}

// X Y W H after "at".
std::optional<Rect> ReadRect(Cursor& in, std::string& error) {
  const auto x = ReadCoordinate(in, "x", -kMaxCoordinate, error);
  const auto y = x ? ReadCoordinate(in, "y", -kMaxCoordinate, error) : std::nullopt;
  const auto w = y ? ReadCoordinate(in, "width", 0, error) : std::nullopt;
  const auto h = w ? ReadCoordinate(in, "height", 0, error) : std::nullopt;
  if (!h) return std::nullopt;
  return Rect{*x, *y, *w, *h};
}

// One control definition: KIND [ID] ["caption"] options...
std::optional<ControlTemplate> ParseControl(Cursor& in, std::string& error) {
  const std::optional<std::string> kindWord = in.Word("a control kind", error);
  if (!kindWord) return std::nullopt;
  auto kind = ControlKinds().find(*kindWord);
  if (kind == ControlKinds().end()) {
    error = "unknown control kind \"" + *kindWord + "\"";
    return std::nullopt;
  }
  ControlTemplate control;
  control.type = kind->second.type;
  control.style = kind->second.style;
  if (in.PeekIs(Token::Kind::Number) || !kind->second.idOptional) {
    const std::optional<int> id = in.Int("a control id", error);
    if (!id) return std::nullopt;
    control.id = *id;
  }
  if (in.PeekIs(Token::Kind::String)) control.caption = *in.String("a caption", error);
  std::optional<std::string> className;
  while (!in.AtEnd()) {
    const std::optional<std::string> option = in.Word("an option", error);
    if (!option) return std::nullopt;
    if (*option == "at") {
      control.rect = ReadRect(in, error);
      if (!control.rect) return std::nullopt;
    } else if (*option == "style") {
      const auto bits = in.Int("style bits", error);
      if (!bits) return std::nullopt;
      control.style |= static_cast<std::uint32_t>(*bits);
    } else if (*option == "class") {
      className = in.Word("a class name", error);
      if (!className) return std::nullopt;
    } else if (*option == "range") {
      const auto low = in.Int("range low end", error);
      const auto high = low ? in.Int("range high end", error) : std::nullopt;
      if (!high) return std::nullopt;
      control.rangeMin = *low;
      control.rangeMax = *high;
    } else if (*option == "pos") {
      const auto pos = in.Int("a position", error);
      if (!pos) return std::nullopt;
      control.position = *pos;
    } else if (*option == "buddy") {
      const auto buddy = in.Int("a buddy id", error);
      if (!buddy) return std::nullopt;
      control.buddy = *buddy;
    } else if (*option == "sel") {
      const auto sel = in.Int("a selection index", error);
      if (!sel) return std::nullopt;
      control.selection = *sel;
    } else if (*option == "image") {
      const auto image = in.Int("an image number", error);
      if (!image) return std::nullopt;
      control.imageId = *image;
    } else if (*option == "items") {
      while (in.PeekIs(Token::Kind::String)) {
        ListItem item{*in.String("an item", error), 0};
        if (in.Symbol('=')) {
          const auto data = in.Int("item data", error);
          if (!data) return std::nullopt;
          item.data = *data;
        }
        control.items.push_back(std::move(item));
      }
    } else if (*option == "disabled") {
      control.disabled = true;
    } else if (*option == "hidden") {
      control.hidden = true;
    } else if (*option == "checked") {
      control.check = 1;
    } else if (*option == "group") {
      control.style |= style::kGroup;
    } else {
      error = "unknown option \"" + *option + "\"";
      return std::nullopt;
    }
  }
  if (*kindWord == "control") {
    if (!className) {
      error = "control needs a class";
      return std::nullopt;
    }
    const std::optional<ControlType> type = ControlTypeOf(*className, control.style);
    if (!type) {
      error = "unknown window class \"" + *className + "\"";
      return std::nullopt;
    }
    control.type = *type;
  } else if (className) {
    error = "only \"control\" takes a class";
    return std::nullopt;
  }
  if (control.selection < -1 || control.selection >= static_cast<int>(control.items.size())) {
    if (control.selection != -1) {
      error = "selection outside the items";
      return std::nullopt;
    }
  }
  return control;
}

struct ImageInProgress {
  Bitmap image;
  std::map<char, Color> palette;
  int rows = 0;
  bool solid = false;
};

class Parser {
 public:
  Parser(std::string_view fileName, std::string_view text) : file_(fileName), text_(text) {}

  ParsedResources Run() {
    std::size_t start = 0;
    while (start <= text_.size()) {
      std::size_t end = text_.find('\n', start);
      if (end == std::string_view::npos) end = text_.size();
      ++line_;
      Line(text_.substr(start, end - start));
      start = end + 1;
    }
    Finish();
    return std::move(out_);
  }

 private:
  enum class State { Top, Dialog, Menu, Image };

  void Error(std::string message) { out_.errors.push_back({file_, line_, std::move(message)}); }

  void Line(std::string_view raw) {
    if (state_ == State::Image && ImageRow(raw)) return;
    std::vector<Token> tokens;
    std::string error;
    if (!Tokenize(raw, tokens, error)) {
      Error(error);
      return;
    }
    if (tokens.empty()) return;
    switch (state_) {
      case State::Top:
        TopLine(tokens);
        break;
      case State::Dialog:
        DialogLine(tokens);
        break;
      case State::Menu:
        MenuLine(tokens);
        break;
      case State::Image:
        ImageLine(tokens);
        break;
    }
  }

  void TopLine(const std::vector<Token>& tokens) {
    Cursor in(tokens, 0, tokens.size());
    std::string error;
    const std::optional<std::string> keyword = in.Word("dialog, menu, bitmap or icon", error);
    if (!keyword) return Error(error);
    if (*keyword == "dialog") return StartDialog(in);
    if (*keyword == "menu") {
      const auto id = in.Int("a menu number", error);
      if (!id) return Error(error);
      if (!in.AtEnd()) return Error("unexpected text after the menu number");
      menu_ = MenuTemplate{*id, {}};
      menuLine_ = line_;
      menuStack_.clear();
      menuStack_.push_back(&menu_.items);
      state_ = State::Menu;
      return;
    }
    if (*keyword == "bitmap" || *keyword == "icon") return StartImage(in);
    if (*keyword == "end") return Error("\"end\" without a block");
    Error("unknown keyword \"" + *keyword + "\"");
  }

  void StartDialog(Cursor& in) {
    std::string error;
    dialog_ = DialogTemplate{};
    dialog_.file = file_;
    dialog_.line = line_;
    if (in.PeekIs(Token::Kind::Number)) {
      dialog_.id = *in.Int("a dialog number", error);
      if (dialog_.id == 0) return Error("dialog number 0 is reserved");
    } else if (in.PeekIs(Token::Kind::String)) {
      dialog_.name = *in.String("a dialog name", error);
      if (dialog_.name.empty()) return Error("empty dialog name");
    } else {
      return Error("expected a dialog number or name");
    }
    bool sized = false;
    while (!in.AtEnd()) {
      const auto option = in.Word("a dialog option", error);
      if (!option) return Error(error);
      if (*option == "caption") {
        const auto caption = in.String("a caption", error);
        if (!caption) return Error(error);
        dialog_.caption = *caption;
      } else if (*option == "at") {
        const auto x = ReadCoordinate(in, "x", -kMaxCoordinate, error);
        const auto y = x ? ReadCoordinate(in, "y", -kMaxCoordinate, error) : std::nullopt;
        if (!y) return Error(error);
        dialog_.rect.left = *x;
        dialog_.rect.top = *y;
      } else if (*option == "size") {
        const auto w = ReadCoordinate(in, "width", 1, error);
        const auto h = w ? ReadCoordinate(in, "height", 1, error) : std::nullopt;
        if (!h) return Error(error);
        dialog_.rect.width = *w;
        dialog_.rect.height = *h;
        sized = true;
      } else if (*option == "menu") {
        const auto menu = in.Int("a menu number", error);
        if (!menu) return Error(error);
        dialog_.menuId = *menu;
      } else if (*option == "icon") {
        const auto icon = in.Int("an icon number", error);
        if (!icon) return Error(error);
        dialog_.iconId = *icon;
      } else if (*option == "child") {
        dialog_.child = true;
      } else {
        return Error("unknown dialog option \"" + *option + "\"");
      }
    }
    (void)sized;
    groupStack_.clear();
    rowInGroup_.clear();
    rowInGroup_[-1] = 0;
    state_ = State::Dialog;
  }

  int CurrentGroup() const { return groupStack_.empty() ? -1 : groupStack_.back(); }

  void AddControl(ControlTemplate control, int row, int column) {
    for (const ControlTemplate& existing : dialog_.controls) {
      if (control.id != -1 && existing.id == control.id) {
        return Error("control id " + std::to_string(control.id) + " is used twice");
      }
    }
    control.groupIndex = CurrentGroup();
    control.row = row;
    control.column = column;
    control.line = line_;
    dialog_.controls.push_back(std::move(control));
  }

  void DialogLine(const std::vector<Token>& tokens) {
    const Token& first = tokens.front();
    if (first.kind == Token::Kind::Word && first.text == "end") {
      if (tokens.size() > 1) return Error("unexpected text after \"end\"");
      if (!groupStack_.empty()) {
        groupStack_.pop_back();
        return;
      }
      return EndDialog();
    }
    if (first.kind == Token::Kind::Word && first.text == "group") {
      Cursor in(tokens, 1, tokens.size());
      std::string error;
      ControlTemplate box;
      box.type = ControlType::Button;
      box.style = style::kGroupBox;
      const auto caption = in.String("a group caption", error);
      if (!caption) return Error(error);
      box.caption = *caption;
      if (in.PeekIs(Token::Kind::Number)) box.id = *in.Int("a group id", error);
      if (in.PeekWord("at")) {
        in.Skip();
        box.rect = ReadRect(in, error);
        if (!box.rect) return Error(error);
      }
      if (!in.AtEnd()) return Error("unexpected text after the group");
      if (groupStack_.size() >= 4) return Error("groups nested too deeply");
      const std::size_t before = dialog_.controls.size();
      AddControl(std::move(box), NextRow(), 0);
      if (dialog_.controls.size() == before) return;
      const int index = static_cast<int>(dialog_.controls.size()) - 1;
      groupStack_.push_back(index);
      rowInGroup_[index] = 0;
      return;
    }
    if (first.kind == Token::Kind::Word && first.text == "row") return RowLine(tokens);
    Cursor in(tokens, 0, tokens.size());
    std::string error;
    std::optional<ControlTemplate> control = ParseControl(in, error);
    if (!control) return Error(error);
    AddControl(std::move(*control), control->rect ? -1 : NextRow(), 0);
  }

  int NextRow() { return rowInGroup_[CurrentGroup()]++; }

  // row ["label"] : control | control ...
  void RowLine(const std::vector<Token>& tokens) {
    std::size_t pos = 1;
    std::optional<std::string> label;
    if (pos < tokens.size() && tokens[pos].kind == Token::Kind::String) label = tokens[pos++].text;
    if (pos >= tokens.size() || tokens[pos].kind != Token::Kind::Symbol ||
        tokens[pos].text != ":") {
      return Error("expected \":\" after the row label");
    }
    ++pos;
    // Parse every control first so that a bad row adds nothing.
    std::vector<ControlTemplate> controls;
    if (label) {
      ControlTemplate text;
      text.type = ControlType::Static;
      text.caption = *label;
      controls.push_back(std::move(text));
    }
    while (pos < tokens.size()) {
      std::size_t end = pos;
      while (end < tokens.size() &&
             !(tokens[end].kind == Token::Kind::Symbol && tokens[end].text == "|")) {
        ++end;
      }
      if (end == pos) return Error("empty cell in row");
      Cursor in(tokens, pos, end);
      std::string error;
      std::optional<ControlTemplate> control = ParseControl(in, error);
      if (!control) return Error(error);
      controls.push_back(std::move(*control));
      pos = end + 1;
      if (end < tokens.size() && pos == tokens.size()) return Error("empty cell in row");
    }
    if (controls.empty()) return Error("empty row");
    const int row = NextRow();
    int column = 0;
    for (ControlTemplate& control : controls) AddControl(std::move(control), row, column++);
  }

  void EndDialog() {
    // Up-down buddies name controls of the same window.
    for (const ControlTemplate& control : dialog_.controls) {
      if (control.type != ControlType::UpDown || control.buddy == 0) continue;
      const bool found =
          std::any_of(dialog_.controls.begin(), dialog_.controls.end(),
                      [&](const ControlTemplate& c) { return c.id == control.buddy; });
      if (!found) {
        out_.errors.push_back({file_, control.line,
                               "buddy " + std::to_string(control.buddy) + " of up-down " +
                                   std::to_string(control.id) + " is not in the dialog"});
      }
    }
    LayOutTemplate(dialog_);
    out_.dialogs.push_back(std::move(dialog_));
    dialog_ = DialogTemplate{};
    state_ = State::Top;
  }

  void MenuLine(const std::vector<Token>& tokens) {
    Cursor in(tokens, 0, tokens.size());
    std::string error;
    const auto keyword = in.Word("popup, item, separator or end", error);
    if (!keyword) return Error(error);
    if (*keyword == "end") {
      if (!in.AtEnd()) return Error("unexpected text after \"end\"");
      menuStack_.pop_back();
      if (menuStack_.empty()) {
        out_.menus.push_back(std::move(menu_));
        menu_ = MenuTemplate{};
        state_ = State::Top;
      }
      return;
    }
    if (*keyword == "separator") {
      if (!in.AtEnd()) return Error("unexpected text after \"separator\"");
      MenuItem item;
      item.separator = true;
      menuStack_.back()->push_back(std::move(item));
      return;
    }
    MenuItem item;
    if (*keyword == "item") {
      const auto id = in.Int("a command id", error);
      if (!id) return Error(error);
      if (*id <= 0) return Error("command ids are positive");
      item.commandId = *id;
    } else if (*keyword == "popup") {
      item.popup = true;
    } else {
      return Error("unknown menu keyword \"" + *keyword + "\"");
    }
    const auto text = in.String("the entry text", error);
    if (!text) return Error(error);
    item.text = *text;
    if (in.PeekWord("grayed")) {
      in.Skip();
      item.grayed = true;
    }
    if (!in.AtEnd()) return Error("unexpected text after the menu entry");
    std::vector<MenuItem>& level = *menuStack_.back();
    level.push_back(std::move(item));
    if (level.back().popup) {
      if (menuStack_.size() > kMaxMenuDepth) return Error("menus nested too deeply");
      menuStack_.push_back(&level.back().children);
    }
  }

  // bitmap|icon ID W H [solid R G B]
  void StartImage(Cursor& in) {
    std::string error;
    const auto id = in.Int("an image number", error);
    const auto w = id ? in.Int("width", error) : std::nullopt;
    const auto h = w ? in.Int("height", error) : std::nullopt;
    if (!h) return Error(error);
    if (*w <= 0 || *h <= 0 || *w > kMaxImageSide || *h > kMaxImageSide) {
      return Error("image size must be 1 to " + std::to_string(kMaxImageSide));
    }
    image_ = ImageInProgress{};
    image_.image.id = *id;
    image_.image.width = *w;
    image_.image.height = *h;
    if (in.PeekWord("solid")) {
      in.Skip();
      const auto color = ReadColor(in, error);
      if (!color) return Error(error);
      if (!in.AtEnd()) return Error("unexpected text after the colour");
      image_.image.pixels.assign(static_cast<std::size_t>(*w) * static_cast<std::size_t>(*h),
                                 *color);
      out_.images.push_back(std::move(image_.image));
      return;
    }
    if (!in.AtEnd()) return Error("expected \"solid\" or the end of the line");
    imageLine_ = line_;
    state_ = State::Image;
  }

  static std::optional<Color> ReadColor(Cursor& in, std::string& error) {
    int parts[4] = {0, 0, 0, 255};
    for (int i = 0; i < 4; ++i) {
      if (i == 3 && !in.PeekIs(Token::Kind::Number)) break;
      const auto value = in.Int("a colour component", error);
      if (!value) return std::nullopt;
      if (*value < 0 || *value > 255) {
        error = "colour components are 0 to 255";
        return std::nullopt;
      }
      parts[i] = *value;
    }
    return Color{static_cast<std::uint8_t>(parts[0]), static_cast<std::uint8_t>(parts[1]),
                 static_cast<std::uint8_t>(parts[2]), static_cast<std::uint8_t>(parts[3])};
  }

  // A pixel row: exactly width palette characters, possibly indented. Returns false when the
  // line is not a pixel row (a keyword line).
  bool ImageRow(std::string_view raw) {
    std::size_t begin = 0;
    std::size_t end = raw.size();
    while (begin < end && (raw[begin] == ' ' || raw[begin] == '\t')) ++begin;
    while (end > begin && (raw[end - 1] == ' ' || raw[end - 1] == '\t' || raw[end - 1] == '\r')) {
      --end;
    }
    const std::string_view row = raw.substr(begin, end - begin);
    if (row.empty() || row[0] == '#' || row.substr(0, 7) == "palette" || row == "end") {
      return false;
    }
    if (static_cast<int>(row.size()) != image_.image.width) {
      Error("pixel row must have " + std::to_string(image_.image.width) + " characters");
      return true;
    }
    if (image_.rows >= image_.image.height) {
      Error("more pixel rows than the image height");
      return true;
    }
    for (char c : row) {
      auto color = image_.palette.find(c);
      if (color == image_.palette.end()) {
        Error(std::string("pixel '") + c + "' is not in the palette");
        image_.image.pixels.push_back(Color{0, 0, 0, 0});
      } else {
        image_.image.pixels.push_back(color->second);
      }
    }
    ++image_.rows;
    return true;
  }

  void ImageLine(const std::vector<Token>& tokens) {
    Cursor in(tokens, 0, tokens.size());
    std::string error;
    const auto keyword = in.Word("palette or end", error);
    if (!keyword) return Error(error);
    if (*keyword == "end") {
      state_ = State::Top;
      if (image_.rows != image_.image.height) {
        return Error("image " + std::to_string(image_.image.id) + " has " +
                     std::to_string(image_.rows) + " of " + std::to_string(image_.image.height) +
                     " rows");
      }
      out_.images.push_back(std::move(image_.image));
      return;
    }
    if (*keyword == "palette") {
      const auto key = in.Word("a palette character", error);
      if (!key) return Error(error);
      if (key->size() != 1) return Error("a palette entry is one character");
      const auto color = ReadColor(in, error);
      if (!color) return Error(error);
      if (!in.AtEnd()) return Error("unexpected text after the colour");
      image_.palette[(*key)[0]] = *color;
      return;
    }
    Error("unknown image keyword \"" + *keyword + "\"");
  }

  void Finish() {
    switch (state_) {
      case State::Top:
        return;
      // Reported where the unfinished block starts, which is where the reader must look.
      case State::Dialog:
        out_.errors.push_back({file_, dialog_.line, "dialog has no \"end\""});
        return;
      case State::Menu:
        out_.errors.push_back({file_, menuLine_, "menu has no \"end\""});
        return;
      case State::Image:
        out_.errors.push_back({file_, imageLine_, "image has no \"end\""});
        return;
    }
  }

  std::string file_;
  std::string_view text_;
  int line_ = 0;
  State state_ = State::Top;
  ParsedResources out_;
  DialogTemplate dialog_;
  std::vector<int> groupStack_;
  std::map<int, int> rowInGroup_;
  MenuTemplate menu_;
  std::vector<std::vector<MenuItem>*> menuStack_;
  ImageInProgress image_;
  int imageLine_ = 0;
  int menuLine_ = 0;
};

}  // namespace

std::string ResourceError::ToString() const {
  return file + ":" + std::to_string(line) + ": " + message;
}

ParsedResources ParseResources(std::string_view fileName, std::string_view text) {
  return Parser(fileName, text).Run();
}

}  // namespace qx::ui
