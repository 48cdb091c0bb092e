#pragma once
// The exception hierarchy of the run-time layer. Every exception the layers
// above raise derives from rtl::Exception and carries its message text; the
// class name is what a log line or a test shows for it.
#include <stdexcept>
#include <string>

#include "rtl/Types.h"

namespace rtl {

class Exception : public std::exception {
 public:
  explicit Exception(AnsiString message) : message_(std::move(message)) {}
  const AnsiString& Message() const noexcept { return message_; }
  void SetMessage(AnsiString m) { message_ = std::move(m); }
  const char* what() const noexcept override { return message_.c_str(); }
  virtual const char* ClassName() const noexcept { return "Exception"; }

 private:
  AnsiString message_;
};

#define RTL_DECLARE_EXCEPTION(Name, Base)                                  \
  class Name : public Base {                                               \
   public:                                                                 \
    using Base::Base;                                                      \
    const char* ClassName() const noexcept override { return #Name; }      \
  }

RTL_DECLARE_EXCEPTION(EConvertError, Exception);
RTL_DECLARE_EXCEPTION(EListError, Exception);
RTL_DECLARE_EXCEPTION(EStringListError, EListError);
RTL_DECLARE_EXCEPTION(EInOutError, Exception);
RTL_DECLARE_EXCEPTION(EStreamError, Exception);
RTL_DECLARE_EXCEPTION(EFCreateError, EStreamError);
RTL_DECLARE_EXCEPTION(EFOpenError, EStreamError);
RTL_DECLARE_EXCEPTION(EReadError, EStreamError);
RTL_DECLARE_EXCEPTION(EWriteError, EStreamError);
RTL_DECLARE_EXCEPTION(EIniFileException, Exception);
RTL_DECLARE_EXCEPTION(EMathError, Exception);
RTL_DECLARE_EXCEPTION(EDivByZero, Exception);
RTL_DECLARE_EXCEPTION(EZeroDivide, EMathError);
RTL_DECLARE_EXCEPTION(EInvalidOp, EMathError);
RTL_DECLARE_EXCEPTION(EOverflow, EMathError);
RTL_DECLARE_EXCEPTION(EAssertionFailed, Exception);
RTL_DECLARE_EXCEPTION(EAbort, Exception);
RTL_DECLARE_EXCEPTION(EThread, Exception);
RTL_DECLARE_EXCEPTION(EOSError, Exception);
RTL_DECLARE_EXCEPTION(EEncodingError, Exception);
RTL_DECLARE_EXCEPTION(ENotSupportedException, Exception);
RTL_DECLARE_EXCEPTION(EInvalidOperation, Exception);
RTL_DECLARE_EXCEPTION(EInvalidArgument, Exception);

// Assertions stay active in every build; a failed one raises with the
// message "%s (%s, line %d)": check text, source file, line.
[[noreturn]] void AssertionFailed(const char* text, const char* file, int line);

}  // namespace rtl

#define RTL_ASSERT(cond)                                           \
  do {                                                             \
    if (!(cond)) ::rtl::AssertionFailed(#cond, __FILE__, __LINE__); \
  } while (0)

#define RTL_ASSERT_MSG(cond, msg)                                 \
  do {                                                            \
    if (!(cond)) ::rtl::AssertionFailed(msg, __FILE__, __LINE__); \
  } while (0)
