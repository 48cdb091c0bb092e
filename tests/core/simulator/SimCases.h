#pragma once
// The table of pages and simulated values with the output and messages the
// preview gives for them. The simulator tests run it through the simulator,
// the web extension's tests through Simulate.
#include <string>
#include <vector>

#include "SimTestSupport.h"

namespace simtest {

using core::TvormekParams;

// Values that several cases share.
inline void PinHigh(TvormekParams& p, int pin) { p.PinRef(pin).State = 1; }

struct Case {
  const char* name;
  std::string page;  // comment tags (or internal tags written out)
  simtest::Setup setup;
  std::string output;
  Errors errors;
};

inline std::string Repeat(const std::string& s, int n) {
  std::string r;
  for (int i = 0; i < n; ++i) r += s;
  return r;
}

inline const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      // --- values of pins --------------------------------------------------
      {"pin state low", "a<!--(PIN 3)-->b", nullptr, "a0b", {}},
      {"pin state high", "a<!--(PIN 3)-->b", [](auto& p) { PinHigh(p, 3); }, "a1b", {}},
      {"pin state of pin 20 does not exist", "<!--(PIN 20)-->", nullptr, "0", {{"Invalid pin number: 20", 0}}},
      {"analog volts", "<!--(PIN 2 ANALOG)-->", [](auto& p) { p.PinRef(2).Volts = 1.5f; }, "1.50", {}},
      {"analog volts of a digital pin", "<!--(PIN 7 ANALOG)-->", nullptr, "0.00", {{"Invaild Analog Pin", 0}}},
      {"calculation with every operand", "<!--(PIN 3 ANALOG*2.5/4+1-0.5,2)-->",
       [](auto& p) { p.PinRef(3).Volts = 2.0f; }, "1.75", {}},
      {"calculation without operands", "<!--(PIN 1 ANALOG,3)-->", [](auto& p) { p.PinRef(1).Volts = 1.5f; },
       "1.500", {}},
      {"calculation on a digital pin", "<!--(PIN 9 ANALOG+1,1)-->", nullptr, "1.0", {{"Invaild Analog Pin", 0}}},
      {"pin text low", "<!--(PIN 4 off/on)-->", nullptr, "off", {}},
      {"pin text high", "<!--(PIN 4 off/on)-->", [](auto& p) { PinHigh(p, 4); }, "on", {}},
      // --- serial frame ------------------------------------------------------
      {"serial data inside the frame", "<!--(SERIAL DATA 1 3)-->", [](auto& p) { p.SerialFrame = "ABCDEFG"; },
       "BCD", {}},
      {"serial data past the frame", "<!--(SERIAL DATA 5 20)-->", [](auto& p) { p.SerialFrame = "ABCDEFG"; },
       "FG", {}},
      {"serial data backwards", "<!--(SERIAL DATA 4 2)-->", [](auto& p) { p.SerialFrame = "ABCDEFG"; }, "", {}},
      {"serial data without Y", "[<#_zelbe54f7mdl type=\"4\" X=\"1\" />]", nullptr, "[]",
       {{"Serial data command incorrect parameters", 0}}},
      {"plug-in", "x<!--(PLUG-IN abc)-->y", nullptr, "xy",
       {{"Can not display the Plug-in command in simulation mode., DATA=abc", 0}}},
      // --- conditions --------------------------------------------------------
      {"if pin true keeps the if branch", "<!--(IF PIN 1 = 1)-->yes<!--(ELSE)-->no<!--(ENDIF)-->",
       [](auto& p) { PinHigh(p, 1); }, "yes", {}},
      {"if pin false keeps the else branch", "<!--(IF PIN 1 = 1)-->yes<!--(ELSE)-->no<!--(ENDIF)-->", nullptr, "no",
       {}},
      {"if pin below, 32-bit volts", "<!--(IF PIN 2 < 3.3)-->below<!--(ENDIF)-->",
       [](auto& p) { p.PinRef(2).Volts = 3.3f; }, "", {}},
      {"if pin above", "<!--(IF PIN 2 > 3.2)-->above<!--(ENDIF)-->", [](auto& p) { p.PinRef(2).Volts = 3.3f; },
       "above", {}},
      {"if pin of pin 0", "<!--(IF PIN 0 = 0)-->yes<!--(ELSE)-->no<!--(ENDIF)-->", nullptr, "yes",
       {{"Invalid pin number: 0", 0}}},
      {"if key text, case ignored", "<!--(IF ID = my id)-->same<!--(ENDIF)-->", nullptr, "same", {}},
      {"if key against an empty text", "<!--(IF VER =)-->empty<!--(ENDIF)-->", nullptr, "empty", {}},
      {"if key numbers compare as numbers", "<!--(IF REG5 > 9)-->big<!--(ELSE)-->small<!--(ENDIF)-->",
       [](auto& p) { p.ExtraCmds.AddKey("REG5", "10"); }, "big", {}},
      {"if key operators", "<!--(IF REG5 != 7)-->a<!--(ENDIF)--><!--(IF REG5 <= 7)-->b<!--(ENDIF)-->"
                           "<!--(IF REG5 >= 7)-->c<!--(ENDIF)--><!--(IF REG5 < 7)-->d<!--(ENDIF)-->",
       [](auto& p) { p.ExtraCmds.AddKey("REG5", "7"); }, "bc", {}},
      {"if key != against another text", "<!--(IF SSN != abc)-->differs<!--(ENDIF)-->", nullptr, "differs", {}},
      {"false if drops nested blocks",
       "[<!--(IF PIN 1 = 1)-->a<!--(IF PIN 2 = 0)-->b<!--(ELSE)-->c<!--(ENDIF)-->d<!--(ENDIF)-->]", nullptr, "[]",
       {}},
      {"true if keeps nested blocks, else belongs to the inner if",
       "[<!--(IF PIN 1 = 0)-->a<!--(IF PIN 2 = 1)-->b<!--(ELSE)-->c<!--(ENDIF)-->d<!--(ELSE)-->e<!--(ENDIF)-->]",
       nullptr, "[acd]", {}},
      {"else and endif without if", "a<!--(ELSE)-->b\r\n<!--(ENDIF)-->c", nullptr, "ab\r\nc",
       {{"Else without if", 0}, {"Endif without if", 1}}},
      {"if without endif", "x\r\n<!--(IF PIN 1 = 0)-->kept", nullptr, "x\r\nkept", {{"If without endif", 1}}},
      {"false if without endif keeps what follows its else",
       "<!--(IF PIN 1 = 1)-->no<!--(ELSE)-->yes", nullptr, "yes", {{"If without endif", 0}}},
      {"21 nested ifs report once and resolve",
       "top\r\n" + Repeat("<!--(IF PIN 1 = 0)-->", 21) + "x" + Repeat("<!--(ENDIF)-->", 21), nullptr, "top\r\nx",
       {{"Device can not support more than 20 nested if statments.", 1}}},
      {"22 nested ifs: twice from the outer if, once from the second",
       Repeat("<!--(IF PIN 1 = 0)-->", 22) + "x" + Repeat("<!--(ENDIF)-->", 22), nullptr, "x",
       {{"Device can not support more than 20 nested if statments.", 0},
        {"Device can not support more than 20 nested if statments.", 0},
        {"Device can not support more than 20 nested if statments.", 0}}},
      {"20 nested ifs are fine", Repeat("<!--(IF PIN 1 = 0)-->", 20) + "x" + Repeat("<!--(ENDIF)-->", 20), nullptr,
       "x", {}},
      {"tags in a kept block are scanned at the if's line, then evaluated at their own",
       "<!--(IF PIN 1 = 0)-->\r\n<!--(READ DNS)--><!--(EXEC IP=1)--><!--(ENDIF)-->", nullptr, "\r\n",
       {{"Unknown key: DNS", 0}, {"Unknown key: DNS", 1}, {"Can not write to IP key", 1}}},
      // --- keys ----------------------------------------------------------------
      {"read of the serial number", "<!--(READ SSN)-->", nullptr, "My SSN", {}},
      {"exec then read of the id", "<!--(EXEC ID=abc)--><!--(READ ID)-->", nullptr, "abc", {}},
      {"read of network settings", "<!--(READ IP)-->|<!--(READ GW)-->|<!--(READ NMASK)-->|<!--(READ HTTP)-->|"
                                   "<!--(READ UDP)-->|<!--(READ TFTP)-->|<!--(READ ANNOUNCE)-->|<!--(READ DHCP)-->",
       nullptr, "192.168.100.100|192.168.100.1|255.255.255.0|80|80||0|0", {}},
      {"writes through the A keys", "<!--(EXEC AIP=10.0.0.2)--><!--(EXEC AGW=10.0.0.1)-->"
                                    "<!--(EXEC ANMASK=255.0.0.0)--><!--(EXEC DHCP=1)-->"
                                    "<!--(READ IP)-->,<!--(READ GW)-->,<!--(READ NMASK)-->,<!--(READ DHCP)-->"
                                    "<!--(READ AIP)-->",
       nullptr, "10.0.0.2,10.0.0.1,255.0.0.0,1", {}},
      {"refused writes",
       "<!--(EXEC IP=1)--><!--(EXEC GW=1)--><!--(EXEC NMASK=1)--><!--(EXEC VER=1)--><!--(EXEC TEMPC1=1)-->"
       "<!--(EXEC LCD_READ5=1)--><!--(EXEC SERIAL_GET=1)-->",
       nullptr, "",
       {{"Can not write to IP key", 0}, {"Can not write to GW key", 0}, {"Can not write to NMASK key", 0},
        {"Can not write to VER key", 0}, {"Can not write to TEMPxy key", 0},
        {"Can not write to LCD_READxx key", 0}, {"Can not write to SERIAL_GET key", 0}}},
      {"pin output of an input pin", "<!--(READ PIN_OUTPUT3)-->", nullptr, "2", {}},
      {"exec pin output makes an output", "<!--(EXEC PIN_OUTPUT3=1)--><!--(READ PIN_OUTPUT3)-->", nullptr, "1", {}},
      {"locked pin keeps its direction", "<!--(EXEC PIN_OUTPUT3=1)--><!--(READ PIN_OUTPUT3)--><!--(PIN 3)-->",
       [](auto& p) { p.PinRef(3).Locked = true; }, "21", {}},
      {"pin lock and tone keys", "<!--(EXEC PIN_LOCK5=1)--><!--(READ PIN_LOCK5)--><!--(READ PIN_TONE5)-->",
       [](auto& p) { p.PinRef(5).Tone = "beep"; }, "1beep", {}},
      {"pin analog key", "<!--(READ PIN_ANALOG2)-->", [](auto& p) { p.PinRef(2).Volts = 4.25f; }, "4.25", {}},
      {"pin key of pin 18", "<!--(READ PIN_OUTPUT18)--><!--(EXEC PIN_OUTPUT18=1)-->", nullptr, "0",
       {{"Invalid pin number: 18", 0}, {"Invalid pin number: 18", 0}}},
      {"extra key of a known class", "<!--(READ REG5)-->", [](auto& p) { p.ExtraCmds.Add(" Reg5 =7"); }, "7", {}},
      {"extra key of no class reports and answers", "<!--(READ DNS)-->",
       [](auto& p) { p.ExtraCmds.AddKey("DNS", "8.8.8.8"); }, "8.8.8.8", {{"Unknown key: DNS", 0}}},
      {"lock and unlock read as empty", "[<!--(READ LOCK)--><!--(READ UNLOCK)-->]", nullptr, "[]", {}},
      // --- kinds without evaluation -------------------------------------------
      {"other comment tag comes back in page form", "a<!--(hello world)-->b", nullptr, "a<!--(hello world)-->b", {}},
      {"unknown type number gives nothing", "a<#_zelbe54f7mdl type=\"99\" />b", nullptr, "ab", {}},
      {"tag with a line break inside is not found", "<#_zelbe54f7mdl type=\"0\"\r\nX=\"1\" />", nullptr,
       "<#_zelbe54f7mdl type=\"0\"\r\nX=\"1\" />", {}},
      // --- line numbers ----------------------------------------------------------
      {"third line, CR LF", "one\r\ntwo\r\n<!--(READ DNS)-->", nullptr, "one\r\ntwo\r\n", {{"Unknown key: DNS", 2}}},
      {"third line, LF", "one\ntwo\n<!--(READ DNS)-->", nullptr, "one\ntwo\n", {{"Unknown key: DNS", 2}}},
      {"third line, CR", "one\rtwo\r<!--(READ DNS)-->", nullptr, "one\rtwo\r", {{"Unknown key: DNS", 2}}},
      {"a dropped block shifts later lines",
       "<!--(IF PIN 1 = 1)-->\r\n\r\n<!--(ENDIF)-->\r\n<!--(READ DNS)-->\n<!--(READ DNS)-->", nullptr, "\r\n\n",
       {{"Unknown key: DNS", 1}, {"Unknown key: DNS", 2}}},
  };
  return cases;
}

}  // namespace simtest
