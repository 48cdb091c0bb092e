#pragma once
// Names every unit of the view shares: the document model's geometry and
// integers, the class library's colours, and the classes the units point
// at one another through.
#include "htmledit/doc/psGeometry.h"
#include "htmledit/doc/psGlobals.h"
#include "rtl/Exceptions.h"
#include "vcl/Graphics.h"

// A failed consistency check of the view: EAssertionFailed
// "Assertion failure (<file>, line <n>)".
#define PS_ASSERT(cond) RTL_ASSERT_MSG(cond, "Assertion failure")

namespace htmlview {

using htmldoc::AnsiString;
using htmldoc::Byte;
using htmldoc::EpsHtmlEditException;
using htmldoc::Integer;
using htmldoc::TpsPoint;
using htmldoc::TpsRect;
using htmldoc::WideString;
using rtl::Cardinal;
using rtl::WideChar;
using vcl::TColor;

class TpsAbstractCanvas;
class TpsScrollCanvas;
class TpsWindow;
class TpsWindowManager;
class TpsMessage;
class TpsHintWindow;
class TpsHintTriggerArea;
class TpsDocumentNode;
class TpsTextNode;  // one line of inline content; the text-node layer defines it
class IpsEditorHost;

}  // namespace htmlview
