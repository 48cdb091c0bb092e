#include "vcl/ClipboardData.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>
#include <cstdio>

#include "rtl/Strings.h"
#include "vcl/Forms.h"

namespace vcl {

namespace {

// TClipboard's type for a registered format.
QString PrivateMime(TClipboardFormat aFormat) {
  return "application/x-clipboard-format;name=\"" + QString::fromStdString(GetClipboardFormatName(aFormat)) + "\"";
}

bool IsHtmlFormat(TClipboardFormat aFormat) { return rtl::SameText(GetClipboardFormatName(aFormat), "HTML Format"); }
bool IsRtfFormat(TClipboardFormat aFormat) { return rtl::SameText(GetClipboardFormatName(aFormat), "Rich Text Format"); }

// Other programs' rich text: the desktop's type first, then the older one.
QString ForeignRtfMime(const QMimeData* aMime) {
  for (const char* type : {"text/rtf", "application/rtf"})
    if (aMime->hasFormat(type)) return type;
  return {};
}

QString FromUtf16Le(const std::string& aBytes) {
  QString text;
  for (size_t i = 0; i + 1 < aBytes.size(); i += 2) {
    const char16_t unit =
        static_cast<char16_t>(static_cast<unsigned char>(aBytes[i]) | static_cast<unsigned char>(aBytes[i + 1]) << 8);
    if (!unit) break;
    text += QChar(unit);
  }
  return text;
}

std::string ToUtf16Le(const QString& aText) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(aText.size()) * 2 + 2);
  for (QChar c : aText) {
    bytes += static_cast<char>(c.unicode() & 0xFF);
    bytes += static_cast<char>(c.unicode() >> 8);
  }
  bytes.append(2, '\0');
  return bytes;
}

std::string ToStd(const QByteArray& aBytes) { return std::string(aBytes.constData(), static_cast<size_t>(aBytes.size())); }

// The value of a header line "Name:digits", or -1.
long long HeaderValue(const std::string& aData, const char* aName) {
  const std::string key = std::string(aName) + ":";
  const size_t at = aData.find(key);
  if (at == std::string::npos) return -1;
  size_t i = at + key.size();
  long long value = 0;
  bool digits = false;
  while (i < aData.size() && aData[i] >= '0' && aData[i] <= '9' && value < (1LL << 40)) {
    value = value * 10 + (aData[i++] - '0');
    digits = true;
  }
  return digits ? value : -1;
}

// The HTML document inside "HTML Format" data, as other programs take it.
std::string HtmlOfBlock(const std::string& aData) {
  const std::string data = aData.substr(0, aData.find('\0'));
  long long start = HeaderValue(data, "StartHTML"), end = HeaderValue(data, "EndHTML");
  const long long size = static_cast<long long>(data.size());
  if (start < 0 || start > size) start = std::min<long long>(163, size);
  if (end < start || end > size) end = size;
  return data.substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
}

// Another program's HTML as "HTML Format" data.
std::string BlockOfForeignHtml(const QString& aHtml) {
  const std::string html = aHtml.toUtf8().toStdString();
  size_t start = 0, end = html.size();
  const size_t open = html.find("<!--StartFragment-->");
  const size_t close = open == std::string::npos ? std::string::npos : html.find("<!--EndFragment-->", open);
  if (close != std::string::npos) {
    start = open + 20;
    end = close;
  } else {
    const std::string lower = rtl::LowerCase(html);
    size_t body = lower.find("<body");
    while (body != std::string::npos && body + 5 < lower.size() && lower[body + 5] != '>' &&
           lower[body + 5] != ' ' && lower[body + 5] != '\t' && lower[body + 5] != '\r' && lower[body + 5] != '\n')
      body = lower.find("<body", body + 5);
    const size_t tagEnd = body == std::string::npos ? std::string::npos : lower.find('>', body);
    if (tagEnd != std::string::npos) {
      start = tagEnd + 1;
      const size_t bodyEnd = lower.find("</body", start);
      end = bodyEnd == std::string::npos ? html.size() : bodyEnd;
    }
  }
  return BuildHtmlFormatBlock(html, start, end);
}

}  // namespace

std::string BuildHtmlFormatBlock(const std::string& aHtml, size_t aFragmentStart, size_t aFragmentEnd) {
  constexpr size_t kHeader = 163;
  aFragmentEnd = std::min(aFragmentEnd, aHtml.size());
  aFragmentStart = std::min(aFragmentStart, aFragmentEnd);
  char header[256];
  std::snprintf(header, sizeof header,
                "Version:1.0\r\nStartHTML:%09zu\r\nEndHTML:%09zu\r\nStartFragment:%09zu\r\nEndFragment:%09zu\r\n"
                "StartSelection:%09zu\r\nEndSelection:%09zu\r\nSourceURL:\r\n",
                kHeader, kHeader + aHtml.size() + 2, kHeader + aFragmentStart, kHeader + aFragmentEnd,
                kHeader + aFragmentStart, kHeader + aFragmentEnd);
  std::string data = header;
  data += aHtml;
  data += "\r\n";
  data += '\0';
  return data;
}

void SetClipboardBlocks(const TClipboardBlocks& aBlocks) {
  InitApplication();
  auto* mime = new QMimeData;
  const std::string* text = nullptr;
  const std::string* unicode = nullptr;
  for (const auto& [format, bytes] : aBlocks) {
    if (format == CF_TEXT) {
      text = &bytes;
    } else if (format == CF_UNICODETEXT) {
      unicode = &bytes;
    } else {
      mime->setData(PrivateMime(format), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
      if (IsHtmlFormat(format)) mime->setData("text/html", QByteArray::fromStdString(HtmlOfBlock(bytes)));
      if (IsRtfFormat(format))
        mime->setData("text/rtf", QByteArray::fromStdString(bytes.substr(0, bytes.find('\0'))));
    }
  }
  if (unicode)
    mime->setText(FromUtf16Le(*unicode));
  else if (text)
    mime->setText(QString::fromUtf8(text->data(), static_cast<qsizetype>(text->size())));
  QGuiApplication::clipboard()->setMimeData(mime);
}

bool HasClipboardBlock(TClipboardFormat aFormat) {
  InitApplication();
  const QMimeData* m = QGuiApplication::clipboard()->mimeData();
  if (!m) return false;
  if (aFormat == CF_TEXT || aFormat == CF_UNICODETEXT) return m->hasText();
  if (m->hasFormat(PrivateMime(aFormat))) return true;
  if (IsRtfFormat(aFormat)) return !ForeignRtfMime(m).isEmpty();
  return IsHtmlFormat(aFormat) && m->hasHtml();
}

std::string GetClipboardBlock(TClipboardFormat aFormat) {
  InitApplication();
  const QMimeData* m = QGuiApplication::clipboard()->mimeData();
  if (!m) return {};
  if (aFormat == CF_TEXT) return m->hasText() ? m->text().toUtf8().toStdString() : std::string();
  if (aFormat == CF_UNICODETEXT) return m->hasText() ? ToUtf16Le(m->text()) : std::string();
  if (m->hasFormat(PrivateMime(aFormat))) return ToStd(m->data(PrivateMime(aFormat)));
  if (IsHtmlFormat(aFormat) && m->hasHtml()) return BlockOfForeignHtml(m->html());
  if (IsRtfFormat(aFormat) && !ForeignRtfMime(m).isEmpty()) return ToStd(m->data(ForeignRtfMime(m)));
  return {};
}

}  // namespace vcl
