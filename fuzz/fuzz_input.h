// How both fuzz targets read an input: bytes in order, each call one op
// byte followed by the arguments that op reads (an op byte at or above the
// largest multiple of the op count below 256 is passed over). Arguments are
// read into named locals one statement at a time, so a corpus means the same
// calls whatever order a compiler evaluates function arguments in.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrel::fuzz {

// Words of the sample world, so that short inputs name what it holds.
inline const std::vector<std::string>& Words() {
  static const std::vector<std::string> words = {"K-1000",
                                                 "K-1100",
                                                 "K-1200",
                                                 "K-1300",
                                                 "K-9001",
                                                 "K-9999",
                                                 "A",
                                                 "B",
                                                 "C",
                                                 "",
                                                 "rev-K-1000-B",
                                                 "rev-K-1000-A",
                                                 "rev-K-1200-B",
                                                 "rev-K-9001-A",
                                                 "rev-K-1120-A",
                                                 "item-K-1000",
                                                 "item-K-1200",
                                                 "item-K-9001",
                                                 "ds-K-1000-B-master",
                                                 "ds-K-1000-B-drawing",
                                                 "ds-K-1300-A-notes",
                                                 "ds-K-1120-A-kf",
                                                 "folder-home",
                                                 "bomwindow-1",
                                                 "bomline-1-1",
                                                 "bomline-1-2",
                                                 "thread-1",
                                                 "occ-1",
                                                 "wheel-left",
                                                 "K-1210",
                                                 "Latest Working",
                                                 "Latest Released",
                                                 "Released by Date",
                                                 "Unit Effectivity",
                                                 "Precise; Working",
                                                 "rule-latest-working",
                                                 "engineer",
                                                 "secret",
                                                 "Engineering",
                                                 "Designer",
                                                 "HTTP",
                                                 "IIOP",
                                                 "user",
                                                 "site",
                                                 "HX_config_rule_name",
                                                 "OSTRA_cad_units",
                                                 "object_name",
                                                 "object_type",
                                                 "object_desc",
                                                 "item_id",
                                                 "bl_quantity",
                                                 "bl_line_name",
                                                 "date_released",
                                                 "projects_list",
                                                 "ref_list",
                                                 "kf_mass",
                                                 "kf_count",
                                                 "kf_checked_on",
                                                 "kf_keywords",
                                                 "kf_owner",
                                                 "kf_approved",
                                                 "kf_grade",
                                                 "OSTRA_specification",
                                                 "OSTRA_manifestation",
                                                 "IMAN_reference",
                                                 "TOVMASTER",
                                                 "Item",
                                                 "DFA_KF",
                                                 "ItemRevision",
                                                 "Dataset",
                                                 "Folder",
                                                 "Today",
                                                 "2024-03-05",
                                                 "2024-03-05T08:30:00",
                                                 "query-item-id",
                                                 "query-item-name",
                                                 "Item ID",
                                                 "Item Name",
                                                 "*",
                                                 "K100",
                                                 "K100-Utility cart",
                                                 "K200",
                                                 "S900-Standard parts",
                                                 "project-K100",
                                                 "CL-BOLT",
                                                 "CL-ROOT",
                                                 "CL-NUT",
                                                 "ico-bolt-m8",
                                                 "ico-nut-m8",
                                                 "item-bolt-m8",
                                                 "VT-THREAD",
                                                 "req-brake",
                                                 "req-stop",
                                                 "req-root",
                                                 "tracelink-1",
                                                 "Tracelink",
                                                 "valresult-1",
                                                 "valparams-1",
                                                 "valreport-1",
                                                 "valdata-1",
                                                 "dataset-1",
                                                 "object-1",
                                                 "attrdef-part-no",
                                                 "MSWord",
                                                 "PDF",
                                                 "TOVPART",
                                                 "C:\\report.txt",
                                                 "a b",
                                                 "x rev-K-1000-B",
                                                 "kinds-1",
                                                 "kf_counts",
                                                 "kf_masses",
                                                 "kf_flags",
                                                 "kf_grades",
                                                 "kf_dates",
                                                 "kf_parts",
                                                 "fndlink-brake-stop",
                                                 "tracelink-brake-stop"};
  return words;
}

// A text that would write through a pointer if it were used as a format.
inline const std::string& FormatText() {
  static const std::string text = "%s%n%s%n";
  return text;
}
inline const std::string& HugeText() {
  static const std::string text(64 * 1024, 'x');
  return text;
}

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool empty() const { return at_ >= size_; }
  std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
  bool flag() { return (byte() & 1) != 0; }
  // Mostly small, so ids meet again; a few bytes give the extremes.
  int number() {
    const std::uint8_t b = byte();
    switch (b) {
      case 0xF8:
        return INT_MIN;
      case 0xF9:
        return INT_MAX;
      case 0xFA:
        return 100000;
      default:
        return static_cast<std::int8_t>(b);
    }
  }
  std::int64_t wide() {
    const std::uint8_t b = byte();
    if (b == 0xFF) return INT64_MAX;
    if (b == 0xFE) return INT64_MIN;
    return static_cast<std::int8_t>(b);
  }
  // The length of a list: mostly 0 to 4, or one of a few large sizes. Only
  // a list of the call's own arguments may be large: one inside another
  // stays small, so an input of a few bytes cannot ask for a square of them.
  // 10,000 takes a second byte that repeated bytes do not give: every object
  // a reply names stays with its connection for the process (the library
  // keeps logged-out connections), and under the sanitizers such a creation
  // takes some 250 MB while it runs, so it stays rare. (10^5 would take
  // about as much as the whole default memory limit; bench/ measures that.)
  std::size_t count() {
    static const std::size_t kLarge[] = {5, 6, 7, 8, 16, 32, 64, 128, 256, 512, 1000, 2000, 4096};
    const std::uint8_t b = byte();
    if (b < 0xF0 || depth_ > 0) return b % 5;
    if (b < 0xFD) return kLarge[b - 0xF0];
    if (b == 0xFD && byte() == kLargestKey) return 10000;
    return kLarge[b - 0xF3];
  }
  static constexpr std::uint8_t kLargestKey = 0xA5;

  // A length byte below 200 and that many bytes; above, a word of the
  // sample world (200 to 239 the first forty, 240 and a byte any), a text
  // seen in a reply, a format, a long text, a word with blanks around.
  std::string text() {
    const std::uint8_t length = byte();
    return text_of(length);
  }
  // The same, where 254 stands for a null C string.
  std::optional<std::string> ctext() {
    const std::uint8_t length = byte();
    if (length == 254) return std::nullopt;
    return text_of(length);
  }

  // Texts the harness saw in replies (UIDs, labels), for later texts to name.
  void remember(std::string text) {
    if (text.empty()) return;
    if (seen_.size() == kSeen) {
      seen_[next_seen_++ % kSeen] = std::move(text);
    } else {
      seen_.push_back(std::move(text));
    }
  }

 private:
  std::string text_of(std::uint8_t length) {
    if (length < 200) {
      std::string out;
      for (std::uint8_t i = 0; i < length && !empty(); ++i) out.push_back(static_cast<char>(byte()));
      return out;
    }
    if (length < 240) return Words()[(length - 200u) % Words().size()];
    switch (length) {
      case 240: {
        const std::uint8_t word = byte();
        return Words()[word % Words().size()];
      }
      case 248:
      case 249:
      case 250: {
        const std::uint8_t pick = byte();
        return seen_.empty() ? std::string() : seen_[pick % seen_.size()];
      }
      case 251:
        return FormatText();
      case 252:
        // Not inside a list that repeats its elements.
        return repeating_ ? FormatText() : HugeText();
      case 253: {
        const std::string word = text();
        return " " + word + " ";
      }
      default:
        return "";
    }
  }

  template <class Read>
  friend auto ListOf(Input& in, Read read) -> std::vector<decltype(read())>;

  static constexpr std::size_t kSeen = 256;
  int depth_ = 0;           // lists being read
  bool repeating_ = false;  // one of them is long enough to repeat its elements
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
  std::vector<std::string> seen_;
  std::size_t next_seen_ = 0;
};

// A list of count() elements: the first few read from the input, the rest
// repeating them, so a large list costs a few bytes.
template <class Read>
auto ListOf(Input& in, Read read) -> std::vector<decltype(read())> {
  constexpr std::size_t kRead = 8;
  const std::size_t n = in.count();
  std::vector<decltype(read())> out;
  out.reserve(n);
  const bool was_repeating = in.repeating_;
  ++in.depth_;
  in.repeating_ = was_repeating || n > kRead;
  for (std::size_t i = 0; i < n && i < kRead; ++i) out.push_back(read());
  --in.depth_;
  in.repeating_ = was_repeating;
  for (std::size_t i = out.size(); i < n; ++i) out.push_back(out[i % kRead]);
  return out;
}

}  // namespace kestrel::fuzz
