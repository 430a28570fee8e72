// config_file.cpp - writing and strictly parsing the configuration file format.
#include "config_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace tyxsim {
namespace {

constexpr std::string_view kTag = "TYXCAM-CONFIG 1";

// Walks the bytes line by line; every access is bounded by size.
class Reader {
 public:
  Reader(const uint8_t* d, size_t n) : data_(d), size_(n) {}
  bool next(std::string_view* line) {
    if (pos_ >= size_) return false;
    size_t end = pos_;
    while (end < size_ && data_[end] != '\n') ++end;
    if (end >= size_) return false;  // a line without its end: truncated
    size_t len = end - pos_;
    if (len > 0 && data_[pos_ + len - 1] == '\r') --len;
    *line = std::string_view(reinterpret_cast<const char*>(data_ + pos_), len);
    lineStart_ = pos_;
    pos_ = end + 1;
    return true;
  }
  size_t lineStart() const { return lineStart_; }
  bool atEnd() const { return pos_ >= size_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  size_t lineStart_ = 0;
};

bool parseInt(std::string_view& s, int32_t* out) {
  size_t i = 0;
  bool neg = false;
  if (i < s.size() && s[i] == '-') {
    neg = true;
    ++i;
  }
  const size_t digitsStart = i;
  int64_t v = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
    v = v * 10 + (s[i] - '0');
    if (v > 2147483648LL) return false;
    ++i;
  }
  if (i == digitsStart) return false;
  if (neg) v = -v;
  if (v < INT32_MIN || v > INT32_MAX) return false;
  *out = static_cast<int32_t>(v);
  s.remove_prefix(i);
  return true;
}

// "<keyword> <count> <count numbers>" into a block of exactly count fields.
bool parseBlock(std::string_view line, std::string_view keyword, int32_t* fields, size_t count) {
  if (line.substr(0, keyword.size()) != keyword) return false;
  line.remove_prefix(keyword.size());
  auto space = [&line] {
    if (line.empty() || line[0] != ' ') return false;
    line.remove_prefix(1);
    return true;
  };
  int32_t n = 0;
  if (!space() || !parseInt(line, &n) || n != static_cast<int32_t>(count)) return false;
  for (size_t i = 0; i < count; ++i) {
    if (!space() || !parseInt(line, &fields[i])) return false;
  }
  return line.empty();
}

bool parseKeyValue(std::string_view line, std::string_view keyword, int32_t* value) {
  if (line.size() <= keyword.size() + 1 || line.substr(0, keyword.size()) != keyword ||
      line[keyword.size()] != ' ')
    return false;
  line.remove_prefix(keyword.size() + 1);
  return parseInt(line, value) && line.empty();
}

template <typename Block>
void appendBlock(std::string& s, const char* keyword, const Block& b) {
  constexpr size_t n = sizeof(Block) / sizeof(int32_t);
  int32_t fields[n];
  std::memcpy(fields, &b, sizeof(Block));
  s += keyword;
  s += ' ';
  s += std::to_string(n);
  for (int32_t f : fields) {
    s += ' ';
    s += std::to_string(f);
  }
  s += '\n';
}

}  // namespace

uint32_t fnv1a(const uint8_t* data, size_t size) {
  uint32_t h = 2166136261u;
  for (size_t i = 0; i < size; ++i) {
    h ^= data[i];
    h *= 16777619u;
  }
  return h;
}

std::string formatConfigFile(const ParsedConfig& c) {
  std::string s(kTag);
  s += '\n';
  s += "product " + std::to_string(c.product) + '\n';
  s += "version " + std::to_string(c.version) + '\n';
  appendBlock(s, "camera", c.cam);
  appendBlock(s, "extended", c.ext);
  appendBlock(s, "linear", c.lin);
  char sum[32];
  std::snprintf(sum, sizeof sum, "checksum %08x\n",
                fnv1a(reinterpret_cast<const uint8_t*>(s.data()), s.size()));
  s += sum;
  return s;
}

bool parseConfigFile(const uint8_t* data, size_t size, ParsedConfig* out, int* error) {
  int dummy = 0;
  if (!error) error = &dummy;
  *error = 114;
  if (!out || (!data && size > 0) || size > kMaxConfigFileSize) return false;

  Reader r(data, size);
  std::string_view line;
  if (!r.next(&line) || line != kTag) return false;

  ParsedConfig c;
  if (!r.next(&line) || !parseKeyValue(line, "product", &c.product)) return false;
  if (!r.next(&line) || !parseKeyValue(line, "version", &c.version)) return false;

  int32_t cam[sizeof(TyxCameraParams) / 4];
  int32_t ext[sizeof(TyxExtendedParams) / 4];
  int32_t lin[sizeof(TyxLinearParams) / 4];
  if (!r.next(&line) || !parseBlock(line, "camera", cam, std::size(cam))) return false;
  if (!r.next(&line) || !parseBlock(line, "extended", ext, std::size(ext))) return false;
  if (!r.next(&line) || !parseBlock(line, "linear", lin, std::size(lin))) return false;
  std::memcpy(&c.cam, cam, sizeof cam);
  std::memcpy(&c.ext, ext, sizeof ext);
  std::memcpy(&c.lin, lin, sizeof lin);
  if (c.cam.size != static_cast<int32_t>(sizeof(TyxCameraParams)) ||
      c.ext.size != static_cast<int32_t>(sizeof(TyxExtendedParams)) ||
      c.lin.size != static_cast<int32_t>(sizeof(TyxLinearParams)))
    return false;

  if (!r.next(&line)) return false;
  const uint32_t expected = fnv1a(data, r.lineStart());
  if (line.size() != 17 || line.substr(0, 9) != "checksum ") return false;
  uint32_t got = 0;
  for (char ch : line.substr(9)) {
    int d;
    if (ch >= '0' && ch <= '9') d = ch - '0';
    else if (ch >= 'a' && ch <= 'f') d = ch - 'a' + 10;
    else return false;
    got = got * 16 + static_cast<uint32_t>(d);
  }
  if (got != expected || !r.atEnd()) return false;

  *out = c;
  *error = 0;
  return true;
}

// ---- the files themselves ----

bool writeFileAtomically(const std::string& path, const std::string& content) {
  const std::string tmp = path + ".part";
  const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  size_t done = 0;
  bool ok = true;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    done += static_cast<size_t>(n);
  }
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok && std::rename(tmp.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) ::unlink(tmp.c_str());
  return ok;
}

bool readFileLimited(const std::string& path, size_t limit, std::vector<uint8_t>* out) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  out->assign(limit + 1, 0);
  size_t done = 0;
  bool ok = true;
  while (done < out->size()) {
    const ssize_t n = ::read(fd, out->data() + done, out->size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  out->resize(done);
  return ok;
}

}  // namespace tyxsim
