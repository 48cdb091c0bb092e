// The UDP client: receiving with the sender's address, time-outs on the
// clock service (a manual clock decides them), cut datagrams and the running
// total of the work events.
#include <gtest/gtest.h>

#include <thread>

#include "net/UDPClient.h"
#include "rtl/Clock.h"

using net::TBytes;
using net::TUDPClient;

TEST(UDPClient, ReceivesWithTheSendersAddress) {
  TUDPClient a, b;
  a.BoundIP = "127.0.0.2";
  b.BoundIP = "127.0.0.3";
  a.Open();
  b.Open();
  EXPECT_EQ(a.Binding().IP, "127.0.0.2");
  ASSERT_NE(a.Binding().Port, 0);

  b.Host = "127.0.0.2";
  b.Port = a.Binding().Port;
  b.Send("request");
  TBytes got;
  ASSERT_TRUE(a.ReceiveBuffer(got, 2000));
  EXPECT_EQ(net::BytesToText(got), "request");
  EXPECT_EQ(a.PeerIP(), "127.0.0.3");
  EXPECT_EQ(a.PeerPort(), b.Binding().Port);

  // Answering the peer of the last datagram; a long datagram is cut to BufferSize.
  a.SendBuffer(a.PeerIP(), a.PeerPort(), TBytes(600, 7));
  b.BufferSize = 516;
  ASSERT_TRUE(b.ReceiveBuffer(got, 2000));
  EXPECT_EQ(got.size(), 516u);

  // A new socket after Close.
  const rtl::Word first = a.Binding().Port;
  a.Close();
  EXPECT_FALSE(a.Active());
  a.BoundPort = first;  // free again
  a.Open();
  EXPECT_EQ(a.Binding().Port, first);
}

TEST(UDPClient, TimeOutsFollowTheClockService) {
  TUDPClient quiet;
  quiet.BoundIP = "127.0.0.1";
  TBytes got;
  EXPECT_FALSE(quiet.ReceiveBuffer(got, 30)) << "real clock: a short wait ends";

  auto clock = std::make_shared<rtl::ManualClock>(1000);
  rtl::ScopedClock scoped(clock);
  std::thread advance([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    clock->Advance(3999);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    clock->Advance(1);
  });
  EXPECT_FALSE(quiet.ReceiveBuffer(got, 4000));
  EXPECT_GE(clock->MonotonicMs(), 5000u);
  advance.join();

  // A datagram ends the wait without any clock movement.
  TUDPClient sender;
  sender.SendBuffer("127.0.0.1", quiet.Binding().Port, net::TextToBytes("x"));
  EXPECT_TRUE(quiet.ReceiveBuffer(got, 4000));

  // Devices beside the program under test keep real time.
  quiet.RealTimeWaits = true;
  EXPECT_FALSE(quiet.ReceiveBuffer(got, 30));
}

TEST(UDPClient, WorkEventsCarryARunningTotal) {
  TUDPClient c;
  std::vector<std::string> events;
  c.OnWorkBegin = [&](TUDPClient&, net::TWorkMode m, rtl::Int64 max) {
    events.push_back(std::string(m == net::TWorkMode::wmWrite ? "W" : "R") + "begin " +
                     std::to_string(max));
  };
  c.OnWork = [&](TUDPClient&, net::TWorkMode, rtl::Int64 total) {
    events.push_back(std::to_string(total));
  };
  c.OnWorkEnd = [&](TUDPClient&, net::TWorkMode) { events.push_back("end"); };
  c.BeginWork(net::TWorkMode::wmWrite, 3000);
  c.DoWork(net::TWorkMode::wmWrite, 1500);
  c.DoWork(net::TWorkMode::wmWrite, 1500);
  c.DoWork(net::TWorkMode::wmWrite, 0);
  c.EndWork(net::TWorkMode::wmWrite);
  c.BeginWork(net::TWorkMode::wmRead);
  c.DoWork(net::TWorkMode::wmRead, 10);
  EXPECT_EQ(events, (std::vector<std::string>{"Wbegin 3000", "1500", "3000", "3000", "end",
                                              "Rbegin 0", "10"}));
}
