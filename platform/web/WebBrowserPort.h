#pragma once
// The embedded browser as the windows above this layer see it: a windowed
// control that navigates, lets its owner veto a navigation, reports a
// finished load, finds text, prints, and runs script for the tests.
//
// Two ports implement it: TWebBrowser (WebBrowser.h, target `web`, the only
// code that links the web engine) and TNullWebBrowser here, which loads
// nothing. A window makes its browser through CreateWebBrowser, so the
// program chooses the real engine at start-up (InstallWebEngineBrowser) and
// every other program and test keeps the do-nothing port without linking
// the engine.
#include <functional>

#include "rtl/Strings.h"
#include "vcl/Controls.h"

namespace web {

using rtl::AnsiString;
using rtl::Integer;

// Before a navigation: the target URL; setting cancel drops it.
using TBeforeNavigateEvent = std::function<void(vcl::TObject* sender, const AnsiString& url, bool& cancel)>;
// A page finished loading (ok false: it failed to load).
using TDocumentCompleteEvent = std::function<void(vcl::TObject* sender, const AnsiString& url, bool ok)>;

class TCustomWebBrowser : public vcl::TWinControl {
 public:
  explicit TCustomWebBrowser(vcl::TComponent* owner);

  // A URL, or a local file given as a path or as "file://" and its path:
  // a local file always becomes a file URL of its own (spaces, "#" and "%"
  // in its name stay part of the name).
  virtual void Navigate(const AnsiString& url) = 0;
  // The page shown (a URL; "" before the first navigation).
  virtual AnsiString LocationURL() const = 0;
  // A page is loading.
  virtual bool Busy() const = 0;
  // Lets messages run until no page is loading; false when timeoutMs
  // passed first.
  virtual bool WaitWhileBusy(Integer timeoutMs) = 0;

  // The browser's own find: a find bar over the page, its text field
  // focused.
  virtual void ShowFind() = 0;
  virtual bool FindBarVisible() const = 0;
  // Highlights the next (or previous) match of text and answers the
  // number of matches on the page (0 for none or an empty text).
  virtual Integer FindText(const AnsiString& text, bool backward) = 0;

  // Printing always prints the page whose loading was asked for last: a
  // request made while a page loads waits for the end of the load.
  // Print: the print target without asking (see SetPrintFileName);
  // PrintPreview: the preview window; PrintWithPrompt: the print dialog,
  // then the chosen printer.
  virtual void Print() = 0;
  virtual void PrintPreview() = 0;
  virtual void PrintWithPrompt() = 0;
  // Where Print prints without a prompt: "" is the system's default
  // printer, a file name a PDF file.
  void SetPrintFileName(const AnsiString& fileName) { printFileName_ = fileName; }
  const AnsiString& PrintFileName() const { return printFileName_; }
  // Print jobs handed to a printer and finished (successful or not).
  Integer PrintsFinished() const { return printsFinished_; }

  // Runs script in the page and answers its result as text ("" for
  // undefined or null, or when timeoutMs passed), letting messages run
  // meanwhile.
  virtual AnsiString RunJavaScript(const AnsiString& script, Integer timeoutMs = 5000) = 0;

  // Main-frame navigations that were not vetoed.
  Integer NavigationCount() const { return navigationCount_; }

  TBeforeNavigateEvent OnBeforeNavigate2;
  TDocumentCompleteEvent OnDocumentComplete;

 protected:
  // Asks OnBeforeNavigate2; true when the navigation may go on (and then
  // counts it).
  bool DoBeforeNavigate(const AnsiString& url);
  void DoDocumentComplete(const AnsiString& url, bool ok);
  void CountPrintFinished() { ++printsFinished_; }

 private:
  AnsiString printFileName_;
  Integer navigationCount_ = 0;
  Integer printsFinished_ = 0;
};

// A browser that shows nothing: navigation asks the veto and, unless
// vetoed, becomes the location at once and completes; finding finds
// nothing, printing prints nothing, script answers "".
class TNullWebBrowser : public TCustomWebBrowser {
 public:
  explicit TNullWebBrowser(vcl::TComponent* owner);
  void Navigate(const AnsiString& url) override;
  AnsiString LocationURL() const override { return location_; }
  bool Busy() const override { return false; }
  bool WaitWhileBusy(Integer) override { return true; }
  void ShowFind() override { findShown_ = true; }
  bool FindBarVisible() const override { return findShown_; }
  Integer FindText(const AnsiString&, bool) override { return 0; }
  void Print() override {}
  void PrintPreview() override {}
  void PrintWithPrompt() override {}
  AnsiString RunJavaScript(const AnsiString&, Integer = 5000) override { return AnsiString(); }

 private:
  AnsiString location_;
  bool findShown_ = false;
};

// The URL a navigation goes to: a path (starting with "/") or "file://"
// and a path becomes the file's URL; anything else stays as given.
AnsiString LocalFileUrl(const AnsiString& urlOrPath);
// The path of a "file://" URL with its escapes decoded; "" for another
// scheme.
AnsiString FilePathOfUrl(const AnsiString& url);

using TWebBrowserFactory = std::function<TCustomWebBrowser*(vcl::TComponent* owner)>;
// Chooses how CreateWebBrowser makes browsers (nullptr: the do-nothing
// port again).
void SetWebBrowserFactory(TWebBrowserFactory factory);
// A browser from the chosen factory, owned by owner.
TCustomWebBrowser* CreateWebBrowser(vcl::TComponent* owner);

}  // namespace web
