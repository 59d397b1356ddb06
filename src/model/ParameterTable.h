#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qx {

class Command;
namespace ui {
class Desktop;
}

enum class ControlKind : int { Check = 1, List = 4, Number = 6, Action = 7 };
enum class ParameterClass : int { None = 0, User = 1, Factory = 2 };

// One feature control bound to one camera command, with the setting's limits, the value the
// tool holds and the value last known to be in the camera.
struct ParameterRow {
  int controlId = -1;  // -1 only in the end marker
  int commandId = 0;
  ControlKind kind = ControlKind::Number;
  int reserved = 0;
  ParameterClass parameterClass = ParameterClass::None;
  int min = 0;
  int max = 0;
  int current = 0;
  int previous = 0;
  int file = 0;  // 1: applied when a camera setting file is loaded
  int page = 0;  // template of the feature page holding the control; 0 when no page does
};

// Shows a value in the control with that id (the page binding provides it).
class ControlValueWriter {
 public:
  virtual ~ControlValueWriter() = default;
  virtual int SetControlValue(int controlId, int value) = 0;
};

// The tool's model of the camera's settings: 328 rows in a fixed order, ended by a marker row
// with control id -1. Every walk visits the rows in this order and every lookup returns the
// first matching row. Lookups for an unknown control id show a warning and return the
// operation's failure value.
class ParameterTable {
 public:
  static constexpr int kRowCount = 328;

  explicit ParameterTable(ui::Desktop& desktop);

  int GetDataValue(int controlId);
  int SetDataValue(int controlId, int value);
  int GetPreviousValue(int controlId);
  void CommitAll();
  int ToCmdId(int controlId);
  int ToCtrlId(int commandId);
  int CtrlId2TblIndex(int controlId);
  int GetReserved(int controlId);
  int GetLimits(int controlId, int& min, int& max);
  int SetLimits(int controlId, int min, int max);
  int IsFactoryParam(int controlId);
  // 0, silently, for an unknown control id.
  int FileFlagOf(int controlId) const;
  bool IsReadable(int rowIndex) const;
  // Computed once and kept: the columns they depend on never change.
  int ReadableCount();
  int ReadableUserCount();

  void WriteAllToControls(ControlValueWriter& controls) const;
  void WriteChangedToControls(ControlValueWriter& controls) const;
  // Sends every row whose current value differs from its previous value and reads it back;
  // stops at the first failed send (later rows stay changed for the next push).
  void PushChangedValues(Command& command, ControlValueWriter& controls, int timeoutMs);
  // The blemish position maxima follow the sensor of the identified model.
  void ApplyModelLimits(int cameraModel);

  // The rows without the end marker.
  const std::vector<ParameterRow>& Rows() const { return rows_; }
  // The row of a control id, or null; never shows a message.
  const ParameterRow* FindRow(int controlId) const;

 private:
  std::optional<size_t> IndexOf(int controlId) const;
  void Warn(const std::string& text);

  ui::Desktop& desktop_;
  std::vector<ParameterRow> rows_;
  std::optional<int> readableCount_;
  std::optional<int> readableUserCount_;
};

}  // namespace qx
