#include "vcl/Clipbrd.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <map>
#include <memory>
#include <mutex>

#include "rtl/Strings.h"
#include "vcl/Forms.h"

namespace vcl {

namespace {

std::mutex gFormatLock;
std::vector<AnsiString>& FormatNames() {
  static std::vector<AnsiString> names;  // index + 0xC000 is the number
  return names;
}

// Registered formats travel as their own MIME type; text as plain text.
QString MimeOf(TClipboardFormat format) {
  if (format == CF_TEXT || format == CF_UNICODETEXT) return "text/plain";
  AnsiString name = GetClipboardFormatName(format);
  if (name.empty()) return "application/x-clipboard-format;number=" + QString::number(format);
  return "application/x-clipboard-format;name=\"" + QString::fromStdString(name) + "\"";
}

}  // namespace

TClipboardFormat RegisterClipboardFormat(const AnsiString& name) {
  if (name.empty()) return 0;
  std::lock_guard<std::mutex> g(gFormatLock);
  auto& names = FormatNames();
  for (size_t i = 0; i < names.size(); ++i)
    if (rtl::SameText(names[i], name)) return static_cast<TClipboardFormat>(0xC000 + i);
  names.push_back(name);
  return static_cast<TClipboardFormat>(0xC000 + names.size() - 1);
}

AnsiString GetClipboardFormatName(TClipboardFormat format) {
  std::lock_guard<std::mutex> g(gFormatLock);
  auto& names = FormatNames();
  if (format < 0xC000 || format - 0xC000u >= names.size()) return {};
  return names[format - 0xC000u];
}

struct TClipboard::Pending {
  std::map<TClipboardFormat, std::string> data;
  bool emptied = false;
};

TClipboard::TClipboard() = default;
TClipboard::~TClipboard() { delete pending_; }

void TClipboard::Open() {
  InitApplication();
  if (openCount_++ == 0) pending_ = new Pending;
}

void TClipboard::Close() {
  if (openCount_ == 0) return;
  if (--openCount_ == 0) {
    Commit();
    delete pending_;
    pending_ = nullptr;
  }
}

TClipboard::Pending* TClipboard::Target() {
  if (pending_ && !pending_->emptied) {
    pending_->data.clear();
    pending_->emptied = true;
  }
  return pending_;
}

void TClipboard::Commit() {
  if (!pending_ || !pending_->emptied) return;
  auto* mime = new QMimeData;
  for (auto& [format, bytes] : pending_->data) {
    if (format == CF_TEXT || format == CF_UNICODETEXT)
      mime->setText(QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())));
    else
      mime->setData(MimeOf(format), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
  }
  QGuiApplication::clipboard()->setMimeData(mime);
}

void TClipboard::Clear() {
  Open();
  Target();
  pending_->data.clear();
  Close();
}

bool TClipboard::HasFormat(TClipboardFormat format) const {
  InitApplication();
  const QMimeData* m = QGuiApplication::clipboard()->mimeData();
  if (!m) return false;
  if (format == CF_TEXT || format == CF_UNICODETEXT) return m->hasText();
  return m->hasFormat(MimeOf(format));
}

std::vector<TClipboardFormat> TClipboard::Formats() const {
  InitApplication();
  std::vector<TClipboardFormat> out;
  const QMimeData* m = QGuiApplication::clipboard()->mimeData();
  if (!m) return out;
  if (m->hasText()) {
    out.push_back(CF_TEXT);
    out.push_back(CF_UNICODETEXT);
  }
  std::lock_guard<std::mutex> g(gFormatLock);
  for (size_t i = 0; i < FormatNames().size(); ++i) {
    QString mime = "application/x-clipboard-format;name=\"" + QString::fromStdString(FormatNames()[i]) + "\"";
    if (m->hasFormat(mime)) out.push_back(static_cast<TClipboardFormat>(0xC000 + i));
  }
  return out;
}

AnsiString TClipboard::AsText() const {
  InitApplication();
  return QGuiApplication::clipboard()->text().toStdString();
}

void TClipboard::SetAsText(const AnsiString& text) { SetAsBytes(CF_TEXT, text); }

std::string TClipboard::GetAsBytes(TClipboardFormat format) const {
  InitApplication();
  if (format == CF_TEXT || format == CF_UNICODETEXT) return AsText();
  const QMimeData* m = QGuiApplication::clipboard()->mimeData();
  if (!m) return {};
  QByteArray b = m->data(MimeOf(format));
  return std::string(b.constData(), static_cast<size_t>(b.size()));
}

void TClipboard::SetAsBytes(TClipboardFormat format, const std::string& bytes) {
  Open();
  Target()->data[format] = bytes;
  Close();
}

TClipboard* Clipboard() {
  static TClipboard* clipboard = new TClipboard;  // lives as long as the process
  return clipboard;
}

}  // namespace vcl
