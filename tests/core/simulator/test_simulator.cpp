#include <gtest/gtest.h>

#include "SimCases.h"
#include "rtl/Exceptions.h"

using core::TvormekParams;
using simtest::Errors;
using simtest::Rig;
using simtest::Case;
using simtest::Cases;

namespace {

TEST(Simulator, TableOfPagesAndValues) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    Rig rig;
    if (c.setup) c.setup(rig.sim.Params());
    EXPECT_EQ(rig.Expand(c.page), c.output);
    EXPECT_EQ(rig.errors, c.errors);
  }
}

TEST(Simulator, ExecChangesTheSimulatedValues) {
  Rig rig;
  rig.Expand("<!--(EXEC PIN_OUTPUT4=1)--><!--(EXEC PIN_INPUT6=0)--><!--(EXEC PIN_ANALOG2=3.3)-->"
             "<!--(EXEC SSN=42)--><!--(EXEC HTTP=8080)--><!--(EXEC TFTP=69)--><!--(EXEC UDP=7000)-->"
             "<!--(EXEC BOUND=1)-->");
  const TvormekParams& p = rig.sim.Params();
  EXPECT_EQ(p.GetPin(4).State, 1);
  EXPECT_EQ(p.GetPin(4).Direction, 1);
  EXPECT_EQ(p.GetPin(6).State, 0);
  EXPECT_EQ(p.GetPin(6).Direction, 0);
  EXPECT_EQ(p.GetPin(2).Volts, 0.0f);  // an analog write changes only the direction
  EXPECT_EQ(p.SerialNumber, "42");
  EXPECT_EQ(p.HTTPPort, "8080");
  EXPECT_EQ(p.TFTPPort, "69");
  EXPECT_EQ(p.UDPPort, "7000");
  EXPECT_TRUE(p.Bound);
  EXPECT_TRUE(rig.errors.empty());
}

TEST(Simulator, LockAndUnlockWithThePassword) {
  struct Step {
    const char* page;
    bool locked;
    const char* password;
  };
  const Step steps[] = {
      {"<!--(EXEC LOCK=secret)-->", true, "secret"},
      {"<!--(EXEC UNLOCK=wrong)-->", true, "secret"},
      {"<!--(EXEC UNLOCK=secret)-->", false, "secret"},
  };
  Rig rig;
  EXPECT_FALSE(rig.sim.Params().LockFlag);
  EXPECT_EQ(rig.sim.Params().Password, "Tolbrisk");
  for (const Step& s : steps) {
    SCOPED_TRACE(s.page);
    rig.Expand(s.page);
    EXPECT_EQ(rig.sim.Params().LockFlag, s.locked);
    EXPECT_EQ(rig.sim.Params().Password, s.password);
  }
  EXPECT_TRUE(rig.errors.empty());
}

TEST(Simulator, ExecInAKeptBlockRunsOnce) {
  Rig rig;
  rig.Expand("<!--(IF PIN 1 = 0)--><!--(EXEC LOCK=a)--><!--(EXEC UNLOCK=a)--><!--(EXEC LOCK=b)--><!--(ENDIF)-->");
  // Run twice, the unlock with "a" would fail after the second lock ("b").
  EXPECT_TRUE(rig.sim.Params().LockFlag);
  EXPECT_EQ(rig.sim.Params().Password, "b");
}

TEST(Simulator, ConversionErrorsAndDivisionByZeroEndTheRun) {
  struct Failure {
    const char* page;
    bool zeroDivide;
  };
  const Failure failures[] = {
      {"<!--(READ DNS)--><#_zelbe54f7mdl type=\"0\" X=\"abc\" /><!--(READ DNS)-->", false},
      {"<!--(READ DNS)--><!--(PIN 1 ANALOG/0,2)--><!--(READ DNS)-->", true},
      {"<!--(READ DNS)--><#_zelbe54f7mdl type=\"x\" /><!--(READ DNS)-->", false},
  };
  for (const Failure& f : failures) {
    SCOPED_TRACE(f.page);
    Rig rig;
    rtl::AnsiString text = rig.parser.PageToEditor(f.page);
    const rtl::AnsiString before = text;
    if (f.zeroDivide) {
      EXPECT_THROW(rig.sim.Expand(text), rtl::EZeroDivide);
    } else {
      EXPECT_THROW(rig.sim.Expand(text), rtl::EConvertError);
    }
    EXPECT_EQ(text, before);
    // What was reported before the failure stays reported.
    EXPECT_EQ(rig.errors, (Errors{{"Unknown key: DNS", 0}}));
  }
}

TEST(Simulator, ValuesChangedAfterEveryExpansion) {
  Rig rig;
  int calls = 0;
  rig.sim.OnValuesChanged = [&](core::TvormekWebSimulator* sender) {
    EXPECT_EQ(sender, &rig.sim);
    ++calls;
  };
  rig.Expand("<!--(EXEC ID=x)-->");
  EXPECT_EQ(calls, 1);
  EXPECT_THROW(rig.Expand("<#_zelbe54f7mdl type=\"0\" X=\"?\" />"), rtl::EConvertError);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(rig.sim.GetSimulatorControl(), nullptr);
  EXPECT_EQ(rig.sim.NestingLimit(), 20);
}

}  // namespace

namespace {

// A key whose value reads the key itself would expand for ever; the run
// stops with a message and keeps the text around it.
TEST(Simulator, AValueThatReadsItsOwnKeyStops) {
  simtest::Rig rig;
  rig.sim.Params().ExtraCmds.AddKey("REG9", rig.parser.PageToEditor("x<!--(READ REG9)-->"));
  const std::string out = rig.Expand("before\r\n<!--(READ REG9)-->\r\nafter");
  ASSERT_EQ(rig.errors.size(), 1u);
  EXPECT_EQ(rig.errors[0].first, "Expansion stopped: a key's value keeps expanding into tags");
  EXPECT_EQ(rig.errors[0].second, 1);
  EXPECT_EQ(out.rfind("before\r\nxxx", 0), 0u);
  EXPECT_EQ(out.substr(out.size() - 7), "\r\nafter");
}

}  // namespace
