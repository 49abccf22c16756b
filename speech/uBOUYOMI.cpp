#include "speech/uBOUYOMI.h"

#include <memory>
#include <optional>
#include <stdexcept>

#include "platform/Locale.h"
#include "platform/Platform.h"
#include "platform/TcpClient.h"

namespace {

const std::string kHost = "127.0.0.1";

// The client exists between BouyomiStart and BouyomiStop; only its port is
// kept, since every text opens its own connection.
std::optional<std::uint16_t> ClientPort;

void PutLittleEndian(std::string &bytes, std::uint32_t value, int size) {
  for (int k = 0; k < size; ++k)
    bytes += static_cast<char>((value >> (8 * k)) & 0xFF);
}

// Kana whose voiced form (with U+3099) is the next code point.
bool VoicesToNext(char16_t c) {
  static constexpr char16_t kBases[] = {0x304B, 0x304D, 0x304F, 0x3051, 0x3053, 0x3055, 0x3057,
                                        0x3059, 0x305B, 0x305D, 0x305F, 0x3061, 0x3064, 0x3066,
                                        0x3068, 0x306F, 0x3072, 0x3075, 0x3078, 0x307B};
  const char16_t hiragana = c >= 0x30A1 && c <= 0x30F6 ? static_cast<char16_t>(c - 0x60) : c;
  for (const char16_t base : kBases)
    if (hiragana == base)
      return true;
  return false;
}

// The code page holds voiced kana only precomposed, so a kana followed by a
// combining (semi-)voiced sound mark is joined into one character first.
std::u16string ComposeKana(const std::u16string &text) {
  std::u16string composed;
  for (const char16_t c : text) {
    const char16_t base = composed.empty() ? 0 : composed.back();
    const char16_t hiragana =
        base >= 0x30A1 && base <= 0x30F6 ? static_cast<char16_t>(base - 0x60) : base;
    if (c == 0x3099 && VoicesToNext(base)) {
      composed.back() = static_cast<char16_t>(base + 1);
    } else if (c == 0x3099 && (base == 0x30A6 || base == 0x30EF || base == 0x30F0 ||
                               base == 0x30F1 || base == 0x30F2)) {
      composed.back() = base == 0x30A6 ? char16_t{0x30F4} : static_cast<char16_t>(base + 8);
    } else if (c == 0x309A && hiragana >= 0x306F && hiragana <= 0x307B &&
               (hiragana - 0x306F) % 3 == 0) {
      composed.back() = static_cast<char16_t>(base + 2);
    } else {
      composed += c;
    }
  }
  return composed;
}

} // namespace

std::string TextToAnsiBytes(const std::u16string &text) {
  if (text.empty())
    return {};
  const platform::ILocale &locale = platform::Locale();
  return locale.ToAnsi(locale.AnsiCodePage() == 932 ? ComposeKana(text) : text);
}

std::string BouyomiHeader(std::uint32_t n) {
  std::string header;
  PutLittleEndian(header, 1, 2);      // command: read aloud
  PutLittleEndian(header, 0xFFFF, 2); // speed: the reader's own
  PutLittleEndian(header, 0xFFFF, 2); // tone
  PutLittleEndian(header, 0xFFFF, 2); // volume
  PutLittleEndian(header, 0, 2);      // voice: the reader's default
  header += static_cast<char>(2);     // character code: Shift_JIS
  PutLittleEndian(header, n, 4);
  return header;
}

void BouyomiCreateClient(std::uint16_t port) { ClientPort = port; }

void BouyomiReleaseClient() { ClientPort.reset(); }

bool BouyomiSend(const std::u16string &text) {
  if (!ClientPort)
    return false;
  const std::string bytes = TextToAnsiBytes(text);
  try {
    std::unique_ptr<platform::ITcpConnection> connection =
        platform::TcpClient().Connect(kHost, *ClientPort);
    if (!connection)
      return false;
    if (!connection->Write(BouyomiHeader(static_cast<std::uint32_t>(bytes.size()))))
      return false;
    return bytes.empty() || connection->Write(bytes);
  } catch (const std::runtime_error &) {
    return false;
  }
}
