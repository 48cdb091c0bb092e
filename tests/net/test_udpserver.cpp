// The UDP server on loopback: delivery with the sender's address, sending from
// the bound socket, broadcasts to sockets sharing a port, and the errors.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "net/UDPServer.h"

using net::TBytes;
using net::TUDPBinding;
using net::TUDPServer;

namespace {

// Collects what a server's listener delivers, for the test thread to wait on.
struct Inbox {
  struct Item {
    std::string text;
    TUDPBinding binding;
  };
  std::mutex lock;
  std::condition_variable changed;
  std::vector<Item> items;

  net::TUDPReadEvent Handler() {
    return [this](TUDPServer&, const TBytes& data, const TUDPBinding& b) {
      std::lock_guard<std::mutex> g(lock);
      items.push_back({net::BytesToText(data), b});
      changed.notify_all();
    };
  }
  // Waits until at least n datagrams arrived or two seconds passed.
  std::vector<Item> WaitFor(size_t n) {
    std::unique_lock<std::mutex> g(lock);
    changed.wait_for(g, std::chrono::seconds(2), [&] { return items.size() >= n; });
    return items;
  }
};

std::unique_ptr<TUDPServer> Listening(const std::string& ip, rtl::Word port, Inbox& inbox,
                                      bool reuse = false) {
  auto s = std::make_unique<TUDPServer>();
  s->SetBindIP(ip);
  s->SetDefaultPort(port);
  s->SetReuseAddress(reuse);
  s->OnUDPRead = inbox.Handler();
  s->SetActive(true);
  return s;
}

}  // namespace

TEST(UDPServer, DeliversPayloadWithSenderAndAnswersToTheSourcePort) {
  Inbox serverBox, clientBox;
  auto server = Listening("127.0.0.2", 0, serverBox);
  auto client = Listening("127.0.0.3", 0, clientBox);
  rtl::Word serverPort = server->Binding().Port;
  ASSERT_NE(serverPort, 0);
  EXPECT_EQ(server->Binding().IP, "127.0.0.2");

  // Bytes outside ASCII and a zero byte pass through untouched.
  std::string payload("AT*ID?\0\xff\r\n", 10);
  client->Send("127.0.0.2", serverPort, payload);
  auto got = serverBox.WaitFor(1);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].text, payload);
  EXPECT_EQ(got[0].binding.PeerIP, "127.0.0.3");
  EXPECT_EQ(got[0].binding.PeerPort, client->Binding().Port);
  EXPECT_EQ(got[0].binding.IP, "127.0.0.2");
  EXPECT_EQ(server->Binding().PeerIP, "127.0.0.3");

  // The answer goes back to the port the request came from.
  server->Send(got[0].binding.PeerIP, got[0].binding.PeerPort, "ID=x");
  auto back = clientBox.WaitFor(1);
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0].text, "ID=x");
  EXPECT_EQ(back[0].binding.PeerIP, "127.0.0.2");
  EXPECT_EQ(back[0].binding.PeerPort, serverPort);
}

TEST(UDPServer, BroadcastReachesEverySocketSharingThePort) {
  Inbox a, b;
  auto first = Listening("0.0.0.0", 0, a, /*reuse=*/true);
  rtl::Word port = first->Binding().Port;
  auto second = Listening("", port, b, /*reuse=*/true);

  TUDPServer sender;  // inactive: sends from a temporary socket
  EXPECT_THROW(sender.Send("127.255.255.255", port, "x"), net::ESocketError)
      << "broadcast must be refused while it is disabled";
  sender.SetBroadcastEnabled(true);
  sender.Send("127.255.255.255", port, "AT*ANNOUNCE_NOW=5");
  ASSERT_EQ(a.WaitFor(1).size(), 1u);
  ASSERT_EQ(b.WaitFor(1).size(), 1u);
  EXPECT_EQ(a.items[0].text, "AT*ANNOUNCE_NOW=5");
  EXPECT_EQ(b.items[0].binding.PeerIP, "127.0.0.1");
}

TEST(UDPServer, BindConflictAndBadHostRaise) {
  Inbox box;
  auto holder = Listening("127.0.0.1", 0, box);
  TUDPServer other;
  other.SetBindIP("127.0.0.1");
  other.SetDefaultPort(holder->Binding().Port);
  EXPECT_THROW(other.SetActive(true), net::ESocketError);
  EXPECT_FALSE(other.Active());

  struct Case {
    const char* host;
  } cases[] = {{"module.example"}, {"300.1.1.1"}, {"1.2.3"}};
  for (const auto& c : cases) {
    EXPECT_THROW(holder->Send(c.host, 9, "x"), net::ESocketError) << c.host;
  }
}

TEST(UDPServer, RestartsAndKeepsListeningAfterAFailingHandler) {
  Inbox box;
  TUDPServer server;
  server.SetBindIP("127.0.0.1");
  int calls = 0;
  server.OnUDPRead = [&](TUDPServer& s, const TBytes& d, const TUDPBinding& b) {
    if (++calls == 1) throw std::runtime_error("first datagram fails");
    box.Handler()(s, d, b);
  };
  for (int round = 0; round < 3; ++round) {
    server.SetActive(true);
    ASSERT_TRUE(server.Active());
    TUDPServer client;
    client.Send("127.0.0.1", server.Binding().Port, "one");
    client.Send("127.0.0.1", server.Binding().Port, "two");
    box.WaitFor(static_cast<size_t>(2 * round + 1));
    server.SetActive(false);
    EXPECT_FALSE(server.Active());
  }
  ASSERT_EQ(box.items.size(), 5u);
  EXPECT_EQ(box.items[0].text, "two");
}

// Several senders and one listener at once; the listener thread and the
// callers share only the binding and the inbox (run under TSan as well).
TEST(UDPServer, ManySendersOneListener) {
  Inbox box;
  auto server = Listening("127.0.0.1", 0, box);
  rtl::Word port = server->Binding().Port;
  std::vector<std::thread> senders;
  for (int t = 0; t < 4; ++t) {
    senders.emplace_back([port, t] {
      TUDPServer s;
      s.SetBindIP("127.0.0.1");
      s.SetActive(true);
      for (int i = 0; i < 25; ++i) s.Send("127.0.0.1", port, std::to_string(t * 100 + i));
    });
  }
  for (auto& t : senders) t.join();
  for (int i = 0; i < 20; ++i) (void)server->Binding();
  EXPECT_EQ(box.WaitFor(100).size(), 100u);
}
