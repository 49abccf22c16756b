#include "platform/linux/LinuxDataProtection.h"

#include <array>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <unistd.h>

#include <sodium.h>

namespace platform::linux_impl {

namespace {

// Blob: version, scope, nonce, then the sealed (description length as 4
// bytes little endian, description UTF-16LE, data). Version and scope are
// authenticated with it.
constexpr std::uint8_t kVersion = 1;
constexpr std::uint8_t kMachineScope = 1, kUserScope = 0;
constexpr size_t kHeaderSize = 2;
constexpr size_t kNonceSize = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr size_t kTagSize = crypto_aead_xchacha20poly1305_ietf_ABYTES;
constexpr size_t kKeySize = crypto_aead_xchacha20poly1305_ietf_KEYBYTES;
constexpr std::string_view kContext = "murmelo data protection 1";

using TKey = std::array<std::uint8_t, kKeySize>;

// Wipes the key when it goes out of scope.
struct TKeyHolder {
  TKey Key{};
  ~TKeyHolder() { sodium_memzero(Key.data(), Key.size()); }
};

std::optional<std::string> ReadMachineId(const std::string &file) {
  std::ifstream in(file, std::ios::binary);
  if (!in)
    return std::nullopt;
  std::string id((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  while (!id.empty() && (id.back() == '\n' || id.back() == '\r' || id.back() == ' '))
    id.pop_back();
  if (id.empty())
    return std::nullopt;
  return id;
}

void HashPart(crypto_generichash_state &state, const void *bytes, size_t size) {
  const std::uint64_t length = size; // length-prefixed, so parts cannot run into each other
  crypto_generichash_update(&state, reinterpret_cast<const unsigned char *>(&length),
                            sizeof length);
  crypto_generichash_update(&state, static_cast<const unsigned char *>(bytes), size);
}

bool DeriveKey(const std::string &machineId, const TBytes &entropy, std::uint8_t scope, TKey &key) {
  // BLAKE2b keyed by a hash of the machine id over the context, the scope, the
  // user (for user scope) and the caller's entropy.
  unsigned char machineKey[crypto_generichash_KEYBYTES];
  crypto_generichash(machineKey, sizeof machineKey,
                     reinterpret_cast<const unsigned char *>(machineId.data()), machineId.size(),
                     nullptr, 0);
  crypto_generichash_state state;
  const bool ok = crypto_generichash_init(&state, machineKey, sizeof machineKey, key.size()) == 0;
  sodium_memzero(machineKey, sizeof machineKey);
  if (!ok)
    return false;
  HashPart(state, kContext.data(), kContext.size());
  HashPart(state, &scope, 1);
  if (scope == kUserScope) {
    const std::uint64_t uid = getuid();
    HashPart(state, &uid, sizeof uid);
  }
  HashPart(state, entropy.data(), entropy.size());
  return crypto_generichash_final(&state, key.data(), key.size()) == 0;
}

std::string DefaultMachineIdFile() {
  for (const char *file : {"/etc/machine-id", "/var/lib/dbus/machine-id"})
    if (ReadMachineId(file))
      return file;
  return "/etc/machine-id";
}

} // namespace

TLinuxDataProtection::TLinuxDataProtection(std::string machineIdFile)
    : machineIdFile_(machineIdFile.empty() ? DefaultMachineIdFile() : std::move(machineIdFile)) {
  if (sodium_init() < 0)
    throw std::runtime_error("libsodium cannot be initialised");
}

TBytes TLinuxDataProtection::Protect(const TBytes &data, const std::u16string &description,
                                     const TBytes &entropy, bool machineScope) {
  const auto machineId = ReadMachineId(machineIdFile_);
  if (!machineId)
    throw std::runtime_error("Cannot read the machine id \"" + machineIdFile_ + "\"");
  const std::uint8_t scope = machineScope ? kMachineScope : kUserScope;
  TKeyHolder key;
  if (!DeriveKey(*machineId, entropy, scope, key.Key))
    throw std::runtime_error("Cannot derive the protection key");

  TBytes plain;
  plain.reserve(4 + description.size() * 2 + data.size());
  const auto units = static_cast<std::uint32_t>(description.size());
  for (int shift = 0; shift < 32; shift += 8)
    plain.push_back(static_cast<std::uint8_t>(units >> shift));
  for (const char16_t c : description) {
    plain.push_back(static_cast<std::uint8_t>(c & 0xFF));
    plain.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  plain.insert(plain.end(), data.begin(), data.end());

  TBytes blob(kHeaderSize + kNonceSize + plain.size() + kTagSize);
  blob[0] = kVersion;
  blob[1] = scope;
  randombytes_buf(blob.data() + kHeaderSize, kNonceSize);
  unsigned long long sealedSize = 0;
  crypto_aead_xchacha20poly1305_ietf_encrypt(blob.data() + kHeaderSize + kNonceSize, &sealedSize,
                                             plain.data(), plain.size(), blob.data(), kHeaderSize,
                                             nullptr, blob.data() + kHeaderSize, key.Key.data());
  sodium_memzero(plain.data(), plain.size());
  blob.resize(kHeaderSize + kNonceSize + sealedSize);
  return blob;
}

bool TLinuxDataProtection::Unprotect(const TBytes &blob, const TBytes &entropy, TBytes &data,
                                     std::u16string &description) {
  if (blob.size() < kHeaderSize + kNonceSize + kTagSize + 4 || blob[0] != kVersion ||
      (blob[1] != kMachineScope && blob[1] != kUserScope))
    return false;
  const auto machineId = ReadMachineId(machineIdFile_);
  TKeyHolder key;
  if (!machineId || !DeriveKey(*machineId, entropy, blob[1], key.Key))
    return false;
  const size_t sealedSize = blob.size() - kHeaderSize - kNonceSize;
  TBytes plain(sealedSize - kTagSize);
  unsigned long long plainSize = 0;
  if (crypto_aead_xchacha20poly1305_ietf_decrypt(
          plain.data(), &plainSize, nullptr, blob.data() + kHeaderSize + kNonceSize, sealedSize,
          blob.data(), kHeaderSize, blob.data() + kHeaderSize, key.Key.data()) != 0)
    return false;
  plain.resize(plainSize);
  std::uint32_t units = 0;
  for (int i = 3; i >= 0; --i)
    units = (units << 8) | plain[static_cast<size_t>(i)];
  if (units > (plain.size() - 4) / 2)
    return false;
  std::u16string desc;
  for (size_t i = 0; i < units; ++i)
    desc += static_cast<char16_t>(plain[4 + 2 * i] | (plain[5 + 2 * i] << 8));
  data.assign(plain.begin() + 4 + 2 * static_cast<std::ptrdiff_t>(units), plain.end());
  description = std::move(desc);
  sodium_memzero(plain.data(), plain.size());
  return true;
}

} // namespace platform::linux_impl
