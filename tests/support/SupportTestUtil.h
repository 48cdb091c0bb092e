#pragma once
// What the support library's window tests share.
#include "vcl/Forms.h"

namespace supporttest {

// Lets the posted messages and Qt's own events of a few rounds through.
inline void Pump(int aRounds = 5) {
  for (int i = 0; i < aRounds; ++i) vcl::Application->ProcessMessages();
}

}  // namespace supporttest
