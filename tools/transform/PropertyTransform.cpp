#include "tools/transform/PropertyTransform.h"

#include <windows.h>
#include <objbase.h>
#include <propidl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/framework/UniqueHandle.h"

namespace {

const CLSID kTransformClass = {
    0x000C1082, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr UINT kCodePage = 1252;

int MimeIndex(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'A' && c <= L'Z') return c - L'A' + 10;
  if (c >= L'a' && c <= L'z') return c - L'a' + 36;
  if (c == L'.') return 62;
  if (c == L'_') return 63;
  return -1;
}

// Table streams are named with a marker character and pairs of name characters packed into one.
std::wstring TableStreamName(const std::wstring& table) {
  std::wstring out(1, static_cast<wchar_t>(0x4840));
  for (size_t i = 0; i < table.size(); ++i) {
    const int first = MimeIndex(table[i]);
    if (first < 0) {
      out.push_back(table[i]);
      continue;
    }
    const int second = i + 1 < table.size() ? MimeIndex(table[i + 1]) : -1;
    if (second >= 0) {
      out.push_back(static_cast<wchar_t>(0x3800 + first + (second << 6)));
      ++i;
    } else {
      out.push_back(static_cast<wchar_t>(0x4800 + first));
    }
  }
  return out;
}

class StringPool {
 public:
  // 1-based string ids.
  std::uint16_t Add(const std::string& text) {
    for (size_t i = 0; i < strings_.size(); ++i)
      if (strings_[i] == text) {
        ++refs_[i];
        return static_cast<std::uint16_t>(i + 1);
      }
    strings_.push_back(text);
    refs_.push_back(1);
    return static_cast<std::uint16_t>(strings_.size());
  }
  std::vector<std::uint8_t> PoolStream() const {
    std::vector<std::uint8_t> out;
    Put16(out, kCodePage & 0xFFFF);
    Put16(out, kCodePage >> 16);
    for (size_t i = 0; i < strings_.size(); ++i) {
      Put16(out, static_cast<std::uint16_t>(strings_[i].size()));
      Put16(out, refs_[i]);
    }
    return out;
  }
  std::vector<std::uint8_t> DataStream() const {
    std::vector<std::uint8_t> out;
    for (const auto& s : strings_) out.insert(out.end(), s.begin(), s.end());
    return out;
  }
  static void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
  }

 private:
  std::vector<std::string> strings_;
  std::vector<std::uint16_t> refs_;
};

bool ToCodePage(const std::wstring& text, std::string& out) {
  if (text.empty()) {
    out.clear();
    return true;
  }
  BOOL lossy = FALSE;
  const int size =
      ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.c_str(),
                            static_cast<int>(text.size()), nullptr, 0, nullptr, &lossy);
  if (size <= 0 || lossy || size > 0xFFFF) return false;
  out.assign(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.c_str(),
                        static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return true;
}

bool WriteStream(IStorage* storage, const std::wstring& name,
                 const std::vector<std::uint8_t>& bytes) {
  fw::ComPtr<IStream> stream;
  if (FAILED(storage->CreateStream(name.c_str(), STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0,
                                   0, stream.Put())))
    return false;
  ULONG written = 0;
  return bytes.empty() ||
         (SUCCEEDED(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written)) &&
          written == bytes.size());
}

bool WriteSummary(IStorage* storage) {
  fw::ComPtr<IPropertySetStorage> sets;
  if (FAILED(storage->QueryInterface(IID_IPropertySetStorage, sets.PutVoid()))) return false;
  fw::ComPtr<IPropertyStorage> summary;
  if (FAILED(sets->Create(FMTID_SummaryInformation, nullptr, PROPSETFLAG_ANSI,
                          STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, summary.Put())))
    return false;
  PROPSPEC specs[3];
  PROPVARIANT values[3];
  for (auto& v : values) PropVariantInit(&v);
  specs[0].ulKind = specs[1].ulKind = specs[2].ulKind = PRSPEC_PROPID;
  specs[0].propid = 2;  // title
  values[0].vt = VT_LPSTR;
  values[0].pszVal = const_cast<char*>("Transform");
  specs[1].propid = 14;  // minimum installer version
  values[1].vt = VT_I4;
  values[1].lVal = 200;
  specs[2].propid = 16;  // validation flags: apply to any package of this product family
  values[2].vt = VT_I4;
  values[2].lVal = 0;
  return SUCCEEDED(summary->WriteMultiple(3, specs, values, 2)) &&
         SUCCEEDED(summary->Commit(STGC_DEFAULT));
}

}  // namespace

bool WritePropertyTransform(const std::wstring& path,
                            const std::map<std::wstring, PropertyChange>& changes) {
  StringPool pool;
  std::vector<std::uint8_t> rows;
  for (const auto& [name, change] : changes) {
    std::string narrowName, narrowValue;
    if (!ToCodePage(name, narrowName) || !ToCodePage(change.value, narrowValue) ||
        narrowName.empty())
      return false;
    // Columns: Property (key), Value. An update names the changed column in its mask; an
    // insertion sets the low bit and gives the column count in the high byte.
    StringPool::Put16(rows, change.existsInBase ? 0x0002 : 0x0201);
    StringPool::Put16(rows, pool.Add(narrowName));
    StringPool::Put16(rows, narrowValue.empty() ? 0 : pool.Add(narrowValue));
  }

  fw::ComPtr<IStorage> storage;
  if (FAILED(::StgCreateDocfile(path.c_str(),
                                STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_DIRECT,
                                0, storage.Put())))
    return false;
  return SUCCEEDED(storage->SetClass(kTransformClass)) &&
         WriteStream(storage.Get(), TableStreamName(L"_StringPool"), pool.PoolStream()) &&
         WriteStream(storage.Get(), TableStreamName(L"_StringData"), pool.DataStream()) &&
         WriteStream(storage.Get(), TableStreamName(L"Property"), rows) &&
         WriteSummary(storage.Get()) && SUCCEEDED(storage->Commit(STGC_DEFAULT));
}
