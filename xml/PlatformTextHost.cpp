#include <cerrno>
#include <cstring>
#include <string>

#include "xml/PlatformText.h"

namespace xml {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// 0x80-0x9F of Windows-1252; the five undefined bytes map to the C1 controls.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

class Utf16Sink {
 public:
  Utf16Sink(wchar_t* target, std::int32_t targetSize) : target_(target), size_(targetSize) {}

  void Put(char32_t c) {
    if (c >= 0x10000) {
      Unit(static_cast<wchar_t>(0xD800 | ((c - 0x10000) >> 10)));
      Unit(static_cast<wchar_t>(0xDC00 | (c & 0x3FF)));
    } else {
      Unit(static_cast<wchar_t>(c));
    }
  }
  std::int32_t Count() const { return overflow_ ? 0 : count_; }

 private:
  void Unit(wchar_t unit) {
    if (target_) {
      if (count_ >= size_) {
        overflow_ = true;
        return;
      }
      target_[count_] = unit;
    }
    ++count_;
  }
  wchar_t* target_;
  std::int32_t size_;
  std::int32_t count_ = 0;
  bool overflow_ = false;
};

void DecodeUtf8(const unsigned char* bytes, std::int32_t length, Utf16Sink& sink) {
  std::int32_t i = 0;
  while (i < length) {
    const unsigned char lead = bytes[i];
    if (lead < 0x80) {
      sink.Put(lead);
      ++i;
      continue;
    }
    int following = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    char32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      following = 1;
      value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      following = 2;
      value = lead & 0x0F;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      following = 3;
      value = lead & 0x07;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      sink.Put(kReplacement);
      ++i;
      continue;
    }
    ++i;
    bool valid = true;
    for (int k = 0; k < following; ++k, ++i) {
      if (i >= length || bytes[i] < low || bytes[i] > high) {
        valid = false;
        break;
      }
      value = (value << 6) | (bytes[i] & 0x3F);
      low = 0x80;
      high = 0xBF;
    }
    sink.Put(valid ? value : kReplacement);
  }
}

}  // namespace

std::int32_t ConvertCodePageToUtf16(std::uint32_t codePage, const char* bytes, std::int32_t length,
                                    wchar_t* target, std::int32_t targetSize) {
  if (length <= 0) return 0;
  const auto* data = reinterpret_cast<const unsigned char*>(bytes);
  Utf16Sink sink(target, targetSize);
  switch (codePage) {
    case 1200:
    case 1201:
    case 12000:
    case 12001:
    case 65005:
      return 0;
    case 65001:
      DecodeUtf8(data, length, sink);
      break;
    case 28591:
      for (std::int32_t i = 0; i < length; ++i) sink.Put(data[i]);
      break;
    case 0:
    case 1252:
      for (std::int32_t i = 0; i < length; ++i) {
        const unsigned char b = data[i];
        sink.Put(b >= 0x80 && b <= 0x9F ? kWindows1252High[b - 0x80] : b);
      }
      break;
    default:  // US-ASCII and every code page this build does not know
      for (std::int32_t i = 0; i < length; ++i) sink.Put(data[i] < 0x80 ? data[i] : kReplacement);
      break;
  }
  return sink.Count();
}

std::uint32_t LastSystemError() {
  return static_cast<std::uint32_t>(errno);
}

std::uint32_t FileTooLargeError() {
  return EFBIG;
}

std::wstring SystemErrorText(std::uint32_t code) {
  const std::string narrow = std::strerror(static_cast<int>(code));
  std::wstring text(narrow.begin(), narrow.end());
  text = text.substr(0, text.find_first_of(L"\r\n"));
  if (text.size() > 100) text.resize(100);
  return text;
}

std::FILE* OpenFileForReading(std::wstring_view path) {
  // The path's UTF-16 units as UTF-8, which is how this platform names files.
  std::string narrow;
  for (std::size_t i = 0; i < path.size(); ++i) {
    char32_t c = static_cast<char32_t>(path[i]) & 0xFFFF;
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < path.size()) {
      const char32_t low = static_cast<char32_t>(path[i + 1]) & 0xFFFF;
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (c < 0x80) {
      narrow.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      narrow.push_back(static_cast<char>(0xC0 | (c >> 6)));
      narrow.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      narrow.push_back(static_cast<char>(0xE0 | (c >> 12)));
      narrow.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      narrow.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      narrow.push_back(static_cast<char>(0xF0 | (c >> 18)));
      narrow.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      narrow.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      narrow.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  errno = 0;
  return std::fopen(narrow.c_str(), "rb");
}

std::int64_t FileSize(std::FILE* file) {
  if (::fseeko(file, 0, SEEK_END) != 0) return -1;
  const std::int64_t size = ::ftello(file);
  if (::fseeko(file, 0, SEEK_SET) != 0) return -1;
  return size;
}

bool SeekFile(std::FILE* file, std::int64_t offset) {
  return ::fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
}

}  // namespace xml
