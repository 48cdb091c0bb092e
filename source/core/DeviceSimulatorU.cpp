#include "core/DeviceSimulatorU.h"

#include <algorithm>
#include <cstring>

#include "core/KnRegExU.h"
#include "core/VormekCmdU.h"
#include "rtl/Convert.h"
#include "rtl/Exceptions.h"
#include "rtl/StringList.h"
#include "rtl/Strings.h"

namespace core {

namespace {

constexpr size_t kPrefixLength = kInternalTagPrefixLength;

// True when the count characters at text[at] equal the start of the tag
// prefix, ignoring case.
bool PrefixMatches(const AnsiString& text, size_t at, size_t count) {
  for (size_t i = 0; i < count; ++i)
    if (rtl::UpCase(text[at + i]) != rtl::UpCase(kInternalTagPrefix[i])) return false;
  return true;
}

// The characters the tag pattern's "[^<>#]*" stops at (classes that exclude
// characters never match a line break).
bool StopsTagBody(char c) { return c == '<' || c == '>' || c == '#' || c == '\r' || c == '\n'; }

// Line breaks in text[from, to): CR LF, CR and LF each count once. prev is
// the character before text[from] (0 at the start of the text).
Integer CountLineBreaks(const AnsiString& text, size_t from, size_t to, char prev) {
  Integer lines = 0;
  for (size_t i = from; i < to; ++i) {
    const char c = text[i];
    if (c == '\r' || (c == '\n' && prev != '\r')) ++lines;
    prev = c;
  }
  return lines;
}

AnsiString BitText(bool value) { return value ? "1" : "0"; }

}  // namespace

// One run of Expand.
//
// The text the algorithm works on is out + buf[cur..]: out holds the part
// that no later step can change, buf the rest. A replacement happens at the
// start of the rest, so consumed room before cur takes the new text and
// deleting a range only moves the few bytes between cur and the range.
//
// Each search for a tag starts at cur instead of at the start of the text,
// which yields the same matches as searching the whole text: a match can
// only begin with "<", and "<" occurs in a match only as its first
// character, so no match begins in out except one that starts at out's last
// "<" and runs on into the rest. When the text at cur changes, that one
// place (kept in candidate_ while it still fits the pattern) moves back into
// the rest and is searched again.
class TdeviceSimulator::Expansion {
 public:
  static constexpr size_t kExtraEvaluations = 100000;

  Expansion(TdeviceSimulator& sim, const AnsiString& text) : sim_(sim), buf_(text) { out_.reserve(text.size()); }

  AnsiString Run() {
    // A key's value may itself hold a tag, which is expanded in its turn; a
    // value that reads its own key would feed the expansion for ever and
    // hang the preview. A page cannot hold more tags than it has bytes, so
    // far more evaluations than that (with room for values that hold tags)
    // means the expansion is feeding itself: report it and keep the rest of
    // the text as it stands.
    const size_t maxEvaluations = buf_.size() + kExtraEvaluations;
    size_t evaluations = 0;
    for (;;) {
      size_t start = 0, end = 0;
      if (!FindTag(cur_, start, end)) break;
      Commit(start);
      sim_.currentLine_ = outLines_;
      if (++evaluations > maxEvaluations) {
        sim_.DoError("Expansion stopped: a key's value keeps expanding into tags", -1);
        break;
      }
      AnsiString tag = buf_.substr(cur_, end - cur_);
      sim_.EvaluateTag(tag, false);
      if (tag == kIfTrueMarker || tag == kIfFalseMarker) {
        if (!ResolveCondition(end, tag == kIfTrueMarker)) sim_.DoError("If without endif", -1);
      } else if (tag == kElseMarker) {
        sim_.DoError("Else without if", -1);
        Replace(end, AnsiString());
      } else if (tag == kEndIfMarker) {
        sim_.DoError("Endif without if", -1);
        Replace(end, AnsiString());
      } else {
        Replace(end, tag);
      }
      PullBack();
    }
    out_.append(buf_, cur_, AnsiString::npos);
    return std::move(out_);
  }

 private:
  // The next match of the tag pattern in buf at or after from. The pattern
  // engine has the last word on every place that looks like a tag.
  bool FindTag(size_t from, size_t& start, size_t& end) {
    const size_t n = buf_.size();
    size_t at = from;
    while (at + kPrefixLength + 2 <= n) {
      const char* hit = static_cast<const char*>(std::memchr(buf_.data() + at, '<', n - at));
      if (!hit) return false;
      const size_t s = static_cast<size_t>(hit - buf_.data());
      if (s + kPrefixLength + 2 > n) return false;
      if (!PrefixMatches(buf_, s, kPrefixLength)) {
        at = s + 1;
        continue;
      }
      size_t k = s + kPrefixLength;
      while (k < n && !StopsTagBody(buf_[k])) ++k;
      if (k < n && buf_[k] == '>' && k > s + kPrefixLength && buf_[k - 1] == '/') {
        const AnsiString window = buf_.substr(s, k + 1 - s);
        TKnMatchPos pos;
        if (sim_.regEx_->Engine().FindMatch(window, pos) && pos.FirstIndex == 1 &&
            pos.MatchLength == window.size()) {
          start = s;
          end = k + 1;
          return true;
        }
      }
      // No match can begin between here and the character that stopped the
      // body: none of them is "<".
      at = k > s ? k : s + 1;
    }
    return false;
  }

  // Moves buf[cur, to) to out.
  void Commit(size_t to) {
    if (to <= cur_) return;
    const size_t base = out_.size();
    outLines_ += CountLineBreaks(buf_, cur_, to, out_.empty() ? '\0' : out_.back());
    out_.append(buf_, cur_, to - cur_);
    cur_ = to;
    // The last "<" of the new piece, unless a character after it rules it out.
    const size_t i = AfterLastStop(base);
    if (i > base) candidate_ = out_[i - 1] == '<' ? i - 1 : AnsiString::npos;
    if (candidate_ != AnsiString::npos && !StillFits(candidate_)) candidate_ = AnsiString::npos;
  }

  // Just past the last "<", ">", CR or LF of out[from..]; from when there
  // is none.
  size_t AfterLastStop(size_t from) const {
    size_t i = out_.size();
    while (i > from) {
      const char c = out_[i - 1];
      if (c == '<' || c == '>' || c == '\r' || c == '\n') break;
      --i;
    }
    return i;
  }

  // Whether out[at..] can still grow into a match: the tag prefix as far as
  // it goes, then no character that stops the body.
  bool StillFits(size_t at) const {
    const size_t length = out_.size() - at;
    if (!PrefixMatches(out_, at, std::min(length, kPrefixLength))) return false;
    for (size_t i = at + kPrefixLength; i < out_.size(); ++i)
      if (StopsTagBody(out_[i])) return false;
    return true;
  }

  // Puts the candidate's text back in front of the rest, so that a match it
  // now starts is found by the next search from cur.
  void PullBack() {
    if (candidate_ == AnsiString::npos) return;
    const AnsiString tail = out_.substr(candidate_);
    out_.resize(candidate_);
    PutInFront(tail);
    // The candidate's own "<" came back; look for an earlier one in out.
    candidate_ = AnsiString::npos;
    const size_t i = AfterLastStop(0);
    if (i > 0 && out_[i - 1] == '<' && StillFits(i - 1)) candidate_ = i - 1;
  }

  // Makes text the start of the rest.
  void PutInFront(const AnsiString& text) {
    if (text.size() <= cur_) {
      cur_ -= text.size();
      buf_.replace(cur_, text.size(), text);
    } else {
      buf_ = text + buf_.substr(cur_);
      cur_ = 0;
    }
  }

  // Replaces buf[cur, end) (a tag) by text.
  void Replace(size_t end, const AnsiString& text) {
    cur_ = end;
    PutInFront(text);
  }

  // Deletes buf[from, to), from >= cur. Positions at or behind to keep their
  // index; the text between cur and from moves up against to.
  void Erase(size_t from, size_t to) {
    const size_t gap = to - from;
    if (gap == 0) return;
    std::memmove(buf_.data() + cur_ + gap, buf_.data() + cur_, from - cur_);
    cur_ += gap;
  }

  // The IF tag is buf[cur, ifEnd). Keeps or drops the text up to its ELSE or
  // ENDIF; False when no ENDIF closes it.
  bool ResolveCondition(size_t ifEnd, bool keeping) {
    Erase(cur_, ifEnd);
    size_t blockStart = cur_;
    size_t scan = cur_;
    Integer depth = 1;
    for (;;) {
      size_t start = 0, end = 0;
      if (!FindTag(scan, start, end)) return false;
      AnsiString tag = buf_.substr(start, end - start);
      sim_.EvaluateTag(tag, true);
      scan = end;
      if (tag == kIfTrueMarker || tag == kIfFalseMarker) {
        ++depth;
        if (depth > sim_.nestingLimit_)
          sim_.DoError("Device can not support more than " + rtl::IntToStr(sim_.nestingLimit_) +
                           " nested if statments.",
                       -1);
      } else if (tag == kEndIfMarker) {
        if (--depth == 0) {
          Erase(keeping ? start : blockStart, end);
          return true;
        }
      } else if (tag == kElseMarker && depth == 1) {
        Erase(keeping ? start : blockStart, end);
        blockStart = end;
        keeping = !keeping;
      }
    }
  }

  TdeviceSimulator& sim_;
  AnsiString out_;
  AnsiString buf_;
  size_t cur_ = 0;
  Integer outLines_ = 0;
  size_t candidate_ = AnsiString::npos;
};

// ---------------------------------------------------------------------------

TdeviceSimulator::TdeviceSimulator(TzelwebParser* parser) : parser_(parser), regEx_(std::make_unique<TKnRegEx>()) {}

TdeviceSimulator::~TdeviceSimulator() = default;

void TdeviceSimulator::Expand(AnsiString& text) {
  regEx_->SetIgnoreCase(true);
  regEx_->MatchPattern()->Clear();
  regEx_->MatchPattern()->Add(kSimulatorTagPattern);
  regEx_->Engine().SetIgnoreCase(true);
  regEx_->Engine().Compile(kSimulatorTagPattern);
  currentLine_ = 0;
  Expansion expansion(*this, text);
  text = expansion.Run();
}

void TdeviceSimulator::DoError(const AnsiString& message, Integer line) {
  if (line < 0) line = currentLine_;
  if (OnError) OnError(message, line);
}

// ---------------------------------------------------------------------------

TvormekWebSimulator::TvormekWebSimulator(TzelwebParser* parser)
    : TdeviceSimulator(parser), params_(std::make_unique<TvormekParams>()) {
  SetNestingLimit(20);
}

TvormekWebSimulator::~TvormekWebSimulator() = default;

void TvormekWebSimulator::ValuesChanged() {
  if (OnValuesChanged) OnValuesChanged(this);
}

void TvormekWebSimulator::LoadFromIni(rtl::TCustomIniFile& ini) {
  params_->LoadFromIni(ini);
  ValuesChanged();
}

void TvormekWebSimulator::SaveToIni(rtl::TCustomIniFile& ini) { params_->SaveToIni(ini); }

void TvormekWebSimulator::Expand(AnsiString& text) {
  try {
    TdeviceSimulator::Expand(text);
  } catch (...) {
    // EXEC tags before the failure may have changed values.
    ValuesChanged();
    throw;
  }
  ValuesChanged();
}

Byte TvormekWebSimulator::PinState(Integer pin) {
  if (!TvormekParams::IsPinNumber(pin)) {
    DoError("Invalid pin number: " + rtl::IntToStr(pin), -1);
    return 0;
  }
  return params_->GetPin(pin).State;
}

float TvormekWebSimulator::PinVolts(Integer pin) {
  if (pin < 1 || pin > TvormekParams::kAnalogPinCount) {
    DoError("Invaild Analog Pin", -1);
    return 0;
  }
  return params_->GetPin(pin).Volts;
}

void TvormekWebSimulator::EvaluateTag(AnsiString& text, bool scanning) {
  const TzelVarList v = Parser()->ParseTag(text);
  const Integer type = v.Exists("type") ? v.IntValue("type") : 13;
  switch (type) {
    case 0:
      text = BitText(PinState(v.IntValue("X")) == 1);
      break;
    case 1:
      text = rtl::FormatFloat("0.00", PinVolts(v.IntValue("X")));
      break;
    case 2:
      text = Calculation(v);
      break;
    case 3:
      text = PinState(v.IntValue("X")) == 1 ? v.Value("htag") : v.Value("ltag");
      break;
    case 4:
      text = SerialData(v);
      break;
    case 5:
      PlugInReport(v);
      text.clear();
      break;
    case 6:
    case 7:
      text = PinCondition(v) ? kIfTrueMarker : kIfFalseMarker;
      break;
    case 8:
      text = KeyCondition(v) ? kIfTrueMarker : kIfFalseMarker;
      break;
    case 9:
      text = kElseMarker;
      break;
    case 10:
      text = kEndIfMarker;
      break;
    case 11:
      if (!scanning) {
        WriteKey(v.Value("KEY"), v);
        text.clear();
      }
      break;
    case 12:
      text = ReadKey(v.Value("KEY"), v);
      break;
    default:
      // No evaluation for this kind: the preview shows the tag as the page
      // has it. The result must be something the tag pattern no longer finds
      // at this place, or the expansion would never end: a tag without a
      // type is the catch-all kind, written as such, and a conversion that
      // gives the tag back unchanged gives nothing.
      if (!v.Exists("type")) {
        text = "<!--(" + v.Value("data") + ")-->";
      } else {
        AnsiString page = Parser()->EditorToPage(text);
        text = page == text ? AnsiString() : page;
      }
      break;
  }
}

AnsiString TvormekWebSimulator::Calculation(const TzelVarList& v) {
  double value = PinVolts(v.IntValue("X"));
  if (v.Exists("a")) value = v.FloatValue("a") * value;
  if (v.Exists("b")) {
    const double divisor = v.FloatValue("b");
    if (divisor == 0) throw rtl::EZeroDivide("Floating point division by zero");
    value = value / divisor;
  }
  if (v.Exists("c")) value = v.FloatValue("c") + value;
  if (v.Exists("d")) value = value - v.FloatValue("d");
  return rtl::FloatToStrF(value, rtl::TFloatFormat::ffFixed, 15, v.IntValue("p"));
}

AnsiString TvormekWebSimulator::SerialData(const TzelVarList& v) {
  if (!v.Exists("X") || !v.Exists("Y")) {
    DoError("Serial data command incorrect parameters", -1);
    return AnsiString();
  }
  const Integer first = v.IntValue("X");
  const Integer last = v.IntValue("Y");
  const AnsiString& frame = params_->SerialFrame;
  const Integer from = std::max<Integer>(first, 0);
  if (last < from || static_cast<size_t>(from) >= frame.size()) return AnsiString();
  return frame.substr(static_cast<size_t>(from), static_cast<size_t>(last - from) + 1);
}

void TvormekWebSimulator::PlugInReport(const TzelVarList& v) {
  AnsiString message = AnsiString("Can not display the ") + "Plug-in" + " command in simulation mode.";
  for (const TzelVar& var : v.Vars)
    if (var.Name != "type") message += ", " + var.Name + "=" + var.Value;
  DoError(message, -1);
}

bool TvormekWebSimulator::PinCondition(const TzelVarList& v) {
  const Integer pin = v.IntValue("x");
  const double a = v.FloatValue("a");
  switch (v.IntValue("OPT")) {
    case kOperatorEqual:
      return a == PinState(pin);
    // Volts are 32-bit values: compare at that precision, so that a pin set
    // to 3.3 is not below 3.3.
    case kOperatorLess:
      return PinVolts(pin) < static_cast<float>(a);
    case kOperatorGreater:
      return PinVolts(pin) > static_cast<float>(a);
    default:
      return false;
  }
}

bool TvormekWebSimulator::KeyCondition(const TzelVarList& v) {
  const AnsiString k = ReadKey(v.Value("x"), v);
  const AnsiString n = v.Value("n");
  Integer sign = 0;
  double kn = 0, nn = 0;
  if (rtl::TryStrToFloat(k, kn) && rtl::TryStrToFloat(n, nn)) {
    const float kf = static_cast<float>(kn), nf = static_cast<float>(nn);
    sign = kf < nf ? -1 : (kf > nf ? 1 : 0);
  } else {
    const Integer c = rtl::AnsiCompareText(k, n);
    sign = c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  switch (v.IntValue("OPT")) {
    case 0: return sign != 0;
    case 1: return sign <= 0;
    case 2: return sign >= 0;
    case 3: return sign == 0;
    case 4: return sign < 0;
    case 5: return sign > 0;
    default: return false;
  }
}

TvormekWebSimulator::KeyPinResult TvormekWebSimulator::KeyPin(const TzelVarList& attributes, Integer& pin) {
  const AnsiString text = attributes.Value(kAttrKeyPinNum);
  if (!rtl::TryStrToInt(text, pin)) return KeyPinResult::NotInteger;
  if (!TvormekParams::IsPinNumber(pin)) {
    DoError("Invalid pin number: " + rtl::IntToStr(pin), -1);
    return KeyPinResult::NoSuchPin;
  }
  return KeyPinResult::Found;
}

AnsiString TvormekWebSimulator::ReadKey(const AnsiString& key, const TzelVarList& attributes) {
  Integer keyClass = kKeyClassCatchAll;
  if (!rtl::TryStrToInt(attributes.Value(kAttrKeyCmdClass), keyClass)) keyClass = kKeyClassCatchAll;
  TvormekParams& p = *params_;
  auto extraValue = [&] {
    AnsiString value;
    p.ExtraCmds.FindKey(key, value);
    return value;
  };

  if (keyClass >= kKeyClassPinFirst && keyClass <= kKeyClassPinLast) {
    Integer pin = 0;
    if (keyClass == 2) {
      // Volts have their own check: only pins 1 to 5 are analog.
      if (!rtl::TryStrToInt(attributes.Value(kAttrKeyPinNum), pin)) return AnsiString();
      return rtl::FormatFloat("0.00", PinVolts(pin));
    }
    switch (KeyPin(attributes, pin)) {
      case KeyPinResult::NotInteger: return AnsiString();
      case KeyPinResult::NoSuchPin: return "0";
      case KeyPinResult::Found: break;
    }
    const TPinData& data = p.PinRef(pin);
    switch (keyClass) {
      case 0: return data.Direction == 1 ? BitText(data.State == 1) : "2";
      case 1: return BitText(data.State == 1);
      case 3: return BitText(data.Locked);
      default: return data.Tone;
    }
  }
  switch (keyClass) {
    case 16: return BitText(p.DHCP);
    case 17: return BitText(p.Bound);
    case 19: return p.IPAddress;
    case 21: return p.Gateway;
    case 23: return p.NetMask;
    case 24: return p.HTTPPort;
    case 25: return p.TFTPPort;
    case 26: return p.UDPPort;
    case 27: return rtl::IntToStr(p.AnnouncePort);
    case 30: return p.ID;
    case 31: return p.SerialNumber;
    case 32: return p.Version;
    case 18: case 20: case 22: case 33: case 34:
      return AnsiString();
    default:
      break;
  }
  if ((keyClass >= 5 && keyClass <= 15) || keyClass == 28 || keyClass == 29 ||
      (keyClass >= 35 && keyClass <= 44))
    return extraValue();
  const AnsiString value = extraValue();
  DoError("Unknown key: " + key, -1);
  return value;
}

void TvormekWebSimulator::WriteKey(const AnsiString& key, const TzelVarList& attributes) {
  Integer keyClass = 0;
  if (!rtl::TryStrToInt(attributes.Value(kAttrKeyCmdClass), keyClass)) return;
  const AnsiString value = attributes.Value("VALUE");
  TvormekParams& p = *params_;

  if (keyClass >= 0 && keyClass <= 3) {
    Integer pin = 0;
    if (KeyPin(attributes, pin) != KeyPinResult::Found) return;
    TPinData& data = p.PinRef(pin);
    switch (keyClass) {
      case 0:
      case 1:
        data.State = value == "0" ? 0 : 1;
        if (!data.Locked) data.Direction = keyClass == 0 ? 1 : 0;
        break;
      case 2:
        if (!data.Locked) data.Direction = 0;
        break;
      default:
        data.Locked = value == "1";
        break;
    }
    return;
  }
  switch (keyClass) {
    case 12: DoError("Can not write to SERIAL_GET key", -1); break;
    case 16: p.DHCP = value == "1"; break;
    case 17: p.Bound = value == "1"; break;
    case 18: p.IPAddress = value; break;
    case 19: DoError("Can not write to IP key", -1); break;
    case 20: p.Gateway = value; break;
    case 21: DoError("Can not write to GW key", -1); break;
    case 22: p.NetMask = value; break;
    case 23: DoError("Can not write to NMASK key", -1); break;
    case 24: p.HTTPPort = value; break;
    case 25: p.TFTPPort = value; break;
    case 26: p.UDPPort = value; break;
    case 29: DoError("Can not write to TEMPxy key", -1); break;
    case 30: p.ID = value; break;
    case 31: p.SerialNumber = value; break;
    case 32: DoError("Can not write to VER key", -1); break;
    case 33:
      // Locking sets the password the module will want for unlocking.
      p.LockFlag = true;
      p.Password = value;
      break;
    case 34:
      if (value == p.Password) p.LockFlag = false;
      break;
    case 35: DoError("Can not write to LCD_READxx key", -1); break;
    default: break;
  }
}

}  // namespace core
