#pragma once
// TZelWebExt: the one object through which the main window uses the
// module's tag language. It converts a page when it is opened (comment tags
// to internal tags, the body wrapped in two marker elements) and when it is
// saved (internal tags back, markers removed), runs the simulator for the
// preview and keeps its messages, edits a tag's parameters and tells whether
// a text is an internal tag.
//
//   core::TZelWebExt ext;
//   AnsiString editorHtml = ext.LoadPage(page);
//   AnsiString page2 = ext.SavePage(editorHtml);     // == page, tags canonical
//   AnsiString preview = ext.Simulate(editorHtml);   // ext.Errors(): message + line
#include <memory>

#include "core/DeviceSimulatorU.h"
#include "core/KnExpressionU.h"
#include "core/ZelWebCmdU.h"
#include "rtl/PageProducer.h"
#include "rtl/StringList.h"

namespace core {

// The classes the web extension works with, decided in one place.
struct TzelWebClassRefs {
  std::unique_ptr<TzelwebParser> (*ParserClass)();
  std::unique_ptr<TwebServerTagList> (*TagListClass)();
  std::unique_ptr<TdeviceSimulator> (*SimulatorClass)(TzelwebParser* parser);
};
// The module's parser, tag list and simulator. The web extension makes the
// first and the third; the parser makes its own tag list.
extern const TzelWebClassRefs kWebClassRefs;

// The markers that wrap a page's body while it is in the editor.
inline constexpr char kBodyStartMarker[] = "<div id=\"0331BA3E-5EDC-4571-8323-9C5B5A3FA76E\">";
inline constexpr char kBodyEndMarker[] = "</div id=\"11DBC841-5B8F-42CE-A2A0-57264ABDA3EE\">";

// Puts the start marker right after the body's opening tag and the end
// marker right before "</body>"; a text without "<body" is wrapped whole
// when it holds "<p>", else left alone.
AnsiString WrapBody(const AnsiString& text);
// Removes both markers: every exact occurrence, and what an HTML writer has
// made of them (other letter case or quoting, an end tag written as a bare
// "</div>" that closes the start marker's element).
AnsiString RemoveMarkers(const AnsiString& text);

class TZelWebExt {
 public:
  // Runs DataModuleCreate.
  TZelWebExt();
  // Runs DataModuleDestroy.
  ~TZelWebExt();
  TZelWebExt(const TZelWebExt&) = delete;
  TZelWebExt& operator=(const TZelWebExt&) = delete;
  const char* ClassName() const { return "TZelWebExt"; }

  // Makes the parser and the simulator through the class references, takes
  // the parser's tag list and makes the error list.
  void DataModuleCreate();
  void DataModuleDestroy();

  // A page from disk in the editor's form: internal tags, body wrapped.
  AnsiString LoadPage(const AnsiString& page);
  // The editor's HTML in page form: comment tags, markers removed.
  AnsiString SavePage(const AnsiString& html);
  // The editor's HTML as the module would serve it. Clears the error list
  // first; the messages of the run (also of one that an exception ends)
  // stay in it.
  AnsiString Simulate(const AnsiString& html);
  // Appends message with its line as the line's object value.
  void AddError(const AnsiString& message, Integer line);
  // Edits the tag given as "name=value" lines with its kind's dialog; True
  // and the new internal tag when the user confirmed.
  bool EditTag(rtl::TStrings& lines, AnsiString& tagText);
  bool IsDeviceTag(const AnsiString& text) const;
  // The page producer's handler: the tag rebuilt from its name and
  // parameter lines, in page form.
  void VormekTag(rtl::TPageProducer* Sender, const AnsiString& TagString, rtl::TStrings& TagParams,
                 AnsiString& ReplaceText);

  TKnExpression& KnExpression1() { return *knExpression1_; }
  rtl::TPageProducer& vormekProd() { return *vormekProd_; }
  // One line per message, in reporting order; Objects(i) holds the line
  // number (rtl::ObjectToInt).
  const rtl::TStringList& Errors() const { return *errors_; }
  TzelwebParser* Parser() const { return parser_.get(); }
  TwebServerTagList* TagList() const { return tagList_; }
  TdeviceSimulator* Simulator() const { return simulator_.get(); }

 private:
  std::unique_ptr<TKnExpression> knExpression1_;
  std::unique_ptr<rtl::TPageProducer> vormekProd_;
  std::unique_ptr<TzelwebParser> parser_;
  TwebServerTagList* tagList_ = nullptr;  // the parser's
  std::unique_ptr<TdeviceSimulator> simulator_;
  std::unique_ptr<rtl::TStringList> errors_;
};

}  // namespace core
