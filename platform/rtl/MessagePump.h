#pragma once
// Lets code below the class library keep the user interface alive while it
// waits in a loop: ProcessMessages runs the handler the class-library layer
// installs (its application's message processing); without one, the main
// thread runs the work queued for it through Synchronize and Queue.
#include <functional>

namespace rtl {

// Processes pending messages of the calling thread's message loop. Safe to
// call from any thread: on a thread other than the main thread it does
// nothing.
void ProcessMessages();

// Installs the class library's message processing (empty: none); returns the
// previous handler so that a test can put it back.
std::function<void()> SetProcessMessagesHandler(std::function<void()> handler);

}  // namespace rtl
