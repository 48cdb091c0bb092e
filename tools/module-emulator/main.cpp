// module-emulator: a module on a loopback address, for tests and for trying
// the environment without hardware. Runs until it gets SIGINT or SIGTERM.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <mutex>
#include <string>
#include <unistd.h>

#include "ModuleEmulator.h"
#include "rtl/Convert.h"
#include "rtl/Files.h"
#include "rtl/Strings.h"

namespace {

const char kUsage[] =
    "usage: module-emulator [options]\n"
    "  --ip A             loopback address to answer from (127.0.0.0/8; default 127.0.0.2)\n"
    "  --port N           command port (default 0: the system picks one)\n"
    "  --announce-port N  port of discovery requests, shared with other emulators\n"
    "                     (default 7124)\n"
    "  --receive-port N   port that announcements are sent to (default 7123)\n"
    "  --name NAME        the module's name (its ID; default EMU- and the address's last number)\n"
    "  --hwtype T         hardware type answered for HWTYPE (default 4)\n"
    "  --tftp-port N      port of the TFTP server, answered for TFTP (default 0: the\n"
    "                     system picks one)\n"
    "  --no-tftp          run no TFTP server; TFTP answers --tftp-port as given\n"
    "  --tftp-save FILE   write every image received whole to FILE\n"
    "  --tftp-timeout MS  the TFTP server repeats its last answer after MS (default 5000)\n"
    "  --set KEY=VALUE    initial value of a setting, by its query key (repeatable)\n"
    "faults:\n"
    "  --silent           answer no command and no discovery request\n"
    "  --delay MS         send every answer MS milliseconds late\n"
    "  --duplicate        send every answer twice\n"
    "  --reply-from A     answer commands from loopback address A instead of --ip\n"
    "  --error-key KEY    answer ERROR for KEY (repeatable)\n"
    "  --no-reset-reply   apply RESET=1 without answering it\n"
    "  --misreport KEY=V  answer V to a query of KEY whatever is stored (repeatable)\n"
    "TFTP faults (blocks counted from 1 as they arrive):\n"
    "  --tftp-drop-ack N       lose the first acknowledgement of block N\n"
    "  --tftp-duplicate-ack N  acknowledge block N twice\n"
    "  --tftp-stray-after N    after block N, send the client a datagram from another port\n"
    "  --tftp-silent-last      never acknowledge the last block\n"
    "  --tftp-error-at N       answer block N (0: the request) with an error packet\n"
    "  --tftp-error-code C     its error code (default 3)\n"
    "  --tftp-error-message T  its message\n"
    "  --tftp-blksize N        answer the block-size option with N whatever was asked\n"
    "  --tftp-refuse-option    ignore the option (512-byte blocks)\n"
    "records:\n"
    "  --record FILE      append every datagram received: milliseconds since start,\n"
    "                     channel (command or announce), sender, text (bytes outside\n"
    "                     32..126 as \\xHH); and a line per TFTP transfer as it ends\n"
    "  --ready-file FILE  once listening, write \"<ip> <command port> <announce port>\n"
    "                     <TFTP port>\" (the TFTP port 0 without a server); the same\n"
    "                     line goes to standard output after \"listening: \"\n";

volatile std::sig_atomic_t stopRequested = 0;
void OnSignal(int) { stopRequested = 1; }

bool IsLoopback(const std::string& ip) {
  try {
    net::ResolveIPv4(ip, 0);
  } catch (const std::exception&) {
    return false;
  }
  return rtl::StartsStr("127.", ip);
}

std::string Escape(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c >= 32 && c <= 126 && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    }
  }
  return out;
}

[[noreturn]] void Fail(const std::string& message) {
  std::cerr << "module-emulator: " << message << "\n";
  std::exit(2);
}

int Count(const std::string& option, const std::string& text) {
  rtl::Integer v = 0;
  if (!rtl::TryStrToInt(text, v) || v < 0) Fail(option + ": not a number: " + text);
  return v;
}

rtl::Word PortArg(const std::string& option, const std::string& text) {
  rtl::Integer v = 0;
  if (!rtl::TryStrToInt(text, v) || v < 0 || v > 65535) Fail(option + ": not a port: " + text);
  return static_cast<rtl::Word>(v);
}

}  // namespace

int main(int argc, char** argv) {
  emulator::TEmulatorOptions o;
  std::string recordFile, readyFile, tftpSave;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto next = [&]() -> std::string {
      if (i + 1 >= argc) Fail(a + " needs a value");
      return argv[++i];
    };
    if (a == "--help" || a == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (a == "--ip") {
      o.IP = next();
    } else if (a == "--port") {
      o.CommandPort = PortArg(a, next());
    } else if (a == "--announce-port") {
      o.AnnouncePort = PortArg(a, next());
    } else if (a == "--receive-port") {
      o.ReceivePort = PortArg(a, next());
    } else if (a == "--name") {
      o.Name = next();
    } else if (a == "--hwtype") {
      o.HardwareType = next();
    } else if (a == "--tftp-port") {
      o.TftpPort = PortArg(a, next());
    } else if (a == "--no-tftp") {
      o.TftpServer = false;
    } else if (a == "--tftp-save") {
      tftpSave = next();
    } else if (a == "--tftp-timeout") {
      o.TftpTimeoutMs = Count(a, next());
    } else if (a == "--tftp-drop-ack") {
      o.TftpFaults.DropAckOf = Count(a, next());
    } else if (a == "--tftp-duplicate-ack") {
      o.TftpFaults.DuplicateAckOf = Count(a, next());
    } else if (a == "--tftp-stray-after") {
      o.TftpFaults.StrayAfter = Count(a, next());
    } else if (a == "--tftp-silent-last") {
      o.TftpFaults.SilentAfterLastBlock = true;
    } else if (a == "--tftp-error-at") {
      o.TftpFaults.ErrorAt = Count(a, next());
    } else if (a == "--tftp-error-code") {
      o.TftpFaults.ErrorCode = Count(a, next());
    } else if (a == "--tftp-error-message") {
      o.TftpFaults.ErrorMessage = next();
    } else if (a == "--tftp-blksize") {
      o.TftpFaults.OptionBlockSize = Count(a, next());
    } else if (a == "--tftp-refuse-option") {
      o.TftpFaults.RefuseOption = true;
    } else if (a == "--set") {
      std::string kv = next();
      auto eq = kv.find('=');
      if (eq == std::string::npos || eq == 0) Fail("--set needs KEY=VALUE: " + kv);
      o.Values.emplace_back(kv.substr(0, eq), kv.substr(eq + 1));
    } else if (a == "--silent") {
      o.Faults.Silent = true;
    } else if (a == "--delay") {
      o.Faults.ReplyDelayMs = Count(a, next());
    } else if (a == "--duplicate") {
      o.Faults.DuplicateReplies = true;
    } else if (a == "--reply-from") {
      o.Faults.ReplyFromIP = next();
      if (!IsLoopback(o.Faults.ReplyFromIP))
        Fail("--reply-from must be a loopback address: " + o.Faults.ReplyFromIP);
    } else if (a == "--error-key") {
      o.Faults.ErrorKeys.insert(next());
    } else if (a == "--misreport") {
      const std::string pair = next();
      const auto eq = pair.find('=');
      if (eq == std::string::npos || eq == 0) Fail("--misreport wants KEY=VALUE: " + pair);
      o.Faults.MisreportedValues[rtl::UpperCase(pair.substr(0, eq))] = pair.substr(eq + 1);
    } else if (a == "--no-reset-reply") {
      o.Faults.NoResetReply = true;
    } else if (a == "--record") {
      recordFile = next();
    } else if (a == "--ready-file") {
      readyFile = next();
    } else {
      std::cerr << kUsage;
      Fail("unknown option: " + a);
    }
  }
  if (!IsLoopback(o.IP)) Fail("--ip must be a loopback address (127.0.0.0/8): " + o.IP);

  std::ofstream record;
  std::mutex recordLock;
  if (!recordFile.empty()) {
    record.open(recordFile, std::ios::app | std::ios::binary);
    if (!record) Fail("cannot write " + recordFile);
  }

  emulator::TModuleEmulator module(o);
  if (record.is_open()) {
    module.OnReceived = [&](const emulator::TReceivedDatagram& d) {
      std::lock_guard<std::mutex> g(recordLock);
      char ms[32];
      std::snprintf(ms, sizeof ms, "%.1f", d.TimeMs);
      record << ms << " " << d.Channel << " " << d.PeerIP << ":" << d.PeerPort << " "
             << Escape(d.Text) << "\n"
             << std::flush;
    };
  }
  auto writeRecord = [&](const std::string& line) {
    if (!record.is_open()) return;
    std::lock_guard<std::mutex> g(recordLock);
    record << line << "\n" << std::flush;
  };
  if (o.TftpServer) {
    // Set before Start: the server's threads read it.
    module.OnTftpTransferEnd = [&](const emulator::TTftpTransfer& t) {
      char ms[32];
      std::snprintf(ms, sizeof ms, "%.1f", t.StartMs);
      std::string line = std::string(ms) + " tftp " + t.ClientIP + ":" + std::to_string(t.ClientPort) +
                         " " + Escape(t.FileName) + " " + std::to_string(t.Data.size()) + " bytes in " +
                         std::to_string(t.Blocks) + " blocks of " + std::to_string(t.BlockSize) + ", ";
      line += t.Complete ? "complete, image " + std::string(t.ImageValid ? "valid: " : "invalid: ") +
                               Escape(t.ImageCheck)
                         : "failed: " + Escape(t.Failure);
      writeRecord(line);
      if (t.Complete && !tftpSave.empty()) {
        try {
          rtl::WriteFileAtomically(tftpSave, std::string(t.Data.begin(), t.Data.end()));
        } catch (const std::exception& e) {
          std::cerr << "module-emulator: " << e.what() << "\n";
        }
      }
    };
  }
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  try {
    module.Start();
  } catch (const std::exception& e) {
    Fail(e.what());
  }

  const std::string ready = module.IP() + " " + std::to_string(module.CommandPort()) + " " +
                            std::to_string(module.AnnouncePort()) + " " +
                            std::to_string(module.Tftp() ? module.Tftp()->Port() : 0);
  if (!readyFile.empty()) {
    // Written under another name and renamed, so a reader never sees half a line.
    const std::string tmp = readyFile + ".tmp";
    {
      std::ofstream f(tmp, std::ios::trunc);
      f << ready << "\n";
      if (!f) Fail("cannot write " + tmp);
    }
    if (std::rename(tmp.c_str(), readyFile.c_str()) != 0) Fail("cannot write " + readyFile);
  }
  std::cout << "module-emulator listening: " << ready << std::endl;

  while (!stopRequested) ::usleep(20 * 1000);
  module.Stop();
  return 0;
}
