#include "core/DevListU.h"

#include <cctype>

#include "rtl/Convert.h"
#include "rtl/Exceptions.h"
#include "rtl/ListErrors.h"
#include "rtl/Strings.h"

namespace core {

Tdevices::Tdevices() : listener_(std::make_unique<net::TUDPServer>()) {}

Tdevices::~Tdevices() { listener_->SetActive(false); }

void Tdevices::SetActive(bool value) {
  if (value == listener_->Active()) return;
  if (value) {
    listener_->SetDefaultPort(static_cast<rtl::Word>(listenPort_.load()));
    foundEvent_ = OnDeviceFound;
    listener_->OnUDPRead = [this](net::TUDPServer&, const net::TBytes& data,
                                  const net::TUDPBinding& binding) {
      OnAnnouncement(data, binding);
    };
    listener_->SetActive(true);
  } else {
    listener_->SetActive(false);
  }
}

void Tdevices::Refresh() {
  {
    std::lock_guard<std::mutex> g(lock_);
    items_.clear();
  }
  SendAnnounceRequest();
}

rtl::Integer Tdevices::Count() const {
  std::lock_guard<std::mutex> g(lock_);
  return static_cast<rtl::Integer>(items_.size());
}

TdeviceInfo Tdevices::GetItem(rtl::Integer index) const {
  std::lock_guard<std::mutex> g(lock_);
  if (index < 0 || index >= static_cast<rtl::Integer>(items_.size()))
    throw rtl::EListError(rtl::ListIndexMessage(index));
  return items_[index];
}

std::vector<TdeviceInfo> Tdevices::Items() const {
  std::lock_guard<std::mutex> g(lock_);
  return items_;
}

void Tdevices::SendBroadcast(const AnsiString& host, rtl::Word port, const AnsiString& text) {
  net::TUDPServer sender;
  sender.SetBroadcastEnabled(true);
  sender.Send(host, port, text);
}

void Tdevices::OnAnnouncement(const net::TBytes& data, const net::TUDPBinding& binding) {
  if (!IsValidAnnounce(data)) return;
  TdeviceInfo item;
  item.Host = binding.PeerIP;
  item.Key = item.Host + ":" + rtl::IntToStr(announcePort_.load());
  // Until the announcement is parsed the module goes by its sender's key.
  item.Address = item.Key;
  item.Name = item.Host;
  const AnsiString text = net::BytesToText(data);
  ParseAnnounce(item, text);
  bool isNew = false;
  {
    // The duplicate test and the append are one step, so two announcements
    // of one module arriving together still give one item.
    std::lock_guard<std::mutex> g(lock_);
    bool known = false;
    for (const auto& existing : items_)
      if (existing.Key == item.Key) known = true;
    if (!known) {
      items_.push_back(item);
      isNew = true;
    }
  }
  if (isNew && foundEvent_) foundEvent_(*this, text, item.Address);
}

TvormekDevList::TvormekDevList() {
  SetAnnouncePort(kDefaultAnnouncePort);
  SetListenPort(kDefaultReceivePort);
}

TvormekDevList::~TvormekDevList() { SetActive(false); }

AnsiString TvormekDevList::AnnounceAddress() const {
  std::lock_guard<std::mutex> g(addressLock_);
  return announceAddress_;
}

void TvormekDevList::SetAnnounceAddress(const AnsiString& address) {
  std::lock_guard<std::mutex> g(addressLock_);
  announceAddress_ = address;
}

void TvormekDevList::SendAnnounceRequest() {
  if (ListenerPort() != RcvAnnouncePort()) {
    SetListenPort(RcvAnnouncePort());
    SetActive(false);
    SetActive(true);
  }
  SendBroadcast(AnnounceAddress(), static_cast<rtl::Word>(AnnouncePort()), kAnnounceRequest);
}

bool TvormekDevList::IsValidAnnounce(const net::TBytes& data) {
  AnsiString text = net::BytesToText(data);
  text = text.substr(0, text.find('\0'));
  return text.find(kAnnouncePrefix) != AnsiString::npos;
}

void TvormekDevList::ParseAnnounce(TdeviceInfo& item, const AnsiString& text) {
  TDebugBase::LogFor("OnAddDevice:  " + text, *this);
  // The name starts right after the prefix wherever the prefix stands, and
  // the port marker is looked for after it.
  const auto prefix = text.find(kAnnouncePrefix);
  if (prefix == AnsiString::npos) return;
  const auto nameStart = prefix + AnsiString(kAnnouncePrefix).size();
  const auto marker = text.find(kPortMarker, nameStart);
  if (marker == AnsiString::npos) return;
  item.Name = text.substr(nameStart, marker - nameStart);
  auto p = marker + AnsiString(kPortMarker).size();
  AnsiString digits;
  while (p < text.size() && std::isdigit(static_cast<unsigned char>(text[p]))) digits += text[p++];
  item.PortText = digits;
  item.Address = item.Host + ":" + digits;
}

}  // namespace core
