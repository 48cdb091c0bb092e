#include "grid/xls/FreeXlSource.h"

#include <freexl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "rtl/Convert.h"
#include "rtl/DateTime.h"
#include "rtl/Exceptions.h"

namespace grid {

namespace {

[[noreturn]] void Incorrect() { throw rtl::Exception("Incorrect XLS file"); }

// libfreexl reads past its buffers on some damaged workbooks, so it reads
// in a child process: a crash, a hang or a refusal there is a file we cannot
// read, never a fault of the program that imports it. The child writes the
// first worksheet's dimensions, then each cell that holds something, and an
// end mark; the parent reads them under a deadline.
constexpr auto kReadDeadline = std::chrono::seconds(30);
constexpr unsigned char kCellRecord = 'C', kEndRecord = 'E';

class TPipeWriter {
 public:
  explicit TPipeWriter(int fd) : fd_(fd) {}
  void Bytes(const void* data, size_t size) {
    const auto* p = static_cast<const char*>(data);
    buffer_.append(p, size);
    if (buffer_.size() >= 1 << 16) Flush();
  }
  template <class T>
  void Value(T v) {
    Bytes(&v, sizeof v);
  }
  bool Flush() {
    size_t done = 0;
    while (done < buffer_.size()) {
      const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      done += static_cast<size_t>(n);
    }
    buffer_.clear();
    return true;
  }

 private:
  int fd_;
  std::string buffer_;
};

// Runs in the child: never returns.
[[noreturn]] void ReadInChild(const char* path, int fd) {
  const void* handle = nullptr;
  unsigned int sheets = 0, rows = 0;
  unsigned short cols = 0;
  const bool open = freexl_open(path, &handle) == FREEXL_OK &&
                    freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheets) == FREEXL_OK && sheets > 0 &&
                    freexl_select_active_worksheet(handle, 0) == FREEXL_OK &&
                    freexl_worksheet_dimensions(handle, &rows, &cols) == FREEXL_OK;
  if (!open) ::_exit(2);
  TPipeWriter out(fd);
  out.Value<uint32_t>(rows);
  out.Value<uint16_t>(cols);
  for (unsigned int r = 0; r < rows; ++r) {
    for (unsigned short c = 0; c < cols; ++c) {
      FreeXL_CellValue cell;
      if (freexl_get_cell_value(handle, r, c, &cell) != FREEXL_OK) ::_exit(3);
      if (cell.type == FREEXL_CELL_NULL) continue;
      std::string text;
      if (cell.type == FREEXL_CELL_INT)
        text = std::to_string(cell.value.int_value);
      else if (cell.type == FREEXL_CELL_DOUBLE)
        text.assign(reinterpret_cast<const char*>(&cell.value.double_value), sizeof(double));
      else if (cell.value.text_value != nullptr)
        text = cell.value.text_value;
      out.Value<unsigned char>(kCellRecord);
      out.Value<uint32_t>(r);
      out.Value<uint16_t>(c);
      out.Value<unsigned char>(cell.type);
      out.Value<uint32_t>(static_cast<uint32_t>(text.size()));
      out.Bytes(text.data(), text.size());
    }
  }
  out.Value<unsigned char>(kEndRecord);
  ::_exit(out.Flush() ? 0 : 4);
}

// "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS" or "HH:MM:SS" as the library writes
// them, by the locale; a form of its own stays as it came.
AnsiString DateText(unsigned char type, const std::string& text) {
  unsigned y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  rtl::TDateTime date = 0, time = 0;
  auto dateOk = [&] {
    return rtl::TryEncodeDate(static_cast<Word>(y), static_cast<Word>(mo), static_cast<Word>(d), date);
  };
  auto timeOk = [&] {
    return rtl::TryEncodeTime(static_cast<Word>(h), static_cast<Word>(mi), static_cast<Word>(s), 0, time);
  };
  if (type == FREEXL_CELL_DATE && std::sscanf(text.c_str(), "%u-%u-%u", &y, &mo, &d) == 3 && dateOk())
    return rtl::DateToStr(date);
  if (type == FREEXL_CELL_DATETIME &&
      std::sscanf(text.c_str(), "%u-%u-%u %u:%u:%u", &y, &mo, &d, &h, &mi, &s) == 6 && dateOk() && timeOk())
    return rtl::DateTimeToStr(date + time);
  if (type == FREEXL_CELL_TIME && std::sscanf(text.c_str(), "%u:%u:%u", &h, &mi, &s) == 3 && timeOk())
    return rtl::TimeToStr(time);
  return text;
}

TSheetValue CellValue(unsigned char type, const std::string& bytes) {
  TSheetValue v;
  v.Kind = TSheetValue::svText;
  switch (type) {
    case FREEXL_CELL_INT:
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT: v.Text = bytes; break;
    case FREEXL_CELL_DOUBLE: {
      if (bytes.size() != sizeof(double)) Incorrect();
      double d;
      std::memcpy(&d, bytes.data(), sizeof d);
      v.Text = rtl::FloatToStr(d);
      break;
    }
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME: v.Text = DateText(type, bytes); break;
    default: v.Kind = TSheetValue::svError; break;
  }
  return v;
}

class TFreeXlSource : public TSpreadsheetSource {
 public:
  void Open(const AnsiString& fileName) override {
    Close();
    const std::string bytes = ReadThroughChild(fileName);
    size_t at = 0;
    auto take = [&](void* out, size_t size) {
      if (bytes.size() - at < size) Incorrect();
      std::memcpy(out, bytes.data() + at, size);
      at += size;
    };
    uint32_t rows = 0;
    uint16_t cols = 0;
    take(&rows, sizeof rows);
    take(&cols, sizeof cols);
    for (;;) {
      unsigned char mark = 0;
      take(&mark, 1);
      if (mark == kEndRecord) break;
      if (mark != kCellRecord) Incorrect();
      uint32_t r = 0, size = 0;
      uint16_t c = 0;
      unsigned char type = 0;
      take(&r, sizeof r);
      take(&c, sizeof c);
      take(&type, 1);
      take(&size, sizeof size);
      if (r >= rows || c >= cols || bytes.size() - at < size) Incorrect();
      cells_[{r, c}] = CellValue(type, bytes.substr(at, size));
      at += size;
    }
    if (at != bytes.size()) Incorrect();
    rows_ = rows;
    cols_ = cols;
    open_ = true;
  }

  AnsiString UsedRangeAddress() override {
    if (rows_ == 0 || cols_ == 0) return "$A$1";
    return "$A$1:$" + SheetColumnLetters(cols_) + "$" + std::to_string(rows_);
  }

  TSheetValues RangeValues(Integer firstCol, Integer firstRow, Integer lastCol, Integer lastRow) override {
    if (!open_ || firstCol < 1 || firstRow < 1 || lastCol < firstCol || lastRow < firstRow) Incorrect();
    TSheetValues values(static_cast<size_t>(lastRow - firstRow + 1));
    for (auto& row : values) row.resize(static_cast<size_t>(lastCol - firstCol + 1));
    // Cells outside the range, and the sheet's empty cells, are empty.
    for (const auto& [at, value] : cells_) {
      const Integer r = static_cast<Integer>(at.first) + 1, c = static_cast<Integer>(at.second) + 1;
      if (r >= firstRow && r <= lastRow && c >= firstCol && c <= lastCol)
        values[static_cast<size_t>(r - firstRow)][static_cast<size_t>(c - firstCol)] = value;
    }
    return values;
  }

  void Close() override {
    cells_.clear();
    rows_ = 0;
    cols_ = 0;
    open_ = false;
  }

 private:
  // The child's whole report; Incorrect() when it failed, died or overran
  // the deadline.
  static std::string ReadThroughChild(const AnsiString& fileName) {
    int fds[2];
    if (::pipe(fds) != 0) Incorrect();
    const pid_t child = ::fork();
    if (child < 0) {
      ::close(fds[0]);
      ::close(fds[1]);
      Incorrect();
    }
    if (child == 0) {
      ::close(fds[0]);
      ReadInChild(fileName.c_str(), fds[1]);
    }
    ::close(fds[1]);
    std::string bytes;
    bool timedOut = false;
    const auto deadline = std::chrono::steady_clock::now() + kReadDeadline;
    char buffer[1 << 16];
    for (;;) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
      if (left <= 0) {
        timedOut = true;
        break;
      }
      pollfd p{fds[0], POLLIN, 0};
      const int ready = ::poll(&p, 1, static_cast<int>(left));
      if (ready < 0 && errno == EINTR) continue;
      if (ready <= 0) {
        timedOut = ready == 0;
        break;
      }
      const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fds[0]);
    if (timedOut) ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (timedOut || !WIFEXITED(status) || WEXITSTATUS(status) != 0) Incorrect();
    return bytes;
  }

  std::map<std::pair<uint32_t, uint16_t>, TSheetValue> cells_;
  uint32_t rows_ = 0;
  uint16_t cols_ = 0;
  bool open_ = false;
};

}  // namespace

std::unique_ptr<TSpreadsheetSource> MakeFreeXlSource() { return std::make_unique<TFreeXlSource>(); }

}  // namespace grid
