#pragma once
// Small services every unit of the spell checker and the thesaurus uses:
// the version text, a multicast notification list, path macros, folder and
// file probes, the edit distance of suggestions, and the hash, probe step
// and table sizes of the custom dictionary's file format. The form-placing
// routines and the rich-edit test need the class library and live in the
// window target (spell/lx3UtilForms.h).
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "spell/engine/lx3Types.h"

namespace spell {

// "3.4.4 Pro": the read-only Version setting of every component here.
AnsiString GetVersionText();

// A multicast list of callbacks, each registered by a listener object (used
// only to find its entry again). The callback receives the sender.
class TEventList {
 public:
  using TCallback = std::function<void(void* sender)>;

  TEventList() = default;
  TEventList(const TEventList&) = delete;
  TEventList& operator=(const TEventList&) = delete;
  virtual ~TEventList();

  // Appends the listener and its callback to the two lists.
  void AddListener(const void* listener, TCallback callback);
  // Removes the listener's first entry; an unknown listener is ignored.
  void RemoveListener(const void* listener);
  // Calls every callback in list order with the sender.
  void NotifyListeners(void* sender);
  Integer Count() const { return static_cast<Integer>(listeners_.size()); }

 private:
  std::vector<const void*> listeners_;
  std::vector<std::unique_ptr<TCallback>> callbacks_;  // one record per listener, same order
};

// The text with the first occurrence of pattern (exact) replaced.
AnsiString ReplaceFirst(const AnsiString& pattern, const AnsiString& replacement,
                        const AnsiString& text);

// Shell folder ids the spell checker asks for.
inline constexpr Integer CSIDL_PERSONAL = 5;
inline constexpr Integer CSIDL_APPDATA = 26;
inline constexpr Integer CSIDL_LOCAL_APPDATA = 28;

// The folder without a trailing delimiter; "" when there is none.
AnsiString GetSpecialFolder(Integer csidl);
// The login name of the user running the program; "" when it cannot be told.
AnsiString GetLoginUserName();

// Expands "%AppName%", "%UserName%", "%AppDir%", "%AppData%" and
// "%MyDocuments%" (each only at its first occurrence), then every
// "%NAME%" of the process environment. Unknown variables stay as they are;
// there is no length limit.
AnsiString ExpandPathMacros(const AnsiString& path);

// A configured file name at the file-system boundary: stored names use the
// desktop's backslash, which becomes the native delimiter.
AnsiString NativeFileName(const AnsiString& name);
// True for a name that holds a folder ("\" or "/"), as against a bare name
// looked up in the dictionary folders.
bool IsPathName(const AnsiString& name);

// True when the file could be created: it is created exclusively, so an
// existing file answers False and is never opened, truncated or removed.
// With deleteOnClose the probe removes the file it made.
bool CanCreateFile(const AnsiString& fileName, bool deleteOnClose);
// Creates the folder and every missing parent; failures are not reported.
void ForceFolder(const AnsiString& folder);

// Edit distance with a discount for aligned transpositions; words of 255
// bytes or more give the longer length.
Integer WordDistance(std::string_view a, std::string_view b);

// The custom dictionary's hash over size slots (size >= 2), 0 .. size - 1.
Integer WordHash(std::string_view word, Integer size);
// hash mod 97 + 1.
Integer ProbeStep(Integer hash);
// The first table size greater than size; 0 when none is (size at or above
// the last, 2147483647).
Integer NextTableSize(Integer size);
// True when size is one of NextTableSize's sizes.
bool IsTableSize(Integer size);

// Test hooks: replace the login name and the special folders (an empty
// function restores the system's answers).
namespace testing {
void SetUserNameHook(std::function<AnsiString()> hook);
void SetSpecialFolderHook(std::function<AnsiString(Integer csidl)> hook);
}  // namespace testing

}  // namespace spell
