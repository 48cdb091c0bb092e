#include "vcl/ShellIcons.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QMimeDatabase>
#include <QPainter>
#include <QPainterPath>
#include <map>
#include <mutex>
#include <utility>

namespace vcl {

namespace {

// What our own icons can show; each theme name maps to one of them.
enum class TIconShape { Document, Text, Image, Web, Media, Archive, Program, Folder, FolderOpen, Drive, Optical,
                        NetworkDrive, Computer, Network, Printer };

struct TIndexEntry {
  const char* themeName;
  TIconShape shape;
};

// The places of the system image lists, in their order.
constexpr TIndexEntry kIndexIcons[] = {
    {"unknown", TIconShape::Document},
    {"text-x-generic", TIconShape::Text},
    {"application-x-executable", TIconShape::Program},
    {"folder", TIconShape::Folder},
    {"folder-open", TIconShape::FolderOpen},
    {"media-floppy", TIconShape::Drive},
    {"media-floppy", TIconShape::Drive},
    {"drive-removable-media", TIconShape::Drive},
    {"drive-harddisk", TIconShape::Drive},
    {"folder-remote", TIconShape::NetworkDrive},
    {"network-offline", TIconShape::NetworkDrive},
    {"media-optical", TIconShape::Optical},
    {"drive-harddisk", TIconShape::Drive},
    {"network-workgroup", TIconShape::Network},
    {"network-wired", TIconShape::Network},
    {"computer", TIconShape::Computer},
    {"printer", TIconShape::Printer},
    {"network-workgroup", TIconShape::Network},
};

bool shellIconsUseTheme = true;

TIconShape ShapeOfMime(const QMimeType& mime) {
  const QString name = mime.name();
  if (name == "inode/directory") return TIconShape::Folder;
  if (name == "inode/blockdevice" || name == "inode/chardevice") return TIconShape::Drive;
  if (name == "text/html" || name == "application/xhtml+xml" || name == "text/css") return TIconShape::Web;
  if (name.startsWith("image/")) return TIconShape::Image;
  if (name.startsWith("audio/") || name.startsWith("video/")) return TIconShape::Media;
  if (name.startsWith("text/") || mime.inherits("text/plain")) return TIconShape::Text;
  if (name == "application/zip" || name == "application/x-tar" || name == "application/gzip" ||
      name.contains("compressed") || name.contains("archive"))
    return TIconShape::Archive;
  if (name.contains("executable") || name == "application/x-sharedlib" || name == "application/x-msdownload" ||
      name == "application/x-msi")
    return TIconShape::Program;
  return TIconShape::Document;
}

// A sheet with its top-right corner folded, a band of colour for its kind.
void PaintDocument(QPainter& p, QColor band, bool lines) {
  QPainterPath sheet;
  sheet.moveTo(3, 1);
  sheet.lineTo(10, 1);
  sheet.lineTo(13, 4);
  sheet.lineTo(13, 15);
  sheet.lineTo(3, 15);
  sheet.closeSubpath();
  p.setPen(QPen(QColor(110, 110, 110), 0.8));
  p.setBrush(Qt::white);
  p.drawPath(sheet);
  p.setBrush(QColor(220, 220, 220));
  p.drawPolygon(QPolygonF({QPointF(10, 1), QPointF(10, 4), QPointF(13, 4)}));
  p.setPen(Qt::NoPen);
  if (lines) {
    p.setBrush(band);
    for (int y = 6; y <= 12; y += 2) p.drawRect(QRectF(5, y, 6, 0.9));
  } else {
    p.setBrush(band);
    p.drawRect(QRectF(5, 7, 6, 6));
  }
}

void PaintFolder(QPainter& p, bool open) {
  p.setPen(QPen(QColor(150, 110, 20), 0.8));
  p.setBrush(QColor(230, 180, 60));
  QPainterPath back;
  back.moveTo(1, 3);
  back.lineTo(6, 3);
  back.lineTo(7, 4.5);
  back.lineTo(15, 4.5);
  back.lineTo(15, 14);
  back.lineTo(1, 14);
  back.closeSubpath();
  p.drawPath(back);
  p.setBrush(QColor(250, 210, 90));
  if (open) {
    p.drawPolygon(QPolygonF({QPointF(3, 7), QPointF(15.5, 7), QPointF(13.5, 14), QPointF(1, 14)}));
  } else {
    p.drawRect(QRectF(1, 6, 14, 8));
  }
}

void PaintDrive(QPainter& p, QColor light) {
  p.setPen(QPen(QColor(90, 90, 90), 0.8));
  p.setBrush(QColor(190, 190, 195));
  p.drawRoundedRect(QRectF(1, 5, 14, 7), 1.5, 1.5);
  p.setPen(Qt::NoPen);
  p.setBrush(light);
  p.drawEllipse(QRectF(11, 8, 2, 2));
}

void PaintComputer(QPainter& p) {
  p.setPen(QPen(QColor(70, 70, 70), 0.8));
  p.setBrush(QColor(200, 200, 205));
  p.drawRect(QRectF(2, 2, 12, 9));
  p.setBrush(QColor(60, 120, 200));
  p.drawRect(QRectF(3.5, 3.5, 9, 6));
  p.setBrush(QColor(170, 170, 175));
  p.drawRect(QRectF(5, 12, 6, 2.5));
}

void PaintShape(QPainter& p, TIconShape shape) {
  switch (shape) {
    case TIconShape::Document: PaintDocument(p, QColor(200, 200, 200), true); break;
    case TIconShape::Text: PaintDocument(p, QColor(70, 110, 200), true); break;
    case TIconShape::Image: PaintDocument(p, QColor(60, 170, 70), false); break;
    case TIconShape::Web: PaintDocument(p, QColor(230, 120, 30), true); break;
    case TIconShape::Media: PaintDocument(p, QColor(140, 60, 170), false); break;
    case TIconShape::Archive: PaintDocument(p, QColor(150, 100, 50), false); break;
    case TIconShape::Program:
      p.setPen(QPen(QColor(70, 70, 70), 0.8));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(1, 3, 14, 11));
      p.setBrush(QColor(40, 80, 170));
      p.drawRect(QRectF(1, 3, 14, 3));
      break;
    case TIconShape::Folder: PaintFolder(p, false); break;
    case TIconShape::FolderOpen: PaintFolder(p, true); break;
    case TIconShape::Drive: PaintDrive(p, QColor(40, 200, 60)); break;
    case TIconShape::Optical:
      p.setPen(QPen(QColor(90, 90, 90), 0.8));
      p.setBrush(QColor(215, 215, 230));
      p.drawEllipse(QRectF(1, 1, 14, 14));
      p.setBrush(Qt::white);
      p.drawEllipse(QRectF(6, 6, 4, 4));
      break;
    case TIconShape::NetworkDrive:
      PaintDrive(p, QColor(40, 200, 60));
      p.setPen(QPen(QColor(60, 60, 60), 1));
      p.drawLine(QPointF(8, 12), QPointF(8, 15));
      p.drawLine(QPointF(3, 15), QPointF(13, 15));
      break;
    case TIconShape::Computer: PaintComputer(p); break;
    case TIconShape::Network:
      PaintComputer(p);
      p.setPen(QPen(QColor(60, 60, 60), 1));
      p.drawLine(QPointF(0, 15), QPointF(16, 15));
      break;
    case TIconShape::Printer:
      p.setPen(QPen(QColor(80, 80, 80), 0.8));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(4, 1, 8, 5));
      p.setBrush(QColor(170, 170, 175));
      p.drawRoundedRect(QRectF(1, 6, 14, 6), 1, 1);
      p.setBrush(Qt::white);
      p.drawRect(QRectF(4, 11, 8, 4));
      break;
  }
}

QImage OwnIcon(TIconShape shape, int extent) {
  QImage image(extent, extent, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.scale(extent / 16.0, extent / 16.0);
  PaintShape(p, shape);
  return image;
}

// Icons are asked for while painting, often the same few: each theme name
// and size is looked up once.
QImage CachedIcon(const QString& themeName, const QString& fallbackName, TIconShape shape, int extent) {
  static std::mutex mutex;
  static std::map<std::pair<std::pair<QString, int>, bool>, QImage> cache;
  std::lock_guard<std::mutex> lock(mutex);
  auto key = std::make_pair(std::make_pair(themeName + '|' + fallbackName + '|' + QString::number(int(shape)), extent),
                            shellIconsUseTheme);
  auto found = cache.find(key);
  if (found != cache.end()) return found->second;
  QImage image;
  if (shellIconsUseTheme) {
    for (const QString& name : {themeName, fallbackName}) {
      if (name.isEmpty() || !QIcon::hasThemeIcon(name)) continue;
      image = QIcon::fromTheme(name).pixmap(extent, extent).toImage();
      if (!image.isNull()) break;
    }
  }
  if (image.isNull() || image.width() != extent || image.height() != extent) {
    image = image.isNull() ? OwnIcon(shape, extent)
                           : image.scaled(extent, extent, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  }
  // A scaled theme icon that is not square sits in the middle of the cell.
  if (image.width() != extent || image.height() != extent) {
    QImage square(extent, extent, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    QPainter p(&square);
    p.drawImage((extent - image.width()) / 2, (extent - image.height()) / 2, image);
    p.end();
    image = square;
  }
  image = image.convertToFormat(QImage::Format_ARGB32);
  cache.emplace(key, image);
  return image;
}

std::unique_ptr<TBitmap> IconBitmap(const QImage& image) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetImage(image);
  bitmap->SetTransparent(true);
  return bitmap;
}

// The first bytes of a file whose name says nothing of its kind. Some
// "regular" files of the kernel's file systems block a reader (and show a
// size of 0, so they are never asked); the file is opened without waiting
// and must still be a regular file once open.
QByteArray FirstBytes(const AnsiString& path) {
  QByteArray bytes;
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return bytes;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    bytes.resize(512);
    ssize_t n = ::read(fd, bytes.data(), static_cast<size_t>(bytes.size()));
    bytes.resize(n > 0 ? static_cast<qsizetype>(n) : 0);
  }
  ::close(fd);
  return bytes;
}

}  // namespace

Integer ShellIconExtent(TShellIconSize size) { return size == TShellIconSize::Small ? 16 : 32; }

bool ShellIconsUseTheme() { return shellIconsUseTheme; }
void SetShellIconsUseTheme(bool use) { shellIconsUseTheme = use; }

std::unique_ptr<TBitmap> ShellFileIcon(const AnsiString& path, TShellIconSize size) {
  QMimeDatabase db;
  QMimeType mime;
  const QString qpath = QString::fromStdString(path);
  struct stat st {};
  if (!path.empty() && ::stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      mime = db.mimeTypeForName("inode/directory");
    } else if (S_ISREG(st.st_mode)) {
      mime = db.mimeTypeForFile(qpath, QMimeDatabase::MatchExtension);
      if (mime.isDefault() && st.st_size > 0) mime = db.mimeTypeForData(FirstBytes(path));
    } else if (S_ISBLK(st.st_mode)) {
      mime = db.mimeTypeForName("inode/blockdevice");
    } else if (S_ISCHR(st.st_mode)) {
      mime = db.mimeTypeForName("inode/chardevice");
    } else if (S_ISFIFO(st.st_mode)) {
      mime = db.mimeTypeForName("inode/fifo");
    } else {
      mime = db.mimeTypeForName("inode/socket");
    }
  } else {
    size_t cut = path.find_last_of("/\\");
    const AnsiString name = cut == AnsiString::npos ? path : path.substr(cut + 1);
    mime = db.mimeTypeForFile(QString::fromStdString(name), QMimeDatabase::MatchExtension);
  }
  const TIconShape shape = mime.isValid() ? ShapeOfMime(mime) : TIconShape::Document;
  const QString theme = mime.isValid() ? mime.iconName() : QString();
  const QString generic = mime.isValid() ? mime.genericIconName() : QString();
  return IconBitmap(CachedIcon(theme, generic, shape, ShellIconExtent(size)));
}

Integer ShellIconCount() { return static_cast<Integer>(std::size(kIndexIcons)); }

std::unique_ptr<TBitmap> ShellIndexIcon(Integer index, TShellIconSize size) {
  if (index < 0 || index >= ShellIconCount()) return nullptr;
  const TIndexEntry& e = kIndexIcons[index];
  return IconBitmap(CachedIcon(QString::fromLatin1(e.themeName), QString(), e.shape, ShellIconExtent(size)));
}

}  // namespace vcl
