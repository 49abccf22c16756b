#pragma once

#include <string>

#include "platform/DataProtection.h"

namespace platform::linux_impl {

// Protection with a key derived from the machine id (and, for user scope,
// the user id) and the caller's entropy; authenticated encryption
// (XChaCha20-Poly1305) through libsodium. A copy of the blob on a computer with
// another machine id cannot be opened.
class TLinuxDataProtection final : public IDataProtection {
public:
  // machineIdFile empty: /etc/machine-id, else /var/lib/dbus/machine-id.
  explicit TLinuxDataProtection(std::string machineIdFile = {});

  TBytes Protect(const TBytes &data, const std::u16string &description, const TBytes &entropy,
                 bool machineScope) override;
  bool Unprotect(const TBytes &blob, const TBytes &entropy, TBytes &data,
                 std::u16string &description) override;

private:
  std::string machineIdFile_;
};

} // namespace platform::linux_impl
