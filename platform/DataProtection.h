#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

using TBytes = std::vector<std::uint8_t>;

// Machine-bound protection of small secrets. A blob protected with machine
// scope can be unprotected by every user of the same computer, and on no
// other computer. The description travels inside the blob.
class IDataProtection {
public:
  virtual ~IDataProtection() = default;

  // Protects data; entropy may be empty. Throws std::runtime_error when the
  // machine's key cannot be had.
  virtual TBytes Protect(const TBytes &data, const std::u16string &description,
                         const TBytes &entropy, bool machineScope) = 0;

  // Unprotects a blob made by Protect with the same entropy. Returns false for
  // a damaged, foreign or truncated blob or another entropy; never throws for
  // any blob. The outputs are set only on success.
  virtual bool Unprotect(const TBytes &blob, const TBytes &entropy, TBytes &data,
                         std::u16string &description) = 0;
};

} // namespace platform
