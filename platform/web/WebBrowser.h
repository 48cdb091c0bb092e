#pragma once
// TWebBrowser: the browser port over the web engine's view. The engine runs
// its pages in helper processes; everything here happens on the GUI
// thread, and the waits (load, script, find, print) let messages run.
#include <memory>

#include "web/WebBrowserPort.h"

class QWebEngineView;
class QWidget;

namespace web {

class TWebBrowser : public TCustomWebBrowser {
 public:
  explicit TWebBrowser(vcl::TComponent* owner);
  ~TWebBrowser() override;

  void Navigate(const AnsiString& url) override;
  AnsiString LocationURL() const override;
  bool Busy() const override;
  bool WaitWhileBusy(Integer timeoutMs) override;
  void ShowFind() override;
  bool FindBarVisible() const override;
  Integer FindText(const AnsiString& text, bool backward) override;
  void Print() override;
  void PrintPreview() override;
  void PrintWithPrompt() override;
  AnsiString RunJavaScript(const AnsiString& script, Integer timeoutMs = 5000) override;

  // Print jobs asked for and not finished yet (waiting for a load, for the
  // job before them, or printing).
  Integer PendingPrints() const;
  // The engine's view and the open print dialogs (nullptr when none), for
  // the tests.
  QWebEngineView* View();
  QWidget* PrintPreviewWindow() const;
  QWidget* PrintPromptWindow() const;

  struct TEngine;

 protected:
  QWidget* CreateWidget() override;
  bool HasSurface() const override { return false; }
  void DestroyWnd() override;

 private:
  std::unique_ptr<TEngine> engine_;
};

// Makes CreateWebBrowser give TWebBrowser.
void InstallWebEngineBrowser();

// What the web engine needs before the application object exists, done in
// the process: OpenGL contexts shared between windows, the engine's GPU use
// and background networking off, and, only when the program runs as root
// (the engine refuses to start there with its sandbox), the sandbox off.
// Answers the line it wrote to standard error ("" when none).
AnsiString PrepareWebEngineStartUp();
// The environment part of it, with the root question answered by the
// caller: adds the two switches to QTWEBENGINE_CHROMIUM_FLAGS (keeping what
// is there, never twice) and, for root, sets QTWEBENGINE_DISABLE_SANDBOX
// to 1. Answers the log line for root, "" otherwise.
AnsiString PrepareWebEngineEnvironment(bool runsAsRoot);

}  // namespace web
