#pragma once
// The preview's simulator: expands a page's internal tags against simulated
// module values. TdeviceSimulator finds the tags and resolves IF / ELSE /
// ENDIF blocks; TvormekWebSimulator evaluates each tag kind of the module
// against its TvormekParams and reads and writes module keys.
//
// Problems are reported through OnError with the 0-based line of the tag
// being evaluated (line breaks of any form before it in the text as it
// stands). Reporting never stops an expansion; a number that cannot be read
// (EConvertError) or a division by zero (EZeroDivide) ends it and reaches
// the caller.
//
// The setup frame that shows the values belongs to the window layer; it
// attaches itself with SetSimulatorControl and is told to redisplay through
// OnValuesChanged.
#include <functional>
#include <memory>

#include "core/DebugBaseU.h"
#include "core/VormekParamsU.h"
#include "core/ZelWebCmdU.h"

namespace rtl {
class TCustomIniFile;
}
namespace vcl {
class TObject;
class TWinControl;
}

namespace core {

class TKnRegEx;

// The search pattern of an internal tag (used with the ignore-case option).
inline constexpr char kSimulatorTagPattern[] = "<#_zelbe54f7mdl[^<>#]*/>";

// What the conditional tags evaluate to; they never reach the output.
inline constexpr char kIfTrueMarker[] = "___ZEL_5D00D72C_7042_4177_B8F6_68B6F0FA03E8_MDL___IF_EVAL_IS_TRUE_";
inline constexpr char kIfFalseMarker[] = "___ZEL_2595539E_A274_4235_BD2F_BEE6B99E046A_MDL___IF_EVAL_IS_FALSE";
inline constexpr char kElseMarker[] = "___ZEL_79B521EB_F90F_421E_8F0D_3EB84B03D735_MDL___ELSE_";
inline constexpr char kEndIfMarker[] = "___ZEL_8EE9C0FE_7660_43BF_8940_5FA298270738_MDL___ENDIF_";

// The setup frame as the main window reaches it. Implemented by the window
// layer; whoever made the frame frees it.
class IdeviceSimulatorControl {
 public:
  using TNotifyEvent = std::function<void(vcl::TObject* Sender)>;
  // Docks the frame into parent, which it then fills.
  virtual void SetParentControl(vcl::TWinControl* parent) = 0;
  // Loads the simulated values from the project file and redisplays them.
  virtual void LoadFromIni(rtl::TCustomIniFile& ini) = 0;
  virtual void SaveToIni(rtl::TCustomIniFile& ini) = 0;
  // The handler of the frame's Refresh button.
  virtual void SetOnRefresh(TNotifyEvent handler) = 0;

 protected:
  ~IdeviceSimulatorControl() = default;
};

// A message and the 0-based line it belongs to.
using TSimulatorErrorEvent = std::function<void(const AnsiString& message, Integer line)>;

class TdeviceSimulator : public TDebugBase {
 public:
  // parser: reads the tags' attributes; not owned, must outlive the simulator.
  explicit TdeviceSimulator(TzelwebParser* parser);
  ~TdeviceSimulator() override;
  TdeviceSimulator(const TdeviceSimulator&) = delete;
  TdeviceSimulator& operator=(const TdeviceSimulator&) = delete;
  const char* ClassName() const override { return "TdeviceSimulator"; }

  // The setup frame's interface; null while no frame is attached.
  virtual IdeviceSimulatorControl* GetSimulatorControl() = 0;
  // Replaces text (one internal tag) by the tag's result. scanning is True
  // while the tags of a kept IF block are looked over before the block is
  // expanded; a tag with side effects keeps still then.
  virtual void EvaluateTag(AnsiString& text, bool scanning) = 0;
  virtual void LoadFromIni(rtl::TCustomIniFile& ini) = 0;
  virtual void SaveToIni(rtl::TCustomIniFile& ini) = 0;
  // Evaluates every internal tag of text, in text order, and resolves the
  // conditional blocks. Unchanged text when an exception ends the run.
  virtual void Expand(AnsiString& text);

  // Reports message at line; a negative line means the current line.
  virtual void DoError(const AnsiString& message, Integer line);

  TzelwebParser* Parser() const { return parser_; }
  // The line of the tag being evaluated.
  Integer CurrentLine() const { return currentLine_; }
  // Deeper IF nesting is reported (and still resolved).
  Integer NestingLimit() const { return nestingLimit_; }

  TSimulatorErrorEvent OnError;

 protected:
  void SetNestingLimit(Integer limit) { nestingLimit_ = limit; }
  void SetCurrentLine(Integer line) { currentLine_ = line; }

 private:
  class Expansion;

  TzelwebParser* parser_;
  std::unique_ptr<TKnRegEx> regEx_;
  Integer currentLine_ = 0;
  Integer nestingLimit_ = 2147483647;
};

class TvormekWebSimulator : public TdeviceSimulator {
 public:
  // Nesting limit 20; the simulated values start at their defaults.
  explicit TvormekWebSimulator(TzelwebParser* parser);
  ~TvormekWebSimulator() override;
  const char* ClassName() const override { return "TvormekWebSimulator"; }

  IdeviceSimulatorControl* GetSimulatorControl() override { return control_; }
  void EvaluateTag(AnsiString& text, bool scanning) override;
  // The values' project-file sections; loading tells the frame to redisplay.
  void LoadFromIni(rtl::TCustomIniFile& ini) override;
  void SaveToIni(rtl::TCustomIniFile& ini) override;
  // The base's expansion, then the frame redisplays what EXEC tags changed.
  void Expand(AnsiString& text) override;

  // The module key read and write of READ, IF KEY and EXEC tags. The class
  // and pin come from the tag's classifier attributes ("KEY_CMD_CLASS",
  // "KEY_PIN_NUM"); key names the extra key and the "Unknown key: " report.
  AnsiString ReadKey(const AnsiString& key, const TzelVarList& attributes);
  void WriteKey(const AnsiString& key, const TzelVarList& attributes);

  TvormekParams& Params() { return *params_; }
  const TvormekParams& Params() const { return *params_; }

  // The frame attaches itself here (not owned; null detaches it).
  void SetSimulatorControl(IdeviceSimulatorControl* control) { control_ = control; }
  // Raised after the values were loaded or an expansion ran: the frame
  // shows them again.
  std::function<void(TvormekWebSimulator* Sender)> OnValuesChanged;

 private:
  // The state of pin as 0 or 1; a pin outside 1..17 is reported and reads 0.
  Byte PinState(Integer pin);
  // The volts of an analog pin (1..5); any other pin is reported and reads 0.
  float PinVolts(Integer pin);
  AnsiString Calculation(const TzelVarList& v);
  AnsiString SerialData(const TzelVarList& v);
  void PlugInReport(const TzelVarList& v);
  bool PinCondition(const TzelVarList& v);
  bool KeyCondition(const TzelVarList& v);
  // The pin of a pin key ("KEY_PIN_NUM").
  enum class KeyPinResult { NotInteger, NoSuchPin, Found };
  KeyPinResult KeyPin(const TzelVarList& attributes, Integer& pin);
  void ValuesChanged();

  std::unique_ptr<TvormekParams> params_;
  IdeviceSimulatorControl* control_ = nullptr;
};

}  // namespace core
