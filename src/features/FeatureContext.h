#pragma once

namespace qx {

class CameraModel;
class Command;
class ControlMode;
class FeatureControls;
class ParameterTable;
namespace ui {
class Desktop;
}

// Main-window state that the feature rules read and write.
struct MainWindowFields {
  int clConfiguration = 1;  // m_ClConfguration: 0 Base, 1 Medium, 2 Full, 3 Eighty-Bit
  int bitAllocation = 3;    // m_BitAllocation: 3 RGB8, 4 RGB10, 5 RGB12
  int sensClkFreq = 2;      // m_SensClkFreq: 0 37.1MHz, 1 74.3MHz, 2 84.9MHz
  int online = 0;           // channel open and camera identified
  int reconnected = 0;      // the communication dialog connected during start-up
};

// What the feature rules work on: the parameter table, the controls of the pages, the
// protocol, the identified model and the main window's fields.
struct FeatureContext {
  ParameterTable& table;
  FeatureControls& controls;
  Command& command;
  CameraModel& model;
  ControlMode& mode;
  MainWindowFields& fields;
  ui::Desktop& desktop;
};

}  // namespace qx
