#pragma once
// The desktop's icons of files and folders, as the shell's system image
// lists hand them out: a small and a large icon of a file or folder, or of
// a place in the lists by its index. They come from the desktop's icon
// theme when it has the icon, else from icons of our own drawn on the spot;
// no shell process is asked.
#include <memory>

#include "vcl/Pictures.h"

namespace vcl {

enum class TShellIconSize { Small, Large };

// The side of the system image lists' icons: 16 small, 32 large.
Integer ShellIconExtent(TShellIconSize size);

// The icon of a file or folder. A path that exists is judged by what it is
// (a folder; a regular file by its name, or by its first bytes, read
// without waiting, when the name says nothing; a device or FIFO by its
// kind, never opened); any other by its name alone (the part after
// the last "/" or "\"). Never null: an unknown kind gets the plain
// document. A 32-bit transparent bitmap of the list's size.
std::unique_ptr<TBitmap> ShellFileIcon(const AnsiString& path, TShellIconSize size);

// The number of places in the system image lists, and the icon at one of
// them: 0 a document without a program, 1 a document, 2 a program, 3 a
// folder, 4 an open folder, 5 and 6 floppy drives, 7 a removable drive,
// 8 a hard drive, 9 a network drive, 10 a network drive not connected,
// 11 an optical drive, 12 a memory drive, 13 the whole network, 14 a
// network, 15 the computer, 16 a printer, 17 the neighbourhood. An index
// outside 0 .. ShellIconCount() - 1 gives null.
Integer ShellIconCount();
std::unique_ptr<TBitmap> ShellIndexIcon(Integer index, TShellIconSize size);

// Whether the desktop's icon theme is asked first (true unless set); tests
// switch it off for icons that look the same on every machine.
bool ShellIconsUseTheme();
void SetShellIconsUseTheme(bool use);

}  // namespace vcl
